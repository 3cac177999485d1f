// Triangle filling in float and in 16.16 fixed point: rejection, vertex order, the two flat halves, the split,
// clipping at every edge of the clip rectangle, and how far the two variants may differ.
#include "gfx/extras/triangle_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <random>

#include "guarded_canvas.h"

namespace {

using Filler = void (*)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t);

struct Variant {
  const char* name;
  Filler fill;
};

class BothVariants : public testing::TestWithParam<Variant> {
 protected:
  void Fill(GuardedCanvas& c, std::array<int32_t, 6> v, uint8_t color = 7) {
    GetParam().fill(v[0], v[1], v[2], v[3], v[4], v[5], color, c.Pixels(), GuardedCanvas::kPitch);
  }
};

INSTANTIATE_TEST_SUITE_P(Triangles, BothVariants,
                         testing::Values(Variant{"Float", FillTriangle}, Variant{"Fixed", FillTriangleFixed}),
                         [](const testing::TestParamInfo<Variant>& info) { return std::string(info.param.name); });

TEST_P(BothVariants, DegenerateTrianglesDrawNothing) {
  GuardedCanvas c;
  Fill(c, {10, 50, 200, 50, 400, 50});     // all y equal
  Fill(c, {100, 10, 100, 200, 100, 300});  // all x equal
  EXPECT_EQ(c.CountValue(7), 0);
}

TEST_P(BothVariants, VertexOrderDoesNotMatter) {
  std::mt19937 rng(1234);
  // Small coordinate ranges make shared rows and columns (flat halves, ties in the sort) common.
  std::uniform_int_distribution<int32_t> coord(-20, 40);
  for (int trial = 0; trial < 300; ++trial) {
    std::array<std::array<int32_t, 2>, 3> p;
    for (auto& point : p) point = {coord(rng) * 12, coord(rng) * 9};
    GuardedCanvas reference;
    Fill(reference, {p[0][0], p[0][1], p[1][0], p[1][1], p[2][0], p[2][1]});
    std::array<int, 3> order = {0, 1, 2};
    while (std::next_permutation(order.begin(), order.end())) {
      GuardedCanvas other;
      const auto &a = p[order[0]], &b = p[order[1]], &d = p[order[2]];
      Fill(other, {a[0], a[1], b[0], b[1], d[0], d[1]});
      ASSERT_TRUE(other == reference) << "trial " << trial;
    }
  }
}

TEST_P(BothVariants, FlatTopTriangleSpansFromTopEdgeToApex) {
  GuardedCanvas c;
  Fill(c, {10, 10, 30, 10, 20, 30});
  EXPECT_EQ(c.RowExtent(9, 7), std::make_pair(-1, -1));
  EXPECT_EQ(c.RowExtent(10, 7), std::make_pair(10, 30));
  EXPECT_EQ(c.RowExtent(20, 7), std::make_pair(15, 25));
  EXPECT_EQ(c.RowExtent(30, 7), std::make_pair(20, 20));
  EXPECT_EQ(c.RowExtent(31, 7), std::make_pair(-1, -1));

  // It is drawn as one flat-top half.
  GuardedCanvas half;
  Filler flatTop = GetParam().fill == FillTriangle ? FillFlatTopTriangle : FillFlatTopTriangleFixed;
  flatTop(30, 10, 10, 10, 20, 30, 7, half.Pixels(), GuardedCanvas::kPitch);
  EXPECT_TRUE(half == c);
}

TEST_P(BothVariants, FlatBottomTriangleSpansFromApexToBottomEdge) {
  GuardedCanvas c;
  Fill(c, {20, 10, 10, 30, 30, 30});
  EXPECT_EQ(c.RowExtent(9, 7), std::make_pair(-1, -1));
  EXPECT_EQ(c.RowExtent(10, 7), std::make_pair(20, 20));
  EXPECT_EQ(c.RowExtent(20, 7), std::make_pair(15, 25));
  EXPECT_EQ(c.RowExtent(30, 7), std::make_pair(10, 30));
  EXPECT_EQ(c.RowExtent(31, 7), std::make_pair(-1, -1));

  GuardedCanvas half;
  Filler flatBottom = GetParam().fill == FillTriangle ? FillFlatBottomTriangle : FillFlatBottomTriangleFixed;
  flatBottom(20, 10, 30, 30, 10, 30, 7, half.Pixels(), GuardedCanvas::kPitch);
  EXPECT_TRUE(half == c);
}

TEST_P(BothVariants, GeneralTriangleIsSplitAtTheMiddleRow) {
  // The long edge from (0, 0) to (10, 20) passes column 5 at row 10; the split row belongs to both halves.
  EXPECT_EQ(TriangleSplitColumn(0, 0, 10, 10, 20), 5);
  // A negative quotient plus one half is truncated toward zero: 10 + truncate(-5 + 0.5) = 6.
  EXPECT_EQ(TriangleSplitColumn(10, 0, 1, 0, 2), 6);
  GuardedCanvas c;
  Fill(c, {0, 0, 0, 10, 10, 20});
  EXPECT_EQ(c.RowExtent(0, 7).first, 0);
  EXPECT_EQ(c.RowExtent(10, 7), std::make_pair(0, 5));
  EXPECT_EQ(c.RowExtent(20, 7), std::make_pair(10, 10));
  EXPECT_EQ(c.RowExtent(21, 7), std::make_pair(-1, -1));
}

