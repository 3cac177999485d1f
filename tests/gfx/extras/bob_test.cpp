// Rules of the sprite object: padded frames and the creation log line, frames cut from a bitmap, animation,
// wrap-or-bounce movement, keyed and stretched drawing, clones and the overlap test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "gfx/extras/bob.h"
#include "gfx/extras/error_log.h"
#include "tests/gfx/extras/bmp_bytes.h"

using namespace bmp_bytes;

namespace {

using Frames = std::vector<int32_t>;

// An 8-bit display is up for each case; the Bob made here is destroyed afterwards.
class BobTest : public ::testing::Test {
 protected:
  Bob bob{};
  BmpFileData sheet{};
  void SetUp() override { ASSERT_EQ(InitDisplay(640, 480, 8), 1); }
  void TearDown() override {
    DestroyBob(&bob);
    FreeBmpFile(&sheet);
    ShutdownDisplay();
  }
  // The frame shown after each of `steps` calls to AnimateBob.
  Frames Shown(int steps) {
    Frames shown;
    for (int i = 0; i < steps; ++i) {
      AnimateBob(&bob);
      shown.push_back(bob.frameIndex);
    }
    return shown;
  }
  // Moves once with the given position and velocity; returns the new x, y, velX, velY.
  std::vector<int32_t> Move(int32_t x, int32_t y, int32_t velX, int32_t velY) {
    SetBobPosition(&bob, x, y);
    SetBobVelocity(&bob, velX, velY);
    MoveBob(&bob);
    return {bob.x, bob.y, bob.velX, bob.velY};
  }
};

}  // namespace

TEST_F(BobTest, CreationPadsFramesToAMultipleOfEightAndLogsThePadding) {
  ASSERT_EQ(OpenErrorLog("bob_log.txt"), 1);
  bob.spareWords[0] = 0xFEEDu;
  ASSERT_EQ(CreateBob(&bob, 10, 20, 13, 5, 3, BobAttrVisible, kSurfaceCapsSystemMemory), 1);
  EXPECT_EQ(bob.rowPad, 3);
  EXPECT_EQ(bob.state, 1);
  EXPECT_EQ(bob.spareWords[0], 0xFEEDu) << "caller data is left alone";
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(bob.frames[i], nullptr);
    EXPECT_EQ(bob.frames[i]->width, 16);
    EXPECT_EQ(bob.frames[i]->height, 5);
    EXPECT_FALSE(bob.frames[i]->hasColorKey) << "the caller chooses each frame's key";
  }
  EXPECT_EQ(bob.frames[3], nullptr);
  Bob wide{};
  ASSERT_EQ(CreateBob(&wide, 0, 0, 16, 4, 1, 0, 0), 1);
  EXPECT_EQ(wide.frames[0]->width, 16);
  DestroyBob(&wide);
  CloseErrorLog();
  std::ifstream in("bob_log.txt");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text,
            "\nOpening Error Output File (bob_log.txt):\n\nCreate BOB 3\nCreate BOB 0\nClosing Error Output File.");
}

TEST_F(BobTest, CreationRefusesMoreFramesThanSlotsAndAMissingDisplay) {
  EXPECT_EQ(CreateBob(&bob, 0, 0, 8, 8, 65, 0, 0), 0);
  EXPECT_EQ(bob.frameCount, 0);
  EXPECT_EQ(bob.frames[0], nullptr);
  ShutdownDisplay();
  Bob orphan{};
  EXPECT_EQ(CreateBob(&orphan, 0, 0, 8, 8, 2, 0, 0), 0);
  EXPECT_EQ(orphan.frames[0], nullptr);
  EXPECT_EQ(DestroyBob(&orphan), 1);
}

