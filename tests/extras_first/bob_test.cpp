// Rules of the sprite object: padded frames and the creation log line, frames cut from a bitmap, animation,
// wrap-or-bounce movement, keyed and stretched drawing, clones and the overlap test.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "gfx/extras/bob.h"
#include "gfx/extras/error_log.h"
#include "tests/extras_first/bmp_bytes.h"

using namespace bmp_bytes;

namespace {

// An 8-bit display is up for each case; the Bob made here is destroyed afterwards.
class BobTest : public ::testing::Test {
 protected:
  Bob bob{};
  void SetUp() override { ASSERT_EQ(InitDisplay(640, 480, 8), 1); }
  void TearDown() override {
    DestroyBob(&bob);
    ShutdownDisplay();
  }
  // The frame shown after each of `steps` calls to AnimateBob.
  std::vector<int32_t> Shown(int steps) {
    std::vector<int32_t> shown;
    for (int i = 0; i < steps; ++i) {
      AnimateBob(&bob);
      shown.push_back(bob.frameIndex);
    }
    return shown;
  }
};

// A Bob whose only field that matters is its box.
Bob BoxAt(int32_t x, int32_t y, int32_t w, int32_t h) {
  Bob box{};
  box.x = x;
  box.y = y;
  box.width = w;
  box.height = h;
  return box;
}

using Frames = std::vector<int32_t>;

}  // namespace

TEST_F(BobTest, CreationPadsFramesToAMultipleOfEightAndLogsThePadding) {
  ASSERT_EQ(OpenErrorLog("bob_log.txt"), 1);
  bob.spareWords[0] = 0xFEEDu;
  ASSERT_EQ(CreateBob(&bob, 10, 20, 13, 5, 3, BobAttrVisible, SurfaceCapsSystemMemory), 1);
  EXPECT_EQ(bob.rowPad, 3);
  EXPECT_EQ(bob.state, 1);
  EXPECT_EQ(bob.x, 10);
  EXPECT_EQ(bob.y, 20);
  EXPECT_EQ(bob.frameCount, 3);
  EXPECT_EQ(bob.spareWords[0], 0xFEEDu) << "caller data is left alone";
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(bob.frames[i], nullptr);
    EXPECT_EQ(bob.frames[i]->width, 16);
    EXPECT_EQ(bob.frames[i]->height, 5);
    EXPECT_EQ(bob.frames[i]->bitsPerPixel, 8);
    EXPECT_FALSE(bob.frames[i]->hasColorKey) << "the caller chooses each frame's key";
  }
  EXPECT_EQ(bob.frames[3], nullptr);
  Bob wide{};
  ASSERT_EQ(CreateBob(&wide, 0, 0, 16, 4, 1, 0, 0), 1);
  EXPECT_EQ(wide.rowPad, 0);
  EXPECT_EQ(wide.frames[0]->width, 16);
  DestroyBob(&wide);
  CloseErrorLog();
  std::ifstream in("bob_log.txt");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "\nOpening Error Output File (bob_log.txt):\n\nCreate BOB 3\nCreate BOB 0\nClosing Error Output File.");
}

TEST_F(BobTest, CreationRefusesMoreFramesThanSlotsAndAMissingDisplay) {
  EXPECT_EQ(CreateBob(&bob, 0, 0, 8, 8, 65, 0, 0), 0);
  EXPECT_EQ(bob.frameCount, 0);
  EXPECT_EQ(bob.frames[0], nullptr);
  EXPECT_EQ(CreateBob(nullptr, 0, 0, 8, 8, 1, 0, 0), 0);
  ShutdownDisplay();
  Bob orphan{};
  EXPECT_EQ(CreateBob(&orphan, 0, 0, 8, 8, 2, 0, 0), 0);
  EXPECT_EQ(orphan.frames[0], nullptr);
  EXPECT_EQ(DestroyBob(&orphan), 1);
}

TEST_F(BobTest, CellModeReadsCellTwoOneOf32PixelFramesAt67And34) {
  BmpFileData sheet{};
  ASSERT_EQ(ReadBmpFile(&sheet, Write("bob_sheet.bmp", Make(100, 67, 8, Pattern(100, 67))).c_str()), 1);
  ASSERT_EQ(CreateBob(&bob, 0, 0, 32, 32, 2, 0, 0), 1);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 1, 2, 1, 0), 1);
  EXPECT_TRUE(bob.attr & BobAttrFramesLoaded);
  const Surface* frame = bob.frames[1];
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(frame->pixels[y * frame->pitch + x], PatternAt(67 + x, 34 + y));
  // Pixel mode takes the position as it is.
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 5, 7, 1), 1);
  EXPECT_EQ(bob.frames[0]->pixels[0], PatternAt(5, 7));
  FreeBmpFile(&sheet);
}

