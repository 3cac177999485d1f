// Decoding a BMP file into our own buffer: every variant SDL_LoadBMP_RW reads (1 to 32 bits, RLE, OS/2, V4/V5,
// top-down). Bad files give false with a reason; nothing reads outside the bytes given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct DecodedPicture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB per pixel, rows top to bottom
};

// The largest picture we accept, in pixels per side; larger files are refused rather than allocated.
constexpr int32_t kMaxPictureSide = 16384;
// The largest picture in pixels (a 4096 x 4096 square), so a lying header cannot make us allocate gigabytes.
constexpr int64_t kMaxPicturePixels = int64_t(1) << 24;

// Decodes bytes in memory; called by the file reader below and the bitmap fuzzer.
// A header stating a picture its pixel data could not fill (uncompressed rows, padded to 4 bytes, past the end of
// the file; more pixels than run lengths could encode at 255 per 2 bytes) is refused before anything is decoded.
bool DecodeBitmapBytes(const uint8_t* data, size_t size, DecodedPicture* out, std::string* error);
// Reads and decodes a file; called by the picture loaders of gfx/bitmap_surfaces.cpp.
bool DecodeBitmapFile(const char* path, DecodedPicture* out, std::string* error);

}  // namespace platform
