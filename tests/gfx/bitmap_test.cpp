// Bitmap files into surfaces: every BMP variant decodes to the picture written, sizes and stretching,
// rectangles reaching past the bitmap, colour matching and keys, palettes from files, and bad files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gfx/bitmap_surfaces.h"
#include "gfx/display.h"
#include "platform/bitmap_decode.h"
#include "tests/support/bmp_writer.h"
#include "tests/support/headless_fixture.h"

namespace {

using bmp_test::Variant;

class BitmapTest : public testsupport::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ASSERT_EQ(InitDisplay(640, 480, 16), 1);
    folder = bmp_test::TempFolder();
  }
  void TearDown() override {
    ShutdownDisplay();
    std::filesystem::remove_all(folder);
  }
  std::string Write(const std::string& name, const bmp_test::Picture& picture, Variant variant) {
    std::string path = folder + "/" + name;
    bmp_test::WriteFile(path, bmp_test::EncodeBmp(picture, variant));
    return path;
  }
  std::string folder;
};

struct VariantCase {
  Variant variant;
  int32_t colours;
  const char* name;
};

TEST_F(BitmapTest, EveryVariantDecodesToThePictureWritten) {
  const VariantCase cases[] = {{Variant::Bits1, 2, "1-bit"},
                               {Variant::Bits4, 16, "4-bit"},
                               {Variant::Bits8, 64, "8-bit"},
                               {Variant::Rle4, 16, "RLE4"},
                               {Variant::Rle8, 64, "RLE8"},
                               {Variant::Bits16x555, 64, "16-bit 555"},
                               {Variant::Bits16x565, 4, "16-bit 565"},
                               {Variant::Bits24, 64, "24-bit"},
                               {Variant::Bits32, 64, "32-bit"},
                               {Variant::Os2Bits8, 64, "OS/2"},
                               {Variant::V5Bits24, 64, "V5"},
                               {Variant::TopDown24, 64, "top-down"}};
  for (const VariantCase& c : cases) {
    for (int32_t width : {1, 13, 30}) {
      bmp_test::Picture picture = bmp_test::MakePicture(width, 7, c.colours);
      std::string path = Write("variant.bmp", picture, c.variant);
      platform::DecodedPicture decoded;
      std::string error;
      ASSERT_TRUE(platform::DecodeBitmapFile(path.c_str(), &decoded, &error)) << c.name << " " << error;
      ASSERT_EQ(decoded.width, width) << c.name;
      ASSERT_EQ(decoded.height, 7) << c.name;
      // Channels stored in 5 or 6 bits come back within one step of 8.
      const int32_t tolerance = c.variant == Variant::Bits16x555 || c.variant == Variant::Bits16x565 ? 8 : 0;
      bool same = true;
      for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < width; ++x)
          for (int32_t shift : {0, 8, 16}) {
            int32_t got = (decoded.rgb[static_cast<size_t>(y) * width + x] >> shift) & 0xFF;
            int32_t want = (picture.At(x, y) >> shift) & 0xFF;
            same = same && std::abs(got - want) <= tolerance;
          }
      EXPECT_TRUE(same) << c.name << " width " << width;
    }
  }
}

TEST_F(BitmapTest, PictureLoadsAtItsOwnSizeInTheDisplayFormat) {
  bmp_test::Picture picture = bmp_test::MakePicture(100, 40, 64);
  std::string path = Write("hud.spr", picture, Variant::Bits24);
  Surface* surface = LoadBitmapSurface(DisplayDevice, path.c_str(), 0, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->width, 100);
  EXPECT_EQ(surface->height, 40);
  EXPECT_EQ(surface->bitsPerPixel, 16);
  EXPECT_EQ(surface->caps, kSurfaceCapsOffscreenPlain);
  EXPECT_FALSE(surface->hasColorKey);
  auto colourOf = [&](int32_t x, int32_t y) {
    uint32_t c = picture.At(x, y);  // 0x00RRGGBB to 0x00BBGGRR
    return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
  };
  for (int32_t y : {0, 17, 39})
    for (int32_t x : {0, 51, 99})
      EXPECT_EQ(ReadSurfacePixel(surface, x, y), RgbToSurfacePixel(surface, colourOf(x, y))) << x << "," << y;
  // Sizes other than 0 scale the picture.
  Surface* scaled = LoadBitmapSurface(DisplayDevice, path.c_str(), 50, 20);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(scaled->width, 50);
  EXPECT_EQ(ReadSurfacePixel(scaled, 25, 10), ReadSurfacePixel(surface, 50, 20));
  Release(scaled);
  Release(surface);
}

