// The replay trace's picture fingerprint: 64-bit FNV-1a over the visible pixel bytes only, 16-bit pixels low
// byte first. Checked against the published FNV-1a value of "foobar", laid out as pixels with padded rows.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/picture_hash.h"

using platform::HashPictureBytes;

namespace {

constexpr uint64_t kFnvOfFoobar = 0x85944171F73967E8ull;  // FNV-1a 64 of the six bytes "foobar"
constexpr uint64_t kFnvOfNothing = 0xCBF29CE484222325ull;

// Rows of `pitch` bytes filled with 0xEE, then each row's leading pixels set from `rowValues`.
std::vector<uint8_t> PaddedRows(const std::vector<std::vector<uint16_t>>& rowValues, int32_t pitch) {
  std::vector<uint8_t> bytes(rowValues.size() * pitch, 0xEE);
  for (size_t y = 0; y < rowValues.size(); ++y)
    for (size_t x = 0; x < rowValues[y].size(); ++x) std::memcpy(&bytes[y * pitch + 2 * x], &rowValues[y][x], 2);
  return bytes;
}

TEST(PictureHash, CoversVisibleBytesRowByRowLowByteFirst) {
  // "fo", "ob", "ar" as little-endian 16-bit pixels: low byte is the first letter.
  struct Layout {
    std::vector<std::vector<uint16_t>> rows;
    int32_t pitch;
  };
  const Layout layouts[] = {
      {{{0x6F66, 0x626F, 0x7261}}, 6},      // one row, no padding
      {{{0x6F66}, {0x626F}, {0x7261}}, 4},  // three rows of one pixel, two padding bytes each
      {{{0x6F66, 0x626F, 0x7261}}, 10},     // one row with padding after it
  };
  for (const Layout& layout : layouts) {
    const std::vector<uint8_t> bytes = PaddedRows(layout.rows, layout.pitch);
    const int32_t width = static_cast<int32_t>(layout.rows[0].size());
    const int32_t height = static_cast<int32_t>(layout.rows.size());
    EXPECT_EQ(HashPictureBytes(bytes.data(), layout.pitch, width, height, 16), kFnvOfFoobar)
        << "pitch " << layout.pitch;
  }
  EXPECT_EQ(HashPictureBytes(nullptr, 0, 0, 0, 16), kFnvOfNothing);
}

}  // namespace