TEST_F(BobTest, FrameLoadsOutsideTheSlotsOrTheBitmapAreRefused) {
  BmpFileData sheet{};
  ASSERT_EQ(ReadBmpFile(&sheet, Write("bob_small_sheet.bmp", Make(40, 40, 8, Pattern(40, 40))).c_str()), 1);
  ASSERT_EQ(CreateBob(&bob, 0, 0, 16, 16, 2, 0, 0), 1);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 64, 0, 0, 0), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, -1, 0, 0, 0), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 2, 0, 0, 0), 0) << "empty slot";
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 2, 0, 0), 0) << "cell (2, 0) starts at pixel 35";
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 25, 0, 1), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 0, -1, 1), 0);
  EXPECT_EQ(LoadBobFrame(nullptr, &sheet, 0, 0, 0, 0), 0);
  EXPECT_EQ(LoadBobFrame(&bob, nullptr, 0, 0, 0, 0), 0);
  EXPECT_FALSE(bob.attr & BobAttrFramesLoaded);
  for (uint8_t b : bob.frames[0]->storage) ASSERT_EQ(b, 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 24, 24, 1), 1) << "the last position that fits";
  FreeBmpFile(&sheet);
}

TEST_F(BobTest, AnimationSpeedCountsTicksPerStep) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 4, BobAttrCycleFrames, 0), 1);
  EXPECT_EQ(Shown(5), (Frames{1, 2, 3, 0, 1}));
  SetBobAnimationSpeed(&bob, 1);
  EXPECT_EQ(Shown(2), (Frames{2, 3}));
  SetBobAnimationSpeed(&bob, 3);
  bob.frameIndex = 0;
  EXPECT_EQ(Shown(7), (Frames{0, 0, 1, 1, 1, 2, 2}));
}

TEST_F(BobTest, SequencesLoopOrStopOnTheirLastFrame) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 8, BobAttrSequences, 0), 1);
  const int32_t walk[] = {5, 6, 7};
  ASSERT_EQ(LoadBobAnimation(&bob, 2, 3, walk), 1);
  EXPECT_EQ(bob.sequences[2][3], -1);
  SetBobAnimation(&bob, 2);
  EXPECT_EQ(Shown(6), (Frames{6, 7, 5, 6, 7, 5}));
  EXPECT_EQ(bob.sequenceDone, 0);

  bob.attr |= BobAttrOneShot;
  SetBobAnimation(&bob, 2);
  EXPECT_EQ(Shown(2), (Frames{6, 7}));
  EXPECT_EQ(bob.sequenceDone, 0);
  EXPECT_EQ(Shown(1), (Frames{7}));
  EXPECT_EQ(bob.sequenceDone, 1) << "set by the step that found the end";
  EXPECT_EQ(Shown(3), (Frames{7, 7, 7}));
}

TEST_F(BobTest, FirstSetAttributeDecidesHowItAnimates) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 4, BobAttrSingleFrame | BobAttrCycleFrames, 0), 1);
  bob.frameIndex = 3;
  EXPECT_EQ(Shown(3), (Frames{0, 0, 0}));
  bob.attr = 0;
  bob.frameIndex = 2;
  EXPECT_EQ(Shown(2), (Frames{2, 2}));
  // Sequences selected but never loaded: nothing to step through, and nothing is read.
  bob.attr = BobAttrSequences;
  SetBobAnimation(&bob, 9);
  EXPECT_EQ(Shown(2), (Frames{2, 2}));
  EXPECT_EQ(AnimateBob(nullptr), 0);
}

TEST_F(BobTest, AnimationSlotsAndCountsAreChecked) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, BobAttrSequences, 0), 1);
  const int32_t one[] = {1};
  EXPECT_EQ(LoadBobAnimation(&bob, 16, 1, one), 0);
  EXPECT_EQ(LoadBobAnimation(&bob, -1, 1, one), 0);
  EXPECT_EQ(LoadBobAnimation(&bob, 0, 0, one), 0);
  EXPECT_EQ(LoadBobAnimation(&bob, 0, 1, nullptr), 0);
  // Replacing the selected sequence with a shorter one starts it over instead of reading past its end.
  const int32_t longer[] = {0, 1, 0, 1};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 4, longer), 1);
  Shown(3);
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 1, one), 1);
  EXPECT_EQ(Shown(2), (Frames{1, 1}));
}

