// Cells out of a loaded bitmap: into a surface and into a SmallBitmap, and drawing a SmallBitmap into 8-bit memory.
// A cell must lie wholly inside the bitmap's pixels; one that does not is refused before anything is copied.
#include <cstdlib>
#include <cstring>

#include "gfx/display.h"
#include "gfx/extras/bmp_file.h"

namespace {

// The pixel origin of cell (cx, cy) on a grid of width x height cells with one-pixel lines around each cell.
int64_t CellOrigin(int32_t cell, int32_t size) {
  return static_cast<int64_t>(cell) * (static_cast<int64_t>(size) + 1) + 1;
}

// Copies rows of `width` bytes from the bitmap (stride biWidth) to `destination` (stride destinationStride).
void CopyCellRows(const BmpFileData* bitmap, int64_t px, int64_t py, int32_t width, int32_t height,
                  uint8_t* destination, int32_t destinationStride) {
  const int64_t stride = bitmap->infoHeader.biWidth;
  const uint8_t* source = bitmap->pixels + py * stride + px;
  for (int32_t row = 0; row < height; ++row)
    std::memcpy(destination + static_cast<intptr_t>(row) * destinationStride, source + row * stride,
                static_cast<size_t>(width));
}

}  // namespace

int32_t BmpCellInside(const BmpFileData* bitmap, int64_t px, int64_t py, int32_t width, int32_t height) {
  if (bitmap == nullptr || bitmap->pixels == nullptr || width < 0 || height < 0) return 0;
  const int64_t bitmapWidth = bitmap->infoHeader.biWidth;
  const int64_t bitmapHeight = bitmap->infoHeader.biHeight;
  return px >= 0 && py >= 0 && px + width <= bitmapWidth && py + height <= bitmapHeight;
}

int32_t CopyBitmapCellToSurface(BmpFileData* bitmap, Surface* surface, int32_t cx, int32_t cy) {
  if (surface == nullptr) return 0;
  const int32_t cellWidth = surface->width, cellHeight = surface->height;
  const int64_t px = CellOrigin(cx, cellWidth), py = CellOrigin(cy, cellHeight);
  if (!BmpCellInside(bitmap, px, py, cellWidth, cellHeight)) return 0;
  int32_t pitch = 0;
  uint8_t* destination = LockSurface(surface, &pitch);
  if (destination == nullptr) return 0;
  // Rows step by the lock's pitch, so a surface whose rows are padded still gets an upright picture.
  CopyCellRows(bitmap, px, py, cellWidth, cellHeight, destination, pitch);
  UnlockSurface(surface);
  return 1;
}

int32_t CreateSmallBitmap(SmallBitmap* image, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (image == nullptr) return 0;
  image->buffer = nullptr;
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > INT32_MAX) return 0;
  const int32_t numBytes = width * height;
  image->buffer = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(numBytes), 1));
  if (image->buffer == nullptr) return 0;
  image->state = 1;
  image->attr = 0;
  image->x = x;
  image->y = y;
  image->width = width;
  image->height = height;
  image->numBytes = numBytes;
  return 1;
}

int32_t DestroySmallBitmap(SmallBitmap* image) {
  if (image == nullptr || image->buffer == nullptr) return 0;
  std::free(image->buffer);
  std::memset(image, 0, sizeof *image);
  return 1;
}

int32_t CutSmallBitmap(SmallBitmap* image, BmpFileData* bitmap, int32_t cx, int32_t cy, int32_t mode) {
  if (image == nullptr || image->buffer == nullptr) return 0;
  const int64_t px = mode == 0 ? CellOrigin(cx, image->width) : cx;
  const int64_t py = mode == 0 ? CellOrigin(cy, image->height) : cy;
  if (!BmpCellInside(bitmap, px, py, image->width, image->height)) return 0;
  CopyCellRows(bitmap, px, py, image->width, image->height, image->buffer, image->width);
  image->attr |= SmallBitmapLoaded;
  return 1;
}

int32_t DrawSmallBitmap(SmallBitmap* image, uint8_t* destBuffer, int32_t destPitch, int32_t transparent) {
  if (image == nullptr || !(image->attr & SmallBitmapLoaded) || image->buffer == nullptr) return 0;
  for (int32_t row = 0; row < image->height; ++row) {
    uint8_t* destination = destBuffer + static_cast<intptr_t>(image->y + row) * destPitch + image->x;
    const uint8_t* source = image->buffer + static_cast<intptr_t>(row) * image->width;
    if (transparent) {
      // Pixel value 0 is transparent: the destination keeps its byte there.
      for (int32_t column = 0; column < image->width; ++column)
        if (source[column] != 0) destination[column] = source[column];
    } else {
      std::memcpy(destination, source, static_cast<size_t>(image->width));
    }
  }
  return 1;
}