TEST_F(BitmapTest, ReloadStretchesThePictureOverTheSurface) {
  bmp_test::Picture picture = bmp_test::SolidPicture(50, 50, 0xFF0000);
  for (int32_t x = 25; x < 50; ++x)
    for (int32_t y = 0; y < 50; ++y) picture.rgb[static_cast<size_t>(y) * 50 + x] = 0x0000FF;
  std::string path = Write("half.bmp", picture, Variant::Bits24);
  Surface* surface = CreateOffscreenSurface(100, 100, 0);
  EXPECT_EQ(ReloadBitmapSurface(surface, path.c_str()), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0xF800u);
  EXPECT_EQ(ReadSurfacePixel(surface, 49, 99), 0xF800u);
  EXPECT_EQ(ReadSurfacePixel(surface, 50, 0), 0x001Fu);
  EXPECT_EQ(ReadSurfacePixel(surface, 99, 99), 0x001Fu);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ReloadBitmapSurface(surface, (folder + "/missing.bmp").c_str()), kBitmapResultFail);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "handle is null\n");
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0xF800u);
  Release(surface);
}

TEST_F(BitmapTest, CopyNeverReadsOutsideTheBitmap) {
  BitmapObject bitmap;
  bitmap.width = 4, bitmap.height = 4;
  bitmap.pixels.assign(16, 0xFFFFFF);
  Surface* surface = CreateOffscreenSurface(8, 8, 0);
  EXPECT_EQ(CopyBitmapToSurface(nullptr, &bitmap, 0, 0, 0, 0), kBitmapResultFail);
  EXPECT_EQ(CopyBitmapToSurface(surface, nullptr, 0, 0, 0, 0), kBitmapResultFail);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0u);
  // The rectangle (2, 2)-(10, 10) covers the bitmap's last two rows and columns; the rest is black.
  EXPECT_EQ(CopyBitmapToSurface(surface, &bitmap, 2, 2, 8, 8), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0xFFFFu);
  EXPECT_EQ(ReadSurfacePixel(surface, 1, 1), 0xFFFFu);
  EXPECT_EQ(ReadSurfacePixel(surface, 2, 0), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 2), 0u);
  EXPECT_EQ(CopyBitmapToSurface(surface, &bitmap, -4, -4, 8, 8), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 3, 3), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 3, 5), 0u);  // left of the bitmap's second row, not the row before's end
  EXPECT_EQ(ReadSurfacePixel(surface, 5, 3), 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 4, 4), 0xFFFFu);
  Release(surface);
}

TEST_F(BitmapTest, MatchingAndKeyingKeepTheTopLeftPixel) {
  Surface* surface = CreateOffscreenSurface(1, 3, 0);
  WriteSurfacePixel(surface, 0, 0, 0xBEEF);
  EXPECT_EQ(MatchSurfaceColor(surface, 0xFFFFFFFF), 0xBEEFu);
  EXPECT_EQ(MatchSurfaceColor(surface, 0x0000FF), 0xF800u);
  EXPECT_EQ(MatchSurfaceColor(surface, 0x00FF00), 0x07E0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0xBEEFu);
  EXPECT_EQ(SetSurfaceColorKey(surface, 0), 0);
  EXPECT_EQ(surface->colorKeyLow, 0u);
  EXPECT_EQ(surface->colorKeyHigh, 0u);
  EXPECT_EQ(ReadSurfacePixel(surface, 0, 0), 0xBEEFu);
  EXPECT_EQ(SetSurfaceColorKey(surface, 0xFFFFFFFF), 0);
  EXPECT_EQ(surface->colorKeyLow, 0xBEEFu);
  EXPECT_EQ(MatchSurfaceColor(nullptr, 0), 0xFFFFFFFFu);
  Release(surface);
  // On an 8-bit surface the value is the nearest palette index, and a black index other than 0 stays.
  Surface* indexed = CreateSurfaceOfFormat(2, 2, 8);
  SetPalette(indexed, DisplayPalette);
  WriteSurfacePixel(indexed, 0, 0, 64);
  EXPECT_EQ(MatchSurfaceColor(indexed, 0x0000FC), 63u);
  EXPECT_EQ(ReadSurfacePixel(indexed, 0, 0), 64u);
  Release(indexed);
}

