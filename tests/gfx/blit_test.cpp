// Blits: all-or-nothing placement, colour-key transparency, the opaque-run cache seeing every change of its
// surface, both 16-bit copy paths on the same pictures, and the stretched blit with its key and clip list.
#include <gtest/gtest.h>

#include "gfx/blit.h"
#include "gfx/blit_path_for_test.h"
#include "gfx/display.h"
#include "tests/support/headless_fixture.h"

namespace {

class BlitTest : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(InitDisplay(640, 480, 16), 1);
    paddle = CreateOffscreenSurface(76, 8, 0);
    // Opaque everywhere but a transparent (black) column at x 3 and a row at y 5.
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 76; ++x) WriteSurfacePixel(paddle, x, y, (x == 3 || y == 5) ? 0 : 0x1000 + x);
  }
  void TearDown() override {
    Release(paddle);
    ShutdownDisplay();
  }
  Surface* paddle = nullptr;
};

bool SurfaceIsAll(const Surface* surface, uint32_t value) {
  for (int y = 0; y < surface->height; ++y)
    for (int x = 0; x < surface->width; ++x)
      if (ReadSurfacePixel(surface, x, y) != value) return false;
  return true;
}

TEST_F(BlitTest, RectangleMustLieWhollyInsideTheDestination) {
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, 600, 10, 76, 8));
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, -1, 10, 76, 8));
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, 0, 473, 76, 8));
  EXPECT_TRUE(SurfaceIsAll(BackSurface, 0));
  EXPECT_TRUE(BlitSurface(paddle, BackSurface, 564, 10, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 564, 10), 0x1000u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 639, 17), 0x1000u + 75);
  EXPECT_TRUE(BlitSurface(paddle, BackSurface, 0, 472, 76, 8));
}

TEST_F(BlitTest, SizeBeyondTheSourceOrNoSourceDrawsNothing) {
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, 0, 0, 77, 8));
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, 0, 0, 76, 9));
  EXPECT_FALSE(BlitSurface(paddle, BackSurface, 0, 0, 0, 8));
  EXPECT_FALSE(BlitSurface(nullptr, BackSurface, 0, 0, 76, 8));
  EXPECT_FALSE(BlitSurface(paddle, nullptr, 0, 0, 76, 8));
  Surface* eightBit = CreateSurfaceOfFormat(76, 8, 8);
  EXPECT_FALSE(BlitSurface(eightBit, BackSurface, 0, 0, 76, 8));
  Release(eightBit);
  EXPECT_TRUE(SurfaceIsAll(BackSurface, 0));
}

TEST_F(BlitTest, KeyedPixelsLeaveTheDestinationAlone) {
  FillSurface(BackSurface, 0x7777);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 100, 100, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 103, 100), 0x7777u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 120, 105), 0x7777u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 104, 100), 0x1004u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 175, 107), 0x1000u + 75);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 176, 107), 0x7777u);
  // Only the top-left part asked for is taken.
  FillSurface(BackSurface, 0x7777);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 10, 2));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 9, 1), 0x1009u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 10, 1), 0x7777u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 9, 2), 0x7777u);
  // Without a key every pixel is copied.
  ClearColorKey(paddle);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 3, 0), 0u);
}

TEST_F(BlitTest, CachedRunsFollowEveryChangeOfTheSource) {
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 8));
  // Written through a lock: the hole at x 3 is filled.
  uint8_t* pixels = LockSurface(paddle, nullptr);
  pixels[6] = 0x34, pixels[7] = 0x12;
  UnlockSurface(paddle);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 20, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 3, 20), 0x1234u);
  // Written through a lock after a blit already read the picture: the next blit sees the late write too.
  pixels = LockSurface(paddle, nullptr);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 40, 76, 8));
  pixels[2 * 3 + 5 * paddle->pitch] = 0x78, pixels[2 * 3 + 5 * paddle->pitch + 1] = 0x56;
  UnlockSurface(paddle);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 60, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 3, 65), 0x5678u);
  // Filled black: everything becomes transparent.
  FillSurface(paddle, 0);
  FillSurface(BackSurface, 0x5555);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 8));
  EXPECT_TRUE(SurfaceIsAll(BackSurface, 0x5555));
  // A new key makes other pixels transparent.
  FillSurface(paddle, 0x0042);
  SetColorKey(paddle, 0x0042, 0x0042);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 8));
  EXPECT_TRUE(SurfaceIsAll(BackSurface, 0x5555));
  // Blitted onto: the runs are found again.
  Surface* dot = CreateOffscreenSurface(1, 1, 0);
  WriteSurfacePixel(dot, 0, 0, 0x0099);
  ASSERT_TRUE(BlitSurface(dot, paddle, 40, 4, 1, 1));
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 8));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 40, 4), 0x0099u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 39, 4), 0x5555u);
  Release(dot);
}

