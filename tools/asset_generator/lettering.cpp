// Lettering: the bold font's coverage cropped to its ink, and the chrome finish with its layers.
// Layers are painted back to front: glow, drop shadow, outline, extrusion, face.
#include "tools/asset_generator/lettering.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/tool_support/text_art.h"

namespace assets {

Plane RenderInk(const std::string& text, int32_t pixelSize) {
  platform::CoverageBitmap bitmap;
  std::string error;
  if (!platform::RenderTextCoverage(text, pixelSize, &bitmap, &error)) throw std::runtime_error(error);
  int32_t left = bitmap.width, right = -1, top = bitmap.height, bottom = -1;
  for (int32_t y = 0; y < bitmap.height; ++y) {
    for (int32_t x = 0; x < bitmap.width; ++x) {
      if (bitmap.At(x, y) == 0) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) throw std::runtime_error("the lettering \"" + text + "\" has no ink");
  Plane ink(right - left + 1, bottom - top + 1);
  for (int32_t y = 0; y < ink.height; ++y)
    for (int32_t x = 0; x < ink.width; ++x) ink.Ref(x, y) = float(bitmap.At(x + left, y + top)) / 255.0f;
  return ink;
}

int32_t FitPixelSize(const std::string& text, int32_t maxWidth, int32_t maxHeight) {
  int32_t size = 4;
  for (int32_t candidate = 5; candidate < 400; ++candidate) {
    const Plane ink = RenderInk(text, candidate);
    if (ink.width > maxWidth || ink.height > maxHeight) break;
    size = candidate;
  }
  return size;
}

namespace {

// Paints a plane as a layer of one colour, offset by (dx, dy) from the ink's origin at (x, y).
void PaintLayer(Image& image, const Plane& layer, int32_t x, int32_t y, int32_t dx, int32_t dy, Color color,
                float alpha) {
  for (int32_t py = 0; py < layer.height; ++py)
    for (int32_t px = 0; px < layer.width; ++px) image.Blend(x + px + dx, y + py + dy, color, layer.At(px, py) * alpha);
}

Color FaceColor(const ChromeStyle& style, float t) {
  if (t < style.horizon) return Mix(style.skyTop, style.skyBottom, t / style.horizon);
  return Mix(style.groundTop, style.groundBottom, std::pow((t - style.horizon) / (1.0f - style.horizon), 0.8f));
}

// The face: the chrome gradient, lit along its edges from the top-left by the slope of a blurred copy.
void PaintFace(Image& image, const Plane& ink, int32_t x, int32_t y, const ChromeStyle& style) {
  const Plane height = Blur(Pad(ink, 3), 1);
  for (int32_t py = 0; py < ink.height; ++py) {
    for (int32_t px = 0; px < ink.width; ++px) {
      const float coverage = ink.At(px, py);
      if (coverage <= 0) continue;
      const float gx = height.At(px + 4, py + 3) - height.At(px + 2, py + 3);
      const float gy = height.At(px + 3, py + 4) - height.At(px + 3, py + 2);
      const float light = std::clamp((gx + gy) * 1.4f * style.bevel, -1.0f, 1.0f);
      Color c = FaceColor(style, (float(py) + 0.5f) / float(ink.height));
      c = light > 0 ? Mix(c, Color{255, 255, 255}, light * 0.75f) : c * (1.0f + light * 0.55f);
      image.Blend(x + px, y + py, c, coverage);
    }
  }
}

}  // namespace

void DrawChromeText(Image& image, const Plane& ink, int32_t x, int32_t y, const ChromeStyle& style) {
  const int32_t margin = std::max({style.outline, style.glowRadius * 2, style.shadowOffset * 2}) + style.depth + 2;
  const Plane padded = Pad(ink, margin);
  // Everything below the face covers the ink swept along the extrusion.
  Plane body = padded;
  for (int32_t k = 1; k <= style.depth; ++k)
    for (int32_t py = 0; py < padded.height; ++py)
      for (int32_t px = 0; px < padded.width; ++px)
        body.Ref(px, py) = std::max(body.At(px, py), padded.At(px - k, py - k));
  const Plane rim = style.outline > 0 ? Dilate(body, style.outline) : body;
  const int32_t ox = x - margin, oy = y - margin;
  if (style.glowRadius > 0) {
    const Plane glow = Blur(Dilate(rim, 2), style.glowRadius);
    for (int32_t py = 0; py < glow.height; ++py)
      for (int32_t px = 0; px < glow.width; ++px)
        image.AddLight(ox + px, oy + py, style.glowColor, std::min(1.0f, glow.At(px, py) * style.glowStrength));
  }
  if (style.shadowOffset > 0) {
    PaintLayer(image, Blur(rim, std::max(1, style.shadowOffset / 2)), ox, oy, style.shadowOffset, style.shadowOffset,
               Color{4, 4, 12}, style.shadowAlpha);
  }
  if (style.outline > 0) PaintLayer(image, rim, ox, oy, 0, 0, style.outlineColor, 1.0f);
  for (int32_t k = style.depth; k >= 1; --k) {
    const float t = float(k - 1) / float(std::max(1, style.depth - 1));
    PaintLayer(image, padded, ox, oy, k, k, Mix(style.depthNear, style.depthFar, t), 1.0f);
  }
  PaintFace(image, ink, x, y, style);
}

void DrawPlainText(Image& image, const Plane& ink, int32_t x, int32_t y, Color color, float alpha, Color highlight,
                   float highlightAlpha) {
  if (highlightAlpha > 0) PaintLayer(image, ink, x, y, 0, 1, highlight, highlightAlpha);
  PaintLayer(image, ink, x, y, 0, 0, color, alpha);
}

}  // namespace assets
