// The display: mode values, the ramp palette, the real flip swap, lock guards, clippers, off-screen surfaces,
// bounded flip retries, a refused presentation's reason and the visible surface showing what is drawn on it.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "platform/video.h"
#include "tests/support/headless_fixture.h"

namespace {

// Read before any test runs: the values a program sees before a mode is set.
const int32_t kInitialWidth = ScreenWidth, kInitialHeight = ScreenHeight, kInitialDepth = ScreenBitsPerPixel;

class DisplayTest : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    platform::ResetHeadlessPresentation();
  }
  void TearDown() override { ShutdownDisplay(); }
};

void ExpectEntry(int index, int red, int green, int blue) {
  const PaletteEntry& e = PaletteTable[index];
  EXPECT_EQ(e.red, red) << index;
  EXPECT_EQ(e.green, green) << index;
  EXPECT_EQ(e.blue, blue) << index;
  EXPECT_EQ(e.flags, 4) << index;
}

TEST_F(DisplayTest, ModeValuesChangeOnlyWhenAModeIsSet) {
  EXPECT_EQ(kInitialWidth, 640);
  EXPECT_EQ(kInitialHeight, 480);
  EXPECT_EQ(kInitialDepth, 8);
  // A depth our layer does not keep is refused and leaves the values alone.
  int32_t before[3] = {ScreenWidth, ScreenHeight, ScreenBitsPerPixel};
  EXPECT_EQ(InitDisplay(800, 600, 24), 0);
  EXPECT_EQ(ScreenWidth, before[0]);
  EXPECT_EQ(ScreenHeight, before[1]);
  EXPECT_EQ(ScreenBitsPerPixel, before[2]);
  ShutdownDisplay();
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  EXPECT_EQ(ScreenWidth, 640);
  EXPECT_EQ(ScreenHeight, 480);
  EXPECT_EQ(ScreenBitsPerPixel, 16);
  EXPECT_EQ(PrimarySurface->bitsPerPixel, 16);
  EXPECT_EQ(BackSurface->width, 640);
  EXPECT_EQ(PrimarySurface->palette, DisplayPalette);
}

TEST_F(DisplayTest, PaletteHoldsFourRampsAfterInit) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  ExpectEntry(0, 0, 0, 0);
  ExpectEntry(63, 252, 0, 0);
  ExpectEntry(64, 0, 0, 0);
  ExpectEntry(127, 0, 252, 0);
  ExpectEntry(128, 0, 0, 0);
  ExpectEntry(191, 0, 0, 252);
  ExpectEntry(200, 32, 32, 32);
  ExpectEntry(255, 252, 252, 252);
  EXPECT_EQ(DisplayPalette->entries[63].red, 252);
}

TEST_F(DisplayTest, FlipShowsTheBackPictureAndHandsBackTheOldOne) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  FillSurface(BackSurface, 0x1234);
  ASSERT_EQ(FlipDisplay(), 1);
  const platform::PresentedFrame& shown = platform::LastPresentedFrame();
  EXPECT_EQ(shown.flipCount, 1u);
  EXPECT_EQ(shown.pixels[0] | (shown.pixels[1] << 8), 0x1234);
  EXPECT_EQ(ReadSurfacePixel(PrimarySurface, 10, 10), 0x1234u);
  // The back surface now holds what was on screen before: the black of the start.
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 10, 10), 0u);
  FillSurface(BackSurface, 0x001F);
  ASSERT_EQ(FlipDisplay(), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 639, 479), 0x1234u);
  EXPECT_EQ(platform::PresentedPixelRgb(0, 0), 0x0000FFu);
}