TEST_F(BobTest, WrapSendsItRoundTheClipRectangleBeforeBounceIsConsidered) {
  ASSERT_EQ(CreateBob(&bob, 639, 100, 32, 16, 1, BobAttrWrap | BobAttrBounce, 0), 1);
  SetBobVelocity(&bob, 1, 0);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, -32);
  EXPECT_EQ(bob.velX, 1) << "no bounce while wrapping";
  SetBobVelocity(&bob, -1, 0);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, 639);
  // Wholly off the left edge only past -32: at -32 it is still where it was put.
  SetBobPosition(&bob, -31, 100);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, -32);
  SetBobPosition(&bob, 638, 100);
  SetBobVelocity(&bob, 1, 0);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, 639);
  SetBobPosition(&bob, 10, 479);
  SetBobVelocity(&bob, 0, 1);
  MoveBob(&bob);
  EXPECT_EQ(bob.y, -16);
  SetBobVelocity(&bob, 0, -1);
  MoveBob(&bob);
  EXPECT_EQ(bob.y, 479);
}

TEST_F(BobTest, BounceTurnsVelocityButLeavesThePosition) {
  ASSERT_EQ(CreateBob(&bob, 610, 100, 32, 16, 1, BobAttrBounce, 0), 1);
  SetBobVelocity(&bob, 3, -2);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, 613);
  EXPECT_EQ(bob.velX, -3);
  EXPECT_EQ(bob.velY, -2);
  SetBobPosition(&bob, 1, 464);
  SetBobVelocity(&bob, -2, 1);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, -1);
  EXPECT_EQ(bob.y, 465);
  EXPECT_EQ(bob.velX, 2);
  EXPECT_EQ(bob.velY, -1);
  // 607 is the last x that counts as inside for a 32-wide Bob.
  SetBobPosition(&bob, 606, 200);
  SetBobVelocity(&bob, 1, 0);
  MoveBob(&bob);
  EXPECT_EQ(bob.velX, 1);
  MoveBob(&bob);
  EXPECT_EQ(bob.x, 608);
  EXPECT_EQ(bob.velX, -1);
}

TEST_F(BobTest, DrawingIsAKeyedBlitOfTheCurrentFrame) {
  ASSERT_EQ(CreateBob(&bob, 100, 50, 4, 2, 2, 0, 0), 1);
  uint8_t* frame = bob.frames[1]->pixels;
  const int32_t pitch = bob.frames[1]->pitch;
  frame[0] = 7;
  frame[3] = 8;
  frame[pitch + 1] = 9;
  frame[4] = 66;  // padding beyond the frame's width: never drawn
  SetColorKey(bob.frames[1], 0, 0);
  bob.frameIndex = 1;
  FillSurface(BackSurface, 3);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1) << "hidden: nothing drawn, success";
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 100, 50), 3u);
  ShowBob(&bob);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 100, 50), 7u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 101, 50), 3u) << "key colour 0 stays transparent";
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 103, 50), 8u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 104, 50), 3u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 101, 51), 9u);
  HideBob(&bob);
  FillSurface(BackSurface, 3);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 100, 50), 3u);
}

TEST_F(BobTest, ScaledDrawingStretchesTheFrame) {
  ASSERT_EQ(CreateBob(&bob, 10, 10, 2, 2, 1, BobAttrVisible, 0), 1);
  uint8_t* frame = bob.frames[0]->pixels;
  frame[0] = 1;
  frame[1] = 2;
  frame[bob.frames[0]->pitch] = 3;
  frame[bob.frames[0]->pitch + 1] = 4;
  FillSurface(BackSurface, 0);
  EXPECT_EQ(DrawBobScaled(&bob, 4, 6, BackSurface), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 11, 12), 1u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 13, 12), 2u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 10, 15), 3u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 13, 15), 4u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 14, 15), 0u);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 13, 16), 0u);
}