TEST_F(BitmapTest, PaletteDefaultsToTheColourCube) {
  PaletteObject* palette = LoadBitmapPalette(DisplayDevice, nullptr);
  ASSERT_NE(palette, nullptr);
  auto rgb = [&](int i) {
    const PaletteEntry& e = palette->entries[i];
    return (e.red << 16) | (e.green << 8) | e.blue;
  };
  EXPECT_EQ(rgb(0), 0x000000);
  EXPECT_EQ(rgb(255), 0xFFFFFF);
  EXPECT_EQ(rgb(0xE0), 0xFF0000);
  EXPECT_EQ(rgb(0x1C), 0x00FF00);
  EXPECT_EQ(rgb(0x03), 0x0000FF);
  EXPECT_EQ(rgb(0x25), 0x242455);
  Release(palette);
  palette = LoadBitmapPalette(DisplayDevice, (folder + "/none.bmp").c_str());
  EXPECT_EQ(palette->entries[0x25].blue, 85);
  Release(palette);
}

TEST_F(BitmapTest, PaletteFromFilesTakesCountedColoursAndRawBytesAfter) {
  // 8-bit, no colour count: all 256 entries come from the table, swapped into red, green, blue.
  bmp_test::Picture picture = bmp_test::MakePicture(16, 16, 64);
  PaletteObject* palette = LoadBitmapPalette(DisplayDevice, Write("p8.bmp", picture, Variant::Bits8).c_str());
  uint32_t c1 = bmp_test::TestColour(1);
  EXPECT_EQ(palette->entries[1].red, (c1 >> 16) & 0xFF);
  EXPECT_EQ(palette->entries[1].blue, c1 & 0xFF);
  EXPECT_EQ(palette->entries[100].red, 0);
  Release(palette);
  // 4-bit: 16 entries swapped, the rest are the file's bytes after the table as they are.
  std::vector<uint8_t> bytes = bmp_test::EncodeBmp(bmp_test::MakePicture(8, 2, 16), Variant::Bits4);
  std::string path = folder + "/p4.bmp";
  bmp_test::WriteFile(path, bytes);
  palette = LoadBitmapPalette(DisplayDevice, path.c_str());
  uint32_t c2 = bmp_test::TestColour(2);
  EXPECT_EQ(palette->entries[2].red, (c2 >> 16) & 0xFF);
  EXPECT_EQ(palette->entries[2].blue, c2 & 0xFF);
  const uint8_t* after = bytes.data() + 54 + 64;
  EXPECT_EQ(palette->entries[16].red, after[0]);
  EXPECT_EQ(palette->entries[16].blue, after[2]);
  // The file ends before entry 40: later entries keep the colour cube.
  EXPECT_EQ(palette->entries[255].red, 255);
  Release(palette);
  // 24-bit: no colours taken, the raw pixel bytes after the header fill the table.
  bytes = bmp_test::EncodeBmp(bmp_test::SolidPicture(4, 4, 0x102030), Variant::Bits24);
  bmp_test::WriteFile(path, bytes);
  palette = LoadBitmapPalette(DisplayDevice, path.c_str());
  EXPECT_EQ(palette->entries[0].red, 0x30);
  EXPECT_EQ(palette->entries[0].green, 0x20);
  EXPECT_EQ(palette->entries[0].blue, 0x10);
  Release(palette);
}