TEST_P(BothVariants, TopClippingStartsAtTheClipRowWithEdgesAdvanced) {
  // The same triangle drawn 100 rows lower is wholly on screen; its rows 100.. must match rows 0.. of the
  // clipped one (the fixed variant exactly; the float one, whose advance is one multiplication instead of
  // many additions, to within a column at each end).
  GuardedCanvas clipped, whole;
  Fill(clipped, {320, -100, 40, 200, 600, 300});
  Fill(whole, {320, 0, 40, 300, 600, 400});
  EXPECT_NE(clipped.RowExtent(0, 7).first, -1);
  int32_t tolerance = GetParam().fill == FillTriangle ? 1 : 0;
  for (int32_t y = 0; y <= 300; ++y) {
    auto a = clipped.RowExtent(y, 7);
    auto b = whole.RowExtent(y + 100, 7);
    ASSERT_LE(std::abs(a.first - b.first), tolerance) << "row " << y;
    ASSERT_LE(std::abs(a.second - b.second), tolerance) << "row " << y;
  }
  EXPECT_TRUE(clipped.MarginsUntouched());
}

TEST_P(BothVariants, LeftClippingCutsAtColumnZeroAndRightOfScreenDrawsNothing) {
  GuardedCanvas c;
  Fill(c, {-200, 100, 100, 50, 60, 300});
  EXPECT_TRUE(c.MarginsUntouched());
  int32_t rowsAtEdge = 0;
  for (int32_t y = 50; y <= 300; ++y) {
    auto extent = c.RowExtent(y, 7);
    if (extent.first == 0) ++rowsAtEdge;
    // Each row is one unbroken span.
    if (extent.first >= 0) {
      for (int32_t x = extent.first; x <= extent.second; ++x) ASSERT_EQ(c.At(x, y), 7) << x << "," << y;
    }
  }
  EXPECT_GT(rowsAtEdge, 50);

  GuardedCanvas right;
  Fill(right, {640, 10, 900, 100, 700, 300});
  EXPECT_EQ(right.CountValue(7), 0);
  EXPECT_TRUE(right.MarginsUntouched());
}

TEST_P(BothVariants, SpansNeverLeaveTheClipRectangle) {
  // The rounding of the unclipped path can carry a span one column too far; it must be cut at the edge.
  GuardedCanvas c;
  Fill(c, {639, 302, 150, 628, 639, 728});
  Fill(c, {639, 400, 0, 479, 639, 479});
  EXPECT_TRUE(c.MarginsUntouched());
  EXPECT_EQ(c.At(639, 479), 7);

  // Random triangles around the screen, some huge, some far beyond 32-bit fixed-point range.
  std::mt19937 rng(99);
  std::uniform_int_distribution<int32_t> nearX(-100, 740), nearY(-100, 580), far(-3000000, 3000000);
  for (int trial = 0; trial < 2000; ++trial) {
    auto pick = [&](int axis) { return trial % 4 == 0 ? far(rng) : (axis == 0 ? nearX(rng) : nearY(rng)); };
    Fill(c, {pick(0), pick(1), pick(0), pick(1), pick(0), pick(1)}, static_cast<uint8_t>(trial));
  }
  Fill(c, {INT_MIN, INT_MIN, INT_MAX, 0, 0, INT_MAX});
  Fill(c, {INT_MIN, -5, INT_MAX, -5, 320, 240});
  EXPECT_TRUE(c.MarginsUntouched());
}

TEST_P(BothVariants, HalfWhollyAboveTheScreenIsSkipped) {
  GuardedCanvas c;
  // The upper half ends far above row 0; only the lower half shows.
  Fill(c, {300, -2000000000, 100, -1000000, 320, 100});
  EXPECT_TRUE(c.MarginsUntouched());
  EXPECT_NE(c.RowExtent(50, 7).first, -1);
}

TEST(TriangleVariants, FloatAndFixedDifferOnlyAtSpanEnds) {
  // Both cover the same rows. The float variant truncates its start column where the fixed one rounds it,
  // so a float span starts at most one column further left. On the screen-inside path the float length is
  // truncated too while the fixed start and length are each rounded, so a float span may end up to two
  // columns short of the fixed one, and (from the flat-top right edge's extra half) at most one beyond it.
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int32_t> x(0, 639), y(0, 479);
  int64_t filled = 0, differing = 0;
  for (int trial = 0; trial < 300; ++trial) {
    std::array<int32_t, 6> v = {x(rng), y(rng), x(rng), y(rng), x(rng), y(rng)};
    GuardedCanvas a, b;
    FillTriangle(v[0], v[1], v[2], v[3], v[4], v[5], 7, a.Pixels(), GuardedCanvas::kPitch);
    FillTriangleFixed(v[0], v[1], v[2], v[3], v[4], v[5], 7, b.Pixels(), GuardedCanvas::kPitch);
    for (int32_t row = 0; row < 480; ++row) {
      auto ea = a.RowExtent(row, 7), eb = b.RowExtent(row, 7);
      ASSERT_EQ(ea.first < 0, eb.first < 0) << "trial " << trial << " row " << row;
      if (ea.first < 0) continue;
      ASSERT_GE(ea.first - eb.first, -1) << "trial " << trial << " row " << row;
      ASSERT_LE(ea.first - eb.first, 0) << "trial " << trial << " row " << row;
      ASSERT_GE(ea.second - eb.second, -2) << "trial " << trial << " row " << row;
      ASSERT_LE(ea.second - eb.second, 1) << "trial " << trial << " row " << row;
      filled += eb.second - eb.first + 1;
      differing += std::abs(ea.first - eb.first) + std::abs(ea.second - eb.second);
    }
  }
  EXPECT_GT(filled, 0);
  EXPECT_LT(differing * 50, filled);  // under 2 per cent of the pixels
}

}  // namespace
