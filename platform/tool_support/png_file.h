// PNG files written from 8-bit pixels, for the icons and the screenshots the tools make.
// Encoding is the screenshots' encoder; callers hand over plain byte rows and get a reason back when it fails.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Writes width x height pixels as a PNG file at path, replacing any file there. `pixels` holds the rows from
// the top, channels bytes per pixel: 3 for red, green, blue; 4 adds straight (not premultiplied) alpha.
// Returns false with a reason in *error for a size that does not match the pixels or a file that cannot be
// written (a partly written file is removed).
bool WritePng(const std::string& path, int32_t width, int32_t height, int32_t channels,
              const std::vector<uint8_t>& pixels, std::string* error);

}  // namespace platform