TEST_F(BobTest, AFailedBlitIsReported) {
  ASSERT_EQ(CreateBob(&bob, 630, 10, 32, 32, 1, BobAttrVisible, 0), 1);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 0) << "no clipping of its own: a Bob past the edge is refused";
  bob.frameIndex = 5;
  SetBobPosition(&bob, 0, 0);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 0) << "empty frame slot";
  EXPECT_EQ(DrawBob(nullptr, BackSurface), 0);
}

TEST_F(BobTest, DestroyingACloneLeavesTheSourceDrawable) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, BobAttrVisible | BobAttrSequences, 0), 1);
  const int32_t seq[] = {1, 0};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 2, seq), 1);
  Bob clone{};
  EXPECT_EQ(CloneBob(&bob, &clone), 1);
  EXPECT_TRUE(clone.attr & BobAttrClone);
  EXPECT_FALSE(bob.attr & BobAttrClone);
  EXPECT_EQ(clone.frames[1], bob.frames[1]);
  SetBobPosition(&clone, 50, 60);
  EXPECT_EQ(bob.x, 0) << "the clone moves on its own";
  EXPECT_EQ(DestroyBob(&clone), 1);
  EXPECT_EQ(clone.frames[0], nullptr);
  EXPECT_EQ(clone.sequences[0], bob.sequences[0]) << "a clone leaves the sequences alone";
  EXPECT_EQ(bob.frames[0]->refCount, 1u);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
  EXPECT_EQ(AnimateBob(&bob), 1);
  EXPECT_EQ(bob.frameIndex, 0);
  EXPECT_EQ(CloneBob(&bob, &bob), 0);
  EXPECT_EQ(CloneBob(nullptr, &clone), 0);
}

TEST_F(BobTest, DestroyReleasesEveryFrame) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, 0, 0), 1);
  Surface* kept = bob.frames[1];
  AddRef(kept);
  EXPECT_EQ(DestroyBob(&bob), 1);
  EXPECT_EQ(bob.frames[1], nullptr);
  EXPECT_EQ(Release(kept), 0u) << "the Bob's reference was dropped";
  EXPECT_EQ(DestroyBob(nullptr), 0);
}

TEST(BobSetters, NullBobChangesNothing) {
  EXPECT_EQ(SetBobPosition(nullptr, 1, 2), 0);
  EXPECT_EQ(SetBobVelocity(nullptr, 1, 2), 0);
  EXPECT_EQ(SetBobAnimationSpeed(nullptr, 1), 0);
  EXPECT_EQ(SetBobAnimation(nullptr, 1), 0);
  EXPECT_EQ(ShowBob(nullptr), 0);
  EXPECT_EQ(HideBob(nullptr), 0);
  EXPECT_EQ(MoveBob(nullptr), 0);
  EXPECT_EQ(DrawBobScaled(nullptr, 1, 1, nullptr), 0);
}

TEST(BobCollision, ReducedBoxesMustOverlapStrictly) {
  Bob a = BoxAt(0, 0, 32, 32);
  Bob b = BoxAt(23, 0, 32, 32);
  EXPECT_EQ(BobsCollide(&a, &b), 1);
  b.x = 24;
  EXPECT_EQ(BobsCollide(&a, &b), 0);
  b = BoxAt(0, -23, 32, 32);
  EXPECT_EQ(BobsCollide(&a, &b), 1);
  b.y = -24;
  EXPECT_EQ(BobsCollide(&a, &b), 0);
  EXPECT_EQ(BobsCollide(&a, nullptr), 0);
  EXPECT_EQ(BobsCollide(nullptr, &a), 0);
  // Different sizes: half-extents (8 >> 1) - (8 >> 3) = 3 and (100 >> 1) - (100 >> 3) = 38, so the reference
  // points (x + 3) and 38 must be less than 41 apart.
  EXPECT_EQ(RectsCollide(75, 0, 8, 8, 0, 0, 100, 100), 1);
  EXPECT_EQ(RectsCollide(76, 0, 8, 8, 0, 0, 100, 100), 0);
  EXPECT_EQ(RectsCollide(0, 0, 100, 100, 76, 0, 8, 8), 0);
  EXPECT_EQ(RectsCollide(-5, 0, 8, 8, 0, 0, 100, 100), 1);
  EXPECT_EQ(RectsCollide(-6, 0, 8, 8, 0, 0, 100, 100), 0);
  EXPECT_EQ(RectsCollide(0, 75, 8, 8, 0, 0, 100, 100), 1);
  EXPECT_EQ(RectsCollide(0, 76, 8, 8, 0, 0, 100, 100), 0);
}
