// PNG files: the picture encoded in memory, then written whole; a failed write leaves no partial file behind.
// Used by the tools (the asset generator's icons, the replay tool's saved frames), never by the game's frames.
#include "platform/tool_support/png_file.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/screenshot.h"

// The stb image writer's zlib compressor, compiled with the writer in platform/screenshot_png.cpp; its header
// declares it only inside the writer's implementation. It returns a buffer to free with free().
extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int data_len, int* out_len, int quality);

namespace platform {

namespace {

// The writer's compression at its tightest.
constexpr int kTightestQuality = 9;

bool WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    std::remove(path.c_str());
    return false;
  }
  return true;
}

uint32_t Crc32(const uint8_t* bytes, size_t count) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

// One chunk: its length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  PutBigEndian(out, uint32_t(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian(out, Crc32(&out[typeAt], out.size() - typeAt));
}

}  // namespace

bool WritePng(const std::string& path, int32_t width, int32_t height, int32_t channels,
              const std::vector<uint8_t>& pixels, std::string* error) {
  const std::vector<uint8_t> png = EncodePng(pixels, width, height, channels);
  if (png.empty()) {
    *error = path + ": the picture's size does not match its pixels";
    return false;
  }
  return WriteWhole(path, png, error);
}

bool WriteIndexedPng(const std::string& path, int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                     const std::vector<uint8_t>& palette, std::string* error) {
  const size_t colours = palette.size() / 4;
  if (width <= 0 || height <= 0 || indices.size() != size_t(width) * size_t(height) || palette.size() % 4 != 0 ||
      colours == 0 || colours > 256) {
    *error = path + ": the picture's size does not match its indices, or the palette is not 1 to 256 colours";
    return false;
  }
  for (const uint8_t index : indices) {
    if (index >= colours) {
      *error = path + ": a pixel's index lies beyond the palette";
      return false;
    }
  }
  // Each row after its filter byte (0: none; palette indices gain nothing from prediction).
  std::vector<uint8_t> rows;
  rows.reserve(size_t(width + 1) * size_t(height));
  for (int32_t y = 0; y < height; ++y) {
    rows.push_back(0);
    rows.insert(rows.end(), indices.begin() + ptrdiff_t(y) * width, indices.begin() + ptrdiff_t(y + 1) * width);
  }
  int packedSize = 0;
  unsigned char* packed = stbi_zlib_compress(rows.data(), int(rows.size()), &packedSize, kTightestQuality);
  if (packed == nullptr) {
    *error = path + ": the compressor failed";
    return false;
  }
  const std::vector<uint8_t> idat(packed, packed + packedSize);
  std::free(packed);

  std::vector<uint8_t> header;
  PutBigEndian(header, uint32_t(width));
  PutBigEndian(header, uint32_t(height));
  header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, indexed colour, deflate, no filter choice, no interlace
  std::vector<uint8_t> rgb, alpha;
  for (size_t i = 0; i < colours; ++i) {
    rgb.insert(rgb.end(), &palette[i * 4], &palette[i * 4 + 3]);
    alpha.push_back(palette[i * 4 + 3]);
  }
  while (!alpha.empty() && alpha.back() == 255) alpha.pop_back();  // missing entries are opaque

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "PLTE", rgb);
  if (!alpha.empty()) PutChunk(png, "tRNS", alpha);
  PutChunk(png, "IDAT", idat);
  PutChunk(png, "IEND", {});
  return WriteWhole(path, png, error);
}

}  // namespace platform
