// Checks of the desktop icon: the small size still reads (the glowing ball stands out from its tile), the
// tile's corners are see-through, the written theme holds a PNG of the right size for every size, and the
// Windows icon file holds every Windows size in the form Windows reads.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "tests/support/temp_folder.h"
#include "tools/asset_generator/icon.h"
#include "tools/asset_generator/palette_reduction.h"

namespace {

// Relative luminance of an 8-bit sRGB colour, as contrast ratios are defined for screens.
double RelativeLuminance(const uint8_t* rgb) {
  auto linear = [](uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(rgb[0]) + 0.7152 * linear(rgb[1]) + 0.0722 * linear(rgb[2]);
}

TEST(Icon, SmallestSizeShowsTheBallAgainstItsTile) {
  const int32_t size = 32;
  const std::vector<uint8_t> rgba = assets::ToRgba(assets::MakeIcon(size));
  const assets::IconLayout& l = assets::kIconLayout;
  const auto at = [&](int32_t x, int32_t y) { return &rgba[(size_t(y) * size + size_t(x)) * 4]; };
  // The ball's outline (its edge and the glow beyond it) against the sky around it, above the horizon.
  double outline = 0, sky = 0;
  int32_t outlineCount = 0, skyCount = 0;
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const float u = (float(x) + 0.5f) / size, v = (float(y) + 0.5f) / size;
      const float fromCentre = std::hypot(u - l.ballX, v - l.ballY);
      if (fromCentre > l.ballRadius - 0.5f / size && fromCentre < l.ballRadius + l.glowWidth * 0.6f) {
        outline += RelativeLuminance(at(x, y));
        ++outlineCount;
      } else if (fromCentre > l.ballRadius + l.glowWidth + 2.0f / size && v < l.horizonY - 0.1f && at(x, y)[3] == 255 &&
                 std::min({u, v, 1 - u}) > l.tileInset + 2.0f / size) {
        sky += RelativeLuminance(at(x, y));
        ++skyCount;
      }
    }
  }
  // A rounded tile: see-through corners, opaque at the middle of every edge.
  for (const auto& [x, y] : {std::pair{0, 0}, {1, 1}, {size - 1, 0}, {0, size - 1}, {size - 2, size - 2}})
    EXPECT_EQ(at(x, y)[3], 0) << "corner " << x << "," << y;
  for (const auto& [x, y] : {std::pair{size / 2, 1}, {1, size / 2}, {size / 2, size - 2}, {size - 2, size / 2}})
    EXPECT_EQ(at(x, y)[3], 255) << "edge " << x << "," << y;
  ASSERT_GT(outlineCount, 20);
  ASSERT_GT(skyCount, 20);
  const double contrast = (outline / outlineCount + 0.05) / (sky / skyCount + 0.05);
  EXPECT_GE(contrast, 3.0) << "the ball's outline must stand out at 32 pixels (3:1, as for graphics on screens)";
}

