// Rules of line clipping, Bresenham lines, spans, the pixel plot and the colour-range scan on 8-bit memory.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "gfx/display.h"
#include "gfx/extras/lines.h"

namespace {

// A 640 x 480 8-bit area with a pitch wider than a row, so row/pitch mix-ups show.
struct Canvas {
  static constexpr int32_t kPitch = 700;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kPitch * 480, 0);
  uint8_t* data() { return bytes.data(); }
  uint8_t at(int32_t x, int32_t y) const { return bytes[y * kPitch + x]; }
  int count(uint8_t value) const {
    int n = 0;
    for (uint8_t b : bytes) n += b == value;
    return n;
  }
};

std::array<int32_t, 4> Clip(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t* result) {
  *result = ClipSegment(x0, y0, x1, y1);
  return {x0, y0, x1, y1};
}

using Segment = std::array<int32_t, 4>;

}  // namespace

TEST(ClipSegment, InsideLinesAreLeftAlone) {
  int32_t ok = 0;
  EXPECT_EQ(Clip(0, 0, 639, 479, &ok), (Segment{0, 0, 639, 479}));
  EXPECT_EQ(ok, 1);
}

TEST(ClipSegment, SingleEdgeCrossingsLandOnTheEdge) {
  int32_t ok = 0;
  EXPECT_EQ(Clip(-10, 100, 100, 100, &ok), (Segment{0, 100, 100, 100}));
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(Clip(320, -50, 320, 50, &ok), (Segment{320, 0, 320, 50}));
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(Clip(100, 200, 700, 200, &ok), (Segment{100, 200, 639, 200}));
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(Clip(10, 400, 10, 600, &ok), (Segment{10, 400, 10, 479}));
  EXPECT_EQ(ok, 1);
}

TEST(ClipSegment, LinesWhollyOutsideAreRejectedUnchanged) {
  int32_t ok = 1;
  EXPECT_EQ(Clip(-10, -10, -1, 500, &ok), (Segment{-10, -10, -1, 500}));
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(Clip(700, 10, 800, 400, &ok), (Segment{700, 10, 800, 400}));
  EXPECT_EQ(ok, 0);
  // Outside on different edges but missing the corner: the clipped points fall outside, so rejected.
  EXPECT_EQ(Clip(-100, 10, 10, -100, &ok), (Segment{-100, 10, 10, -100}));
  EXPECT_EQ(ok, 0);
}

TEST(ClipSegment, CrossingsUseTheOtherEndsOriginalCoordinates) {
  // From (-3, 10) to (5, 0): the first point crosses x = 0 at y = 10 + 3 * -10 / 8 = 10 - 3 = 7.
  // The mirror line clips its second point to the same place.
  int32_t ok = 0;
  EXPECT_EQ(Clip(-3, 10, 5, 0, &ok), (Segment{0, 7, 5, 0}));
  EXPECT_EQ(Clip(5, 0, -3, 10, &ok), (Segment{5, 0, 0, 7}));
  // Both ends clipped, each against the other's unclipped point: (10, -5) to (-30, 35) gives (5, 0) and (0, 5).
  EXPECT_EQ(Clip(10, -5, -30, 35, &ok), (Segment{5, 0, 0, 5}));
  EXPECT_EQ(ok, 1);
}

TEST(ClipSegment, HalfStepRoundingAppliesToTheFirstPointButNotToASecondSingleEdgePoint) {
  // (1, -1) to (-4, 1): the first point crosses y = 0 at 1 + 1 * -5 / 2 = -1, and the half raises it to 0;
  // the second point crosses x = 0 at y = 1 + 4 * -2 / 5 = 0. Accepted as the single pixel (0, 0).
  int32_t ok = 0;
  EXPECT_EQ(Clip(1, -1, -4, 1, &ok), (Segment{0, 0, 0, 0}));
  EXPECT_EQ(ok, 1);
  // Reversed, the same crossing belongs to the second point, whose plain sum stays at -1: rejected.
  EXPECT_EQ(Clip(-4, 1, 1, -1, &ok), (Segment{-4, 1, 1, -1}));
  EXPECT_EQ(ok, 0);
}

TEST(ClipSegment, CornerPointsRoundOnEitherEnd) {
  // (-1, -3) to (639, 1): the corner point crosses y = 0 at x = -1 + 3 * 640 / 4 = 479; the same reversed.
  int32_t ok = 0;
  EXPECT_EQ(Clip(-1, -3, 639, 1, &ok), (Segment{479, 0, 639, 1}));
  EXPECT_EQ(Clip(639, 1, -1, -3, &ok), (Segment{639, 1, 479, 0}));
  EXPECT_EQ(ok, 1);
}

