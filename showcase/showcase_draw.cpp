// The showcase's palette and the drawing helpers shared by its scenes: sky and stars, rectangles, circles,
// chrome titles rendered once from the bold font, and small captions.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "gfx/display.h"
#include "gfx/extras/lines.h"
#include "gfx/extras/palette_ops.h"
#include "gfx/extras/polygon.h"
#include "gfx/text.h"
#include "platform/tool_support/text_art.h"
#include "showcase/showcase.h"

namespace showcase {

namespace {

uint8_t Mix(int32_t a, int32_t b, int32_t step, int32_t steps) {
  return static_cast<uint8_t>(a + (b - a) * step / steps);
}

PaletteEntry Hue(double turn, double brightness) {
  // A smooth colour wheel: three phase-shifted cosines.
  auto channel = [&](double phase) {
    double v = 0.5 + 0.5 * std::cos(2.0 * 3.14159265358979 * (turn - phase));
    return static_cast<uint8_t>(std::clamp(v * 255.0 * brightness, 0.0, 255.0));
  };
  return PaletteEntry{channel(0.0), channel(1.0 / 3.0), channel(2.0 / 3.0), 0};
}

PaletteEntry Ramp(PaletteEntry dark, PaletteEntry light, int32_t step, int32_t steps) {
  return PaletteEntry{Mix(dark.red, light.red, step, steps), Mix(dark.green, light.green, step, steps),
                      Mix(dark.blue, light.blue, step, steps), 0};
}

}  // namespace

PaletteEntry ShowcaseColour(int32_t index) {
  static const PaletteEntry fixed[16] = {{0, 0, 0, 0},      {255, 255, 255, 0}, {180, 186, 204, 0}, {60, 64, 84, 0},
                                         {0, 200, 255, 0},  {255, 170, 0, 0},   {235, 50, 70, 0},   {70, 225, 100, 0},
                                         {225, 70, 225, 0}, {255, 235, 70, 0},  {255, 255, 140, 0}, {16, 24, 64, 0},
                                         {40, 20, 90, 0},   {120, 130, 150, 0}, {170, 180, 200, 0}, {220, 230, 245, 0}};
  if (index < 16) return fixed[index];
  if (index < kLightsFirst) return Hue((index - kRotatingBand) / double(kBandSize), 1.0);
  if (index < kSkyRamp) return PaletteEntry{30, 20, 10, 0};  // lights start dark; the blink table sets them
  if (index < kRainbowRamp) return Ramp({6, 8, 28, 0}, {44, 22, 96, 0}, index - kSkyRamp, 63);
  if (index < kCyanRamp) return Hue((index - kRainbowRamp) / 64.0, 1.0);
  if (index < kAmberRamp) return Ramp({0, 30, 60, 0}, {200, 250, 255, 0}, index - kCyanRamp, 15);
  if (index < kGreenRamp) return Ramp({60, 25, 0, 0}, {255, 235, 150, 0}, index - kAmberRamp, 15);
  if (index < kMagentaRamp) return Ramp({0, 50, 20, 0}, {190, 255, 190, 0}, index - kGreenRamp, 15);
  if (index < kGreyRamp) return Ramp({50, 0, 50, 0}, {255, 190, 255, 0}, index - kMagentaRamp, 15);
  return Ramp({24, 24, 32, 0}, {250, 250, 255, 0}, index - kGreyRamp, 15);
}

void InstallShowcasePalette() {
  PaletteEntry entries[256];
  for (int32_t i = 0; i < 256; ++i) entries[i] = ShowcaseColour(i);
  WriteFullPalette(entries);
}

BackLock::BackLock(Surface* back) : surface_(back), canvas_{nullptr, 0} {
  canvas_.pixels = LockSurface(surface_, &canvas_.pitch);
}

BackLock::~BackLock() {
  if (canvas_.pixels != nullptr) UnlockSurface(surface_);
}

void DrawBackground(const Canvas& c, int32_t frame) {
  for (int32_t y = 0; y < kScreenH; ++y)
    DrawRowSpan(0, kScreenW - 1, y, kSkyRamp + y * 64 / kScreenH, c.pixels, c.pitch);
  // Stars in three depths drift left at one, two and three pixels a frame.
  uint32_t seed = 12345;
  for (int32_t i = 0; i < 120; ++i) {
    seed = seed * 1103515245u + 12345u;
    int32_t x0 = static_cast<int32_t>((seed >> 8) % kScreenW);
    seed = seed * 1103515245u + 12345u;
    int32_t y = static_cast<int32_t>((seed >> 8) % kScreenH);
    int32_t depth = 1 + i % 3;
    int32_t x = ((x0 - frame * depth) % kScreenW + kScreenW) % kScreenW;
    PlotPixel8(x, y, kGreyRamp + 4 + depth * 3 + (i % 2), c.pixels, c.pitch);
  }
}

void DrawFrameRect(const Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t colour) {
  DrawClippedLine(left, top, right, top, colour, c.pixels, c.pitch);
  DrawClippedLine(right, top, right, bottom, colour, c.pixels, c.pitch);
  DrawClippedLine(right, bottom, left, bottom, colour, c.pixels, c.pitch);
  DrawClippedLine(left, bottom, left, top, colour, c.pixels, c.pitch);
}

void FillCircle(const Canvas& c, int32_t x, int32_t y, int32_t radius, int32_t colour) {
  PolygonVertex v[32];
  for (int32_t i = 0; i < 32; ++i) {
    double a = 2.0 * 3.14159265358979 * i / 32;
    v[i] = {static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a))};
  }
  PolygonShape circle{1, 32, x, y, 0, 0, colour, v};
  FillPolygon(&circle, c.pixels, c.pitch);
}