// A header must not state a picture its pixel data could not fill; the decoder never sees such a file.
TEST_F(BitmapTest, HeadersStatingMoreThanTheDataHoldsAreRefusedFirst) {
  auto put32 = [](std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  auto decode = [](const std::vector<uint8_t>& bytes, std::string* error) {
    platform::DecodedPicture decoded;
    return platform::DecodeBitmapBytes(bytes.data(), bytes.size(), &decoded, error);
  };
  const std::string tooShort = "too short";
  // Uncompressed: the file's own height decodes; one row more (a little) or 4096 x 4096 (a lot) does not.
  for (Variant variant : {Variant::Bits1, Variant::Bits8, Variant::Bits24, Variant::Bits32}) {
    std::vector<uint8_t> bytes = bmp_test::EncodeBmp(bmp_test::MakePicture(13, 7, 2), variant);
    std::string error;
    EXPECT_TRUE(decode(bytes, &error)) << error;
    put32(bytes, 22, 8);
    EXPECT_FALSE(decode(bytes, &error));
    EXPECT_NE(error.find(tooShort), std::string::npos) << error;
    put32(bytes, 18, 4096), put32(bytes, 22, 4096);
    EXPECT_FALSE(decode(bytes, &error));
    EXPECT_NE(error.find(tooShort), std::string::npos) << error;
  }
  // Run lengths: rows of one 255-pixel run and an end of line take 4 bytes, the end of the bitmap 2; 10 rows
  // (42 bytes) could fill at most 21 x 255 = 5355 pixels, so a header may claim 5 x 1071 pixels but not 5 x 1072.
  std::vector<uint8_t> rle = bmp_test::EncodeBmp(bmp_test::SolidPicture(255, 10, 0x4284FF), Variant::Rle8);
  std::string error;
  put32(rle, 18, 5);
  put32(rle, 22, 1071);
  decode(rle, &error);
  EXPECT_EQ(error.find(tooShort), std::string::npos) << error;
  put32(rle, 22, 1072);
  EXPECT_FALSE(decode(rle, &error));
  EXPECT_NE(error.find(tooShort), std::string::npos) << error;
  // A pixel-data offset past the end leaves nothing to fill any picture with.
  std::vector<uint8_t> moved = bmp_test::EncodeBmp(bmp_test::MakePicture(4, 4, 2), Variant::Bits24);
  put32(moved, 10, 0xFFFFFF00u);
  EXPECT_FALSE(decode(moved, &error));
  EXPECT_NE(error.find(tooShort), std::string::npos) << error;
}

TEST_F(BitmapTest, BadFilesLoadAsNothing) {
  std::vector<uint8_t> good = bmp_test::EncodeBmp(bmp_test::MakePicture(20, 10, 64), Variant::Bits8);
  std::string path = folder + "/bad.bmp";
  // Truncated in the header, in the palette and in the pixels.
  for (size_t cut : {size_t(0), size_t(10), size_t(30), size_t(100), good.size() - 5}) {
    bmp_test::WriteFile(path, std::vector<uint8_t>(good.begin(), good.begin() + cut));
    EXPECT_EQ(LoadBitmapSurface(DisplayDevice, path.c_str(), 0, 0), nullptr) << cut;
  }
  // A header claiming a huge picture is refused before anything is allocated.
  std::vector<uint8_t> huge = good;
  huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x00;
  bmp_test::WriteFile(path, huge);
  platform::DecodedPicture decoded;
  std::string error;
  EXPECT_FALSE(platform::DecodeBitmapFile(path.c_str(), &decoded, &error));
  EXPECT_FALSE(error.empty());
  bmp_test::WriteFile(path, std::vector<uint8_t>(300, 0x42));
  EXPECT_EQ(LoadBitmapSurface(DisplayDevice, path.c_str(), 0, 0), nullptr);
  EXPECT_EQ(LoadBitmapSurface(DisplayDevice, nullptr, 0, 0), nullptr);
  EXPECT_EQ(LoadBitmapSurface(nullptr, path.c_str(), 0, 0), nullptr);
}

}  // namespace
