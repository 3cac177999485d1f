// One line of text on a surface: DejaVu Sans Bold (about 16 pixels a line), transparent background,
// (x, y) the top-left of the text cell. Glyphs are rasterised once and kept, so drawing allocates nothing.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// Draws text in colour 0x00BBGGRR. 1 when drawn (an empty text draws nothing and returns 1),
// 0 for a null surface or when the font is missing.
int32_t DrawTextGdi(const char* text, int32_t x, int32_t y, uint32_t colour, Surface* surface);

// As DrawTextGdi with the colour of PaletteTable entry index (not range-tested; callers pass 0 to 255).
int32_t DrawTextGdiIndexed(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface);

// Width in pixels of the text as DrawTextGdi would draw it, and the height of one line; 0 without a font.
int32_t MeasureTextWidth(const char* text);
int32_t TextLineHeight();
