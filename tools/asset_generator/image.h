// The generator's canvas: a picture of premultiplied floating-point colour with coverage, and its BMP-ready form.
// Pictures are composed here and flattened once, when transparent pixels become pure black.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assets {

// A colour with channels on the 0..255 scale; kept as float so gradients and glows add up smoothly.
struct Color {
  float r = 0, g = 0, b = 0;
};
Color operator+(Color a, Color b);
Color operator*(Color a, float k);
Color Mix(Color a, Color b, float t);
float Luminance(Color c);

// One painted sample: a straight (not premultiplied) colour and its coverage 0..1.
struct Sample {
  Color color;
  float alpha = 0;
};

// Pixels hold premultiplied colour: flattening over black is then just the stored colour.
class Image {
 public:
  Image(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Color ColorAt(int32_t x, int32_t y) const { return color_[Index(x, y)]; }
  float AlphaAt(int32_t x, int32_t y) const { return alpha_[Index(x, y)]; }

  // Paints `color` at coverage `alpha` over what is there (ordinary "over" compositing).
  void Blend(int32_t x, int32_t y, Color color, float alpha);
  // Adds light: the colour grows by color * amount, and the pixel becomes at least four times that opaque.
  void AddLight(int32_t x, int32_t y, Color color, float amount);
  // Replaces the pixel outright (used to punch transparent holes).
  void Set(int32_t x, int32_t y, Color color, float alpha);

 private:
  size_t Index(int32_t x, int32_t y) const { return size_t(y) * size_t(width_) + size_t(x); }
  int32_t width_;
  int32_t height_;
  std::vector<Color> color_;
  std::vector<float> alpha_;
};

// Below this coverage a pixel is transparent and is written as pure black.
constexpr float kTransparentBelow = 0.25f;
// The darkest colour an opaque pixel may have: anything darker would turn into the colour key in RGB 565.
constexpr uint8_t kDarkestOpaque = 8;

// Converts to 8-bit RGB triplets, row after row from the top: transparent pixels become (0, 0, 0);
// opaque ones that would read as black after reduction to 5-6-5 bits are lifted to (8, 8, 8).
std::vector<uint8_t> FlattenToRgb(const Image& image);

// Straight (not premultiplied) 8-bit red, green, blue, alpha, rows from the top, as PNG files hold them.
std::vector<uint8_t> ToRgba(const Image& image);

// A colour channel on the 0..255 scale rounded and clamped to a byte.
uint8_t ChannelByte(float value);

// True when an RGB triple reads as black once reduced to 5-6-5 bits, the colour key of every picture.
bool IsKeyBlack(uint8_t r, uint8_t g, uint8_t b);

}  // namespace assets
