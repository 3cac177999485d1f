// The screen transitions on the headless display: the fades' end colours and step counts, the wipes'
// step counts and coverage, the dissolve, and the effects that must do nothing.
#include "gfx/extras/screen_effects.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfx/display.h"
#include "gfx/extras/palette_ops.h"
#include "platform/clock.h"
#include "platform/headless/headless.h"
#include "platform/video.h"
#include "tests/support/headless_fixture.h"

namespace {

class ScreenEffects : public testing::Test {
 protected:
  void Open(int32_t width, int32_t height, int32_t depth) {
    testsupport::UseHeadlessBackend();
    ASSERT_EQ(InitDisplay(width, height, depth), 1);
    platform::ResetHeadlessPresentation();
  }
  void TearDown() override {
    if (PrimaryLockPtr != nullptr) UnlockPrimarySurface();
    ShutdownDisplay();
  }

  // Runs an effect on the locked screen; returns the presents it made and the milliseconds it took.
  std::pair<uint32_t, uint32_t> Run(int32_t effect) {
    uint8_t* screen = LockPrimarySurface();
    uint32_t updatesBefore = platform::LastPresentedFrame().updateCount;
    uint32_t start = platform::GetTicks();
    RunScreenEffect(effect, screen, PrimaryLockPitch);
    uint32_t elapsed = platform::GetTicks() - start;
    uint32_t updates = platform::LastPresentedFrame().updateCount - updatesBefore;
    UnlockPrimarySurface();
    return {updates, elapsed};
  }

