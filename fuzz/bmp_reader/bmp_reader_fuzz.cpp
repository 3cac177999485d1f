// Fuzz target for the hand-made BMP reader: any bytes, read from a file, must load cleanly or be refused,
// and a loaded picture's cells must be taken out without reading past its pixels.
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "gfx/extras/bmp_file.h"

namespace {

std::string ScratchPath() { return "/tmp/tavo_fuzz_bmp_" + std::to_string(getpid()) + ".bmp"; }

bool WriteScratch(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool whole = size == 0 || std::fwrite(data, 1, size, file) == size;
  std::fclose(file);
  return whole;
}

// Cuts a few cells of a loaded bitmap, in cell and pixel mode, draws each into a buffer that holds it,
// and copies cells into surfaces of the cell's size.
void CutCells(BmpFileData* bitmap) {
  static uint8_t area[64 * 64];
  for (int32_t size : {1, 7, 16}) {
    SmallBitmap image{};
    if (!CreateSmallBitmap(&image, 0, 0, size, size)) continue;
    for (int32_t cell = -1; cell < 4; ++cell) {
      if (CutSmallBitmap(&image, bitmap, cell, cell / 2, 0)) DrawSmallBitmap(&image, area, 64, cell & 1);
      if (CutSmallBitmap(&image, bitmap, cell * 5, cell * 3, 1)) DrawSmallBitmap(&image, area, 64, 0);
    }
    DestroySmallBitmap(&image);
    Surface* surface = CreateSurfaceForTest(size, size, 8);
    if (surface == nullptr) continue;
    for (int32_t cell = -1; cell < 4; ++cell) CopyBitmapCellToSurface(bitmap, surface, cell, 3 - cell);
    Release(surface);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = ScratchPath();
  if (!WriteScratch(path, data, size)) return 0;
  BmpFileData bitmap{};
  if (ReadBmpFile(&bitmap, path.c_str())) {
    CutCells(&bitmap);
    // A second load into the same record replaces the first buffer.
    ReadBmpFile(&bitmap, path.c_str());
    FreeBmpFile(&bitmap);
  }
  return 0;
}
