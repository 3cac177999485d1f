// Writes BMP files byte by byte for the loader tests, one encoder per header and pixel layout.
// Test colours survive every variant exactly, so a loaded file can be compared pixel for pixel.
#include "tests/support/bmp_writer.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace bmp_test {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::vector<uint32_t> PaletteOf(const Picture& picture) {
  std::vector<uint32_t> palette;
  for (uint32_t c : picture.rgb)
    if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  return palette;
}

uint32_t IndexOf(const std::vector<uint32_t>& palette, uint32_t c) {
  return static_cast<uint32_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
}

int32_t BitsOf(Variant v) {
  switch (v) {
    case Variant::Bits1:
      return 1;
    case Variant::Bits4:
    case Variant::Rle4:
      return 4;
    case Variant::Bits8:
    case Variant::Rle8:
    case Variant::Os2Bits8:
      return 8;
    case Variant::Bits16x555:
    case Variant::Bits16x565:
      return 16;
    case Variant::Bits32:
      return 32;
    default:
      return 24;
  }
}

// One row's bytes in an uncompressed layout, padded to 4 bytes.
std::vector<uint8_t> EncodeRow(const Picture& p, int32_t y, int32_t bits, const std::vector<uint32_t>& palette,
                               bool mask565) {
  std::vector<uint8_t> row;
  if (bits <= 8) {
    uint32_t acc = 0;
    int32_t used = 0;
    for (int32_t x = 0; x < p.width; ++x) {
      acc = (acc << bits) | IndexOf(palette, p.At(x, y));
      used += bits;
      if (used == 8) row.push_back(uint8_t(acc)), acc = 0, used = 0;
    }
    if (used > 0) row.push_back(uint8_t(acc << (8 - used)));
  }
  for (int32_t x = 0; bits > 8 && x < p.width; ++x) {
    uint32_t c = p.At(x, y), r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
    if (bits == 16)
      Put16(row,
            mask565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    else if (bits == 24) row.insert(row.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
    else row.insert(row.end(), {uint8_t(b), uint8_t(g), uint8_t(r), 0});
  }
  while (row.size() % 4) row.push_back(0);
  return row;
}

// Run-length rows (bottom-up): runs of one index, then end of line; end of bitmap at the close.
std::vector<uint8_t> EncodeRle(const Picture& p, const std::vector<uint32_t>& palette, bool four) {
  std::vector<uint8_t> data;
  for (int32_t y = p.height - 1; y >= 0; --y) {
    int32_t x = 0;
    while (x < p.width) {
      uint32_t index = IndexOf(palette, p.At(x, y));
      int32_t run = 1;
      while (x + run < p.width && run < 255 && IndexOf(palette, p.At(x + run, y)) == index) ++run;
      data.push_back(uint8_t(run));
      data.push_back(uint8_t(four ? (index << 4) | index : index));
      x += run;
    }
    data.insert(data.end(), {0, 0});
  }
  data.insert(data.end(), {0, 1});
  return data;
}

}  // namespace

uint32_t TestColour(int32_t i) {
  static const uint32_t levels[4] = {0x00, 0xFF, 0x84, 0x42};
  return (levels[(i / 16) % 4] << 16) | (levels[(i / 4) % 4] << 8) | levels[i % 4];
}

Picture MakePicture(int32_t width, int32_t height, int32_t colours) {
  Picture p{width, height, {}};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) p.rgb.push_back(TestColour(((x / 2) + 3 * y) % colours));
  return p;
}

Picture SolidPicture(int32_t width, int32_t height, uint32_t rgb) {
  return Picture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, rgb)};
}

std::vector<uint8_t> EncodeBmp(const Picture& p, Variant v) {
  const int32_t bits = BitsOf(v);
  const bool os2 = v == Variant::Os2Bits8, v5 = v == Variant::V5Bits24;
  const bool rle = v == Variant::Rle4 || v == Variant::Rle8;
  std::vector<uint32_t> palette = bits <= 8 ? PaletteOf(p) : std::vector<uint32_t>{};
  if (bits <= 8) palette.resize(size_t(1) << bits, 0);
  std::vector<uint8_t> pixels;
  if (rle) {
    pixels = EncodeRle(p, palette, v == Variant::Rle4);
  } else {
    for (int32_t i = 0; i < p.height; ++i) {
      int32_t y = v == Variant::TopDown24 ? i : p.height - 1 - i;
      std::vector<uint8_t> row = EncodeRow(p, y, bits, palette, v == Variant::Bits16x565);
      pixels.insert(pixels.end(), row.begin(), row.end());
    }
  }
  const uint32_t infoSize = os2 ? 12 : v5 ? 124 : 40;
  const uint32_t masksSize = v == Variant::Bits16x565 ? 12 : 0;
  const uint32_t paletteSize = static_cast<uint32_t>(palette.size()) * (os2 ? 3 : 4);
  const uint32_t offset = 14 + infoSize + masksSize + paletteSize;
  std::vector<uint8_t> out = {'B', 'M'};
  Put32(out, offset + static_cast<uint32_t>(pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, infoSize);
  if (os2) {
    Put16(out, p.width), Put16(out, p.height), Put16(out, 1), Put16(out, bits);
  } else {
    uint32_t compression = v == Variant::Rle8 ? 1 : v == Variant::Rle4 ? 2 : masksSize ? 3 : 0;
    Put32(out, p.width), Put32(out, v == Variant::TopDown24 ? uint32_t(-p.height) : p.height);
    Put16(out, 1), Put16(out, bits), Put32(out, compression), Put32(out, static_cast<uint32_t>(pixels.size()));
    Put32(out, 2835), Put32(out, 2835), Put32(out, 0), Put32(out, 0);
    if (v5) {
      for (int i = 0; i < 4; ++i) Put32(out, 0);  // masks, unused without bit fields
      Put32(out, 0x73524742);                     // 'sRGB'
      out.resize(out.size() + 36 + 12 + 16, 0);   // endpoints, gammas, intent and profile fields
    }
    if (masksSize) Put32(out, 0xF800), Put32(out, 0x07E0), Put32(out, 0x001F);
  }
  for (uint32_t c : palette) {
    out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    if (!os2) out.push_back(0);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::string TempFolder() {
  auto folder = std::filesystem::temp_directory_path() / ("tavo_gfx_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  return folder.string();
}

}  // namespace bmp_test
