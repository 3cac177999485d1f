// A surface made on its own, without a display: for tests and fuzzers that draw on a plain surface.
// The program makes its surfaces through the display and the bitmap loaders; it never includes this header.
#pragma once
#include <cstdint>

#include "gfx/surface.h"

// A width x height surface at 8 or 16 bits with zeroed pixels; null for a size or depth we do not keep.
inline Surface* CreateSurfaceForTest(int32_t width, int32_t height, int32_t bitsPerPixel) {
  return CreateSurfaceOfFormat(width, height, bitsPerPixel);
}