TEST_F(BobTest, FramesComeFromCellsOrPixelPositionsInsideTheBitmapOnly) {
  ASSERT_EQ(ReadBmpFile(&sheet, Write("bob_sheet.bmp", Make(100, 67, 8, Pattern(100, 67))).c_str()), 1);
  ASSERT_EQ(CreateBob(&bob, 0, 0, 32, 32, 2, 0, 0), 1);
  // Refusals first: bad slots, cells past the bitmap; nothing is copied.
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 64, 0, 0, 0), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, -1, 0, 0, 0), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 2, 0, 0, 0), 0) << "empty slot";
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 3, 0, 0), 0) << "cell (3, 0) starts at pixel 100";
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 69, 0, 1), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 0, 36, 1), 0);
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 0, -1, 1), 0);
  EXPECT_EQ(LoadBobFrame(&bob, nullptr, 0, 0, 0, 0), 0);
  EXPECT_FALSE(bob.attr & BobAttrFramesLoaded);
  for (uint8_t b : bob.frames[0]->storage) ASSERT_EQ(b, 0);
  // Cell (2, 1) of 32 x 32 frames starts at pixel (67, 34).
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 1, 2, 1, 0), 1);
  EXPECT_TRUE(bob.attr & BobAttrFramesLoaded);
  const Surface* frame = bob.frames[1];
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(frame->pixels[y * frame->pitch + x], PatternAt(67 + x, 34 + y));
  EXPECT_EQ(LoadBobFrame(&bob, &sheet, 0, 68, 35, 1), 1) << "the last pixel position that fits";
  EXPECT_EQ(bob.frames[0]->pixels[0], PatternAt(68, 35));
}

TEST_F(BobTest, CyclingCountsTicksPerStep) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 4, BobAttrCycleFrames, 0), 1);
  EXPECT_EQ(Shown(5), (Frames{1, 2, 3, 0, 1}));
  SetBobAnimationSpeed(&bob, 1);
  EXPECT_EQ(Shown(2), (Frames{2, 3}));
  SetBobAnimationSpeed(&bob, 3);
  bob.frameIndex = 0;
  EXPECT_EQ(Shown(7), (Frames{0, 0, 1, 1, 1, 2, 2}));
  // Single frame wins over cycling; no bit at all leaves the frame.
  bob.attr = BobAttrSingleFrame | BobAttrCycleFrames;
  EXPECT_EQ(Shown(2), (Frames{0, 0}));
  bob.attr = 0;
  bob.frameIndex = 2;
  EXPECT_EQ(Shown(2), (Frames{2, 2}));
}

TEST_F(BobTest, SequencesLoopOrStopOnTheirLastFrame) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 8, BobAttrSequences, 0), 1);
  const int32_t walk[] = {5, 6, 7};
  ASSERT_EQ(LoadBobAnimation(&bob, 2, 3, walk), 1);
  EXPECT_EQ(bob.sequences[2][3], -1);
  SetBobAnimation(&bob, 2);
  EXPECT_EQ(Shown(6), (Frames{6, 7, 5, 6, 7, 5}));
  bob.attr |= BobAttrOneShot;
  SetBobAnimation(&bob, 2);
  EXPECT_EQ(Shown(2), (Frames{6, 7}));
  EXPECT_EQ(bob.sequenceDone, 0);
  EXPECT_EQ(Shown(1), (Frames{7}));
  EXPECT_EQ(bob.sequenceDone, 1) << "set by the step that found the end";
  EXPECT_EQ(Shown(3), (Frames{7, 7, 7}));
  // A selected slot without a sequence steps nothing and reads nothing.
  SetBobAnimation(&bob, 9);
  EXPECT_EQ(Shown(2), (Frames{7, 7}));
}

TEST_F(BobTest, AnimationSlotsAndCountsAreChecked) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, BobAttrSequences, 0), 1);
  const int32_t one[] = {1};
  EXPECT_EQ(LoadBobAnimation(&bob, 16, 1, one), 0);
  EXPECT_EQ(LoadBobAnimation(&bob, -1, 1, one), 0);
  EXPECT_EQ(LoadBobAnimation(&bob, 0, 0, one), 0);
  // Replacing the selected sequence with a shorter one starts it over instead of reading past its end.
  const int32_t longer[] = {0, 1, 0, 1};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 4, longer), 1);
  Shown(3);
  int32_t* replaced = bob.sequences[0];
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 1, one), 1);
  EXPECT_EQ(Shown(2), (Frames{1, 1}));
  // The replaced sequence is left alone (a clone may still read it); here no clone does, so the test frees it.
  EXPECT_EQ(replaced[3], 1);
  std::free(replaced);
}