TEST_F(DisplayTest, FlipRefusedWhileAPrimaryOrBackLockIsOpen) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  ASSERT_NE(LockBackSurface(), nullptr);
  EXPECT_EQ(BackLockPitch, 1280);
  EXPECT_EQ(FlipDisplay(), 0);
  EXPECT_EQ(platform::LastPresentedFrame().flipCount, 0u);
  EXPECT_EQ(UnlockBackSurface(), 1);
  EXPECT_EQ(UnlockBackSurface(), 0);
  EXPECT_EQ(FlipDisplay(), 1);

  uint8_t* first = LockPrimarySurface();
  EXPECT_EQ(LockPrimarySurface(), first);
  EXPECT_EQ(PrimarySurface->lockCount, 1);
  EXPECT_EQ(FlipDisplay(), 0);
  EXPECT_EQ(UnlockPrimarySurface(), 1);
  EXPECT_EQ(UnlockPrimarySurface(), 0);
  EXPECT_EQ(PrimaryLockPtr, nullptr);
  EXPECT_EQ(PrimaryLockPitch, 0);
  // A lock taken through LockSurface does not hold the flip back.
  ASSERT_NE(LockSurface(BackSurface, nullptr), nullptr);
  EXPECT_EQ(FlipDisplay(), 1);
  EXPECT_EQ(UnlockSurface(BackSurface), 1);
}

TEST_F(DisplayTest, LocksOfNothingAreHarmless) {
  int32_t pitch = 77;
  EXPECT_EQ(LockSurface(nullptr, &pitch), nullptr);
  EXPECT_EQ(pitch, 77);
  EXPECT_EQ(UnlockSurface(nullptr), 0);
  EXPECT_EQ(FillSurface(nullptr, 5), 1);
  ASSERT_EQ(InitDisplay(640, 480, 8), 1);
  uint8_t* pixels = LockSurface(PrimarySurface, &pitch);
  EXPECT_EQ(pixels, PrimarySurface->pixels);
  EXPECT_EQ(pitch, 640);
  EXPECT_EQ(SharedSurfaceDesc.size, 124u);
  EXPECT_EQ(SharedSurfaceDesc.width, 640);
  UnlockSurface(PrimarySurface);
}

TEST_F(DisplayTest, FlipGivesUpAfterABoundedNumberOfRefusals) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  FillSurface(BackSurface, 0x0F0F);
  platform::RefuseNextPresents(kFlipAttempts);
  EXPECT_EQ(FlipDisplay(), 0);
  // Nothing was shown, so nothing was swapped.
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 0, 0), 0x0F0Fu);
  platform::RefuseNextPresents(kFlipAttempts - 1);
  EXPECT_EQ(FlipDisplay(), 1);
  EXPECT_EQ(ReadSurfacePixel(PrimarySurface, 0, 0), 0x0F0Fu);
}

TEST_F(DisplayTest, RefusedPresentationSaysWhyOnOneLine) {
  platform::RefuseNextPresentationOpen("no renderer for this window");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitDisplay(640, 480, 16), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "VIDEO: cannot show 640x480 pictures at 16 bits per pixel (no renderer for this window)\n");
  ShutdownDisplay();
  // The refusal was for one open only; a working one says nothing.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(InitDisplay(640, 480, 16), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(DisplayTest, DrawingOnThePrimaryShowsAtOnce) {
  ASSERT_EQ(InitDisplay(640, 480, 8), 1);
  uint32_t updates = platform::LastPresentedFrame().updateCount;
  FillSurface(PrimarySurface, 63);
  EXPECT_GT(platform::LastPresentedFrame().updateCount, updates);
  EXPECT_EQ(platform::PresentedPixelRgb(5, 5), 0xFC0000u);
  // A palette change on the visible surface shows at once too.
  PaletteEntry green = {0, 200, 0, 0};
  SetPaletteEntries(DisplayPalette, 63, 1, &green);
  EXPECT_EQ(platform::PresentedPixelRgb(5, 5), 0x00C800u);
  // Drawing on the back surface waits for the flip.
  updates = platform::LastPresentedFrame().updateCount;
  FillSurface(BackSurface, 1);
  EXPECT_EQ(platform::LastPresentedFrame().updateCount, updates);
}