TEST(ClipSegment, CornerPointFallsBackToTheSideEdge) {
  // (-20, -10) to (20, 10): crossing y = 0 gives x = -20 + 10 * 40 / 20 = 0, inside, so the row edge is used.
  int32_t ok = 0;
  EXPECT_EQ(Clip(-20, -10, 20, 10, &ok), (Segment{0, 0, 20, 10}));
  // (-40, -2) to (40, 78): crossing y = 0 gives x = -40 + 2 * 80 / 80 = -38, outside; so x = 0 and
  // y = -2 + 40 * 80 / 80 = 38.
  EXPECT_EQ(Clip(-40, -2, 40, 78, &ok), (Segment{0, 38, 40, 78}));
  // The same from the lower-right corner: (680, 500) to (600, 420): y = 479 gives x = 680 + (-21) * -80 / -80 = 659,
  // outside; so x = 639 and y = 500 + (-41) * -80 / -80 = 459.
  EXPECT_EQ(Clip(680, 500, 600, 420, &ok), (Segment{639, 459, 600, 420}));
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(Clip(600, 420, 680, 500, &ok), (Segment{600, 420, 639, 459}));
  EXPECT_EQ(ok, 1);
}

TEST(ClipSegment, FarAwayEndPointsDoNotOverflow) {
  int32_t ok = 0;
  EXPECT_EQ(Clip(-2000000000, 100, 2000000000, 100, &ok), (Segment{0, 100, 639, 100}));
  EXPECT_EQ(ok, 1);
}

TEST(DrawRawLine, SetsOnePixelPerStepOfTheLongerAxis) {
  Canvas canvas;
  EXPECT_EQ(DrawRawLine(0, 0, 5, 2, 7, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.count(7), 6);
  EXPECT_EQ(canvas.at(0, 0), 7);
  EXPECT_EQ(canvas.at(5, 2), 7);
  Canvas dot;
  DrawRawLine(3, 3, 3, 3, 9, dot.data(), Canvas::kPitch);
  EXPECT_EQ(dot.count(9), 1);
  EXPECT_EQ(dot.at(3, 3), 9);
}

TEST(DrawRawLine, ATieInTheErrorTermStepsTheShorterAxis) {
  // The error term starts at 2dy - dx = 0 here, and a zero error already takes the step.
  Canvas shallow;
  DrawRawLine(0, 0, 4, 2, 1, shallow.data(), Canvas::kPitch);
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}) EXPECT_EQ(shallow.at(x, y), 1) << x << "," << y;
  EXPECT_EQ(shallow.count(1), 5);
  Canvas steep;
  DrawRawLine(7, 1, 3, 9, 2, steep.data(), Canvas::kPitch);
  for (auto [x, y] : {std::pair{7, 1}, {6, 2}, {6, 3}, {5, 4}, {5, 5}, {4, 6}, {4, 7}, {3, 8}, {3, 9}})
    EXPECT_EQ(steep.at(x, y), 2) << x << "," << y;
  EXPECT_EQ(steep.count(2), 9);
}

TEST(DrawRawLine, SteepAndBackwardLinesReachBothEnds) {
  Canvas canvas;
  DrawRawLine(50, 90, 40, 10, 3, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(3), 81);
  EXPECT_EQ(canvas.at(50, 90), 3);
  EXPECT_EQ(canvas.at(40, 10), 3);
  // One pixel per row along a steep line.
  for (int32_t y = 10; y <= 90; ++y) {
    int inRow = 0;
    for (int32_t x = 0; x < 640; ++x) inRow += canvas.at(x, y) == 3;
    EXPECT_EQ(inRow, 1) << "row " << y;
  }
  Canvas diagonal;
  DrawRawLine(10, 0, 0, 10, 4, diagonal.data(), Canvas::kPitch);
  for (int32_t i = 0; i <= 10; ++i) EXPECT_EQ(diagonal.at(10 - i, i), 4);
  EXPECT_EQ(diagonal.count(4), 11);
}

