// The size of the program's lettering, chosen one way for the game's font (platform/libraries/font.cpp) and for
// the tools' SDL_ttf copies of its text (platform/tool_support/): the largest point size whose line fits.
#pragma once
#include <cstddef>
#include <cstdint>

namespace platform {

// The smallest point size tried. It is taken even when its line is still taller than asked, so a small height
// gets the smallest lettering rather than none.
constexpr int32_t kSmallestTextPointSize = 6;

// Tries point sizes from lineHeight down to kSmallestTextPointSize, asking openAtSize(size, user) for each: it
// puts the font at that size (the one font, resized in place) and returns the font's line height in pixels, or a
// negative number when it cannot. Stops at the first size whose line fits lineHeight, or at the smallest size
// whatever its line, and returns that size: the font is then left at it. Returns 0 when the font cannot be sized
// or lineHeight is below the smallest size.
int32_t ChooseTextPointSize(int32_t lineHeight, int32_t (*openAtSize)(int32_t size, void* user), void* user);

// The font file at path opened with SDL_ttf at the size ChooseTextPointSize gives for lineHeight: a TTF_Font*,
// typed void* here so that no platform header names the library. Null when it does not open (SDL_GetError says
// why); the caller closes it with TTF_CloseFont. SDL_ttf must be started. The font is opened once and resized.
void* OpenFontForLine(const char* path, int32_t lineHeight);
// The same from a font file already in memory, which must outlive the font.
void* OpenFontForLineFromMemory(const void* bytes, size_t size, int32_t lineHeight);

}  // namespace platform
