// Test helpers that look at drawn surfaces: count pixels of one value in a rectangle.
// Colours are looked for as 16-bit RGB 565 pixels, the depth the game runs at.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// Pure green (the HUD and prompt colour 0x00FF00) as a 16-bit RGB 565 pixel.
constexpr uint32_t kGreenPixel565 = 0x07E0;

// How many pixels of the rectangle (right and bottom exclusive) hold exactly value.
inline int32_t CountPixels(const Surface* surface, RectL area, uint32_t value) {
  int32_t count = 0;
  for (int32_t y = area.top; y < area.bottom; ++y) {
    for (int32_t x = area.left; x < area.right; ++x) {
      if (ReadSurfacePixel(surface, x, y) == value) ++count;
    }
  }
  return count;
}
