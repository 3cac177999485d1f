// The fingerprint of a presented picture that the replay trace and the frame log print: 64-bit FNV-1a of its pixels.
// Only the visible bytes count, row by row, with 16-bit pixels taken low byte first; row padding is left out.
#pragma once
#include <cstdint>

namespace platform {

// Hashes height rows of width pixels (1 or 2 bytes each, by bitsPerPixel) starting pitch bytes apart.
uint64_t HashPictureBytes(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel);

}  // namespace platform
