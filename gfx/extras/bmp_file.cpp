// Reading a BMP file by hand: headers, the 8-bit palette and the pixel rows (padding dropped), turned top-down.
// Every size the file states is checked against the others and against the file before anything is read or written.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "gfx/extras/bmp_file.h"
#include "platform/file_system.h"

namespace {

using platform::File;

struct FileCloser {
  void operator()(File* file) const { platform::CloseFile(file); }
};
using FileHandle = std::unique_ptr<File, FileCloser>;

uint16_t Little16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }
uint32_t Little32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) | (static_cast<uint32_t>(at[2]) << 16) |
         (static_cast<uint32_t>(at[3]) << 24);
}

bool ReadExactly(File* file, void* into, size_t count) { return platform::ReadFromFile(file, into, count) == count; }

bool ReadFileHeader(File* file, BitmapFileHeader* header) {
  uint8_t raw[sizeof(BitmapFileHeader)];
  if (!ReadExactly(file, raw, sizeof raw)) return false;
  header->bfType = Little16(raw);
  header->bfSize = Little32(raw + 2);
  header->bfReserved1 = Little16(raw + 6);
  header->bfReserved2 = Little16(raw + 8);
  header->bfOffBits = Little32(raw + 10);
  return true;
}

bool ReadInfoHeader(File* file, BitmapInfoHeader* header) {
  uint8_t raw[sizeof(BitmapInfoHeader)];
  if (!ReadExactly(file, raw, sizeof raw)) return false;
  header->biSize = Little32(raw);
  header->biWidth = static_cast<int32_t>(Little32(raw + 4));
  header->biHeight = static_cast<int32_t>(Little32(raw + 8));
  header->biPlanes = Little16(raw + 12);
  header->biBitCount = Little16(raw + 14);
  header->biCompression = Little32(raw + 16);
  header->biSizeImage = Little32(raw + 20);
  header->biXPelsPerMeter = static_cast<int32_t>(Little32(raw + 24));
  header->biYPelsPerMeter = static_cast<int32_t>(Little32(raw + 28));
  header->biClrUsed = Little32(raw + 32);
  header->biClrImportant = Little32(raw + 36);
  return true;
}

// KEEP: 1024 bytes are read whatever the table's length (ReadBmpFile.EightBitFilesWithAShortColourTable...).
// The file stores blue, green, red, reserved; the record holds red, green, blue and the no-collapse flag.
// A small file with a short table may end before the 1024 bytes, and the bytes it does not hold count as zero.
void ReadPalette(File* file, PaletteEntry* palette) {
  uint8_t raw[256 * 4] = {};
  [[maybe_unused]] const size_t got = platform::ReadFromFile(file, raw, sizeof raw);
  for (int i = 0; i < 256; ++i) {
    palette[i].red = raw[i * 4 + 2];
    palette[i].green = raw[i * 4 + 1];
    palette[i].blue = raw[i * 4];
    palette[i].flags = kPaletteFlagNoCollapse;
  }
}

// The bytes before the pixel data that the file must hold: both headers and, for 8 bits, the colour table,
// which has biClrUsed entries when that names fewer than 256 and 256 otherwise.
int64_t HeaderAndTableBytes(const BitmapInfoHeader& info) {
  const int64_t headers = static_cast<int64_t>(sizeof(BitmapFileHeader) + sizeof(BitmapInfoHeader));
  if (info.biBitCount != 8) return headers;
  const uint32_t entries = info.biClrUsed != 0 && info.biClrUsed < 256 ? info.biClrUsed : 256;
  return headers + 4 * static_cast<int64_t>(entries);
}

int64_t FileLength(File* file) {
  const int64_t here = platform::FilePosition(file);
  if (here < 0 || !platform::SeekFile(file, 0, platform::SeekFrom::End)) return -1;
  const int64_t length = platform::FilePosition(file);
  if (!platform::SeekFile(file, here, platform::SeekFrom::Start)) return -1;
  return length;
}

// Where the pixel rows are in the file and how they are laid out there and in memory.
struct PixelLayout {
  uint32_t imageBytes = 0;   // the file's tail that holds the rows
  uint32_t rowBytes = 0;     // one row in memory: width x bytes per pixel
  uint32_t paddedBytes = 0;  // one row in the file: rowBytes rounded up to a multiple of 4
};

