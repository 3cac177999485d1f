// The showcase's shared pieces: its palette layout, the scene timeline, and the drawing helpers every
// scene uses (background, titles, rectangles, circles) on the 640 x 480 8-bit display.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/surface.h"

namespace showcase {

// Palette layout.
constexpr int32_t kBlack = 0, kWhite = 1, kLightGrey = 2, kDarkGrey = 3, kCyan = 4, kAmber = 5, kRed = 6, kGreen = 7,
                  kMagenta = 8, kYellow = 9, kHighlight = 10, kNightBlue = 11, kIndigo = 12;
constexpr int32_t kRotatingBand = 16;  // 16 hues that the palette scene turns round
constexpr int32_t kBandSize = 16;
constexpr int32_t kLightsFirst = 32;  // 16 entries the blinking lights switch
constexpr int32_t kLightCount = 16;
constexpr int32_t kSkyRamp = 48;       // 64 shades from night blue to indigo, top to bottom
constexpr int32_t kRainbowRamp = 112;  // 64 hues round the colour wheel
constexpr int32_t kCyanRamp = 176, kAmberRamp = 192, kGreenRamp = 208, kMagentaRamp = 224;  // 16 shades each
constexpr int32_t kGreyRamp = 240;                                                          // 16 greys

constexpr int32_t kScreenW = 640, kScreenH = 480;

// Builds the showcase palette into the display (WriteFullPalette).
void InstallShowcasePalette();
// The colour of a palette index as the showcase palette defines it.
PaletteEntry ShowcaseColour(int32_t index);

// The frame the whole showcase is drawn in: the back surface locked for pixel work.
struct Canvas {
  uint8_t* pixels;
  int32_t pitch;
};

// Background: the sky gradient and a fixed starfield that drifts with the frame number.
void DrawBackground(const Canvas& c, int32_t frame);
// Outline of a rectangle with clipped lines.
void DrawFrameRect(const Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t colour);
// A filled circle as a 32-sided convex polygon (the caller keeps it on screen).
void FillCircle(const Canvas& c, int32_t x, int32_t y, int32_t radius, int32_t colour);

// Large chrome lettering, centred at row y: a cyan-to-white ramp with a dark drop shadow.
void DrawTitle(const Canvas& c, const std::string& text, int32_t y);
// One line of small text on the back surface (after the lock is released).
void DrawCaption(Surface* surface, const std::string& text, int32_t x, int32_t y, int32_t colour);
void DrawCaptionCentred(Surface* surface, const std::string& text, int32_t centreX, int32_t y, int32_t colour);

// The scenes. Each draws one frame; `frame` counts from 0 within the scene.
void StartSpriteScene();
void DrawSpriteScene(Surface* back, int32_t frame);
void EndSpriteScene();
void DrawPolygonScene(Surface* back, int32_t frame);
void DrawTriangleScene(Surface* back, int32_t frame);
void StartPaletteScene();
void DrawPaletteScene(Surface* back, int32_t frame);
void EndPaletteScene();
// The picture each screen effect starts from, with the effect's name.
void DrawEffectPicture(Surface* back, int32_t effect, int32_t frame);
const char* EffectName(int32_t effect);

// Locks the back surface for pixel work; the lock is released by the destructor.
class BackLock {
 public:
  explicit BackLock(Surface* back);
  ~BackLock();
  const Canvas& canvas() const { return canvas_; }

 private:
  Surface* surface_;
  Canvas canvas_;
};

}  // namespace showcase
