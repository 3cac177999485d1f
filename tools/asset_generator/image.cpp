// The generator's canvas: compositing of premultiplied colour and the final flattening to 8-bit RGB.
// Flattening is where the transparency rule is enforced: black exactly where the picture is empty.
#include "tools/asset_generator/image.h"

#include <algorithm>
#include <cmath>

namespace assets {

Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Color operator*(Color a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Color Mix(Color a, Color b, float t) { return a * (1.0f - t) + b * t; }
float Luminance(Color c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

Image::Image(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      color_(size_t(width) * size_t(height)),
      alpha_(size_t(width) * size_t(height), 0.0f) {}

void Image::Blend(int32_t x, int32_t y, Color color, float alpha) {
  if (!Contains(x, y) || alpha <= 0.0f) return;
  alpha = std::min(alpha, 1.0f);
  const size_t i = Index(x, y);
  color_[i] = color * alpha + color_[i] * (1.0f - alpha);
  alpha_[i] = alpha + alpha_[i] * (1.0f - alpha);
}

void Image::AddLight(int32_t x, int32_t y, Color color, float amount) {
  if (!Contains(x, y) || amount <= 0.0f) return;
  const size_t i = Index(x, y);
  color_[i] = color_[i] + color * amount;
  // Light counts as opaque well before full strength, so faint glows fade out smoothly into the black key
  // instead of stopping at the transparency threshold.
  alpha_[i] = std::max(alpha_[i], std::min(amount * 4.0f, 1.0f));
}

void Image::Set(int32_t x, int32_t y, Color color, float alpha) {
  if (!Contains(x, y)) return;
  const size_t i = Index(x, y);
  color_[i] = color * alpha;
  alpha_[i] = alpha;
}

bool IsKeyBlack(uint8_t r, uint8_t g, uint8_t b) { return (r >> 3) == 0 && (g >> 2) == 0 && (b >> 3) == 0; }

uint8_t ChannelByte(float v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

std::vector<uint8_t> FlattenToRgb(const Image& image) {
  std::vector<uint8_t> rgb;
  rgb.reserve(size_t(image.Width()) * size_t(image.Height()) * 3);
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) {
      uint8_t r = 0, g = 0, b = 0;
      if (image.AlphaAt(x, y) >= kTransparentBelow) {
        const Color c = image.ColorAt(x, y);
        r = ChannelByte(c.r);
        g = ChannelByte(c.g);
        b = ChannelByte(c.b);
        if (IsKeyBlack(r, g, b)) r = g = b = kDarkestOpaque;
      }
      rgb.insert(rgb.end(), {r, g, b});
    }
  }
  return rgb;
}

std::vector<uint8_t> ToRgba(const Image& image) {
  std::vector<uint8_t> rgba;
  rgba.reserve(size_t(image.Width()) * size_t(image.Height()) * 4);
  for (int32_t y = 0; y < image.Height(); ++y) {
    for (int32_t x = 0; x < image.Width(); ++x) {
      const float alpha = image.AlphaAt(x, y);
      const Color c = alpha > 0.0f ? image.ColorAt(x, y) * (1.0f / alpha) : Color{};
      rgba.insert(rgba.end(), {ChannelByte(c.r), ChannelByte(c.g), ChannelByte(c.b), ChannelByte(alpha * 255.0f)});
    }
  }
  return rgba;
}

}  // namespace assets
