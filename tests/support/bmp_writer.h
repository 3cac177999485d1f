// Test pictures written as BMP files by hand, in the variants the loader must read:
// 1, 4, 8, 16 (5-5-5 and 5-6-5 masks), 24 and 32 bits, RLE8, RLE4, OS/2 and V5 headers, top-down rows.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace bmp_test {

// A picture in 0x00RRGGBB, rows top to bottom.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int32_t x, int32_t y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

enum class Variant {
  Bits1,
  Bits4,
  Bits8,
  Rle4,
  Rle8,
  Bits16x555,
  Bits16x565,
  Bits24,
  Bits32,
  Os2Bits8,
  V5Bits24,
  TopDown24
};

// Colour i of n picked so that every variant (5-bit channels included) keeps it exactly.
uint32_t TestColour(int32_t i);
// A width x height picture cycling through `colours` test colours.
Picture MakePicture(int32_t width, int32_t height, int32_t colours);
// A picture filled with one colour.
Picture SolidPicture(int32_t width, int32_t height, uint32_t rgb);

std::vector<uint8_t> EncodeBmp(const Picture& picture, Variant variant);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A fresh folder under the system's temporary folder for one test program.
std::string TempFolder();

}  // namespace bmp_test
