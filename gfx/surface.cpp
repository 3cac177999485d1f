// The display's objects in our own memory: surfaces, palettes, clippers and the device, with their reference counts.
// Pitches are multiples of 4 bytes so that reading a 32-bit word at any row start stays inside the row.
#include "gfx/surface.h"

#include <cstring>

namespace {

constexpr int32_t kMaxSurfaceSide = 16384;

int32_t RowPitch(int32_t width, int32_t bitsPerPixel) {
  int32_t bytes = width * (bitsPerPixel / 8);
  return (bytes + 3) & ~3;
}

}  // namespace

uint32_t AddRef(Surface* surface) { return surface ? ++surface->refCount : 0; }

uint32_t Release(Surface* surface) {
  if (surface == nullptr) return 0;
  if (--surface->refCount > 0) return surface->refCount;
  // The primary holds one reference of its back surface and of its palette and clipper.
  if (surface->backBuffer != nullptr) Release(surface->backBuffer);
  if (surface->palette != nullptr) {
    if (surface->palette->attachedTo == surface) surface->palette->attachedTo = nullptr;
    Release(surface->palette);
  }
  if (surface->clipper != nullptr) Release(surface->clipper);
  delete surface;
  return 0;
}

uint32_t Release(PaletteObject* palette) {
  if (palette == nullptr) return 0;
  if (--palette->refCount > 0) return palette->refCount;
  delete palette;
  return 0;
}

uint32_t Release(ClipperObject* clipper) {
  if (clipper == nullptr) return 0;
  if (--clipper->refCount > 0) return clipper->refCount;
  delete clipper;
  return 0;
}

uint32_t Release(DisplayObject* device) {
  if (device == nullptr) return 0;
  if (--device->refCount > 0) return device->refCount;
  delete device;
  return 0;
}

Surface* CreateSurfaceOfFormat(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
  if (bitsPerPixel != 8 && bitsPerPixel != 16) return nullptr;
  auto* surface = new Surface;
  surface->width = width;
  surface->height = height;
  surface->bitsPerPixel = bitsPerPixel;
  surface->pitch = RowPitch(width, bitsPerPixel);
  surface->storage.assign(static_cast<size_t>(surface->pitch) * height, 0);
  surface->pixels = surface->storage.data();
  return surface;
}

DisplayObject* CreateDisplayObject() { return new DisplayObject; }

PaletteObject* CreatePalette(DisplayObject* device, uint32_t caps, const PaletteEntry* entries) {
  if (device == nullptr || entries == nullptr) return nullptr;
  auto* palette = new PaletteObject;
  palette->caps = caps;
  std::memcpy(palette->entries, entries, sizeof palette->entries);
  return palette;
}

ClipperObject* CreateClipper(DisplayObject* device) { return device ? new ClipperObject : nullptr; }

bool SetClipList(ClipperObject* clipper, const uint8_t* regionBlock, uint32_t blockSize) {
  if (clipper == nullptr || regionBlock == nullptr || blockSize < sizeof(RegionHeader)) return false;
  RegionHeader header;
  std::memcpy(&header, regionBlock, sizeof header);
  // The header must describe exactly the rectangles that follow it.
  if (header.size != sizeof(RegionHeader) || header.type != 1) return false;
  if (header.count > (blockSize - sizeof header) / sizeof(RectL)) return false;
  if (header.regionSize != header.count * sizeof(RectL)) return false;
  clipper->header = header;
  clipper->rectangles.resize(header.count);
  if (header.count > 0)
    std::memcpy(clipper->rectangles.data(), regionBlock + sizeof header, header.count * sizeof(RectL));
  clipper->hasList = true;
  return true;
}

bool SetClipper(Surface* surface, ClipperObject* clipper) {
  if (surface == nullptr) return false;
  if (clipper != nullptr) ++clipper->refCount;
  if (surface->clipper != nullptr) Release(surface->clipper);
  surface->clipper = clipper;
  return true;
}

bool SetPalette(Surface* surface, PaletteObject* palette) {
  if (surface == nullptr) return false;
  if (palette != nullptr) {
    ++palette->refCount;
    if (surface->isPrimary) palette->attachedTo = surface;
  }
  if (surface->palette != nullptr) {
    if (surface->palette->attachedTo == surface) surface->palette->attachedTo = nullptr;
    Release(surface->palette);
  }
  surface->palette = palette;
  return true;
}

bool SetColorKey(Surface* surface, uint32_t low, uint32_t high) {
  if (surface == nullptr) return false;
  surface->hasColorKey = true;
  surface->colorKeyLow = low;
  surface->colorKeyHigh = high;
  MarkSurfaceWritten(surface);
  return true;
}

void ClearColorKey(Surface* surface) {
  if (surface == nullptr) return;
  surface->hasColorKey = false;
  MarkSurfaceWritten(surface);
}

bool GetPaletteEntries(const PaletteObject* palette, int32_t first, int32_t count, PaletteEntry* out) {
  if (palette == nullptr || out == nullptr || first < 0 || count < 0 || first + count > 256) return false;
  std::memcpy(out, palette->entries + first, sizeof(PaletteEntry) * count);
  return true;
}

uint32_t ReadSurfacePixel(const Surface* surface, int32_t x, int32_t y) {
  const uint8_t* row = surface->pixels + static_cast<size_t>(y) * surface->pitch;
  if (surface->bitsPerPixel == 8) return row[x];
  uint16_t value;
  std::memcpy(&value, row + 2 * x, 2);
  return value;
}

void WriteSurfacePixel(Surface* surface, int32_t x, int32_t y, uint32_t value) {
  uint8_t* row = surface->pixels + static_cast<size_t>(y) * surface->pitch;
  if (surface->bitsPerPixel == 8) {
    row[x] = static_cast<uint8_t>(value);
  } else {
    uint16_t pixel = static_cast<uint16_t>(value);
    std::memcpy(row + 2 * x, &pixel, 2);
  }
  MarkSurfaceWritten(surface);
}