// The layout of the pixel rows, or imageBytes 0 when the header's sizes disagree with each other or with the file:
// dimensions must be positive, the padded rows must fit in the stated image size (0 means "work it out from the
// dimensions"), and the image must fit in the file after the headers and colour table and stay under the size limit.
PixelLayout CheckedLayout(const BitmapInfoHeader& info, int64_t fileLength, int64_t headerBytes) {
  if (info.biWidth <= 0 || info.biHeight <= 0) return {};
  const uint64_t rowBytes = static_cast<uint64_t>(info.biWidth) * (info.biBitCount / 8);
  const uint64_t paddedBytes = (rowBytes + 3) / 4 * 4;
  const uint64_t rowsBytes = paddedBytes * static_cast<uint64_t>(info.biHeight);
  const uint64_t imageBytes = info.biSizeImage != 0 ? info.biSizeImage : rowsBytes;
  if (rowsBytes > imageBytes || imageBytes > kBmpMaxImageBytes) return {};
  if (fileLength < headerBytes || imageBytes > static_cast<uint64_t>(fileLength - headerBytes)) return {};
  return {static_cast<uint32_t>(imageBytes), static_cast<uint32_t>(rowBytes), static_cast<uint32_t>(paddedBytes)};
}

// Reads the rows one by one into pixels, packed, and skips the up to three padding bytes after each.
bool ReadRows(File* file, const PixelLayout& layout, int32_t rows, uint8_t* pixels) {
  uint8_t padding[3];
  const size_t skip = layout.paddedBytes - layout.rowBytes;
  for (int32_t row = 0; row < rows; ++row) {
    if (!ReadExactly(file, pixels + static_cast<size_t>(row) * layout.rowBytes, layout.rowBytes)) return false;
    if (skip > 0 && !ReadExactly(file, padding, skip)) return false;
  }
  return true;
}

}  // namespace

int32_t ReverseRowOrder(uint8_t* buffer, int32_t bytesPerRow, int32_t rows) {
  if (buffer == nullptr || bytesPerRow < 0 || rows < 0) return 0;
  const size_t rowSize = static_cast<size_t>(bytesPerRow);
  const size_t total = rowSize * static_cast<size_t>(rows);
  if (total == 0) return 1;
  std::unique_ptr<uint8_t[]> work(new (std::nothrow) uint8_t[total]);
  if (!work) return 0;
  std::memcpy(work.get(), buffer, total);
  for (size_t i = 0; i < static_cast<size_t>(rows); ++i)
    std::memcpy(buffer + (static_cast<size_t>(rows) - 1 - i) * rowSize, work.get() + i * rowSize, rowSize);
  return 1;
}

int32_t FreeBmpFile(BmpFileData* bitmap) {
  if (bitmap == nullptr) return 0;
  std::free(bitmap->pixels);
  bitmap->pixels = nullptr;
  return 1;
}

int32_t ReadBmpFile(BmpFileData* bitmap, const char* fileName) {
  if (bitmap == nullptr || fileName == nullptr) return 0;
  FileHandle file(platform::OpenFileForReading(fileName, platform::FileContent::Bytes));
  if (!file) return 0;

  // Headers and palette go into a copy first, so a refused file leaves the record (and its pixels) as they were
  // instead of pairing new headers with the old pixel buffer.
  BmpFileData loaded = *bitmap;
  if (!ReadFileHeader(file.get(), &loaded.fileHeader) || loaded.fileHeader.bfType != kBmpTypeWord) return 0;
  if (!ReadInfoHeader(file.get(), &loaded.infoHeader)) return 0;
  const uint16_t bitCount = loaded.infoHeader.biBitCount;
  if (bitCount == 8) ReadPalette(file.get(), loaded.palette);
  if (bitCount != 8 && bitCount != 16 && bitCount != 24) return 0;

  // Compressed pixel data (run lengths, bit fields) is not read: its bytes are no pixels.
  if (loaded.infoHeader.biCompression != 0) return 0;

  // KEEP: the pixels are the file's tail whatever the offset says, so a file with a wrong offset loads.
  const int64_t headerBytes = HeaderAndTableBytes(loaded.infoHeader);
  const PixelLayout layout = CheckedLayout(loaded.infoHeader, FileLength(file.get()), headerBytes);
  if (layout.imageBytes == 0 ||
      !platform::SeekFile(file.get(), -static_cast<int64_t>(layout.imageBytes), platform::SeekFrom::End))
    return 0;
  const int32_t rows = loaded.infoHeader.biHeight;
  auto* pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(layout.rowBytes) * rows));
  if (pixels == nullptr) return 0;
  if (!ReadRows(file.get(), layout, rows, pixels)) {
    std::free(pixels);
    return 0;
  }
  file.reset();

  std::free(bitmap->pixels);
  *bitmap = loaded;
  bitmap->pixels = pixels;
  // KEEP: with no work buffer the rows stay bottom-up and the load still reports 1, the result callers test.
  ReverseRowOrder(pixels, static_cast<int32_t>(layout.rowBytes), rows);
  return 1;
}
