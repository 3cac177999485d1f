// Scene 4, palette effects: a tunnel of rings whose sixteen colours turn round the palette every frame, and
// a marquee of sixteen blinking lights run by the blink table, each light joining a little after the last.
#include <string>

#include "gfx/display.h"
#include "gfx/extras/blink_table.h"
#include "gfx/extras/palette_ops.h"
#include "showcase/showcase.h"

namespace showcase {

namespace {

int32_t LightSlots[kLightCount];
int32_t LightsAdded = 0;
bool Started = false;

PaletteEntry Lit(int32_t i) {
  static const PaletteEntry colours[4] = {{255, 60, 60, 0}, {255, 220, 60, 0}, {60, 255, 120, 0}, {80, 180, 255, 0}};
  return colours[i % 4];
}

void AddLight(int32_t i) {
  BlinkEntry light{};
  light.colorIndex = kLightsFirst + i;
  light.onColor = Lit(i);
  PaletteEntry on = Lit(i);
  light.offColor = PaletteEntry{static_cast<uint8_t>(on.red / 6), static_cast<uint8_t>(on.green / 6),
                                static_cast<uint8_t>(on.blue / 6), 0};
  light.onTime = 4;
  light.offTime = 4 + (i % 4 == 3 ? 6 : 0);
  LightSlots[i] = BlinkCommand(kBlinkAdd, &light, 0);
}

}  // namespace

void StartPaletteScene() {
  LightsAdded = 0;
  Started = true;
}

void EndPaletteScene() {
  if (!Started) return;
  Started = false;
  for (int32_t i = 0; i < LightsAdded; ++i) BlinkCommand(kBlinkDelete, nullptr, LightSlots[i]);
  LightsAdded = 0;
  InstallShowcasePalette();
}

void DrawPaletteScene(Surface* back, int32_t frame) {
  // A light joins every second frame, so they blink one after another like a marquee.
  if (frame % 2 == 0 && LightsAdded < kLightCount) AddLight(LightsAdded++);
  BlinkCommand(kBlinkRun, nullptr, 0);
  RotatePaletteRange(kRotatingBand, kRotatingBand + kBandSize - 1);
  {
    BackLock lock(back);
    const Canvas& c = lock.canvas();
    DrawBackground(c, frame);
    // Rings from the outside in, each one band colour further on: the rotation makes them flow inward.
    for (int32_t ring = 0; ring < 17; ++ring)
      FillCircle(c, kScreenW / 2, 255, 180 - ring * 10, kRotatingBand + ring % kBandSize);
    FillCircle(c, kScreenW / 2, 255, 6, kBlack);
    for (int32_t i = 0; i < kLightCount; ++i) {
      int32_t x = 40 + i * 37;
      FillCircle(c, x, 460, 12, kDarkGrey);
      FillCircle(c, x, 460, 9, kLightsFirst + i);
    }
    DrawTitle(c, "PALETTE", 18);
  }
  DrawCaption(back, "16 entries rotated each frame", 12, 70, kLightGrey);
  DrawCaption(back, "16 blinking lights", 470, 70, kLightGrey);
}

}  // namespace showcase
