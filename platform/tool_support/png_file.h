// PNG files written from 8-bit pixels or palette indices, for the icons and the screenshots the tools make.
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

// Writes width x height palette indices (rows from the top, one byte a pixel) as an 8-bit indexed PNG file,
// compressed as tightly as the writer goes, for pictures sent over the network. `palette` holds red, green, blue
// and straight alpha for each of its 1 to 256 colours. Returns false with a reason in *error for sizes that do
// not match, an index beyond the palette or a file that cannot be written (a partly written file is removed).
bool WriteIndexedPng(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                     const std::vector<uint8_t>& palette, std::string* error);

}  // namespace platform
