// Rules of the BMP reader (headers, palette, rows turned top-down, refusals that leave the record as it was),
// and of taking cells out of a loaded bitmap into a surface or a SmallBitmap.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/extras/bmp_file.h"
#include "tests/extras_first/bmp_bytes.h"

using namespace bmp_bytes;

namespace {

// A record that owns its pixels for the length of a test.
struct LoadedBitmap {
  BmpFileData data{};
  ~LoadedBitmap() { FreeBmpFile(&data); }
};

// Loads the bytes through a file; the record keeps whatever a refusal leaves.
int32_t LoadBytes(LoadedBitmap& bitmap, const std::vector<uint8_t>& bytes, const std::string& name) {
  return ReadBmpFile(&bitmap.data, Write(name, bytes).c_str());
}

}  // namespace

// Header fields are packed as in the file; the tests read them by value (unary plus), never by reference.
TEST(ReadBmpFile, ReadsHeadersPaletteAndTurnsRowsTopDown) {
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, Make(5, 3, 8, Pattern(5, 3)), "eight_bit.bmp"), 1);
  EXPECT_EQ(+bitmap.data.fileHeader.bfType, 0x4D42);
  EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 5);
  EXPECT_EQ(+bitmap.data.infoHeader.biHeight, 3);
  EXPECT_EQ(+bitmap.data.infoHeader.biBitCount, 8);
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, Pattern(5, 3).data(), 15), 0);
  // Stored as blue, green, red: the record holds red, green, blue and the no-collapse flag.
  for (int i : {0, 1, 200, 255}) {
    EXPECT_EQ(bitmap.data.palette[i].red, i ^ 0x55);
    EXPECT_EQ(bitmap.data.palette[i].green, 255 - i);
    EXPECT_EQ(bitmap.data.palette[i].blue, i);
    EXPECT_EQ(bitmap.data.palette[i].flags, 4);
  }
}

TEST(ReadBmpFile, PaletteEntryStoredAsTenTwentyThirty) {
  auto bytes = Make(2, 2, 8, Pattern(2, 2));
  bytes[kPaletteAt] = 10;
  bytes[kPaletteAt + 1] = 20;
  bytes[kPaletteAt + 2] = 30;
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, bytes, "palette.bmp"), 1);
  EXPECT_EQ(bitmap.data.palette[0].red, 30);
  EXPECT_EQ(bitmap.data.palette[0].green, 20);
  EXPECT_EQ(bitmap.data.palette[0].blue, 10);
  EXPECT_EQ(bitmap.data.palette[0].flags, 4);
}

TEST(ReadBmpFile, TwentyFourBitRowsAreNineBytesAndTheFilesLastRowBecomesRowZero) {
  std::vector<uint8_t> topDown(18);
  for (size_t i = 0; i < topDown.size(); ++i) topDown[i] = static_cast<uint8_t>(i + 1);
  const auto bytes = Make(3, 2, 24, topDown);
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, bytes, "rgb.bmp"), 1);
  // The file's last nine bytes (its top row, stored last) come first, colour order untouched.
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, bytes.data() + bytes.size() - 9, 9), 0);
  EXPECT_EQ(std::memcmp(bitmap.data.pixels, topDown.data(), 18), 0);
}

TEST(ReadBmpFile, ZeroImageSizeIsWorkedOutFromTheDimensions) {
  auto bytes = Make(4, 2, 16, std::vector<uint8_t>(16, 0xAB));
  Put32(bytes, kSizeImageAt, 0);
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, bytes, "sizeless.bmp"), 1);
  EXPECT_EQ(bitmap.data.pixels[15], 0xAB);
}

TEST(ReadBmpFile, LoadingTwiceReplacesThePixels) {
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, Make(4, 4, 8, std::vector<uint8_t>(16, 1)), "first.bmp"), 1);
  ASSERT_EQ(LoadBytes(bitmap, Make(2, 2, 8, std::vector<uint8_t>(4, 2)), "second.bmp"), 1);
  EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 2);
  EXPECT_EQ(bitmap.data.pixels[3], 2);
  // The first buffer is freed (the sanitizer build reports it otherwise); freeing twice is harmless.
  EXPECT_EQ(FreeBmpFile(&bitmap.data), 1);
  EXPECT_EQ(bitmap.data.pixels, nullptr);
  EXPECT_EQ(FreeBmpFile(&bitmap.data), 1);
}

