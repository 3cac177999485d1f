// Builds BMP file bytes for the reader's tests: headers, an optional 256-entry palette and bottom-up pixel rows.
// Tests then change single fields through the offsets and Put16/Put32 below for variants and broken files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bmp_bytes {

// Field offsets in the file.
constexpr size_t kWidthAt = 18, kHeightAt = 22, kBitCountAt = 28, kCompressionAt = 30, kSizeImageAt = 34,
                 kPaletteAt = 54;

inline void Put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// topDown holds height rows of width * bitCount / 8 bytes, top row first; they are stored bottom-up, each padded
// with 0xEE bytes to a multiple of 4. An 8-bit file gets the palette entry i stored as blue i, green 255 - i,
// red i ^ 0x55, reserved 0.
inline std::vector<uint8_t> Make(int32_t width, int32_t height, uint16_t bitCount,
                                 const std::vector<uint8_t>& topDown) {
  const size_t rowBytes = static_cast<size_t>(width) * bitCount / 8;
  const size_t paletteBytes = bitCount == 8 ? 1024 : 0;
  std::vector<uint8_t> bytes(54 + paletteBytes);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 10, static_cast<uint32_t>(54 + paletteBytes));
  Put32(bytes, 14, 40);
  Put32(bytes, kWidthAt, static_cast<uint32_t>(width));
  Put32(bytes, kHeightAt, static_cast<uint32_t>(height));
  Put16(bytes, 26, 1);
  Put16(bytes, kBitCountAt, bitCount);
  const size_t paddedBytes = (rowBytes + 3) / 4 * 4;
  Put32(bytes, kSizeImageAt, static_cast<uint32_t>(paddedBytes * height));
  for (size_t i = 0; i < paletteBytes / 4; ++i) {
    bytes[kPaletteAt + i * 4] = static_cast<uint8_t>(i);
    bytes[kPaletteAt + i * 4 + 1] = static_cast<uint8_t>(255 - i);
    bytes[kPaletteAt + i * 4 + 2] = static_cast<uint8_t>(i ^ 0x55);
  }
  for (size_t row = static_cast<size_t>(height); row-- > 0;) {
    bytes.insert(bytes.end(), topDown.begin() + row * rowBytes, topDown.begin() + (row + 1) * rowBytes);
    bytes.insert(bytes.end(), paddedBytes - rowBytes, 0xEE);
  }
  Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  return bytes;
}

// An 8-bit picture whose pixel (x, y) is (x * 7 + y * 13) & 255.
inline std::vector<uint8_t> Pattern(int32_t width, int32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(x * 7 + y * 13);
  return pixels;
}
inline uint8_t PatternAt(int32_t x, int32_t y) { return static_cast<uint8_t>(x * 7 + y * 13); }

inline std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return name;
}

// Files this process has open, to see that a refused file was closed.
inline size_t OpenFileCount() {
  size_t count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

}  // namespace bmp_bytes
