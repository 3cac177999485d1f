// The screen transitions: palette fades step the whole palette toward a colour every 12 ms; wipes draw
// closing black rows and columns every 12 ms; the dissolve blackens random pixels with no pacing.
#include "gfx/extras/screen_effects.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/display.h"
#include "gfx/extras/lines.h"
#include "gfx/extras/palette_ops.h"
#include "gfx/frame_clock.h"

namespace {

uint8_t Lower(uint8_t v, int32_t by) { return static_cast<uint8_t>(std::max(v - by, 0)); }
uint8_t Raise(uint8_t v, int32_t by) { return static_cast<uint8_t>(std::min(v + by, 255)); }
// KEEP: the fade takes 3 off a value above 4, clears the rest: 255 ends at 15 (ScreenEffects.FadeToBlack...).
uint8_t DarkenTowardBlack(uint8_t v) { return v > 4 ? static_cast<uint8_t>(v - 3) : 0; }

// One palette step of a fade; flags stay as they are.
void FadeEntry(int32_t effect, PaletteEntry& e) {
  switch (effect) {
    case kEffectFadeToBlack:
      e = {DarkenTowardBlack(e.red), DarkenTowardBlack(e.green), DarkenTowardBlack(e.blue), e.flags};
      break;
    case kEffectFadeToWhite:
      e = {Raise(e.red, 4), Raise(e.green, 4), Raise(e.blue, 4), e.flags};
      break;
    case kEffectFadeToBlue:
      e = {Lower(e.red, 4), Lower(e.green, 4), Raise(e.blue, 6), e.flags};
      break;
    case kEffectFadeToRed:
      e = {Raise(e.red, 6), Lower(e.green, 4), Lower(e.blue, 4), e.flags};
      break;
    default:  // kEffectFadeToGreen
      e = {Lower(e.red, 4), Raise(e.green, 6), Lower(e.blue, 4), e.flags};
      break;
  }
}

// Pixels drawn into the visible surface's memory show at once; drawing elsewhere waits for the caller.
void ShowDrawnScreen(const uint8_t* buffer) {
  if (PrimarySurface != nullptr && buffer == PrimarySurface->pixels) ShowVisibleSurface();
}

void RunPaletteFade(int32_t effect) {
  int32_t steps = effect == kEffectFadeToBlack ? 80 : 64;
  // KEEP: the fade to black leaves palette entry 0 alone (ScreenEffects.FadeToBlackKeepsEntryZero...).
  int32_t firstEntry = effect == kEffectFadeToBlack ? 1 : 0;
  for (int32_t step = 0; step < steps; ++step) {
    PaletteEntry work[256];
    ReadFullPalette(work);
    for (int32_t i = firstEntry; i < 256; ++i) FadeEntry(effect, work[i]);
    WriteFullPalette(work);
    // An unlocked screen was shown again by the palette write itself.
    if (PrimarySurface != nullptr && PrimarySurface->lockCount > 0) ShowVisibleSurface();
    StartFrameClock();
    WaitFrameClock(kEffectStepMs);
  }
}

void WaitStep() {
  StartFrameClock();
  WaitFrameClock(kEffectStepMs);
}

// Four full-height columns: the outer pair of each side, closing in as i grows.
void DrawClosingColumns(int32_t i, int32_t w, int32_t h, uint8_t* buffer, int32_t pitch) {
  for (int32_t x : {w - 1 - i, i, w - 2 - i, i + 1}) DrawColumnSpan(0, h - 1, x, 0, buffer, pitch);
}

// Four full-width rows at distance k from the top and the bottom.
void DrawClosingRows(int32_t k, int32_t w, int32_t h, uint8_t* buffer, int32_t pitch) {
  for (int32_t y : {h - 1 - k, k, h - 2 - k, k + 1}) DrawRowSpan(0, w - 1, y, 0, buffer, pitch);
}

void RunWipe(int32_t effect, uint8_t* buffer, int32_t pitch) {
  int32_t w = ScreenWidth;
  int32_t h = ScreenHeight;
  int32_t limit = effect == kEffectHorizontalWipe ? h / 2 : w / 2;
  for (int32_t i = 0; i < limit; i += 2) {
    WaitStep();
    if (effect == kEffectVerticalWipe) {
      DrawClosingColumns(i, w, h, buffer, pitch);
    } else if (effect == kEffectHorizontalWipe) {
      DrawClosingRows(i, w, h, buffer, pitch);
    } else {
      // KEEP: the rows sweep the height again and again, the columns once (ScreenEffects.WipesBlacken...).
      // A screen less than two rows high has no half to sweep (and i mod 0 would divide by zero): only columns run.
      if (h / 2 > 0) DrawClosingRows(i % (h / 2), w, h, buffer, pitch);
      DrawClosingColumns(i, w, h, buffer, pitch);
    }
    ShowDrawnScreen(buffer);
  }
}

// KEEP: 4 * W * H + 1 pixels, the row from each one's first number: the pixels ScreenEffects counts.
void RunDissolve(uint8_t* buffer, int32_t pitch) {
  int32_t w = ScreenWidth;
  int32_t h = ScreenHeight;
  if (w <= 0 || h <= 0) return;
  int64_t total = 4 * static_cast<int64_t>(w) * h;
  int64_t showEvery = std::max<int64_t>(total / 64, 1);
  for (int64_t i = 0; i <= total; ++i) {
    int32_t y = std::rand() % h;
    int32_t x = std::rand() % w;
    PlotPixel8(x, y, 0, buffer, pitch);
    if (i % showEvery == 0) ShowDrawnScreen(buffer);
  }
  ShowDrawnScreen(buffer);
}

}  // namespace

void RunScreenEffect(int32_t effect, uint8_t* buffer, int32_t pitch) {
  switch (effect) {
    case kEffectFadeToBlack:
    case kEffectFadeToWhite:
    case kEffectFadeToBlue:
    case kEffectFadeToRed:
    case kEffectFadeToGreen:
      RunPaletteFade(effect);
      return;
    case kEffectVerticalWipe:
    case kEffectHorizontalWipe:
    case kEffectCrossWipe:
    case kEffectDissolve:
      // They write one byte per pixel, which only an 8-bit display's memory holds.
      if (ScreenBitsPerPixel != 8 || buffer == nullptr) return;
      if (effect == kEffectDissolve) {
        RunDissolve(buffer, pitch);
      } else {
        RunWipe(effect, buffer, pitch);
      }
      return;
    default:
      return;
  }
}
