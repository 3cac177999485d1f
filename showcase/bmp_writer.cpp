// An uncompressed 8-bit BMP writer: file header, info header, 256 palette entries in blue, green, red,
// reserved order, then the rows bottom-up, each padded to a multiple of four bytes.
#include "showcase/bmp_writer.h"

#include <fstream>
#include <vector>

namespace showcase {

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

bool WriteBitmap8(const std::string& path, const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height,
                  const PaletteEntry* palette) {
  if (width <= 0 || height <= 0) return false;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) + 3u) & ~3u;
  const uint32_t dataOffset = 14 + 40 + 256 * 4;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.reserve(dataOffset + imageBytes);
  // File header.
  PutLe(out, 0x4D42, 2);
  PutLe(out, dataOffset + imageBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, dataOffset, 4);
  // Info header: 8 bits, no compression, 256 colours.
  PutLe(out, 40, 4);
  PutLe(out, static_cast<uint32_t>(width), 4);
  PutLe(out, static_cast<uint32_t>(height), 4);
  PutLe(out, 1, 2);
  PutLe(out, 8, 2);
  PutLe(out, 0, 4);
  PutLe(out, imageBytes, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 2835, 4);
  PutLe(out, 256, 4);
  PutLe(out, 0, 4);
  for (int i = 0; i < 256; ++i) {
    out.push_back(palette[i].blue);
    out.push_back(palette[i].green);
    out.push_back(palette[i].red);
    out.push_back(0);
  }
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
    out.insert(out.end(), row, row + width);
    out.insert(out.end(), rowBytes - static_cast<uint32_t>(width), 0);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  file.close();  // a small file may reach the disk only here, so its failure shows only here
  return static_cast<bool>(file);
}

}  // namespace showcase
