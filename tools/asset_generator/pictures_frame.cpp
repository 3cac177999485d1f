// The frame over the whole screen: a bevelled steel border round the playfield and the right-hand panel
// with black wells where the game writes the scores and the level and draws the life icons.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/lettering.h"
#include "tools/asset_generator/pictures.h"
#include "tools/asset_generator/screen_layout.h"

namespace assets {

namespace {

const Color kSteelDark{58, 66, 88};
const Color kSteelLight{196, 206, 228};
const Color kCyan{0, 200, 255};

// Brushed steel: long streaks along the brushing direction plus a fine grain.
Color BrushedSteel(int32_t x, int32_t y, bool horizontal, float brightness) {
  const float streak = horizontal ? ValueNoise(float(x) * 0.012f, float(y) * 0.9f, 11u)
                                  : ValueNoise(float(x) * 0.9f, float(y) * 0.012f, 12u);
  const float grain = Hash01(x, y, 13u);
  const float v = brightness + (streak - 0.5f) * 0.22f + (grain - 0.5f) * 0.06f;
  return Mix(kSteelDark, kSteelLight, std::clamp(v, 0.0f, 1.0f));
}

void PaintSteel(Image& image) {
  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      if (x >= kPanelLeft) {
        image.Set(x, y, BrushedSteel(x, y, true, 0.60f - 0.22f * float(y) / 480.0f), 1.0f);
      } else {
        // The border bars are brushed along their length: vertical at the sides, horizontal top and bottom.
        const bool sideBar = y >= kPlayfield.y0 && y < kPlayfield.y1;
        image.Set(x, y, BrushedSteel(x, y, !sideBar, 0.48f), 1.0f);
      }
    }
  }
}

void PaintRivet(Image& image, float cx, float cy) {
  ShadeArea(image, int32_t(cx) - 4, int32_t(cy) - 4, 9, 9, 4, [=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy);
    if (d > 3.4f) return Sample{};
    if (d > 2.6f) return Sample{Color{30, 34, 48}, 0.8f};  // the dark seat around the head
    return SphereSample(x, y, cx, cy, 2.6f, Color{170, 180, 200}, Color{90, 100, 130});
  });
}

// A black well sunk into the plate: a dark-to-light bevel ring just outside it, a faint cyan lip, then the hole.
void PaintWell(Image& image, const Box& box) {
  DrawBevel(image, box.x0 - 4, box.y0 - 4, box.x1 + 4, box.y1 + 4, 4, false, 0.9f);
  FillRect(image, box.x0 - 1, box.y0 - 1, box.x1 + 1, box.y1 + 1, Color{10, 14, 30});
  for (int32_t x = box.x0; x < box.x1; ++x) image.Blend(x, box.y1, kCyan, 0.55f);
  PunchHole(image, box.x0, box.y0, box.x1, box.y1);
}

// Small capitals stamped into the steel: dark letters with a light edge below.
void PaintLabel(Image& image, const std::string& text, int32_t x, int32_t bottom) {
  const Plane ink = RenderInk(text, 11);
  DrawPlainText(image, ink, x, bottom - ink.height, Color{22, 26, 44}, 0.9f, Color{235, 240, 255}, 0.55f);
}

void PaintLogo(Image& image) {
  const Plane ink = RenderInk("TAVO 2000", FitPixelSize("TAVO 2000", 164, 20));
  ChromeStyle style;
  style.depth = 2;
  style.outline = 1;
  style.shadowOffset = 2;
  style.shadowAlpha = 0.6f;
  DrawChromeText(image, ink, 545 - ink.width / 2, 12, style);
}

// A round recessed scope in the lower panel: concentric cyan rings with a glowing ball inside.
void PaintScope(Image& image, float cx, float cy, float radius) {
  ShadeArea(image, int32_t(cx - radius) - 5, int32_t(cy - radius) - 5, int32_t(radius * 2) + 11,
            int32_t(radius * 2) + 11, 3, [=](float x, float y) {
              const float d = std::hypot(x - cx, y - cy);
              if (d > radius + 4.0f) return Sample{};
              if (d > radius) {
                // The chrome ring: lit on its upper-left half.
                const float lit = 0.5f - 0.5f * ((x - cx) + (y - cy)) / (d * 1.414f);
                return Sample{Mix(Color{50, 58, 80}, Color{235, 240, 252}, lit), 1.0f};
              }
              Color c = Mix(Color{14, 22, 58}, Color{8, 10, 26}, d / radius);
              const float ring = std::fabs(std::fmod(d, radius / 3.0f) - radius / 6.0f);
              if (ring > radius / 6.0f - 0.7f) c = c + kCyan * 0.35f;
              if (std::fabs(x - cx) < 0.5f || std::fabs(y - cy) < 0.5f) c = c + kCyan * 0.18f;
              const float ball = std::hypot(x - cx + radius * 0.3f, y - cy + radius * 0.25f);
              c = c + Color{120, 230, 255} * std::max(0.0f, 1.0f - ball / 10.0f);
              return Sample{c, 1.0f};
            });
}