void DrawTitle(const Canvas& c, const std::string& text, int32_t y) {
  static std::map<std::string, platform::CoverageBitmap> rendered;
  auto found = rendered.find(text);
  if (found == rendered.end()) {
    platform::CoverageBitmap bitmap;
    std::string error;
    platform::RenderTextCoverage(text, 34, &bitmap, &error);  // an empty bitmap when the font is missing
    found = rendered.emplace(text, std::move(bitmap)).first;
  }
  const platform::CoverageBitmap& b = found->second;
  int32_t left = (kScreenW - b.width) / 2;
  for (int32_t pass = 0; pass < 2; ++pass) {
    // The shadow first, three pixels down and right; then the letters, light at the top, cyan below.
    int32_t dx = pass == 0 ? 3 : 0;
    for (int32_t row = 0; row < b.height; ++row) {
      int32_t sy = y + row + dx;
      if (sy < 0 || sy >= kScreenH) continue;
      for (int32_t col = 0; col < b.width; ++col) {
        int32_t sx = left + col + dx;
        if (sx < 0 || sx >= kScreenW || b.At(col, row) < 110) continue;
        int32_t shade = 15 - std::min(15, row * 15 / std::max(1, b.height - 1));
        int32_t colour = pass == 0 ? kBlack : kCyanRamp + std::clamp(shade + (b.At(col, row) < 200 ? -4 : 0), 2, 15);
        c.pixels[static_cast<size_t>(sy) * c.pitch + sx] = static_cast<uint8_t>(colour);
      }
    }
  }
}

void DrawCaption(Surface* surface, const std::string& text, int32_t x, int32_t y, int32_t colour) {
  DrawTextGdiIndexed(text.c_str(), x + 1, y + 1, kBlack, surface);
  DrawTextGdiIndexed(text.c_str(), x, y, colour, surface);
}

void DrawCaptionCentred(Surface* surface, const std::string& text, int32_t centreX, int32_t y, int32_t colour) {
  DrawCaption(surface, text, centreX - MeasureTextWidth(text.c_str()) / 2, y, colour);
}

}  // namespace showcase
