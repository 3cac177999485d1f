// The game-over overlay, black but for red chrome words in the playfield, and the hidden-mode background,
// a slow diagonal plasma in muted blues.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/lettering.h"
#include "tools/asset_generator/pictures.h"
#include "tools/asset_generator/screen_layout.h"

namespace assets {

Image MakeGameOver() {
  Image image(640, 480);
  const std::string words = "GAME OVER";
  const int32_t playfieldWidth = kPlayfield.x1 - kPlayfield.x0;
  const Plane ink = RenderInk(words, FitPixelSize(words, playfieldWidth - 60, 90));
  ChromeStyle style;
  style.skyTop = Color{255, 236, 226};
  style.skyBottom = Color{255, 84, 60};
  style.groundTop = Color{80, 0, 12};
  style.groundBottom = Color{255, 160, 110};
  style.depth = 4;
  style.depthNear = Color{130, 14, 24};
  style.depthFar = Color{50, 0, 10};
  style.outline = 2;
  style.outlineColor = Color{24, 0, 6};
  style.glowRadius = 7;
  style.glowColor = Color{255, 40, 30};
  style.glowStrength = 1.4f;
  const int32_t centreX = (kPlayfield.x0 + kPlayfield.x1) / 2, centreY = (kPlayfield.y0 + kPlayfield.y1) / 2;
  DrawChromeText(image, ink, centreX - (ink.width + style.depth) / 2, centreY - (ink.height + style.depth) / 2, style);
  return image;
}

Image MakeHiddenBackground() {
  const int32_t width = kPlayfield.x1 - kPlayfield.x0, height = kPlayfield.y1 - kPlayfield.y0;
  Image image(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const float fx = float(x), fy = float(y);
      // Four interfering waves, mostly running along the diagonal.
      float v = std::sin((fx + fy) * 0.018f) + std::sin(std::hypot(fx - 320.0f, fy - 90.0f) * 0.028f) +
                std::sin((fx - fy) * 0.011f + 1.3f) + std::sin(fy * 0.024f + 2.0f * std::sin(fx * 0.016f));
      v = (v + 4.0f) / 8.0f;
      const float bands = 0.5f + 0.5f * std::sin(v * 12.0f);
      Color c = Mix(Color{10, 16, 42}, Color{34, 56, 112}, v);
      c = Mix(c, Color{52, 84, 140}, bands * bands * 0.35f);
      // A fine diamond lattice etched over it.
      const float du = std::fabs(std::fmod(fx + fy, 24.0f) - 12.0f),
                  dv = std::fabs(std::fmod(fx - fy + 480.0f, 24.0f) - 12.0f);
      if (du > 11.3f || dv > 11.3f) c = c * 1.18f;
      image.Set(x, y, c, 1.0f);
    }
  }
  return image;
}

}  // namespace assets