// Rows of small round vent holes.
void PaintVents(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  DrawBevel(image, x0 - 3, y0 - 3, x1 + 3, y1 + 3, 2, false, 0.6f);
  for (float cy = float(y0) + 3.5f; cy < float(y1) - 2.0f; cy += 7.0f) {
    for (float cx = float(x0) + 3.5f; cx < float(x1) - 2.0f; cx += 7.0f) {
      ShadeArea(image, int32_t(cx) - 3, int32_t(cy) - 3, 7, 7, 4, [=](float x, float y) {
        const float d = std::hypot(x - cx, y - cy);
        if (d > 2.3f) return Sample{};
        // Lit on the lower-right inner wall, dark elsewhere.
        const float wall = std::clamp(((x - cx) + (y - cy)) * 0.4f, 0.0f, 1.0f);
        return Sample{Mix(Color{16, 18, 30}, Color{120, 130, 150}, wall * (d > 1.4f ? 1.0f : 0.0f)), 1.0f};
      });
    }
  }
}

}  // namespace

Image MakeHudFrame() {
  Image image(640, 480);
  PaintSteel(image);
  // The whole frame is a raised plate; the playfield is sunk into it, lit at its edge by a cyan strip.
  DrawBevel(image, 0, 0, 640, 480, 3, true, 0.9f);
  DrawBevel(image, kPlayfield.x0 - 5, kPlayfield.y0 - 5, kPlayfield.x1 + 5, kPlayfield.y1 + 5, 4, false, 0.9f);
  for (int32_t x = kPlayfield.x0 - 1; x <= kPlayfield.x1; ++x) {
    image.Blend(x, kPlayfield.y0 - 1, kCyan, 0.7f);
    image.Blend(x, kPlayfield.y1, kCyan, 0.7f);
  }
  for (int32_t y = kPlayfield.y0; y < kPlayfield.y1; ++y) {
    image.Blend(kPlayfield.x0 - 1, y, kCyan, 0.7f);
    image.Blend(kPlayfield.x1, y, kCyan, 0.7f);
  }
  PunchHole(image, kPlayfield.x0, kPlayfield.y0, kPlayfield.x1, kPlayfield.y1);
  // The seam between the border and the panel, and the panel's own raised edge.
  FillRect(image, kPanelLeft - 2, 3, kPanelLeft - 1, 477, Color{20, 24, 40}, 0.8f);
  DrawBevel(image, kPanelLeft, 0, 640, 480, 3, true, 0.7f);
  for (const float y : {7.0f, 240.0f, 472.0f}) {
    PaintRivet(image, 7.0f, y);
    PaintRivet(image, 444.0f, y);
  }
  for (const float x : {120.0f, 227.0f, 334.0f}) {
    PaintRivet(image, x, 7.0f);
    PaintRivet(image, x, 472.0f);
  }
  for (const float y : {8.0f, 471.0f}) {
    PaintRivet(image, 458.0f, y);
    PaintRivet(image, 631.0f, y);
  }
  PaintLogo(image);
  PaintLabel(image, "SCORE", kScoreWell.x0 + 3, kScoreWell.y0 - 6);
  PaintLabel(image, "LIVES", kLivesWell.x0 + 3, kLivesWell.y0 - 6);
  PaintLabel(image, "LEVEL", kLevelWell.x0 + 3, kLevelWell.y0 - 6);
  PaintLabel(image, "P1", kLivesWell.x1 + 8, 154);
  PaintLabel(image, "P2", kLivesWell.x1 + 8, 174);
  PaintWell(image, kScoreWell);
  PaintWell(image, kLivesWell);
  PaintWell(image, kLevelWell);
  PaintVents(image, 466, 262, 626, 318);
  PaintScope(image, 545.0f, 398.0f, 50.0f);
  return image;
}

}  // namespace assets