TEST_F(BlitTest, WholeRowsLandRightOnEveryDestination) {
  // The same picture onto destinations of different pitches, in turn, and only its first rows.
  Surface* narrow = CreateOffscreenSurface(80, 10, 0);
  for (int pass = 0; pass < 2; ++pass) {
    FillSurface(narrow, 0x7777);
    ASSERT_TRUE(BlitSurface(paddle, narrow, 2, 1, 76, 8));
    EXPECT_EQ(ReadSurfacePixel(narrow, 2, 1), 0x1000u);
    EXPECT_EQ(ReadSurfacePixel(narrow, 5, 1), 0x7777u);
    EXPECT_EQ(ReadSurfacePixel(narrow, 77, 8), 0x1000u + 75);
    EXPECT_EQ(ReadSurfacePixel(narrow, 10, 6), 0x7777u);
    FillSurface(BackSurface, 0x7777);
    ASSERT_TRUE(BlitSurface(paddle, BackSurface, 300, 200, 76, 8));
    EXPECT_EQ(ReadSurfacePixel(BackSurface, 375, 207), 0x1000u + 75);
    EXPECT_EQ(ReadSurfacePixel(BackSurface, 303, 203), 0x7777u);
  }
  FillSurface(BackSurface, 0x7777);
  ASSERT_TRUE(BlitSurface(paddle, BackSurface, 0, 0, 76, 2));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 0, 1), 0x1000u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 0, 2), 0x7777u);
  Release(narrow);
}

TEST_F(BlitTest, EightBitSurfacesBlitWithTheirKey) {
  Surface* source = CreateSurfaceOfFormat(5, 3, 8);
  Surface* target = CreateSurfaceOfFormat(9, 9, 8);
  for (int x = 0; x < 5; ++x) WriteSurfacePixel(source, x, 1, x);
  SetColorKey(source, 0, 0);
  FillSurface(target, 200);
  ASSERT_TRUE(BlitSurface(source, target, 4, 6, 5, 3));
  EXPECT_EQ(ReadSurfacePixel(target, 4, 7), 200u);
  EXPECT_EQ(ReadSurfacePixel(target, 8, 7), 4u);
  EXPECT_EQ(ReadSurfacePixel(target, 8, 6), 200u);
  Release(source);
  Release(target);
}

TEST_F(BlitTest, BlitOntoItselfReadsTheWholeSourceFirst) {
  Surface* strip = CreateSurfaceOfFormat(8, 1, 8);
  for (int x = 0; x < 8; ++x) WriteSurfacePixel(strip, x, 0, x + 1);
  ASSERT_TRUE(BlitSurface(strip, strip, 2, 0, 6, 1));
  EXPECT_EQ(ReadSurfacePixel(strip, 2, 0), 1u);
  EXPECT_EQ(ReadSurfacePixel(strip, 7, 0), 6u);
  Release(strip);
}

TEST_F(BlitTest, StretchDoublesAndKeepsTheKey) {
  Surface* source = CreateSurfaceOfFormat(2, 2, 16);
  WriteSurfacePixel(source, 0, 0, 0x1111);
  WriteSurfacePixel(source, 1, 1, 0x2222);
  SetColorKey(source, 0, 0);
  FillSurface(BackSurface, 0x0F00);
  ASSERT_TRUE(StretchBlitSurface(source, RectL{0, 0, 2, 2}, BackSurface, RectL{10, 10, 14, 14}, true));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 11, 11), 0x1111u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 12, 12), 0x2222u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 13, 13), 0x2222u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 12, 11), 0x0F00u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 14, 14), 0x0F00u);
  ASSERT_TRUE(StretchBlitSurface(source, RectL{0, 0, 2, 2}, BackSurface, RectL{10, 10, 14, 14}, false));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 12, 11), 0u);
  // Outside the destination without a clip list: refused whole.
  EXPECT_FALSE(StretchBlitSurface(source, RectL{0, 0, 2, 2}, BackSurface, RectL{638, 0, 642, 4}, true));
  EXPECT_FALSE(StretchBlitSurface(source, RectL{0, 0, 3, 2}, BackSurface, RectL{0, 0, 4, 4}, true));
  Release(source);
}

