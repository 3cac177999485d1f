// Rules of the BMP reader (headers, palette, padded rows read as SDL reads them, turned top-down, refusals that
// leave the record as it was), and of taking cells out of a loaded bitmap into a surface or a SmallBitmap.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "gfx/extras/bmp_file.h"
#include "platform/bitmap_decode.h"
#include "tests/support/bmp_writer.h"
#include "tests/gfx/extras/bmp_bytes.h"
#include "gfx/surface_for_test.h"

using namespace bmp_bytes;

namespace {

// A record that owns its pixels for the length of a test. Header fields are packed as in the file, so the
// tests read them by value (unary plus), never by reference.
struct LoadedBitmap {
  BmpFileData data{};
  ~LoadedBitmap() { FreeBmpFile(&data); }
  int32_t Load(const std::vector<uint8_t>& bytes, const std::string& name) {
    return ReadBmpFile(&data, Write(name, bytes).c_str());
  }
};

}  // namespace

TEST(ReadBmpFile, ReadsHeadersPaletteAndTurnsRowsTopDown) {
  auto bytes = Make(5, 3, 8, Pattern(5, 3));
  bytes[kPaletteAt] = 10, bytes[kPaletteAt + 1] = 20, bytes[kPaletteAt + 2] = 30;
  LoadedBitmap bitmap;
  ASSERT_EQ(bitmap.Load(bytes, "eight_bit.bmp"), 1);
  EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 5);
  EXPECT_EQ(+bitmap.data.infoHeader.biHeight, 3);
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, Pattern(5, 3).data(), 15), 0);
  // Stored as blue, green, red: the record holds red, green, blue and the no-collapse flag.
  const PaletteEntry& first = bitmap.data.palette[0];
  EXPECT_EQ((std::vector<int>{first.red, first.green, first.blue, first.flags}), (std::vector<int>{30, 20, 10, 4}));
  const PaletteEntry& last = bitmap.data.palette[255];
  EXPECT_EQ((std::vector<int>{last.red, last.green, last.blue, last.flags}), (std::vector<int>{255 ^ 0x55, 0, 255, 4}));
}

TEST(ReadBmpFile, TwentyFourBitRowsAreNineBytesAndTheFilesLastRowBecomesRowZero) {
  std::vector<uint8_t> topDown(18);
  for (size_t i = 0; i < topDown.size(); ++i) topDown[i] = static_cast<uint8_t>(i + 1);
  const auto bytes = Make(3, 2, 24, topDown);
  LoadedBitmap bitmap;
  ASSERT_EQ(bitmap.Load(bytes, "rgb.bmp"), 1);
  // The file's last row is 9 pixel bytes and 3 of padding.
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, bytes.data() + bytes.size() - 12, 9), 0);
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, topDown.data(), 18), 0) << "colour order untouched";
}

TEST(ReadBmpFile, ZeroImageSizeIsWorkedOutAndASecondLoadReplacesThePixels) {
  auto bytes = Make(4, 2, 16, std::vector<uint8_t>(16, 0xAB));
  Put32(bytes, kSizeImageAt, 0);
  LoadedBitmap bitmap;
  ASSERT_EQ(bitmap.Load(bytes, "sizeless.bmp"), 1);
  EXPECT_EQ(bitmap.data.pixels[15], 0xAB);
  // The first buffer is freed (the sanitizer build reports it otherwise).
  ASSERT_EQ(bitmap.Load(Make(2, 2, 8, std::vector<uint8_t>(4, 2)), "second.bmp"), 1);
  EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 2);
  EXPECT_EQ(bitmap.data.pixels[3], 2);
  EXPECT_EQ(FreeBmpFile(&bitmap.data), 1);
  EXPECT_EQ(bitmap.data.pixels, nullptr);
}