TEST(Icon, ThemeHoldsEverySizeAndTheScalablePicture) {
  const std::string theme = testfiles::ScratchPath("hicolor");
  std::string error;
  ASSERT_TRUE(assets::WriteIcons(theme, "org.example.Test", &error)) << error;
  for (const int32_t size : assets::IconPixelSizes()) {
    const std::string path =
        theme + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/org.example.Test.png";
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GE(bytes.size(), 26u) << path;
    // The signature, then the header chunk: width and height big-endian, 8 bits, colour type 6 (RGBA).
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}))
        << path;
    const auto be32 = [&](size_t at) {
      return uint32_t(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
    };
    EXPECT_EQ(be32(16), uint32_t(size)) << path;
    EXPECT_EQ(be32(20), uint32_t(size)) << path;
    EXPECT_EQ(bytes[24], 8) << path;
    EXPECT_EQ(bytes[25], 6) << path;
  }
  std::ifstream svg(theme + "/scalable/apps/org.example.Test.svg");
  const std::string text{std::istreambuf_iterator<char>(svg), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find("viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_EQ(text.rfind("</svg>\n"), text.size() - 7);
}

TEST(Icon, WindowsIconFileHoldsEverySizeAsWindowsReadsIt) {
  const std::vector<uint8_t> file = assets::MakeWindowsIconFile();
  const auto le = [&](size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | file.at(at + size_t(i));
    return value;
  };
  const std::vector<int32_t>& sizes = assets::WindowsIconPixelSizes();
  EXPECT_EQ(sizes, (std::vector<int32_t>{16, 32, 48, 256}));
  ASSERT_GE(file.size(), 6u);
  EXPECT_EQ(le(0, 2), 0u);
  EXPECT_EQ(le(2, 2), 1u);
  ASSERT_EQ(le(4, 2), sizes.size());
  size_t expectedOffset = 6 + 16 * sizes.size();
  for (size_t i = 0; i < sizes.size(); ++i) {
    const int32_t size = sizes[i];
    const size_t entry = 6 + 16 * i;
    EXPECT_EQ(file.at(entry), size == 256 ? 0 : size) << size;
    EXPECT_EQ(file.at(entry + 1), size == 256 ? 0 : size) << size;
    EXPECT_EQ(le(entry + 6, 2), 32u) << size;
    const size_t bytes = le(entry + 8, 4), offset = le(entry + 12, 4);
    ASSERT_EQ(offset, expectedOffset) << size;
    ASSERT_LE(offset + bytes, file.size()) << size;
    expectedOffset += bytes;
    if (size == 256) {
      EXPECT_EQ(std::vector<uint8_t>(file.begin() + long(offset), file.begin() + long(offset) + 8),
                (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
      continue;
    }
    // A 40-byte bitmap header of double height, 32 bits, then size rows of pixels and size rows of mask.
    EXPECT_EQ(le(offset, 4), 40u) << size;
    EXPECT_EQ(le(offset + 4, 4), uint32_t(size)) << size;
    EXPECT_EQ(le(offset + 8, 4), uint32_t(size) * 2) << size;
    EXPECT_EQ(le(offset + 14, 2), 32u) << size;
    const size_t maskRow = (size_t(size) + 31) / 32 * 4;
    ASSERT_EQ(bytes, 40 + size_t(size) * size_t(size) * 4 + maskRow * size_t(size)) << size;
    // The first stored row is the picture's bottom one, in blue, green, red, alpha order.
    const std::vector<uint8_t> rgba = assets::ToRgba(assets::MakeIcon(size));
    for (const int32_t x : {0, size / 2, size - 1}) {
      const uint8_t* stored = &file[offset + 40 + size_t(x) * 4];
      const uint8_t* drawn = &rgba[(size_t(size - 1) * size_t(size) + size_t(x)) * 4];
      EXPECT_EQ((std::vector<uint8_t>{stored[2], stored[1], stored[0], stored[3]}),
                (std::vector<uint8_t>(drawn, drawn + 4)))
          << size << " x=" << x;
    }
  }
  EXPECT_EQ(expectedOffset, file.size());
}

// The page's icon in 256 colours stays the icon: each channel within a few steps of 255 on average, and the tile's
// see-through and opaque pixels exactly so.
TEST(Icon, WebIconInItsPaletteStaysThePicture) {
  const int32_t size = assets::WebIconPixelSizes().front();
  const std::vector<uint8_t> rgba = assets::ToRgba(assets::MakeIcon(size));
  const assets::IndexedPicture picture = assets::ReduceColours(rgba, 256);
  ASSERT_EQ(picture.indices.size(), size_t(size) * size_t(size));
  ASSERT_LE(picture.palette.size(), 256u * 4);
  uint64_t difference = 0;
  for (size_t i = 0; i < picture.indices.size(); ++i) {
    ASSERT_LT(size_t(picture.indices[i]) * 4, picture.palette.size());
    const uint8_t* shown = &picture.palette[size_t(picture.indices[i]) * 4];
    const uint8_t* drawn = &rgba[i * 4];
    if (drawn[3] == 0 || drawn[3] == 255) {
      ASSERT_EQ(shown[3], drawn[3]) << "pixel " << i;
    }
    for (int c = 0; c < 4; ++c) difference += uint64_t(std::abs(int(shown[c]) - int(drawn[c])));
  }
  EXPECT_LT(double(difference) / double(rgba.size()), 4.0);
}

}  // namespace
