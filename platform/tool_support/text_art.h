// Lettering for the asset generator: a UTF-8 string rendered with the bold font into a coverage bitmap.
// Used only while the pictures are made, never by the running game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One rendered string: width x height bytes, row after row, 0 = no ink, 255 = full ink.
struct CoverageBitmap {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;
  uint8_t At(int32_t x, int32_t y) const {
    return (x < 0 || y < 0 || x >= width || y >= height) ? 0 : coverage[size_t(y) * size_t(width) + size_t(x)];
  }
};

// Renders `text` with DejaVu Sans Bold at `pixelSize` (the em height in pixels), anti-aliased.
// The bitmap spans the font's full line height (ascent to descent) and the string's advance width.
// Returns false and a reason in *error when the font or SDL_ttf cannot be used or the string is empty.
bool RenderTextCoverage(const std::string& text, int32_t pixelSize, CoverageBitmap* out, std::string* error);

}  // namespace platform