TEST(ReadBmpFile, EightBitFilesWithAShortColourTableLoadTheirPixels) {
  // A colour table of 16 entries (biClrUsed 16): the pixels follow it, well before 1024 palette bytes end.
  for (auto [width, height] : {std::pair{10, 10}, std::pair{40, 30}}) {
    auto bytes = Make(width, height, 8, Pattern(width, height));
    bytes.erase(bytes.begin() + kPaletteAt + 16 * 4, bytes.begin() + kPaletteAt + 1024);
    Put32(bytes, 46, 16);
    Put32(bytes, 10, kPaletteAt + 16 * 4);
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    LoadedBitmap bitmap;
    ASSERT_EQ(bitmap.Load(bytes, "short_table.bmp"), 1) << width << " x " << height;
    EXPECT_EQ(std::memcmp(bitmap.data.pixels, Pattern(width, height).data(), size_t(width) * height), 0);
    const PaletteEntry& entry = bitmap.data.palette[15];
    EXPECT_EQ((std::vector<int>{entry.red, entry.green, entry.blue, entry.flags}),
              (std::vector<int>{15 ^ 0x55, 240, 15, 4}));
    // The same file cut short by one byte no longer holds its table and pixels.
    bytes.pop_back();
    EXPECT_EQ(bitmap.Load(bytes, "short_table_cut.bmp"), 0);
  }
}

TEST(ReadBmpFile, RefusesMissingFilesWrongTypesAndBitCountsWithTheFileClosed) {
  LoadedBitmap bitmap;
  EXPECT_EQ(ReadBmpFile(&bitmap.data, "no_such_file.bmp"), 0);
  const size_t filesBefore = OpenFileCount();
  auto wrongType = Make(2, 2, 8, Pattern(2, 2));
  wrongType[0] = 'M', wrongType[1] = 'B';
  EXPECT_EQ(bitmap.Load(wrongType, "wrong_type.bmp"), 0);
  EXPECT_EQ(bitmap.Load({'B', 'M'}, "two_bytes.bmp"), 0);
  for (uint16_t bits : {1, 4, 32}) {
    auto bytes = Make(8, 2, 8, Pattern(8, 2));
    Put16(bytes, kBitCountAt, bits);
    EXPECT_EQ(bitmap.Load(bytes, "bit_count.bmp"), 0) << bits << " bits";
  }
  EXPECT_EQ(OpenFileCount(), filesBefore);
  EXPECT_EQ(bitmap.data.pixels, nullptr);
}

TEST(ReadBmpFile, RefusesSizesThatDisagreeAndKeepsThePreviousPicture) {
  LoadedBitmap bitmap;
  ASSERT_EQ(bitmap.Load(Make(3, 3, 8, Pattern(3, 3)), "good.bmp"), 1);
  const uint8_t* kept = bitmap.data.pixels;
  const struct {
    size_t at;
    uint32_t value;
    const char* why;
  } cases[] = {
      {kWidthAt, 0, "zero width"},
      {kHeightAt, 0, "zero height"},
      {kWidthAt, 0xFFFFFFFF, "negative width"},
      {kHeightAt, static_cast<uint32_t>(-3), "top-down (negative) height"},
      {kSizeImageAt, 5000, "image larger than the file"},
      {kSizeImageAt, 1090, "image overlapping the headers"},
      {kSizeImageAt, 0xFFFFFFFF, "image size beyond any file"},
      {kSizeImageAt, 4, "rows that do not fit in the image"},
      {kWidthAt, 100000, "rows wider than the image"},
      {kHeightAt, 0x7FFFFFFF, "absurd height"},
  };
  for (const auto& bad : cases) {
    auto bytes = Make(4, 4, 8, Pattern(4, 4));
    Put32(bytes, bad.at, bad.value);
    EXPECT_EQ(bitmap.Load(bytes, "bad_size.bmp"), 0) << bad.why;
    EXPECT_EQ(bitmap.data.pixels, kept) << bad.why;
    EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 3) << bad.why;
  }
}

TEST(ReadBmpFile, RefusesTruncatedAndOversizedFiles) {
  const auto whole = Make(4, 4, 8, Pattern(4, 4));
  LoadedBitmap bitmap;
  for (size_t length : {size_t{13}, size_t{30}, size_t{54}, size_t{600}, whole.size() - 1})
    EXPECT_EQ(bitmap.Load(std::vector<uint8_t>(whole.begin(), whole.begin() + length), "cut.bmp"), 0) << length;
  // Pixel data over 64 MiB is refused before any allocation, even when the file is that long.
  auto huge = Make(4, 4, 8, Pattern(4, 4));
  Put32(huge, kWidthAt, 8192);
  Put32(huge, kHeightAt, 8193);
  Put32(huge, kSizeImageAt, 8192u * 8193u);
  huge.resize(huge.size() + 8192u * 8193u);
  EXPECT_EQ(bitmap.Load(huge, "huge.bmp"), 0);
  std::filesystem::remove("huge.bmp");
  EXPECT_EQ(bitmap.data.pixels, nullptr);
}

