// Fuzz target for the hand-made BMP reader: any bytes, read from a file, must load cleanly or be refused,
// and a loaded picture's cells must be taken out without reading past its pixels.
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#include "gfx/extras/bmp_file.h"
#include "gfx/surface_for_test.h"

namespace {

// The reader takes a file name, so each input goes into an in-memory file reached through /proc; a file on disk
// would make the run wait on the disk rather than on the reader.
struct ScratchFile {
  int fd = memfd_create("tavo_fuzz_bmp", 0);
  std::string path = "/proc/self/fd/" + std::to_string(fd);
};

bool WriteScratch(const ScratchFile& scratch, const uint8_t* data, size_t size) {
  if (scratch.fd < 0 || ftruncate(scratch.fd, 0) != 0) return false;
  return size == 0 || pwrite(scratch.fd, data, size, 0) == static_cast<ssize_t>(size);
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
  static const ScratchFile scratch;
  if (!WriteScratch(scratch, data, size)) return 0;
  const char* path = scratch.path.c_str();
  BmpFileData bitmap{};
  if (ReadBmpFile(&bitmap, path)) {
    CutCells(&bitmap);
    // A second load into the same record replaces the first buffer.
    ReadBmpFile(&bitmap, path);
    FreeBmpFile(&bitmap);
  }
  return 0;
}