TEST(ReadBmpFile, RefusesMissingFilesAndWrongTypeWords) {
  LoadedBitmap bitmap;
  EXPECT_EQ(ReadBmpFile(&bitmap.data, "no_such_file.bmp"), 0);
  EXPECT_EQ(ReadBmpFile(&bitmap.data, nullptr), 0);
  EXPECT_EQ(ReadBmpFile(nullptr, "no_such_file.bmp"), 0);
  auto bytes = Make(2, 2, 8, Pattern(2, 2));
  bytes[0] = 'M';
  bytes[1] = 'B';
  const size_t filesBefore = OpenFileCount();
  EXPECT_EQ(LoadBytes(bitmap, bytes, "wrong_type.bmp"), 0);
  EXPECT_EQ(OpenFileCount(), filesBefore);
  EXPECT_EQ(bitmap.data.pixels, nullptr);
  // Only the type word is there: still a clean refusal.
  EXPECT_EQ(LoadBytes(bitmap, {'X', 'Y'}, "two_bytes.bmp"), 0);
}

TEST(ReadBmpFile, RefusesUnsupportedBitCountsWithTheFileClosed) {
  for (uint16_t bits : {1, 4, 32}) {
    auto bytes = Make(8, 2, 8, Pattern(8, 2));
    Put16(bytes, kBitCountAt, bits);
    LoadedBitmap bitmap;
    const size_t filesBefore = OpenFileCount();
    EXPECT_EQ(LoadBytes(bitmap, bytes, "bit_count.bmp"), 0) << bits << " bits";
    EXPECT_EQ(OpenFileCount(), filesBefore);
    EXPECT_EQ(bitmap.data.pixels, nullptr);
  }
}

TEST(ReadBmpFile, RefusesSizesThatDisagreeAndKeepsThePreviousPicture) {
  LoadedBitmap bitmap;
  ASSERT_EQ(LoadBytes(bitmap, Make(3, 3, 8, Pattern(3, 3)), "good.bmp"), 1);
  const uint8_t* kept = bitmap.data.pixels;
  struct Bad {
    size_t at;
    uint32_t value;
    const char* why;
  };
  const Bad cases[] = {
      {kWidthAt, 0, "zero width"},
      {kHeightAt, 0, "zero height"},
      {kWidthAt, 0xFFFFFFFF, "negative width"},
      {kHeightAt, static_cast<uint32_t>(-3), "top-down (negative) height"},
      {kSizeImageAt, 5000, "image larger than the file"},
      {kSizeImageAt, 0xFFFFFFFF, "image size beyond any file"},
      {kSizeImageAt, 4, "rows that do not fit in the image"},
      {kWidthAt, 100000, "rows wider than the image"},
      {kHeightAt, 0x7FFFFFFF, "absurd height"},
  };
  for (const Bad& bad : cases) {
    auto bytes = Make(4, 4, 8, Pattern(4, 4));
    Put32(bytes, bad.at, bad.value);
    EXPECT_EQ(LoadBytes(bitmap, bytes, "bad_size.bmp"), 0) << bad.why;
    EXPECT_EQ(bitmap.data.pixels, kept) << bad.why;
    EXPECT_EQ(+bitmap.data.infoHeader.biWidth, 3) << bad.why;
  }
}

TEST(ReadBmpFile, RefusesTruncatedAndOversizedFiles) {
  const auto whole = Make(4, 4, 8, Pattern(4, 4));
  LoadedBitmap bitmap;
  for (size_t length : {size_t{13}, size_t{30}, size_t{54}, size_t{600}, whole.size() - 1}) {
    EXPECT_EQ(LoadBytes(bitmap, std::vector<uint8_t>(whole.begin(), whole.begin() + length), "cut.bmp"), 0)
        << length << " bytes";
    EXPECT_EQ(bitmap.data.pixels, nullptr);
  }
  // Pixel data over 64 MiB is refused before any allocation, even when the file is that long.
  auto huge = Make(4, 4, 8, Pattern(4, 4));
  Put32(huge, kWidthAt, 8192);
  Put32(huge, kHeightAt, 8193);
  Put32(huge, kSizeImageAt, 8192u * 8193u);
  huge.resize(huge.size() + 8192u * 8193u);
  EXPECT_EQ(LoadBytes(bitmap, huge, "huge.bmp"), 0);
  std::filesystem::remove("huge.bmp");
}

TEST(ReverseRowOrder, TurnsRowsAroundAndRefusesNonsense) {
  std::vector<uint8_t> rows = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(ReverseRowOrder(rows.data(), 2, 3), 1);
  EXPECT_EQ(rows, (std::vector<uint8_t>{5, 6, 3, 4, 1, 2}));
  EXPECT_EQ(ReverseRowOrder(rows.data(), 2, -1), 0);
  EXPECT_EQ(ReverseRowOrder(nullptr, 2, 3), 0);
  EXPECT_EQ(rows, (std::vector<uint8_t>{5, 6, 3, 4, 1, 2}));
}

namespace {

// 16 x 16 cells on a grid of one-pixel lines: two cells across, one down.
struct CellSheet : ::testing::Test {
  LoadedBitmap sheet;
  void SetUp() override { ASSERT_EQ(LoadBytes(sheet, Make(35, 18, 8, Pattern(35, 18)), "sheet.bmp"), 1); }
};

}  // namespace

