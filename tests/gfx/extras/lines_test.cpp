// Rules of line clipping, Bresenham lines, spans, the pixel plot, the colour-range scan and the filled rectangle.
// Drawing goes onto a canvas whose pitch is wider than a row, so row and pitch mix-ups show.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <set>
#include <utility>
#include <vector>

#include "gfx/display.h"
#include "gfx/extras/lines.h"
#include "gfx/surface_for_test.h"

namespace {

// A 640 x 480 8-bit area with a pitch wider than a row, so row/pitch mix-ups show.
struct Canvas {
  static constexpr int32_t kPitch = 700;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kPitch * 480, 0);
  uint8_t* data() { return bytes.data(); }
  uint8_t at(int32_t x, int32_t y) const { return bytes[y * kPitch + x]; }
  std::set<std::pair<int32_t, int32_t>> Set() const {
    std::set<std::pair<int32_t, int32_t>> pixels;
    for (int32_t i = 0; i < static_cast<int32_t>(bytes.size()); ++i)
      if (bytes[i]) pixels.insert({i % kPitch, i / kPitch});
    return pixels;
  }
};
using Pixels = std::set<std::pair<int32_t, int32_t>>;

struct ClipCase {
  std::array<int32_t, 4> in;
  int32_t accepted;
  std::array<int32_t, 4> out;
  const char* rule;
};

}  // namespace

TEST(ClipSegment, ClipsEachEndAgainstTheOthersOriginalPoint) {
  const ClipCase cases[] = {
      {{0, 0, 639, 479}, 1, {0, 0, 639, 479}, "inside: unchanged"},
      {{-10, 100, 100, 100}, 1, {0, 100, 100, 100}, "left edge"},
      {{320, -50, 320, 50}, 1, {320, 0, 320, 50}, "top edge"},
      {{100, 200, 700, 200}, 1, {100, 200, 639, 200}, "right edge, second point"},
      {{10, 400, 10, 600}, 1, {10, 400, 10, 479}, "bottom edge, second point"},
      {{-10, -10, -1, 500}, 0, {-10, -10, -1, 500}, "both left: rejected unchanged"},
      {{700, 10, 800, 400}, 0, {700, 10, 800, 400}, "both right"},
      {{-100, 10, 10, -100}, 0, {-100, 10, 10, -100}, "misses the corner: clipped points outside"},
      {{-3, 10, 5, 0}, 1, {0, 7, 5, 0}, "10 + 3 * -10 / 8 = 7"},
      {{5, 0, -3, 10}, 1, {5, 0, 0, 7}, "the same crossing as a second point"},
      {{10, -5, -30, 35}, 1, {5, 0, 0, 5}, "both ends clipped"},
      // The half step: the first point's sum of -1 becomes 0, the second point's single-edge sum stays -1.
      {{1, -1, -4, 1}, 1, {0, 0, 0, 0}, "first point rounds"},
      {{-4, 1, 1, -1}, 0, {-4, 1, 1, -1}, "second single-edge point does not round"},
      {{-1, -3, 639, 1}, 1, {479, 0, 639, 1}, "corner point, crossing inside: row edge"},
      {{639, 1, -1, -3}, 1, {639, 1, 479, 0}, "corner as second point"},
      {{-40, -2, 40, 78}, 1, {0, 38, 40, 78}, "corner, row crossing at -38: side edge instead"},
      {{680, 500, 600, 420}, 1, {639, 459, 600, 420}, "lower-right corner falls back to the right edge"},
      {{600, 420, 680, 500}, 1, {600, 420, 639, 459}, "the same as a second point"},
      {{-2000000000, 100, 2000000000, 100}, 1, {0, 100, 639, 100}, "far end points do not overflow"},
      {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 1, {0, 0, 479, 479}, "nor do the extremes"},
      {{INT32_MIN, 300, INT32_MAX, 100}, 1, {0, 200, 639, 199}, "a long shallow line"},
  };
  for (const ClipCase& c : cases) {
    auto v = c.in;
    EXPECT_EQ(ClipSegment(v[0], v[1], v[2], v[3]), c.accepted) << c.rule;
    EXPECT_EQ(v, c.out) << c.rule;
  }
}