TEST_F(DisplayTest, ClipperKeepsItsRegionHeader) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  RectL one = {10, 20, 110, 220};
  ClipperObject* clipper = AttachClipper(BackSurface, 1, &one);
  ASSERT_NE(clipper, nullptr);
  EXPECT_EQ(clipper->header.size, 32u);
  EXPECT_EQ(clipper->header.type, 1u);
  EXPECT_EQ(clipper->header.count, 1u);
  EXPECT_EQ(clipper->header.regionSize, 16u);
  EXPECT_EQ(clipper->header.bound.left, 10);
  EXPECT_EQ(clipper->header.bound.bottom, 220);
  EXPECT_EQ(BackSurface->clipper, clipper);
  Release(clipper);

  RectL two[2] = {{10, 20, 110, 220}, {5, 50, 60, 300}};
  clipper = AttachClipper(BackSurface, 2, two);
  ASSERT_NE(clipper, nullptr);
  const RectL& bound = clipper->header.bound;
  EXPECT_EQ(bound.left, 5);
  EXPECT_EQ(bound.top, 20);
  EXPECT_EQ(bound.right, 110);
  EXPECT_EQ(bound.bottom, 300);
  EXPECT_EQ(clipper->header.regionSize, 32u);
  ASSERT_EQ(clipper->rectangles.size(), 2u);
  EXPECT_EQ(clipper->rectangles[1].bottom, 300);
  Release(clipper);

  clipper = AttachClipper(BackSurface, 0, nullptr);
  ASSERT_NE(clipper, nullptr);
  EXPECT_EQ(clipper->header.bound.left, 64000);
  EXPECT_EQ(clipper->header.bound.right, -64000);
  Release(clipper);
  EXPECT_EQ(AttachClipper(BackSurface, -1, &one), nullptr);
}

TEST_F(DisplayTest, OffscreenSurfaceIsPlainWithBlackKey) {
  EXPECT_EQ(CreateOffscreenSurface(16, 16, 0), nullptr);  // no device yet
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  Surface* surface = CreateOffscreenSurface(33, 7, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->caps, 0x40u);
  EXPECT_TRUE(surface->hasColorKey);
  EXPECT_EQ(surface->colorKeyLow, 0u);
  EXPECT_EQ(surface->colorKeyHigh, 0u);
  EXPECT_EQ(surface->bitsPerPixel, 16);
  EXPECT_EQ(surface->pitch % 4, 0);
  EXPECT_GE(surface->pitch, 66);
  Surface* video = CreateOffscreenSurface(8, 8, kSurfaceCapsVideoMemory);
  EXPECT_EQ(video->caps, 0x4040u);
  Release(video);
  EXPECT_EQ(Release(surface), 0u);
}

TEST_F(DisplayTest, ShutdownReleasesAndClearsTheHandles) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  LockBackSurface();
  EXPECT_EQ(ShutdownDisplay(), 1);
  EXPECT_EQ(PrimarySurface, nullptr);
  EXPECT_EQ(BackSurface, nullptr);
  EXPECT_EQ(DisplayPalette, nullptr);
  EXPECT_EQ(DisplayDevice, nullptr);
  EXPECT_EQ(BackLockPtr, nullptr);
  EXPECT_EQ(FlipDisplay(), 0);
}

TEST_F(DisplayTest, RectangleFillStaysInsideItsRectangle) {
  ASSERT_EQ(InitDisplay(640, 480, 16), 1);
  EXPECT_EQ(FillSurfaceRect(BackSurface, RectL{10, 10, 20, 12}, 0xABCD), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 10, 10), 0xABCDu);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 19, 11), 0xABCDu);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 20, 11), 0u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 10, 12), 0u);
  EXPECT_EQ(FillSurfaceRect(BackSurface, RectL{630, 0, 641, 5}, 1), 0);
  EXPECT_EQ(FillSurfaceRect(BackSurface, RectL{0, 475, 5, 481}, 1), 0);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 639, 0), 0u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 0, 479), 0u);
  // A rectangle may end exactly at the surface's right and bottom edges.
  EXPECT_EQ(FillSurfaceRect(BackSurface, RectL{630, 470, 640, 480}, 0x1234), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 639, 479), 0x1234u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 630, 470), 0x1234u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 629, 469), 0u);
}

}  // namespace
