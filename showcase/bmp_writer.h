// Writing an 8-bit picture with its 256-colour palette as a BMP file: the showcase's sprite sheet and the
// frames it dumps when run headless.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/surface.h"

namespace showcase {

// Writes width x height bytes (rows pitch apart, top row first) and the palette. False when the file
// cannot be written whole.
bool WriteBitmap8(const std::string& path, const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height,
                  const PaletteEntry* palette);

}  // namespace showcase