TEST_F(BobTest, ACloneKeepsItsSequenceWhenTheSourceLoadsANewOne) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, BobAttrSequences, 0), 1);
  const int32_t first[] = {1, 1};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 2, first), 1);
  SetBobAnimation(&bob, 0);
  Bob clone{};
  ASSERT_EQ(CloneBob(&bob, &clone), 1);
  int32_t* shared = bob.sequences[0];
  const int32_t second[] = {0};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 1, second), 1);
  // The clone still walks the array it shares; under the sanitizers a freed array would be reported here.
  clone.ticksPerStep = 0;
  EXPECT_EQ(AnimateBob(&clone), 1);
  EXPECT_EQ(clone.sequencePos, 1);
  EXPECT_EQ(clone.frameIndex, 1);
  EXPECT_EQ(clone.sequences[0], shared);
  EXPECT_EQ(shared[0], 1);
  EXPECT_EQ(shared[2], kBobSequenceEnd);
  DestroyBob(&clone);
  std::free(shared);
}

TEST_F(BobTest, WrapGoesRoundTheClipRectangleBeforeBounceIsConsidered) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 32, 16, 1, BobAttrWrap | BobAttrBounce, 0), 1);
  using V = std::vector<int32_t>;
  EXPECT_EQ(Move(639, 100, 1, 0), (V{-32, 100, 1, 0})) << "no bounce while wrapping";
  EXPECT_EQ(Move(-32, 100, -1, 0), (V{639, 100, -1, 0}));
  EXPECT_EQ(Move(-31, 100, -1, 0), (V{-32, 100, -1, 0}));
  EXPECT_EQ(Move(638, 100, 1, 0), (V{639, 100, 1, 0}));
  EXPECT_EQ(Move(10, 479, 0, 1), (V{10, -16, 0, 1}));
  EXPECT_EQ(Move(10, -16, 0, -1), (V{10, 479, 0, -1}));
}

TEST_F(BobTest, BounceTurnsVelocityButLeavesThePosition) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 32, 16, 1, BobAttrBounce, 0), 1);
  using V = std::vector<int32_t>;
  EXPECT_EQ(Move(610, 100, 3, -2), (V{613, 98, -3, -2}));
  EXPECT_EQ(Move(1, 464, -2, 1), (V{-1, 465, 2, -1}));
  EXPECT_EQ(Move(5, 1, 0, -2), (V{5, -1, 0, 2}));
  EXPECT_EQ(Move(606, 200, 1, 0), (V{607, 200, 1, 0})) << "607 is the last x inside for a 32-wide Bob";
  EXPECT_EQ(Move(607, 463, 1, 0), (V{608, 463, -1, 0}));
}

TEST_F(BobTest, DrawingIsAKeyedBlitOfTheCurrentFrameOnlyWhenVisible) {
  ASSERT_EQ(CreateBob(&bob, 100, 50, 4, 2, 2, 0, 0), 1);
  uint8_t* frame = bob.frames[1]->pixels;
  frame[0] = 7;
  frame[3] = 8;
  frame[bob.frames[1]->pitch + 1] = 9;
  frame[4] = 66;  // padding beyond the frame's width: never drawn
  SetColorKey(bob.frames[1], 0, 0);
  bob.frameIndex = 1;
  FillSurface(BackSurface, 3);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1) << "hidden: nothing drawn, success";
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 100, 50), 3u);
  ShowBob(&bob);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
  const uint32_t expected[2][6] = {{3, 7, 3, 3, 8, 3}, {3, 3, 9, 3, 3, 3}};
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(ReadSurfacePixel(BackSurface, 99 + x, 50 + y), expected[y][x]);
  HideBob(&bob);
  FillSurface(BackSurface, 3);
  EXPECT_EQ(DrawBobScaled(&bob, 8, 8, BackSurface), 1);
  EXPECT_EQ(ReadSurfacePixel(BackSurface, 100, 50), 3u);
  // No clipping of its own: a Bob past the edge, or on an empty frame slot, is a failed blit.
  ShowBob(&bob);
  SetBobPosition(&bob, 637, 10);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 0);
  bob.frameIndex = 5;
  SetBobPosition(&bob, 0, 0);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 0);
}

