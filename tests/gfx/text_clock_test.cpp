// Text colour, transparency and placement on both depths, and the frame clock's waits across a wrap.
// Text is drawn on the headless display; the clock cases move the headless clock, never real time.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "gfx/frame_clock.h"
#include "gfx/text.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "tests/support/headless_fixture.h"

namespace {

class TextTest : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  }
  void TearDown() override { ShutdownDisplay(); }
};

// Counts the pixels of one value inside a rectangle.
int CountPixels(const Surface* s, int left, int top, int right, int bottom, uint32_t value) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += ReadSurfacePixel(s, x, y) == value;
  return count;
}

TEST_F(TextTest, IndexedColourComesFromThePalette) {
  ASSERT_EQ(DrawTextGdiIndexed("Level 1", 10, 10, 63, BackSurface), 1);
  EXPECT_GT(CountPixels(BackSurface, 0, 0, 640, 480, 0xF800), 20);  // red 252 in RGB 565
  FillSurface(BackSurface, 0x1234);
  ASSERT_EQ(DrawTextGdiIndexed("Level 1", 10, 10, 64, BackSurface), 1);
  EXPECT_GT(CountPixels(BackSurface, 0, 0, 640, 480, 0), 20);
}

TEST_F(TextTest, BackgroundStaysAndTextSitsBelowAndRightOfItsPoint) {
  FillSurface(BackSurface, 0x0841);
  ASSERT_EQ(DrawTextGdi("Player 1: 1088", 100, 50, 0x00FF00, BackSurface), 1);
  const uint32_t green = 0x07E0;
  int width = MeasureTextWidth("Player 1: 1088");
  int line = TextLineHeight();
  EXPECT_GE(line, 14);
  EXPECT_LE(line, 17);
  EXPECT_GT(width, 80);
  int inside = CountPixels(BackSurface, 100, 50, 100 + width, 50 + line, green);
  EXPECT_GT(inside, 60);
  EXPECT_EQ(CountPixels(BackSurface, 0, 0, 640, 480, green), inside);
  // Only text colour and the old background: no box behind the glyphs.
  EXPECT_EQ(CountPixels(BackSurface, 100, 50, 100 + width, 50 + line, 0x0841) + inside, width * line);
}

TEST_F(TextTest, GlyphsKeepTheirShape) {
  // The hole of an O stays background, and text covers well under half of its cell.
  ASSERT_EQ(DrawTextGdi("O", 20, 20, 0xFFFFFF, BackSurface), 1);
  int width = MeasureTextWidth("O"), line = TextLineHeight();
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 20 + width / 2, 20 + line / 2), 0u);
  EXPECT_GT(CountPixels(BackSurface, 20, 20, 20 + width, 20 + line, 0xFFFF), 10);
  ASSERT_EQ(DrawTextGdi("Player 1: 1088", 20, 60, 0xFFFFFF, BackSurface), 1);
  width = MeasureTextWidth("Player 1: 1088");
  EXPECT_LT(CountPixels(BackSurface, 20, 60, 20 + width, 60 + line, 0xFFFF), width * line / 2);
}

TEST_F(TextTest, EmptyTextDrawsNothingAndNoSurfaceDrawsNothing) {
  EXPECT_EQ(DrawTextGdi("", 0, 0, 0xFFFFFF, BackSurface), 1);
  EXPECT_EQ(CountPixels(BackSurface, 0, 0, 640, 480, 0), 640 * 480);
  EXPECT_EQ(DrawTextGdi("x", 0, 0, 0xFFFFFF, nullptr), 0);
}

TEST_F(TextTest, TextAtTheEdgesIsCutNotRefused) {
  EXPECT_EQ(DrawTextGdi("Edge", 630, 470, 0xFFFFFF, BackSurface), 1);
  EXPECT_EQ(DrawTextGdi("Edge", -5, -5, 0xFFFFFF, BackSurface), 1);
  EXPECT_GT(CountPixels(BackSurface, 630, 470, 640, 480, 0xFFFF), 0);
}

TEST_F(TextTest, EightBitTextTakesTheNearestPaletteIndex) {
  Surface* surface = CreateSurfaceOfFormat(200, 20, 8);
  SetPalette(surface, DisplayPalette);
  ASSERT_EQ(DrawTextGdi("Joystick", 0, 0, 0xFF0000, surface), 1);  // blue
  EXPECT_GT(CountPixels(surface, 0, 0, 200, 20, 191), 20);
  EXPECT_EQ(CountPixels(surface, 0, 0, 200, 20, 191) + CountPixels(surface, 0, 0, 200, 20, 0), 200 * 20);
  Release(surface);
}

class FrameClockTest : public testsupport::HeadlessTest {};

TEST_F(FrameClockTest, WaitsFromTheLastStartAcrossAWrap) {
  platform::SetVirtualTicks(0xFFFFFFF0u);
  EXPECT_EQ(StartFrameClock(), 0xFFFFFFF0u);
  EXPECT_EQ(FrameStartTicks, 0xFFFFFFF0u);
  platform::SetVirtualTicks(0x10);
  EXPECT_EQ(WaitFrameClock(30), 0x10u);  // 32 ms have passed already
  platform::SetVirtualTicks(0xFFFFFFF0u);
  StartFrameClock();
  platform::SleepMs(10);
  EXPECT_EQ(WaitFrameClock(30), 0x0000000Eu);  // exactly 30 ms after the start, past the wrap
}

TEST_F(FrameClockTest, ZeroAndLateFramesReturnAtOnce) {
  platform::SetVirtualTicks(500);
  StartFrameClock();
  EXPECT_EQ(WaitFrameClock(0), 500u);
  platform::SleepMs(45);
  EXPECT_EQ(WaitFrameClock(30), 545u);
  EXPECT_EQ(GetClockTicks(), 545u);
}

TEST_F(FrameClockTest, WaitEndsExactlyWhenTheTimeIsUp) {
  platform::SetVirtualTicks(1000);
  StartFrameClock();
  platform::SleepMs(7);
  EXPECT_EQ(WaitFrameClock(30), 1030u);
  EXPECT_EQ(WaitFrameClock(1), 1030u);
}

}  // namespace