  int32_t CountScreen(uint32_t value) {
    int32_t count = 0;
    for (int32_t y = 0; y < PrimarySurface->height; ++y)
      for (int32_t x = 0; x < PrimarySurface->width; ++x) count += ReadSurfacePixel(PrimarySurface, x, y) == value;
    return count;
  }
};

TEST_F(ScreenEffects, FadeToBlackKeepsEntryZeroAndEndsAtFifteenOrZero) {
  Open(640, 480, 8);
  PaletteEntry colours[256];
  for (auto& c : colours) c = PaletteEntry{255, 241, 242, 4};
  colours[0] = PaletteEntry{200, 100, 50, 1};
  colours[1] = PaletteEntry{5, 4, 100, 0};
  WriteFullPalette(colours);
  auto [presents, elapsed] = Run(kEffectFadeToBlack);
  PaletteEntry e{};
  ReadPaletteSlot(0, &e);
  EXPECT_EQ(e.red, 200);
  EXPECT_EQ(e.blue, 50);
  ReadPaletteSlot(200, &e);
  EXPECT_EQ(e.red, 15);   // 255 - 80 * 3
  EXPECT_EQ(e.green, 0);  // 241 reaches 4, and 4 becomes 0
  EXPECT_EQ(e.blue, 2);   // 242 reaches 5, and 5 becomes 2
  EXPECT_EQ(e.flags, 4);
  ReadPaletteSlot(1, &e);
  EXPECT_EQ(e.red, 0);
  EXPECT_EQ(e.green, 0);
  // The device palette shows the same, and the screen was shown at each of the 80 steps of 12 ms.
  EXPECT_EQ(DisplayPalette->entries[200].red, 15);
  EXPECT_EQ(presents, 80u);
  EXPECT_GE(elapsed, 80u * kEffectStepMs);
  EXPECT_LT(elapsed, 81u * kEffectStepMs);
}

TEST_F(ScreenEffects, ColourFadesReachTheirColourInSixtyFourSteps) {
  Open(640, 480, 8);
  struct Case {
    int32_t effect;
    uint8_t red, green, blue;
  };
  for (Case c : {Case{kEffectFadeToWhite, 255, 255, 255}, Case{kEffectFadeToBlue, 0, 0, 255},
                 Case{kEffectFadeToRed, 255, 0, 0}, Case{kEffectFadeToGreen, 0, 255, 0}}) {
    PaletteEntry colours[256];
    for (auto& entry : colours) entry = PaletteEntry{0, 128, 255, 2};
    WriteFullPalette(colours);
    auto [presents, elapsed] = Run(c.effect);
    EXPECT_EQ(presents, 64u) << c.effect;
    EXPECT_GE(elapsed, 64u * kEffectStepMs) << c.effect;
    for (int32_t i : {0, 77, 255}) {
      PaletteEntry e{};
      ReadPaletteSlot(i, &e);
      EXPECT_EQ(e.red, c.red) << c.effect;
      EXPECT_EQ(e.green, c.green) << c.effect;
      EXPECT_EQ(e.blue, c.blue) << c.effect;
      EXPECT_EQ(e.flags, 2) << c.effect;
    }
  }
  // Partway: 64 steps of +4 from 0 end at 255 only for white; blue rises by 6 from 100 to 255 and
  // other components fall by 4 and stop at 0.
  PaletteEntry colours[256];
  for (auto& entry : colours) entry = PaletteEntry{10, 200, 100, 0};
  WriteFullPalette(colours);
  Run(kEffectFadeToBlue);
  PaletteEntry e{};
  ReadPaletteSlot(9, &e);
  EXPECT_EQ(e.red, 0);
  EXPECT_EQ(e.green, 0);
  EXPECT_EQ(e.blue, 255);
}

TEST_F(ScreenEffects, WipesBlackenTheWholeScreenInTheirStepCounts) {
  Open(640, 480, 8);
  struct Case {
    int32_t effect;
    uint32_t steps;
  };
  for (Case c : {Case{kEffectVerticalWipe, 160}, Case{kEffectHorizontalWipe, 120}, Case{kEffectCrossWipe, 160}}) {
    FillSurface(PrimarySurface, 33);
    auto [presents, elapsed] = Run(c.effect);
    EXPECT_EQ(presents, c.steps) << c.effect;
    EXPECT_GE(elapsed, c.steps * kEffectStepMs) << c.effect;
    EXPECT_LT(elapsed, (c.steps + 1) * kEffectStepMs) << c.effect;
    EXPECT_EQ(CountScreen(0), 640 * 480) << c.effect;
  }
}

TEST_F(ScreenEffects, WipeStepsFollowTheHalfScreen) {
  // Six columns: i = 0 draws columns 5, 0, 4, 1 and i = 2 draws 3, 2, 2, 3; W / 2 = 3 ends the loop there.
  Open(6, 480, 8);
  FillSurface(PrimarySurface, 33);
  EXPECT_EQ(Run(kEffectVerticalWipe).first, 2u);
  EXPECT_EQ(CountScreen(0), 6 * 480);
  // Seven rows: i = 0 and 2 (H / 2 = 3), rows 6, 0, 5, 1 then 4, 2, 3, 3.
  ShutdownDisplay();
  Open(640, 7, 8);
  FillSurface(PrimarySurface, 33);
  EXPECT_EQ(Run(kEffectHorizontalWipe).first, 2u);
  EXPECT_EQ(CountScreen(0), 640 * 7);
}

TEST_F(ScreenEffects, DissolveBlackensAlmostEveryPixelWithoutPacing) {
  Open(640, 480, 8);
  FillSurface(PrimarySurface, 33);
  auto [presents, elapsed] = Run(kEffectDissolve);
  EXPECT_EQ(elapsed, 0u);
  EXPECT_GT(presents, 0u);
  // 4 x W x H random pixels leave about e^-4 (1.8 per cent) untouched.
  int32_t left = CountScreen(33);
  EXPECT_GT(left, 640 * 480 / 200);
  EXPECT_LT(left, 640 * 480 / 25);
  EXPECT_EQ(CountScreen(0) + left, 640 * 480);
}

TEST_F(ScreenEffects, UnknownEffectsAndPixelEffectsOnSixteenBitsDoNothing) {
  Open(640, 480, 8);
  FillSurface(PrimarySurface, 33);
  PaletteEntry before[256];
  ReadFullPalette(before);
  auto [presents, elapsed] = Run(9);
  EXPECT_EQ(presents, 0u);
  EXPECT_EQ(elapsed, 0u);
  RunScreenEffect(-1, nullptr, 0);
  EXPECT_EQ(CountScreen(33), 640 * 480);
  PaletteEntry after[256];
  ReadFullPalette(after);
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);

  ShutdownDisplay();
  Open(640, 480, 16);
  FillSurface(PrimarySurface, 0x1234);
  for (int32_t effect : {kEffectVerticalWipe, kEffectHorizontalWipe, kEffectDissolve, kEffectCrossWipe}) {
    auto result = Run(effect);
    EXPECT_EQ(result.first, 0u) << effect;
    EXPECT_EQ(result.second, 0u) << effect;
  }
  EXPECT_EQ(CountScreen(0x1234), 640 * 480);
}

TEST_F(ScreenEffects, TinyScreensNeverDivideByZeroOrLeaveTheirMemory) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 1}, std::pair{1, 3}, std::pair{2, 2}}) {
    Open(w, h, 8);
    FillSurface(PrimarySurface, 33);
    // The cross wipe on a screen one row high has no rows to sweep; its columns still close in.
    for (int32_t effect : {kEffectCrossWipe, kEffectVerticalWipe, kEffectHorizontalWipe, kEffectDissolve}) Run(effect);
    EXPECT_EQ(CountScreen(0), w * h) << w << "x" << h;
    ShutdownDisplay();
  }
}

}  // namespace
