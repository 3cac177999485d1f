// The title screen and its four entries: a starfield over a perspective grid, a chrome sphere resting on it,
// "TAVO 2000" in heavy chrome lettering, and a dark glass console where the game draws the entries and credits.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/lettering.h"
#include "tools/asset_generator/pictures.h"
#include "tools/asset_generator/screen_layout.h"

namespace assets {

namespace {

constexpr float kHorizonY = 252.0f;
const Color kCyan{0, 200, 255};
const Color kMagenta{220, 60, 230};

Color SkyColor(float y) {
  const float t = std::clamp(y / kHorizonY, 0.0f, 1.0f);
  return Mix(Color{6, 8, 30}, Color{44, 18, 86}, t * t);
}

void PaintSky(Image& image) {
  for (int32_t y = 0; y < int32_t(kHorizonY); ++y) {
    for (int32_t x = 0; x < 640; ++x) {
      // A faint nebula drifting across the upper sky.
      const float haze = FractalNoise(float(x) * 0.008f, float(y) * 0.014f, 4, 21u);
      const float wisps = std::pow(std::clamp((haze - 0.45f) * 2.6f, 0.0f, 1.0f), 2.0f);
      Color c = SkyColor(float(y)) + Mix(Color{60, 20, 110}, Color{10, 60, 120}, float(x) / 640.0f) * (wisps * 0.55f);
      image.Set(x, y, c, 1.0f);
    }
  }
}

void PaintStars(Image& image) {
  Random random(2000u);
  for (int i = 0; i < 330; ++i) {
    const float x = random.Range(0.0f, 640.0f);
    const float y = random.Range(0.0f, kHorizonY - 6.0f);
    const float size = std::pow(random.Uniform(), 6.0f);  // mostly tiny, a few big
    const float brightness = 0.35f + 0.65f * random.Uniform();
    const Color tint = Mix(Color{170, 200, 255}, Color{255, 230, 210}, random.Uniform());
    const float radius = 0.6f + size * 1.8f;
    for (int32_t py = int32_t(y) - 6; py <= int32_t(y) + 6; ++py) {
      for (int32_t px = int32_t(x) - 6; px <= int32_t(x) + 6; ++px) {
        const float dx = float(px) + 0.5f - x, dy = float(py) + 0.5f - y;
        float light = std::max(0.0f, 1.0f - std::hypot(dx, dy) / radius);
        // The biggest stars get a cross-shaped glint.
        if (size > 0.25f)
          light += std::max(0.0f, 1.0f - std::fabs(dx) / 0.8f) * std::max(0.0f, 1.0f - std::fabs(dy) / 6.0f) * 0.6f +
                   std::max(0.0f, 1.0f - std::fabs(dy) / 0.8f) * std::max(0.0f, 1.0f - std::fabs(dx) / 6.0f) * 0.6f;
        image.AddLight(px, py, tint, std::min(1.0f, light) * brightness);
      }
    }
  }
}

// The floor: a perspective grid whose lines fade into a glowing horizon.
void PaintGrid(Image& image) {
  const float cameraHeight = 2400.0f, focal = 400.0f;
  for (int32_t y = int32_t(kHorizonY); y < 480; ++y) {
    const float below = float(y) + 0.5f - kHorizonY;
    const float depth = cameraHeight / below;
    const float depthPerPixel = cameraHeight / (below * below);
    const float nearness = std::clamp(below / 228.0f, 0.0f, 1.0f);
    const float fade = std::pow(nearness, 0.8f);
    for (int32_t x = 0; x < 640; ++x) {
      const float worldX = (float(x) + 0.5f - 320.0f) * depth / focal;
      const float acrossPx = std::fabs(worldX - std::round(worldX)) * focal / depth;
      const float alongPx = std::fabs(depth - std::round(depth)) / depthPerPixel;
      const float line = std::max(std::clamp(1.3f - acrossPx, 0.0f, 1.0f), std::clamp(1.3f - alongPx, 0.0f, 1.0f));
      Color floor = Mix(Color{30, 10, 56}, Color{10, 6, 26}, nearness);
      const Color lineColor = Mix(kMagenta, kCyan, nearness);
      floor = floor + lineColor * (line * (0.25f + 0.75f * fade));
      image.Set(x, y, floor, 1.0f);
    }
  }
  // The horizon glows magenta with a thin bright line.
  for (int32_t y = 150; y < 330; ++y) {
    const float d = std::fabs(float(y) + 0.5f - kHorizonY);
    const float glow = std::exp(-d / (float(y) < kHorizonY ? 18.0f : 9.0f)) * 0.55f;
    for (int32_t x = 0; x < 640; ++x) image.AddLight(x, y, Color{255, 70, 190}, glow);
  }
  for (int32_t x = 0; x < 640; ++x) image.AddLight(x, int32_t(kHorizonY), Color{255, 200, 240}, 0.6f);
}

void PaintSphere(Image& image) {
  const float cx = 116.0f, cy = 346.0f, r = 60.0f;
  // The soft shadow on the floor first.
  for (int32_t y = 390; y < 440; ++y)
    for (int32_t x = 30; x < 220; ++x) {
      const float dx = (float(x) - cx - 14.0f) / 82.0f, dy = (float(y) - 410.0f) / 13.0f;
      image.Blend(x, y, Color{4, 2, 12}, std::clamp(1.0f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f) * 0.85f);
    }
  ShadeArea(image, int32_t(cx - r) - 1, int32_t(cy - r) - 1, int32_t(2 * r) + 3, int32_t(2 * r) + 3, 3,
            [=](float x, float y) { return ChromeSphereSample(x, y, cx, cy, r); });
}

void PaintTitle(Image& image) {
  const std::string title = "TAVO 2000";
  const Plane ink = RenderInk(title, FitPixelSize(title, 560, 108));
  ChromeStyle style;
  style.depth = 8;
  style.outline = 2;
  style.glowRadius = 9;
  style.glowStrength = 1.5f;
  style.shadowOffset = 9;
  style.shadowAlpha = 0.75f;
  DrawChromeText(image, ink, 316 - ink.width / 2, 36, style);
  const Plane tagline = RenderInk("ARCADE  PADDLE  ACTION", 13);
  const int32_t tx = 320 - tagline.width / 2, ty = 178;
  DrawPlainText(image, tagline, tx, ty, Color{150, 235, 255}, 1.0f, Color{0, 60, 120}, 0.8f);
}

// Dark glass behind the entries, rimmed in chrome; slots and sockets show where things go. The console runs on
// past the right edge of the screen, so no rim stands beside the ends of the credit lines.
void PaintConsole(Image& image) {
  const Box& box = kMenuConsole;
  const float cx = float(box.x0 + box.x1) / 2, cy = float(box.y0 + box.y1) / 2;
  const float hw = float(box.x1 - box.x0) / 2, hh = float(box.y1 - box.y0) / 2;
  // The light falls from the top-left across the part on the screen.
  const float litCx = float(box.x0 + 640) / 2, litHw = float(640 - box.x0) / 2;
  ShadeArea(image, box.x0 - 2, box.y0 - 2, 640 - box.x0 + 2, box.y1 - box.y0 + 4, 3, [=](float x, float y) {
    const float d = RoundedBoxDistance(x, y, cx, cy, hw, hh, 12.0f);
    if (d > 0.0f) return Sample{};
    if (d > -3.0f) {
      const float lit = std::clamp(0.5f - ((x - litCx) / litHw + (y - cy) / hh) * 0.45f, 0.0f, 1.0f);
      return Sample{Mix(Color{40, 46, 70}, Color{225, 232, 250}, lit), 1.0f};
    }
    const float t = (y - float(box.y0)) / float(box.y1 - box.y0);
    Color glass = Mix(Color{16, 20, 50}, Color{9, 10, 28}, t);
    if (int32_t(y) % 2 == 0) glass = glass * 0.9f;
    return Sample{glass, 0.95f};
  });
  // The three entry slots, fading out towards their ends before the credits well, and the marker's sockets.
  for (const int32_t top : {220, 260, 345}) {
    for (int32_t x = 286; x < 450; ++x) {
      const float fade = 1.0f - std::fabs(float(x) - 368.0f) / 82.0f;
      for (int32_t y = top - 2; y < top + 26; ++y) image.Blend(x, y, Color{30, 50, 110}, 0.3f * fade);
      image.AddLight(x, top + 26, kCyan, 0.5f * fade);
    }
  }
  for (const int32_t row : {220, 265, 350}) {
    ShadeArea(image, 243, row - 2, 20, 20, 3, [=](float x, float y) {
      const float d = std::hypot(x - 253.0f, y - float(row + 8));
      if (d > 9.5f || d < 8.0f) return Sample{};
      return Sample{Mix(kCyan, Color{20, 40, 80}, 0.6f), 0.7f};
    });
  }
  // A quiet hint between the entries.
  const Plane hint = RenderInk("POINT AND CLICK TO CHOOSE", 10);
  DrawPlainText(image, hint, 368 - hint.width / 2, 310, Color{80, 130, 190}, 0.9f, Color{}, 0.0f);
}

// The credits sit in a well sunk into the console: an even, opaque dark floor with no scan lines or grid
// showing through, walls lit from the top-left, and like the console it runs on past the screen's edge.
void PaintCreditsWell(Image& image) {
  const Box& well = kCreditsArea;
  const float cx = float(well.x0 + well.x1) / 2, cy = float(well.y0 + well.y1) / 2;
  const float hw = float(well.x1 - well.x0) / 2, hh = float(well.y1 - well.y0) / 2;
  const float litCx = float(well.x0 + 640) / 2, litHw = float(640 - well.x0) / 2;
  ShadeArea(image, well.x0 - 1, well.y0 - 1, 640 - well.x0 + 1, well.y1 - well.y0 + 2, 3, [=](float x, float y) {
    const float d = RoundedBoxDistance(x, y, cx, cy, hw, hh, 7.0f);
    if (d > 0.0f) return Sample{};
    if (d > -2.0f) {
      // A sunk wall: the top and left ones face away from the light, the bottom one catches it.
      const float lit = std::clamp(0.5f + ((x - litCx) / litHw + (y - cy) / hh) * 0.6f, 0.0f, 1.0f);
      return Sample{Mix(Color{8, 8, 18}, Color{120, 130, 165}, lit * lit), 1.0f};
    }
    const float t = (y - float(well.y0)) / float(well.y1 - well.y0);
    Color floor = Mix(Color{15, 16, 38}, Color{10, 10, 26}, t);
    // The top wall casts a soft shadow a few pixels onto the floor.
    floor = floor * (1.0f - 0.35f * std::exp(-(y - float(well.y0) - 2.0f) / 3.0f));
    return Sample{floor, 1.0f};
  });
  // A faint cyan lip below it, as under the wells of the frame, brightening towards the screen's edge.
  for (int32_t x = well.x0 + 6; x < 640; ++x)
    image.AddLight(x, well.y1, kCyan, 0.45f * std::clamp(float(x - well.x0 - 6) / 60.0f, 0.0f, 1.0f));
}

}  // namespace

Image MakeMenuBackground() {
  Image image(640, 480);
  PaintSky(image);
  PaintStars(image);
  PaintGrid(image);
  PaintSphere(image);
  PaintTitle(image);
  PaintConsole(image);
  PaintCreditsWell(image);
  return image;
}

Image MakeMenuEntry(MenuEntry entry) {
  static const char* const kWords[] = {"NEW GAME", "1 PLAYER", "2 PLAYERS", "QUIT"};
  const std::string widest = kWords[int(MenuEntry::TwoPlayers)];
  ChromeStyle style;
  style.depth = 2;
  style.outline = 1;
  style.skyBottom = Color{140, 190, 240};
  style.groundTop = Color{30, 60, 110};
  style.groundBottom = Color{170, 235, 255};
  // One size for every entry, so they read as a set; capitals share their top line.
  const int32_t size = FitPixelSize(widest, 196 - 8, 24 - 2 * style.outline - style.depth - 2);
  const Plane ink = RenderInk(kWords[int(entry)], size);
  const Plane reference = RenderInk("NEW GAME", size);
  const int32_t top = (24 - (reference.height + style.depth)) / 2;
  // The two player entries start at the same x so that swapping them only adds or drops the S.
  const bool players = entry == MenuEntry::OnePlayer || entry == MenuEntry::TwoPlayers;
  const int32_t left =
      players ? (196 - style.depth - RenderInk(widest, size).width) / 2 : (196 - style.depth - ink.width) / 2;
  Image image(196, 24);
  DrawChromeText(image, ink, left, top, style);
  return image;
}

}  // namespace assets