TEST(DrawRawLine, SetsMaxOfDxDyPlusOnePixelsWithTiesSteppingTheShorterAxis) {
  struct LineCase {
    std::array<int32_t, 4> ends;
    Pixels expected;
  };
  const LineCase cases[] = {
      {{0, 0, 5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {{3, 3, 3, 3}, {{3, 3}}},
      {{0, 0, 4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},  // the error starts at 0 and steps at once
      {{7, 1, 3, 9}, {{7, 1}, {6, 2}, {6, 3}, {5, 4}, {5, 5}, {4, 6}, {4, 7}, {3, 8}, {3, 9}}},
      {{10, 0, 7, 3}, {{10, 0}, {9, 1}, {8, 2}, {7, 3}}},
  };
  for (const LineCase& c : cases) {
    Canvas canvas;
    EXPECT_EQ(DrawRawLine(c.ends[0], c.ends[1], c.ends[2], c.ends[3], 5, canvas.data(), Canvas::kPitch), 1);
    EXPECT_EQ(canvas.Set(), c.expected) << c.ends[0] << "," << c.ends[1] << " to " << c.ends[2] << "," << c.ends[3];
  }
}

TEST(DrawClippedLine, DrawsOnlyTheInsidePartAndAlwaysSucceeds) {
  Canvas canvas;
  EXPECT_EQ(DrawClippedLine(-10, 100, 100, 100, 5, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.Set().size(), 101u);
  EXPECT_EQ(canvas.at(0, 100), 5);
  EXPECT_EQ(DrawClippedLine(700, 10, 800, 400, 6, canvas.data(), Canvas::kPitch), 1);
  DrawClippedLine(-100, -100, 1000, 1000, 8, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.Set().size(), 101u + 479u) << "the diagonal adds 480 pixels, one shared with the row";
  EXPECT_EQ(canvas.at(479, 479), 8);
}

TEST(Spans, RowAndColumnSpansOrderAndClipTheirEnds) {
  Canvas canvas;
  DrawRowSpan(700, 10, 5, 2, canvas.data(), Canvas::kPitch);
  Pixels expected;
  for (int32_t x = 10; x <= 639; ++x) expected.insert({x, 5});
  EXPECT_EQ(canvas.Set(), expected);
  // Rows and columns outside, or runs wholly beside the rectangle, draw nothing.
  DrawRowSpan(0, 639, 480, 3, canvas.data(), Canvas::kPitch);
  DrawRowSpan(0, 639, -1, 3, canvas.data(), Canvas::kPitch);
  DrawRowSpan(-50, -1, 7, 3, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(0, 479, 640, 3, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(0, 479, -1, 3, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(-9, -1, 5, 3, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.Set(), expected);
  DrawColumnSpan(600, 470, 20, 2, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(-9, 1, 639, 2, canvas.data(), Canvas::kPitch);
  for (int32_t y = 470; y <= 479; ++y) expected.insert({20, y});
  expected.insert({{639, 0}, {639, 1}});
  EXPECT_EQ(canvas.Set(), expected);
  EXPECT_EQ(PlotPixel8(3, 2, 0x1AB, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.bytes[2 * Canvas::kPitch + 3], 0xAB);
}

TEST(RectHoldsColor, ScansTheScreenClampedRectangleForAnUnsignedRange) {
  ASSERT_EQ(ScreenWidth, 640);
  ASSERT_EQ(ScreenHeight, 480);
  Canvas canvas;
  canvas.bytes[30 * Canvas::kPitch + 40] = 200;
  canvas.bytes[479 * Canvas::kPitch + 639] = 9;
  canvas.bytes[10 * Canvas::kPitch + 640] = 9;  // beyond the screen, inside the pitch: never scanned
  EXPECT_EQ(RectHoldsColor(40, 30, 40, 30, 150, 250, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(RectHoldsColor(0, 0, 100, 100, 201, 255, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(41, 0, 100, 100, 200, 200, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(600, 400, 5000, 5000, 9, 9, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(RectHoldsColor(630, 0, 700, 20, 9, 9, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(639, 479, 0, 0, 0, 255, canvas.data(), Canvas::kPitch), 0) << "x1 > x2 scans nothing";
  EXPECT_EQ(RectHoldsColor(-100, -100, 0, 0, 0, 0, canvas.data(), Canvas::kPitch), 1);
}

TEST(FillRectangle, FillsRightAndBottomExclusiveAndIgnoresARefusal) {
  Surface* surface = CreateSurfaceForTest(16, 8, 8);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(FillRectangle(2, 1, 5, 3, 7, surface), 1);
  EXPECT_EQ(FillRectangle(10, 0, 20, 4, 9, surface), 1) << "a rectangle past the edge is refused, still 1";
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 16; ++x)
      EXPECT_EQ(ReadSurfacePixel(surface, x, y), (x >= 2 && x < 5 && y >= 1 && y < 3) ? 7u : 0u) << x << "," << y;
  EXPECT_EQ(FillRectangle(0, 0, 1, 1, 9, nullptr), 1);
  Release(surface);
}