namespace {

// The colour of pixel (x, y) as the reader holds it: an index into the palette at 8 bits, X1R5G5B5 at 16 (each
// channel in the top 5 bits of its byte), blue, green, red at 24.
uint32_t ReaderRgb(const BmpFileData& bitmap, int32_t x, int32_t y) {
  const int32_t bytes = bitmap.infoHeader.biBitCount / 8;
  const uint8_t* at = bitmap.pixels + (static_cast<size_t>(y) * bitmap.infoHeader.biWidth + x) * bytes;
  if (bytes == 1) return (bitmap.palette[*at].red << 16) | (bitmap.palette[*at].green << 8) | bitmap.palette[*at].blue;
  if (bytes == 3) return (at[2] << 16) | (at[1] << 8) | at[0];
  const uint32_t v = at[0] | (at[1] << 8);
  return (((v >> 10) & 31) << 19) | (((v >> 5) & 31) << 11) | ((v & 31) << 3);
}

}  // namespace

// Widths whose rows need 1 to 3 bytes of padding, and some that need none, read as SDL's decoder reads the file.
TEST(ReadBmpFile, RowsOfAnyWidthReadAsSdlDecodesTheSameFile) {
  using bmp_test::Variant;
  for (Variant variant : {Variant::Bits8, Variant::Bits16x555, Variant::Bits24}) {
    for (int32_t width : {1, 2, 3, 4, 5, 6, 7, 13}) {
      bmp_test::Picture picture{width, 5, {}};
      for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < width; ++x) picture.rgb.push_back(bmp_test::TestColour((5 * x + 3 * y) % 64));
      const std::vector<uint8_t> bytes = bmp_test::EncodeBmp(picture, variant);
      platform::DecodedPicture decoded;
      std::string error;
      ASSERT_TRUE(platform::DecodeBitmapBytes(bytes.data(), bytes.size(), &decoded, &error)) << error;
      LoadedBitmap bitmap;
      ASSERT_EQ(bitmap.Load(bytes, "odd_width.bmp"), 1) << width;
      // At 16 bits only the top 5 bits of each of SDL's channels come from the file.
      const uint32_t kept = variant == Variant::Bits16x555 ? 0xF8F8F8 : 0xFFFFFF;
      int32_t differing = 0;
      for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < width; ++x)
          differing += ReaderRgb(bitmap.data, x, y) != (decoded.rgb[static_cast<size_t>(y) * width + x] & kept);
      EXPECT_EQ(differing, 0) << bitmap.data.infoHeader.biBitCount << " bits, width " << width;
    }
  }
}

TEST(ReadBmpFile, RefusesCompressedFilesWithTheFileClosedAndTheRecordKept) {
  LoadedBitmap bitmap;
  ASSERT_EQ(bitmap.Load(Make(3, 3, 8, Pattern(3, 3)), "kept.bmp"), 1);
  const uint8_t* kept = bitmap.data.pixels;
  const size_t filesBefore = OpenFileCount();
  const bmp_test::Picture picture = bmp_test::MakePicture(8, 4, 16);
  EXPECT_EQ(bitmap.Load(bmp_test::EncodeBmp(picture, bmp_test::Variant::Rle8), "rle8.bmp"), 0);
  EXPECT_EQ(bitmap.Load(bmp_test::EncodeBmp(picture, bmp_test::Variant::Bits16x565), "bit_fields.bmp"), 0);
  // Laid out as uncompressed rows but marked as run lengths of 4 bits: refused all the same.
  auto bytes = Make(8, 2, 8, Pattern(8, 2));
  Put32(bytes, kCompressionAt, 2);
  EXPECT_EQ(bitmap.Load(bytes, "rle4.bmp"), 0);
  EXPECT_EQ(OpenFileCount(), filesBefore);
  EXPECT_EQ(bitmap.data.pixels, kept);
  EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 3);
  EXPECT_EQ(+bitmap.data.infoHeader.biCompression, 0u);
}

