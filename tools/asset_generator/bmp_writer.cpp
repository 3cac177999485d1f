// Uncompressed 24-bit BMP output: a 14-byte file header, a 40-byte information header and the rows bottom-up.
// Pixels are stored blue, green, red; each row is padded with zeros to a multiple of four bytes.
#include "tools/asset_generator/bmp_writer.h"

#include <cstdint>
#include <vector>

#include "tools/asset_generator/file_bytes.h"

namespace assets {

namespace {

std::vector<uint8_t> EncodeBmp(const Image& image) {
  const uint32_t width = uint32_t(image.Width());
  const uint32_t height = uint32_t(image.Height());
  const uint32_t rowBytes = (width * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * height;
  const uint32_t headerBytes = 14 + 40;
  std::vector<uint8_t> out;
  out.reserve(headerBytes + pixelBytes);
  // File header: "BM", file size, two reserved words, offset of the pixels.
  out.push_back('B');
  out.push_back('M');
  PutLe(out, headerBytes + pixelBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, headerBytes, 4);
  // Information header: size, width, height (positive: bottom-up), planes, bits, no compression, image size,
  // 72 dpi in pixels per metre, no palette.
  PutLe(out, 40, 4);
  PutLe(out, width, 4);
  PutLe(out, height, 4);
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);
  PutLe(out, pixelBytes, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  const std::vector<uint8_t> rgb = FlattenToRgb(image);
  for (uint32_t row = height; row-- > 0;) {
    const uint8_t* source = rgb.data() + size_t(row) * width * 3;
    for (uint32_t x = 0; x < width; ++x) {
      out.insert(out.end(), {source[x * 3 + 2], source[x * 3 + 1], source[x * 3]});
    }
    out.resize(out.size() + (rowBytes - width * 3), 0);
  }
  return out;
}

}  // namespace

bool WriteBmp(const std::string& path, const Image& image, std::string* error) {
  return WriteBytes(path, EncodeBmp(image), error);
}

}  // namespace assets
