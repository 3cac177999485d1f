// The replay trace's picture fingerprint: 64-bit FNV-1a over the visible pixel bytes.
// A 16-bit pixel is read as a whole and fed low byte first, so the value is the same on any byte order.
#include "platform/picture_hash.h"

#include <cstring>

namespace platform {

namespace {

constexpr uint64_t kFnvOffsetBasis = 0xCBF29CE484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001B3ull;

uint64_t HashByte(uint64_t hash, uint8_t byte) { return (hash ^ byte) * kFnvPrime; }

}  // namespace

uint64_t HashPictureBytes(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel) {
  uint64_t hash = kFnvOffsetBasis;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<int64_t>(y) * pitch;
    for (int32_t x = 0; x < width; ++x) {
      if (bitsPerPixel == 16) {
        uint16_t pixel;
        std::memcpy(&pixel, row + 2 * x, 2);
        hash = HashByte(hash, static_cast<uint8_t>(pixel & 0xFF));
        hash = HashByte(hash, static_cast<uint8_t>(pixel >> 8));
      } else {
        hash = HashByte(hash, row[x]);
      }
    }
  }
  return hash;
}

}  // namespace platform