TEST_F(BlitTest, StretchIsCutByTheClipList) {
  Surface* source = CreateSurfaceOfFormat(4, 4, 16);
  FillSurface(source, 0x3333);
  RectL clip = {0, 0, 640, 480};
  ClipperObject* clipper = AttachClipper(BackSurface, 1, &clip);
  ASSERT_TRUE(StretchBlitSurface(source, RectL{0, 0, 4, 4}, BackSurface, RectL{636, 476, 644, 484}, false));
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 639, 479), 0x3333u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 635, 479), 0u);
  Release(clipper);
  Release(source);
}

// Both 16-bit keyed copy paths against a pixel-by-pixel keyed copy. Row r of the picture holds opaque runs of
// r + 1 pixels (every piece size the copy uses, up to the long runs it hands to memcpy) between gaps of 1 to 3;
// it is blitted whole onto destinations of two pitches and cut to a narrower width.
class KeyedCopyPathTest : public testsupport::OnHeadless<::testing::TestWithParam<KeyedCopyPath>> {
 protected:
  void SetUp() override {
    OnHeadless::SetUp();
    ASSERT_EQ(InitDisplay(640, 480, 16), 1);
    if (!UseKeyedCopyPath(GetParam())) GTEST_SKIP() << "this processor has no 32-byte vector moves";
  }
  void TearDown() override {
    UseKeyedCopyPath(KeyedCopyPath::ProcessorChoice);
    ShutdownDisplay();
  }
};

TEST_P(KeyedCopyPathTest, CopiesExactlyTheOpaquePixels) {
  constexpr int32_t kWidth = 320, kHeight = 150;
  Surface* picture = CreateOffscreenSurface(kWidth, kHeight, 0);
  for (int32_t y = 0; y < kHeight; ++y) {
    int32_t x = y % 5;
    while (x < kWidth) {
      for (int32_t i = 0; i < y + 1 && x < kWidth; ++i, ++x) WriteSurfacePixel(picture, x, y, 0x0821 + ((x * 7) ^ y));
      x += y % 3 + 1;
    }
  }
  Surface* narrowPitch = CreateOffscreenSurface(kWidth + 3, kHeight + 2, 0);
  // As wide as the picture: a run ending a row and one starting the next are one move there.
  Surface* samePitch = CreateOffscreenSurface(kWidth, kHeight + 2, 0);
  struct Case {
    Surface* destination;
    int32_t x, y, width;
  };
  const Case cases[] = {
      {BackSurface, 1, 3, kWidth}, {narrowPitch, 3, 1, kWidth}, {samePitch, 0, 1, kWidth}, {BackSurface, 7, 2, 201}};
  for (const Case& c : cases) {
    FillSurface(c.destination, 0x5555);
    ASSERT_TRUE(BlitSurface(picture, c.destination, c.x, c.y, c.width, kHeight));
    for (int32_t y = 0; y < c.destination->height; ++y)
      for (int32_t x = 0; x < c.destination->width; ++x) {
        const int32_t sx = x - c.x, sy = y - c.y;
        const bool inside = sx >= 0 && sy >= 0 && sx < c.width && sy < kHeight;
        const uint32_t source = inside ? ReadSurfacePixel(picture, sx, sy) : 0;
        const uint32_t expected = source != 0 ? source : 0x5555;
        ASSERT_EQ(ReadSurfacePixel(c.destination, x, y), expected) << "at " << x << "," << y << " width " << c.width;
      }
  }
  Release(samePitch);
  Release(narrowPitch);
  Release(picture);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, KeyedCopyPathTest, ::testing::Values(KeyedCopyPath::Plain, KeyedCopyPath::Wide),
                         [](const ::testing::TestParamInfo<KeyedCopyPath>& info) {
                           return info.param == KeyedCopyPath::Plain ? "Plain" : "Wide";
                         });

}  // namespace