TEST(DrawClippedLine, DrawsOnlyTheInsidePartAndAlwaysSucceeds) {
  Canvas canvas;
  EXPECT_EQ(DrawClippedLine(-10, 100, 100, 100, 5, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.count(5), 101);
  EXPECT_EQ(canvas.at(0, 100), 5);
  EXPECT_EQ(canvas.at(100, 100), 5);
  EXPECT_EQ(DrawClippedLine(700, 10, 800, 400, 6, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.count(6), 0);
  DrawClippedLine(-100, -100, 1000, 1000, 8, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(8), 480);
  EXPECT_EQ(canvas.at(479, 479), 8);
}

TEST(Spans, RowSpanClipsAndOrdersItsEnds) {
  Canvas canvas;
  DrawRowSpan(700, 10, 5, 2, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(2), 630);
  EXPECT_EQ(canvas.at(10, 5), 2);
  EXPECT_EQ(canvas.at(639, 5), 2);
  EXPECT_EQ(canvas.at(640, 5), 0) << "nothing beyond the clip rectangle";
  EXPECT_EQ(canvas.at(9, 5), 0);
  DrawRowSpan(0, 639, 480, 3, canvas.data(), Canvas::kPitch);
  DrawRowSpan(0, 639, -1, 3, canvas.data(), Canvas::kPitch);
  DrawRowSpan(-50, -1, 7, 3, canvas.data(), Canvas::kPitch);
  DrawRowSpan(640, 900, 7, 3, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(3), 0);
  DrawRowSpan(-5, 0, 479, 4, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(4), 1);
  EXPECT_EQ(canvas.at(0, 479), 4);
}

TEST(Spans, ColumnSpanClipsAndOrdersItsEnds) {
  Canvas canvas;
  DrawColumnSpan(600, 470, 20, 2, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(2), 10);
  EXPECT_EQ(canvas.at(20, 470), 2);
  EXPECT_EQ(canvas.at(20, 479), 2);
  DrawColumnSpan(0, 479, 640, 3, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(0, 479, -1, 3, canvas.data(), Canvas::kPitch);
  DrawColumnSpan(-9, -1, 5, 3, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(3), 0);
  DrawColumnSpan(-9, 2, 639, 4, canvas.data(), Canvas::kPitch);
  EXPECT_EQ(canvas.count(4), 3);
  EXPECT_EQ(canvas.at(639, 0), 4);
  EXPECT_EQ(canvas.at(639, 2), 4);
}

TEST(PlotPixel8, WritesTheByteAtRowTimesPitchPlusColumn) {
  Canvas canvas;
  EXPECT_EQ(PlotPixel8(3, 2, 0x1AB, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(canvas.bytes[2 * Canvas::kPitch + 3], 0xAB);
  EXPECT_EQ(canvas.count(0xAB), 1);
}

TEST(RectHoldsColor, FindsValuesWithinTheRangeAsUnsignedBytes) {
  Canvas canvas;
  canvas.bytes[30 * Canvas::kPitch + 40] = 200;
  EXPECT_EQ(RectHoldsColor(40, 30, 40, 30, 150, 250, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(RectHoldsColor(0, 0, 100, 100, 201, 255, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(0, 0, 39, 100, 200, 200, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(41, 0, 100, 100, 200, 200, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(0, 0, 639, 479, 200, 200, canvas.data(), Canvas::kPitch), 1);
}

TEST(RectHoldsColor, ClampsToTheScreenAndDoesNotReorderCorners) {
  ASSERT_EQ(ScreenWidth, 640);
  ASSERT_EQ(ScreenHeight, 480);
  Canvas canvas;
  canvas.bytes[479 * Canvas::kPitch + 639] = 9;
  canvas.bytes[10 * Canvas::kPitch + 640] = 9;  // beyond the screen, inside the pitch: never scanned
  EXPECT_EQ(RectHoldsColor(600, 400, 5000, 5000, 9, 9, canvas.data(), Canvas::kPitch), 1);
  EXPECT_EQ(RectHoldsColor(630, 0, 700, 20, 9, 9, canvas.data(), Canvas::kPitch), 0);
  EXPECT_EQ(RectHoldsColor(639, 479, 0, 0, 0, 255, canvas.data(), Canvas::kPitch), 0) << "x1 > x2 scans nothing";
  EXPECT_EQ(RectHoldsColor(-100, -100, 0, 0, 0, 0, canvas.data(), Canvas::kPitch), 1);
}

TEST(FillRectangle, FillsRightAndBottomExclusiveAndIgnoresARefusal) {
  Surface* surface = CreateSurfaceForTest(16, 8, 8);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(FillRectangle(2, 1, 5, 3, 7, surface), 1);
  int filled = 0;
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 16; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(ReadSurfacePixel(surface, x, y), inside ? 7u : 0u) << x << "," << y;
      filled += inside;
    }
  EXPECT_EQ(filled, 6);
  EXPECT_EQ(FillRectangle(10, 0, 20, 4, 9, surface), 1) << "a rectangle past the edge is refused, still 1";
  EXPECT_EQ(ReadSurfacePixel(surface, 12, 1), 0u);
  EXPECT_EQ(FillRectangle(0, 0, 1, 1, 9, nullptr), 1);
  Release(surface);
}