TEST_F(CellSheet, SurfaceCellOneZeroStartsAtPixelEighteenOne) {
  Surface* surface = CreateSurfaceForTest(16, 16, 8);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 1, 0), 1);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      ASSERT_EQ(surface->pixels[y * surface->pitch + x], PatternAt(18 + x, 1 + y)) << x << "," << y;
  Release(surface);
}

TEST_F(CellSheet, RowsFollowThePitchOfAPaddedSurface) {
  Surface* surface = CreateSurfaceForTest(13, 16, 8);
  ASSERT_NE(surface, nullptr);
  ASSERT_GT(surface->pitch, 13);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 0, 0), 1);
  EXPECT_EQ(surface->pixels[5 * surface->pitch + 2], PatternAt(3, 6));
  Release(surface);
}

TEST_F(CellSheet, CellsOutsideTheBitmapAreRefusedWithNothingCopied) {
  Surface* surface = CreateSurfaceForTest(16, 16, 8);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 2, 0), 0);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 0, 1), 0);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, -1, 0), 0);
  EXPECT_EQ(CopyBitmapCellToSurface(&sheet.data, surface, 0x7FFFFFFF, 0x7FFFFFFF), 0);
  for (uint8_t b : surface->storage) ASSERT_EQ(b, 0);
  BmpFileData empty{};
  EXPECT_EQ(CopyBitmapCellToSurface(&empty, surface, 0, 0), 0);
  Release(surface);
}

TEST_F(CellSheet, SmallBitmapCutsCellsAndPixelPositions) {
  SmallBitmap image;
  ASSERT_EQ(CreateSmallBitmap(&image, 4, 2, 16, 16), 1);
  EXPECT_EQ(image.state, 1);
  EXPECT_EQ(image.numBytes, 256);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(image.buffer[i], 0);
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 1, 0, 0), 1);
  EXPECT_EQ(image.attr, SmallBitmapLoaded);
  EXPECT_EQ(image.buffer[0], PatternAt(18, 1));
  EXPECT_EQ(image.buffer[15 * 16 + 15], PatternAt(33, 16));
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 19, 2, 1), 1);
  EXPECT_EQ(image.buffer[16 + 1], PatternAt(20, 3));
  // The last pixel position that still fits, and the first that does not.
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 20, 3, 1), 0);
  EXPECT_EQ(CutSmallBitmap(&image, &sheet.data, 2, 0, 0), 0);
  EXPECT_EQ(image.buffer[16 + 1], PatternAt(20, 3)) << "a refused cut copies nothing";
  EXPECT_EQ(CutSmallBitmap(nullptr, &sheet.data, 0, 0, 0), 0);
  EXPECT_EQ(DestroySmallBitmap(&image), 1);
  EXPECT_EQ(image.buffer, nullptr);
  EXPECT_EQ(image.state, 0);
  EXPECT_EQ(DestroySmallBitmap(&image), 0);
}

TEST(SmallBitmap, DrawsOnlyAfterACutAndSkipsZeroesWhenTransparent) {
  LoadedBitmap source;
  std::vector<uint8_t> pixels = {0, 5, 6, 0, 7, 0};  // 3 x 2
  ASSERT_EQ(LoadBytes(source, Make(3, 2, 8, pixels), "small.bmp"), 1);
  SmallBitmap image;
  ASSERT_EQ(CreateSmallBitmap(&image, 1, 1, 3, 2), 1);
  std::vector<uint8_t> area(5 * 4, 9);
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 1), 0) << "nothing loaded yet";
  EXPECT_EQ(area, std::vector<uint8_t>(20, 9));
  ASSERT_EQ(CutSmallBitmap(&image, &source.data, 0, 0, 1), 1);
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 1), 1);
  EXPECT_EQ(area, (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 9, 5, 6, 9, 9, 9, 7, 9, 9, 9, 9, 9, 9, 9}));
  EXPECT_EQ(DrawSmallBitmap(&image, area.data(), 5, 0), 1);
  EXPECT_EQ(area, (std::vector<uint8_t>{9, 9, 9, 9, 9, 9, 0, 5, 6, 9, 9, 0, 7, 0, 9, 9, 9, 9, 9, 9}));
  DestroySmallBitmap(&image);
}

TEST(SmallBitmap, RefusesEmptyOrOverflowingSizes) {
  SmallBitmap image;
  EXPECT_EQ(CreateSmallBitmap(&image, 0, 0, 0, 5), 0);
  EXPECT_EQ(image.buffer, nullptr);
  EXPECT_EQ(CreateSmallBitmap(&image, 0, 0, 70000, 70000), 0);
  EXPECT_EQ(CreateSmallBitmap(nullptr, 0, 0, 4, 4), 0);
}
