// Keyed blits between surfaces. The keyed copy walks each source row's opaque runs, found once per surface
// (after the key is set or the surface is written) so that a mostly transparent picture copies near memory speed.
#include "gfx/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/display.h"

namespace {

bool IsKeyed(const Surface* surface, uint32_t value) {
  return value >= surface->colorKeyLow && value <= surface->colorKeyHigh;
}

template <typename Pixel>
void FindRowRuns(const Surface* surface, int32_t row, std::vector<uint16_t>& spans) {
  const Pixel* pixels = reinterpret_cast<const Pixel*>(surface->pixels + static_cast<size_t>(row) * surface->pitch);
  const uint32_t low = surface->colorKeyLow, high = surface->colorKeyHigh;
  int32_t x = 0;
  while (x < surface->width) {
    while (x < surface->width && pixels[x] >= low && pixels[x] <= high) ++x;
    int32_t start = x;
    while (x < surface->width && !(pixels[x] >= low && pixels[x] <= high)) ++x;
    if (x > start) {
      spans.push_back(static_cast<uint16_t>(start));
      spans.push_back(static_cast<uint16_t>(x - start));
    }
  }
}

// Finds every row's opaque runs of a keyed surface, unless they are still valid.
void EnsureOpaqueRuns(Surface* surface) {
  OpaqueRuns& runs = surface->runs;
  if (runs.valid) return;
  runs.rowStart.clear();
  runs.spans.clear();
  runs.rowStart.reserve(surface->height + 1);
  for (int32_t row = 0; row < surface->height; ++row) {
    runs.rowStart.push_back(static_cast<uint32_t>(runs.spans.size()));
    if (surface->bitsPerPixel == 8) FindRowRuns<uint8_t>(surface, row, runs.spans);
    else FindRowRuns<uint16_t>(surface, row, runs.spans);
  }
  runs.rowStart.push_back(static_cast<uint32_t>(runs.spans.size()));
  runs.valid = true;
}

void CopyKeyedRows(Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height) {
  EnsureOpaqueRuns(source);
  const int32_t bytes = source->bitsPerPixel / 8;
  const uint16_t* spans = source->runs.spans.data();
  const uint32_t* rowStart = source->runs.rowStart.data();
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* from = source->pixels + static_cast<size_t>(row) * source->pitch;
    uint8_t* to = destination->pixels + static_cast<size_t>(y + row) * destination->pitch + x * bytes;
    for (uint32_t s = rowStart[row]; s < rowStart[row + 1]; s += 2) {
      int32_t start = spans[s];
      if (start >= width) break;
      int32_t length = std::min<int32_t>(spans[s + 1], width - start);
      std::memcpy(to + start * bytes, from + start * bytes, static_cast<size_t>(length) * bytes);
    }
  }
}

void CopyRows(const uint8_t* from, int32_t fromPitch, uint8_t* to, int32_t toPitch, size_t rowBytes, int32_t rows) {
  for (int32_t row = 0; row < rows; ++row)
    std::memmove(to + static_cast<size_t>(row) * toPitch, from + static_cast<size_t>(row) * fromPitch, rowBytes);
}

bool RectInside(const RectL& rect, int32_t width, int32_t height) {
  return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
         rect.right <= width && rect.bottom <= height;
}

// Nearest-pixel scaling of one destination area, already clipped to `area`.
void StretchInto(Surface* source, const RectL& srcRect, Surface* destination, const RectL& dstRect,
                 const RectL& area, bool keyed) {
  const int64_t srcW = srcRect.right - srcRect.left, srcH = srcRect.bottom - srcRect.top;
  const int64_t dstW = dstRect.right - dstRect.left, dstH = dstRect.bottom - dstRect.top;
  for (int32_t dy = area.top; dy < area.bottom; ++dy) {
    int32_t sy = srcRect.top + static_cast<int32_t>((dy - dstRect.top) * srcH / dstH);
    for (int32_t dx = area.left; dx < area.right; ++dx) {
      int32_t sx = srcRect.left + static_cast<int32_t>((dx - dstRect.left) * srcW / dstW);
      uint32_t value = ReadSurfacePixel(source, sx, sy);
      if (keyed && IsKeyed(source, value)) continue;
      WriteSurfacePixel(destination, dx, dy, value);
    }
  }
}

}  // namespace

bool BlitSurface(Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (source == nullptr || destination == nullptr) return false;
  if (source->bitsPerPixel != destination->bitsPerPixel) return false;
  if (width <= 0 || height <= 0 || width > source->width || height > source->height) return false;
  if (x < 0 || y < 0 || int64_t(x) + width > destination->width || int64_t(y) + height > destination->height)
    return false;
  const size_t rowBytes = static_cast<size_t>(width) * (source->bitsPerPixel / 8);
  if (source == destination) {
    // A picture blitted onto itself is read whole before it is written.
    Surface snapshot = *source;
    snapshot.pixels = snapshot.storage.data();
    snapshot.runs = {};
    if (source->hasColorKey) CopyKeyedRows(&snapshot, destination, x, y, width, height);
    else CopyRows(snapshot.pixels, source->pitch, destination->pixels + static_cast<size_t>(y) * destination->pitch +
                  x * (source->bitsPerPixel / 8), destination->pitch, rowBytes, height);
  } else if (source->hasColorKey) {
    CopyKeyedRows(source, destination, x, y, width, height);
  } else {
    CopyRows(source->pixels, source->pitch,
             destination->pixels + static_cast<size_t>(y) * destination->pitch + x * (source->bitsPerPixel / 8),
             destination->pitch, rowBytes, height);
  }
  MarkSurfaceWritten(destination);
  ShowPrimaryIfDrawn(destination);
  return true;
}

bool StretchBlitSurface(Surface* source, const RectL& srcRect, Surface* destination, const RectL& dstRect,
                        bool useColorKey) {
  if (source == nullptr || destination == nullptr || source == destination) return false;
  if (source->bitsPerPixel != destination->bitsPerPixel) return false;
  if (!RectInside(srcRect, source->width, source->height)) return false;
  if (dstRect.left >= dstRect.right || dstRect.top >= dstRect.bottom) return false;
  const bool keyed = useColorKey && source->hasColorKey;
  const ClipperObject* clipper = destination->clipper;
  if (clipper == nullptr || !clipper->hasList) {
    if (!RectInside(dstRect, destination->width, destination->height)) return false;
    StretchInto(source, srcRect, destination, dstRect, dstRect, keyed);
  } else {
    // Each clip rectangle, cut to the surface, takes its part of the destination rectangle.
    for (const RectL& clip : clipper->rectangles) {
      RectL area = {std::max({dstRect.left, clip.left, 0}), std::max({dstRect.top, clip.top, 0}),
                    std::min({dstRect.right, clip.right, destination->width}),
                    std::min({dstRect.bottom, clip.bottom, destination->height})};
      if (area.left < area.right && area.top < area.bottom)
        StretchInto(source, srcRect, destination, dstRect, area, keyed);
    }
  }
  MarkSurfaceWritten(destination);
  ShowPrimaryIfDrawn(destination);
  return true;
}