TEST_F(BobTest, ScaledDrawingStretchesTheFrame) {
  ASSERT_EQ(CreateBob(&bob, 10, 10, 2, 2, 1, BobAttrVisible, 0), 1);
  uint8_t* frame = bob.frames[0]->pixels;
  const int32_t pitch = bob.frames[0]->pitch;
  frame[0] = 1, frame[1] = 2, frame[pitch] = 3, frame[pitch + 1] = 4;
  FillSurface(BackSurface, 0);
  EXPECT_EQ(DrawBobScaled(&bob, 4, 6, BackSurface), 1);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const uint32_t want = (x < 4 && y < 6) ? 1u + (x / 2) + 2u * (y / 3) : 0u;
      EXPECT_EQ(ReadSurfacePixel(BackSurface, 10 + x, 10 + y), want) << x << "," << y;
    }
}

TEST_F(BobTest, DestroyingACloneLeavesTheSourceDrawable) {
  ASSERT_EQ(CreateBob(&bob, 0, 0, 8, 8, 2, BobAttrVisible | BobAttrSequences, 0), 1);
  const int32_t seq[] = {1, 0};
  ASSERT_EQ(LoadBobAnimation(&bob, 0, 2, seq), 1);
  Bob clone{};
  EXPECT_EQ(CloneBob(&bob, &bob), 0);
  EXPECT_EQ(CloneBob(&bob, &clone), 1);
  EXPECT_TRUE(clone.attr & BobAttrClone);
  EXPECT_EQ(clone.frames[1], bob.frames[1]);
  SetBobPosition(&clone, 50, 60);
  EXPECT_EQ(bob.x, 0) << "the clone moves on its own";
  EXPECT_EQ(DestroyBob(&clone), 1);
  EXPECT_EQ(clone.frames[0], nullptr);
  EXPECT_EQ(clone.sequences[0], bob.sequences[0]) << "a clone leaves the sequences alone";
  EXPECT_EQ(bob.frames[0]->refCount, 1u);
  EXPECT_EQ(DrawBob(&bob, BackSurface), 1);
  EXPECT_EQ(Shown(1), (Frames{0}));
  // The owner releases its frames on destruction.
  Surface* kept = bob.frames[1];
  AddRef(kept);
  EXPECT_EQ(DestroyBob(&bob), 1);
  EXPECT_EQ(bob.frames[1], nullptr);
  EXPECT_EQ(Release(kept), 0u) << "the Bob's reference was dropped";
}

TEST(BobCollision, ReducedBoxesMustOverlapStrictly) {
  Bob a{}, b{};
  a.width = a.height = b.width = b.height = 32;
  b.x = 23;
  EXPECT_EQ(BobsCollide(&a, &b), 1);
  b.x = 24;
  EXPECT_EQ(BobsCollide(&a, &b), 0);
  b.x = 0, b.y = -23;
  EXPECT_EQ(BobsCollide(&a, &b), 1);
  b.y = -24;
  EXPECT_EQ(BobsCollide(&a, &b), 0);
  EXPECT_EQ(BobsCollide(&a, nullptr), 0);
  // Half-extents (8 >> 1) - (8 >> 3) = 3 and (100 >> 1) - (100 >> 3) = 38: reference points under 41 apart.
  EXPECT_EQ(RectsCollide(75, 0, 8, 8, 0, 0, 100, 100), 1);
  EXPECT_EQ(RectsCollide(0, 0, 100, 100, 76, 0, 8, 8), 0);
  EXPECT_EQ(RectsCollide(-5, 0, 8, 8, 0, 0, 100, 100), 1);
  EXPECT_EQ(RectsCollide(-6, 0, 8, 8, 0, 0, 100, 100), 0);
  EXPECT_EQ(RectsCollide(0, 76, 8, 8, 0, 0, 100, 100), 0);
}
