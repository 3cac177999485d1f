// Glyph rasterisation for the text drawn on surfaces: DejaVu Sans Bold through SDL2_ttf.
// Only coverage masks leave this file; the glyph cache lives in gfx/.
#pragma once
#include <cstdint>
#include <vector>

namespace platform {

// One rasterised character: a coverage mask (0..255) placed relative to the line's top-left.
struct GlyphImage {
  int32_t offsetX = 0;  // from the pen position to the mask's left column
  int32_t offsetY = 0;  // from the line's top to the mask's top row
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;  // pen movement after the character
  std::vector<uint8_t> coverage;
};

struct FontMetrics {
  int32_t lineHeight = 0;
  int32_t ascent = 0;
};

// Opens the bold font at a pixel size chosen so a line is about lineHeight pixels. False when the font file
// is missing or does not open; one stderr line then names the package. Every operation here is called by the
// glyph cache of gfx/text.cpp; Close has no caller in the program (the font lives until the process ends).
bool OpenTextFont(int32_t lineHeight);
void CloseTextFont();
FontMetrics TextFontMetrics();
// Rasterises one character (a code point; bytes 0x80-0xFF are taken as Latin-1). False without an open font.
bool RasterizeGlyph(uint32_t codePoint, GlyphImage* out);

}  // namespace platform
