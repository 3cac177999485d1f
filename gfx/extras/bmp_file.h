// The hand-made BMP file reader and the cells taken out of a loaded bitmap: into a surface, into a sprite frame
// (see bob.h) or into a SmallBitmap, an 8-bit picture in memory drawn into any 8-bit pixel area.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

// The two headers exactly as a BMP file stores them: little-endian, packed.
#pragma pack(push, 1)
struct BitmapFileHeader {
  uint16_t bfType;  // "BM", 0x4D42
  uint32_t bfSize;
  uint16_t bfReserved1;
  uint16_t bfReserved2;
  uint32_t bfOffBits;
};

struct BitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BitmapFileHeader) == 14 && sizeof(BitmapInfoHeader) == 40, "BMP headers are packed");

inline constexpr uint16_t kBmpTypeWord = 0x4D42;
inline constexpr uint8_t kPaletteFlagNoCollapse = 4;
// Pixel data larger than this is refused as absurd.
inline constexpr uint32_t kBmpMaxImageBytes = 64u * 1024u * 1024u;

// A loaded bitmap file: headers as read, the palette of an 8-bit file (red, green, blue, flags) and the pixel
// rows top-down, each biWidth * bytes-per-pixel bytes with nothing between rows.
struct BmpFileData {
  BitmapFileHeader fileHeader;
  BitmapInfoHeader infoHeader;
  PaletteEntry palette[256];
  uint8_t* pixels;
};

// An 8-bit picture in memory, rows packed at its width. Its loaded bit's name is fixed by the library's design (no k).
inline constexpr int32_t SmallBitmapLoaded = 0x80;
struct SmallBitmap {
  int32_t state;
  int32_t attr;
  int32_t x, y;
  int32_t width, height;
  int32_t numBytes;
  uint8_t* buffer;
};

// Reads an 8-, 16- or 24-bit uncompressed bitmap file. Returns 1, or 0 for a missing file, a wrong type word, an
// unsupported bit count, compressed pixel data (biCompression not 0), or sizes that disagree with each other or the
// file (the record is then left as it was). A successful read replaces (and frees) any pixel buffer already in the
// record. The pixel data is the file's tail; each row there is padded to a multiple of 4 bytes, the padding dropped.
int32_t ReadBmpFile(BmpFileData* bitmap, const char* fileName);

// Frees the pixel buffer if there is one. Returns 1 (0 for a null record).
int32_t FreeBmpFile(BmpFileData* bitmap);

// Turns rows bottom-up into top-down (or back). Returns 1, or 0 when no work buffer could be had (buffer unchanged).
int32_t ReverseRowOrder(uint8_t* buffer, int32_t bytesPerRow, int32_t rows);

// 1 when the width x height cell at pixel (px, py) lies wholly inside the bitmap's pixels (row stride biWidth).
int32_t BmpCellInside(const BmpFileData* bitmap, int64_t px, int64_t py, int32_t width, int32_t height);

// Copies cell (cx, cy) of an 8-bit bitmap, on a grid with one-pixel lines around the cells, into a surface whose
// size is the cell size. Returns 1, or 0 when the cell does not lie inside the bitmap or the surface cannot be locked.
int32_t CopyBitmapCellToSurface(BmpFileData* bitmap, Surface* surface, int32_t cx, int32_t cy);

// Allocates a zero-filled width x height picture placed at (x, y). Returns 1, or 0 (buffer null).
int32_t CreateSmallBitmap(SmallBitmap* image, int32_t x, int32_t y, int32_t width, int32_t height);

// Frees the buffer and zeroes the record. Returns 1, or 0 for a null record or one without a buffer.
int32_t DestroySmallBitmap(SmallBitmap* image);

// Copies a cell (mode 0: cell column and row; otherwise pixel coordinates) of an 8-bit bitmap into the picture.
// Returns 1, or 0 when the cell does not lie inside the bitmap or the picture has no buffer.
int32_t CutSmallBitmap(SmallBitmap* image, BmpFileData* bitmap, int32_t cx, int32_t cy, int32_t mode);

// Draws the picture at its (x, y) into an 8-bit pixel area; with transparent non-zero, 0 bytes are skipped.
// No clipping: the caller keeps it inside. Returns 1, or 0 when nothing was loaded into the picture.
int32_t DrawSmallBitmap(SmallBitmap* image, uint8_t* destBuffer, int32_t destPitch, int32_t transparent);
