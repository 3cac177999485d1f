// Drawing helpers shared by every picture: shading, rectangles, bevels, planes, noise.
// Everything is deterministic so the generated files are identical from run to run.
#include "tools/asset_generator/drawing.h"

#include <algorithm>
#include <cmath>

namespace assets {

void ShadeArea(Image& image, int32_t x0, int32_t y0, int32_t w, int32_t h, int32_t subsamples, const Shader& shader) {
  const float step = 1.0f / float(subsamples);
  const float count = float(subsamples * subsamples);
  for (int32_t y = y0; y < y0 + h; ++y) {
    for (int32_t x = x0; x < x0 + w; ++x) {
      Color premultiplied;
      float coverage = 0;
      for (int32_t sy = 0; sy < subsamples; ++sy) {
        for (int32_t sx = 0; sx < subsamples; ++sx) {
          const Sample s = shader(float(x) + (float(sx) + 0.5f) * step, float(y) + (float(sy) + 0.5f) * step);
          premultiplied = premultiplied + s.color * s.alpha;
          coverage += s.alpha;
        }
      }
      if (coverage <= 0.0f) continue;
      image.Blend(x, y, premultiplied * (1.0f / coverage), coverage / count);
    }
  }
}

void FillRect(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color color, float alpha) {
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) image.Blend(x, y, color, alpha);
}

void VerticalGradient(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color top, Color bottom) {
  const float span = float(std::max(1, y1 - y0 - 1));
  for (int32_t y = y0; y < y1; ++y) FillRect(image, x0, y, x1, y + 1, Mix(top, bottom, float(y - y0) / span));
}

void PunchHole(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  for (int32_t y = y0; y < y1; ++y)
    for (int32_t x = x0; x < x1; ++x) image.Set(x, y, Color{}, 0.0f);
}

void DrawBevel(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width, bool raised,
               float strength) {
  const Color light{255, 255, 255};
  const Color dark{0, 0, 8};
  for (int32_t i = 0; i < width; ++i) {
    // Outer rings are strongest; the effect fades towards the inside.
    const float k = strength * (1.0f - float(i) / float(width + 1));
    const Color topLeft = raised ? light : dark;
    const Color bottomRight = raised ? dark : light;
    const float topAlpha = raised ? k * 0.6f : k * 0.7f;
    const float bottomAlpha = raised ? k * 0.7f : k * 0.45f;
    for (int32_t x = x0 + i; x < x1 - i; ++x) {
      image.Blend(x, y0 + i, topLeft, topAlpha);
      image.Blend(x, y1 - 1 - i, bottomRight, bottomAlpha);
    }
    for (int32_t y = y0 + i + 1; y < y1 - i - 1; ++y) {
      image.Blend(x0 + i, y, topLeft, topAlpha);
      image.Blend(x1 - 1 - i, y, bottomRight, bottomAlpha);
    }
  }
}

float RoundedBoxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float radius) {
  const float qx = std::fabs(x - cx) - (halfW - radius);
  const float qy = std::fabs(y - cy) - (halfH - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float EdgeCoverage(float distance) { return std::clamp(0.5f - distance, 0.0f, 1.0f); }

Plane Pad(const Plane& plane, int32_t margin) {
  Plane out(plane.width + 2 * margin, plane.height + 2 * margin);
  for (int32_t y = 0; y < plane.height; ++y)
    for (int32_t x = 0; x < plane.width; ++x) out.Ref(x + margin, y + margin) = plane.At(x, y);
  return out;
}

namespace {

// One box-blur pass along x (horizontal) or y, with a running sum.
Plane BoxPass(const Plane& in, int32_t radius, bool horizontal) {
  Plane out(in.width, in.height);
  const int32_t lines = horizontal ? in.height : in.width;
  const int32_t length = horizontal ? in.width : in.height;
  const float scale = 1.0f / float(2 * radius + 1);
  for (int32_t line = 0; line < lines; ++line) {
    auto at = [&](int32_t i) { return horizontal ? in.At(i, line) : in.At(line, i); };
    float sum = 0;
    for (int32_t i = -radius; i <= radius; ++i) sum += at(i);
    for (int32_t i = 0; i < length; ++i) {
      (horizontal ? out.Ref(i, line) : out.Ref(line, i)) = sum * scale;
      sum += at(i + radius + 1) - at(i - radius);
    }
  }
  return out;
}

}  // namespace

Plane Blur(const Plane& plane, int32_t radius) {
  if (radius <= 0) return plane;
  Plane out = plane;
  for (int pass = 0; pass < 3; ++pass) out = BoxPass(BoxPass(out, radius, true), radius, false);
  return out;
}

Plane Dilate(const Plane& plane, int32_t radius) {
  Plane out(plane.width, plane.height);
  for (int32_t y = 0; y < plane.height; ++y) {
    for (int32_t x = 0; x < plane.width; ++x) {
      float best = 0;
      for (int32_t dy = -radius; dy <= radius; ++dy)
        for (int32_t dx = -radius; dx <= radius; ++dx)
          if (dx * dx + dy * dy <= radius * radius + radius) best = std::max(best, plane.At(x + dx, y + dy));
      out.Ref(x, y) = best;
    }
  }
  return out;
}

float Hash01(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return float(h & 0xFFFFFF) / float(0x1000000);
}

float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int32_t ix = int32_t(fx), iy = int32_t(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float top = Hash01(ix, iy, seed) * (1 - tx) + Hash01(ix + 1, iy, seed) * tx;
  const float bottom = Hash01(ix, iy + 1, seed) * (1 - tx) + Hash01(ix + 1, iy + 1, seed) * tx;
  return top * (1 - ty) + bottom * ty;
}

float FractalNoise(float x, float y, int32_t octaves, uint32_t seed) {
  float sum = 0, amplitude = 0.5f, total = 0;
  for (int32_t i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + uint32_t(i) * 101u) * amplitude;
    total += amplitude;
    x *= 2.0f;
    y *= 2.0f;
    amplitude *= 0.5f;
  }
  return sum / total;
}

// A lit surface point: normal (nx, ny, nz) of unit length, base colour, a rim tint towards the silhouette.
Color LightSurface(float nx, float ny, float nz, Color base, Color rim, float ambient, float shininess) {
  const float lx = -0.45f, ly = -0.62f, lz = 0.64f;
  const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
  // Blinn half vector between the light and a viewer looking straight in.
  const float hx = lx, hy = ly, hz = lz + 1.0f;
  const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  const float highlight = std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hl), shininess);
  const float fresnel = std::pow(1.0f - nz, 2.0f);
  return base * (ambient + (1.0f - ambient) * diffuse) + rim * (fresnel * 0.7f) +
         Color{255, 255, 255} * (highlight * 1.2f);
}

// A sphere of radius r centred at (cx, cy).
Sample SphereSample(float x, float y, float cx, float cy, float r, Color base, Color rim) {
  const float dx = (x - cx) / r, dy = (y - cy) / r;
  const float d2 = dx * dx + dy * dy;
  if (d2 > 1.0f) return {};
  return {LightSurface(dx, dy, std::sqrt(1.0f - d2), base, rim, 0.32f, 28.0f), 1.0f};
}

uint32_t Random::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float Random::Uniform() { return float(Next() & 0xFFFFFF) / float(0x1000000); }

// The reflected view ray decides the colour: sky above the horizon band, the glowing grid below it.
Sample ChromeSphereSample(float x, float y, float cx, float cy, float r) {
  const float nx = (x - cx) / r, ny = (y - cy) / r;
  const float d2 = nx * nx + ny * ny;
  if (d2 > 1.0f) return {};
  const float nz = std::sqrt(1.0f - d2);
  const float ry = 2.0f * nz * ny;  // the reflected view ray's vertical part (down is positive)
  Color env = ry < 0.0f ? Mix(Color{255, 120, 220}, Color{20, 20, 80}, std::pow(std::min(1.0f, -ry * 1.3f), 0.6f))
                        : Mix(Color{255, 150, 230}, Color{24, 8, 50}, std::pow(std::min(1.0f, ry * 1.6f), 0.5f));
  const float band = std::fabs(ry);
  if (band < 0.05f) env = Mix(env, Color{255, 255, 255}, 1.0f - band / 0.05f);
  const float stripes = std::fabs(std::sin((nx / (nz + 0.3f)) * 9.0f));
  if (ry > 0.08f) env = env + Color{0, 200, 255} * (std::pow(stripes, 30.0f) * 0.6f * (1.0f - ry));
  const Color lit = LightSurface(nx, ny, nz, env, Color{120, 200, 255}, 0.9f, 60.0f);
  return {lit, 1.0f};
}

}  // namespace assets
