// Drawing helpers shared by every picture: supersampled shaders, rectangles, bevels, gradients,
// coverage planes with blur and dilation, deterministic noise and a small random generator.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "tools/asset_generator/image.h"

namespace assets {

// A shader answers the colour and coverage at a point in picture coordinates (pixel centres at +0.5).
using Shader = std::function<Sample(float x, float y)>;

// Evaluates `shader` on a grid of subsamples x subsamples per pixel over [x0, x0+w) x [y0, y0+h),
// averages them (premultiplied) and paints the result over the picture.
void ShadeArea(Image& image, int32_t x0, int32_t y0, int32_t w, int32_t h, int32_t subsamples, const Shader& shader);

// Half-open rectangles [x0, x1) x [y0, y1).
void FillRect(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color color, float alpha = 1.0f);
void VerticalGradient(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color top, Color bottom);
// Makes the rectangle fully transparent (it is written as pure black).
void PunchHole(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// A bevel `width` pixels wide just inside the rectangle; raised: light top-left, dark bottom-right; sunk: the reverse.
void DrawBevel(Image& image, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width, bool raised,
               float strength);

// Distance from a point to a box with rounded corners (negative inside); centre, half sizes, corner radius.
float RoundedBoxDistance(float x, float y, float cx, float cy, float halfW, float halfH, float radius);
// Coverage of a one-pixel-wide anti-aliased edge for a signed distance.
float EdgeCoverage(float distance);

// A single-channel float picture used for lettering masks, glows and shadows.
struct Plane {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<float> value;
  Plane() = default;
  Plane(int32_t w, int32_t h) : width(w), height(h), value(size_t(w) * size_t(h), 0.0f) {}
  float At(int32_t x, int32_t y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : value[size_t(y) * size_t(width) + size_t(x)];
  }
  float& Ref(int32_t x, int32_t y) { return value[size_t(y) * size_t(width) + size_t(x)]; }
};
// Grows the plane by `margin` pixels on every side (new pixels are 0).
Plane Pad(const Plane& plane, int32_t margin);
// Three passes of a box blur of the given radius: close to a Gaussian.
Plane Blur(const Plane& plane, int32_t radius);
// Each pixel takes the maximum within a disc of the given radius: thickens shapes for outlines and glows.
Plane Dilate(const Plane& plane, int32_t radius);

// Deterministic noise in [0, 1): per lattice point, smoothly interpolated, and several octaves summed.
float Hash01(int32_t x, int32_t y, uint32_t seed);
float ValueNoise(float x, float y, uint32_t seed);
float FractalNoise(float x, float y, int32_t octaves, uint32_t seed);

// Lights a surface point from the top-left: unit normal (nx, ny, nz), base colour, a rim tint towards the
// silhouette, the ambient share and the specular exponent.
Color LightSurface(float nx, float ny, float nz, Color base, Color rim, float ambient, float shininess);
// A lit sphere of radius r centred at (cx, cy); empty outside it.
Sample SphereSample(float x, float y, float cx, float cy, float r, Color base, Color rim);
// A mirror sphere of radius r at (cx, cy) over the title's world: its reflected ray picks up the sky above the
// horizon and the grid's magenta glow and cyan lines below it; empty outside the sphere.
Sample ChromeSphereSample(float x, float y, float cx, float cy, float r);

// A small deterministic generator so every run writes the same files.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  uint32_t Next();
  float Uniform();  // [0, 1)
  float Range(float low, float high) { return low + (high - low) * Uniform(); }

 private:
  uint32_t state_;
};

}  // namespace assets
