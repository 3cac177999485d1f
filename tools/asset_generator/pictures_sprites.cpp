// The small sprites: both balls, the two paddles, the block, the pointer and the light flare.
// Each is shaded analytically per subsample, lit from the top-left like the rest of the art.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/asset_generator/drawing.h"
#include "tools/asset_generator/pictures.h"

namespace assets {

namespace {

const Color kWhite{255, 255, 255};

// Even-odd test and distance to the outline of a closed polygon; negative inside.
float PolygonDistance(float x, float y, const std::vector<float>& points) {
  const size_t n = points.size() / 2;
  float best = 1e9f;
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const float ax = points[2 * j], ay = points[2 * j + 1], bx = points[2 * i], by = points[2 * i + 1];
    const float ex = bx - ax, ey = by - ay;
    const float t = std::clamp(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
    best = std::min(best, std::hypot(x - ax - ex * t, y - ay - ey * t));
    if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / ey) inside = !inside;
  }
  return inside ? -best : best;
}

}  // namespace

Image MakePlayBall() {
  Image image(8, 8);
  ShadeArea(image, 0, 0, 8, 8, 6, [](float x, float y) {
    return SphereSample(x, y, 4.0f, 4.0f, 3.95f, Color{235, 242, 255}, Color{0, 200, 255});
  });
  return image;
}

Image MakeLifeBall() {
  Image image(16, 16);
  // A faint cyan halo first, then the sphere over it.
  for (int32_t y = 0; y < 16; ++y) {
    for (int32_t x = 0; x < 16; ++x) {
      const float d = std::hypot(float(x) + 0.5f - 8.0f, float(y) + 0.5f - 8.0f);
      image.AddLight(x, y, Color{0, 150, 220}, std::clamp((8.2f - d) / 2.2f, 0.0f, 1.0f) * 0.45f);
    }
  }
  ShadeArea(image, 0, 0, 16, 16, 6, [](float x, float y) {
    return SphereSample(x, y, 8.0f, 8.0f, 6.3f, Color{205, 225, 250}, Color{0, 200, 255});
  });
  return image;
}

Image MakePaddle(bool bottomPlayer) {
  Image image(76, 8);
  const Color base = bottomPlayer ? Color{0, 190, 250} : Color{255, 165, 0};
  const Color rim = bottomPlayer ? Color{150, 240, 255} : Color{255, 230, 150};
  ShadeArea(image, 0, 0, 76, 8, 5, [=](float x, float y) {
    // A capsule: a segment with a radius; the normal points from the nearest segment point.
    const float r = 3.95f;
    const float nearestX = std::clamp(x, 4.0f, 72.0f);
    const float nx = (x - nearestX) / r, ny = (y - 4.0f) / r;
    const float d2 = nx * nx + ny * ny;
    if (d2 > 1.0f) return Sample{};
    Color c = LightSurface(nx, ny, std::sqrt(1.0f - d2), base, rim, 0.30f, 18.0f);
    // Darker grooves near each end, like grips.
    if (std::fabs(x - 10.0f) < 0.8f || std::fabs(x - 66.0f) < 0.8f) c = c * 0.55f;
    return Sample{c, 1.0f};
  });
  return image;
}

Image MakeBlock() {
  Image image(32, 16);
  const Color glass{110, 60, 210};
  ShadeArea(image, 0, 0, 32, 16, 4, [=](float x, float y) {
    const float d = RoundedBoxDistance(x, y, 16.0f, 8.0f, 15.9f, 7.9f, 3.5f);
    if (d > 0.0f) return Sample{};
    // Deeper inside the glass is darker; a glossy reflection covers the upper part.
    const float depth = std::min(1.0f, -d / 6.0f);
    Color c = Mix(glass * 1.35f, glass * 0.55f, depth);
    c = Mix(c, Color{40, 20, 90}, std::clamp((y - 8.0f) / 8.0f, 0.0f, 1.0f) * 0.5f);
    const float reflectionEdge = 6.5f + 1.6f * std::sin(x * 0.22f);
    if (y < reflectionEdge && -d > 1.2f) c = Mix(c, kWhite, 0.22f + 0.18f * (1.0f - y / reflectionEdge));
    // The bevel: a bright rim on the top and left edges, a dark one bottom-right.
    if (-d < 1.4f) c = (x + y < 24.0f) ? Mix(c, Color{220, 200, 255}, 0.75f) : c * 0.55f;
    // A sparkle near the top-left corner.
    const float sparkle = std::max(0.0f, 1.0f - std::hypot(x - 5.0f, y - 4.0f) / 1.6f);
    return Sample{Mix(c, kWhite, sparkle), 1.0f};
  });
  return image;
}

Image MakePointer() {
  Image image(22, 22);
  const std::vector<float> arrow = {1.5f,  1.5f,  1.5f,  17.5f, 5.4f,  13.9f, 8.8f,
                                    20.6f, 11.9f, 19.2f, 8.6f,  12.7f, 13.9f, 12.7f};
  ShadeArea(image, 0, 0, 22, 22, 5, [&](float x, float y) {
    const float d = PolygonDistance(x, y, arrow);
    if (d > 1.0f) return Sample{};
    if (d > -0.5f) return Sample{Color{12, 14, 30}, 1.0f};
    // Light steel, brighter at the tip, with a cyan edge inside the outline.
    Color c = Mix(Color{250, 252, 255}, Color{165, 180, 210}, std::clamp(y / 20.0f, 0.0f, 1.0f));
    if (d > -1.4f) c = Mix(c, Color{0, 200, 255}, 0.45f);
    return Sample{c, 1.0f};
  });
  return image;
}

Image MakeLighting() {
  Image image(64, 64);
  for (int32_t y = 0; y < 64; ++y) {
    for (int32_t x = 0; x < 64; ++x) {
      const float dx = float(x) + 0.5f - 32.0f, dy = float(y) + 0.5f - 32.0f;
      const float d = std::hypot(dx, dy) / 32.0f;
      // A round glow with four soft rays.
      const float rays = std::pow(std::fabs(std::cos(2.0f * std::atan2(dy, dx))), 24.0f) * std::max(0.0f, 1.0f - d);
      const float glow = std::pow(std::max(0.0f, 1.0f - d), 2.2f);
      image.AddLight(x, y, Color{120, 220, 255}, std::min(1.0f, glow + rays * 0.6f));
      image.AddLight(x, y, kWhite, std::pow(std::max(0.0f, 1.0f - d * 3.0f), 2.0f));
    }
  }
  return image;
}

}  // namespace assets