TEST(ReverseRowOrder, TurnsRowsAroundAndRefusesNonsense) {
  std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(ReverseRowOrder(rows.data(), 2, 3), 1);
  EXPECT_EQ(ReverseRowOrder(rows.data(), 2, -1), 0);
  EXPECT_EQ(rows, (std::vector<uint8_t>{5, 6, 3, 4, 1, 2}));
}

namespace {

// 16 x 16 cells on a grid of one-pixel lines: two cells across, one down.
struct CellSheet : ::testing::Test {
  LoadedBitmap sheet;
  void SetUp() override { ASSERT_EQ(sheet.Load(Make(35, 18, 8, Pattern(35, 18)), "sheet.bmp"), 1); }
};

}  // namespace

TEST_F(CellSheet, SurfaceCellsStartPastTheGridLinesAndMustLieInside) {
  Surface* surface = CreateSurfaceForTest(16, 16, 8);
  for (auto [cx, cy] : {std::pair{2, 0}, {0, 1}, {-1, 0}, {0x7FFFFFFF, 0x7FFFFFFF}})
    EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, cx, cy), 0) << cx << "," << cy;
  for (uint8_t b : surface->storage) ASSERT_EQ(b, 0);
  // Cell (1, 0) starts at pixel (18, 1).
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 1, 0), 1);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(surface->pixels[y * surface->pitch + x], PatternAt(18 + x, 1 + y));
  Release(surface);
  // A surface whose rows are padded still gets an upright picture.
  Surface* padded = CreateSurfaceForTest(13, 16, 8);
  ASSERT_GT(padded->pitch, 13);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, padded, 0, 0), 1);
  EXPECT_EQ(padded->pixels[5 * padded->pitch + 2], PatternAt(3, 6));
  Release(padded);
}

TEST_F(CellSheet, SmallBitmapCutsCellsAndPixelPositionsInsideOnly) {
  SmallBitmap image;
  ASSERT_EQ(CreateSmallBitmap(&image, 4, 2, 16, 16), 1);
  EXPECT_EQ(image.numBytes, 256);
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 1, 0, 0), 1);
  EXPECT_EQ(image.attr, SmallBitmapLoaded);
  EXPECT_EQ(image.buffer[0], PatternAt(18, 1));
  EXPECT_EQ(image.buffer[15 * 16 + 15], PatternAt(33, 16));
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 19, 2, 1), 1) << "the last pixel position that fits";
  EXPECT_EQ(image.buffer[16 + 1], PatternAt(20, 3));
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 20, 2, 1), 0);
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 19, 3, 1), 0);
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 2, 0, 0), 0);
  EXPECT_EQ(image.buffer[16 + 1], PatternAt(20, 3)) << "a refused cut copies nothing";
  EXPECT_EQ(DestroySmallBitmap(&image), 1);
  EXPECT_EQ(image.buffer, nullptr);
  EXPECT_EQ(DestroySmallBitmap(&image), 0);
  EXPECT_EQ(CreateSmallBitmap(&image, 0, 0, 0, 5), 0);
  EXPECT_EQ(CreateSmallBitmap(&image, 0, 0, 70000, 70000), 0);
}

TEST(SmallBitmap, DrawsOnlyAfterACutAndSkipsZeroesWhenTransparent) {
  LoadedBitmap source;
  ASSERT_EQ(source.Load(Make(3, 2, 8, {0, 5, 6, 0, 7, 0}), "small.bmp"), 1);
  SmallBitmap image;
  ASSERT_EQ(CreateSmallBitmap(&image, 1, 1, 3, 2), 1);
  std::vector<uint8_t> area(5 * 4, 9);
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 1), 0) << "nothing loaded yet";
  ASSERT_EQ(CutSmallBitmap(&image, &source.data, 0, 0, 1), 1);
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 1), 1);
  EXPECT_EQ(area, (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 9, 5, 6, 9, 9, 9, 7, 9, 9, 9, 9, 9, 9, 9}));
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 0), 1);
  EXPECT_EQ(area, (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 0, 5, 6, 9, 9, 0, 7, 0, 9, 9, 9, 9, 9, 9}));
  DestroySmallBitmap(&image);
}
