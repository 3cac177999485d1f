// Keyed blits between surfaces. The keyed copy walks each source row's opaque runs, found once per surface
// (after the key is set or the surface is written) so that a mostly transparent picture copies near memory speed.
#include "gfx/blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/blit_path_for_test.h"
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

// Finds every row's opaque runs of a keyed surface, and packs their pixels, unless they are still valid.
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
  const size_t bytes = static_cast<size_t>(surface->bitsPerPixel / 8);
  size_t packedBytes = 0;
  for (size_t s = 0; s < runs.spans.size(); s += 2) packedBytes += runs.spans[s + 1] * bytes;
  runs.packed.resize(packedBytes);
  uint8_t* to = runs.packed.data();
  for (int32_t row = 0; row < surface->height; ++row)
    for (uint32_t s = runs.rowStart[row]; s < runs.rowStart[row + 1]; s += 2) {
      const size_t length = runs.spans[s + 1] * bytes;
      std::memcpy(to, surface->pixels + static_cast<size_t>(row) * surface->pitch + runs.spans[s] * bytes, length);
      to += length;
    }
  runs.plan.clear();
  runs.plan.reserve(runs.spans.size() / 2);  // a plan for any pitch then fits without allocating
  runs.planPitch = -1;
  runs.valid = true;
}

// Turns the runs into byte offsets for a destination of the given pitch (kept until the runs or the pitch change).
// The packed pixels lie end to end, so a run that starts in the destination where the one before ended joins it.
void EnsureCopyPlan(Surface* surface, int32_t destinationPitch) {
  OpaqueRuns& runs = surface->runs;
  if (runs.planPitch == destinationPitch) return;
  const uint32_t bytes = static_cast<uint32_t>(surface->bitsPerPixel / 8);
  runs.plan.clear();
  uint32_t packedOffset = 0;
  for (int32_t row = 0; row < surface->height; ++row)
    for (uint32_t s = runs.rowStart[row]; s < runs.rowStart[row + 1]; s += 2) {
      const uint32_t destinationOffset = static_cast<uint32_t>(row * destinationPitch) + runs.spans[s] * bytes;
      const uint32_t length = runs.spans[s + 1] * bytes;
      if (!runs.plan.empty() && runs.plan.back().destinationOffset + runs.plan.back().bytes == destinationOffset)
        runs.plan.back().bytes += length;
      else runs.plan.push_back({packedOffset, destinationOffset, length});
      packedOffset += length;
    }
  runs.planPitch = destinationPitch;
}

// A 32-byte block that may sit anywhere: in the processor-specific build below it is one 32-byte move.
typedef uint8_t Block32 __attribute__((vector_size(32), aligned(1), may_alias));

template <bool Wide>
[[gnu::always_inline]] inline void Move32(uint8_t* to, const uint8_t* from) {
  if constexpr (Wide) *reinterpret_cast<Block32*>(to) = *reinterpret_cast<const Block32*>(from);
  else __builtin_memcpy(to, from, 32);
}

// Copies one run. Short runs (most sprite rows) are moved in 32-, 16-, 8-, 4- or 2-byte pieces whose last piece
// overlaps the one before, which is much cheaper than a library call per run; long runs go to memcpy (with
// 32-byte vector moves only the longest: a frame's rows of a few hundred bytes are quicker inline). Moves inside
// a run longer than 128 bytes start on 32-byte bounds of the destination, so none of them straddles two cache
// lines.
template <bool Wide>
[[gnu::always_inline]] inline void CopyRun(uint8_t* to, const uint8_t* from, size_t bytes) {
  if (bytes >= (Wide ? 2048u : 256u)) {
    std::memcpy(to, from, bytes);
  } else if (bytes > 128) {
    Move32<Wide>(to, from);
    const size_t aligned = 32 - (reinterpret_cast<uintptr_t>(to) & 31);
    for (size_t i = aligned; i + 32 < bytes; i += 32) Move32<Wide>(to + i, from + i);
    Move32<Wide>(to + bytes - 32, from + bytes - 32);
  } else if (bytes > 64) {
    Move32<Wide>(to, from);
    Move32<Wide>(to + 32, from + 32);
    Move32<Wide>(to + bytes - 64, from + bytes - 64);
    Move32<Wide>(to + bytes - 32, from + bytes - 32);
  } else if (bytes >= 32) {
    Move32<Wide>(to, from);
    Move32<Wide>(to + bytes - 32, from + bytes - 32);
  } else if (bytes >= 16) {
    __builtin_memcpy(to, from, 16);
    __builtin_memcpy(to + bytes - 16, from + bytes - 16, 16);
  } else if (bytes >= 8) {
    __builtin_memcpy(to, from, 8);
    __builtin_memcpy(to + bytes - 8, from + bytes - 8, 8);
  } else if (bytes >= 4) {
    __builtin_memcpy(to, from, 4);
    __builtin_memcpy(to + bytes - 4, from + bytes - 4, 4);
  } else if (bytes >= 2) {
    __builtin_memcpy(to, from, 2);
    __builtin_memcpy(to + bytes - 2, from + bytes - 2, 2);
  } else if (bytes == 1) {
    *to = *from;
  }
}

// Whether a keyed blit copies from the packed pixels: the whole surface, not locked (pixels written through a
// lock reach the packed copy only when it is unlocked, so a locked surface is read where it lies).
bool UsesCopyPlan(const Surface* source, const Surface* destination, int32_t width, int32_t height) {
  return width == source->width && height == source->height && source->lockCount == 0 &&
         source->runs.planPitch == destination->pitch;
}

// Everything the loop needs is read into locals first: pixel writes may alias any memory, so fields read
// through the surfaces would be loaded again after every run.
template <int32_t Bytes, bool Wide>
[[gnu::always_inline]] inline void CopyKeyedRowsOf(const Surface* source, Surface* destination, int32_t x, int32_t y,
                                                   int32_t width, int32_t height) {
  const uint8_t* from = source->pixels;
  const size_t fromPitch = static_cast<size_t>(source->pitch);
  const size_t toPitch = static_cast<size_t>(destination->pitch);
  uint8_t* to = destination->pixels + static_cast<size_t>(y) * toPitch + static_cast<size_t>(x) * Bytes;
  const uint16_t* const spans = source->runs.spans.data();
  const uint32_t* const rowStart = source->runs.rowStart.data();
  if (UsesCopyPlan(source, destination, width, height)) {
    // The whole surface: one flat walk over ready offsets, reading the packed pixels in one sweep.
    const uint8_t* packed = source->runs.packed.data();
    const RunCopy* plan = source->runs.plan.data();
    const size_t count = source->runs.plan.size();
    for (size_t i = 0; i < count; ++i)
      CopyRun<Wide>(to + plan[i].destinationOffset, packed + plan[i].sourceOffset, plan[i].bytes);
    return;
  }
  for (int32_t row = 0; row < height; ++row, from += fromPitch, to += toPitch) {
    const uint32_t end = rowStart[row + 1];
    for (uint32_t s = rowStart[row]; s < end; s += 2) {
      const size_t start = spans[s];
      if (start >= static_cast<size_t>(width)) break;
      const size_t length = std::min<size_t>(spans[s + 1], width - start);
      CopyRun<Wide>(to + start * Bytes, from + start * Bytes, length * Bytes);
    }
  }
}

// Built twice: plainly for every processor, and with 32-byte vector moves where the compiler can target a
// processor that has them (x86 with AVX2); the first keyed blit asks the processor which one to use.
using RowCopier = void (*)(const Surface*, Surface*, int32_t, int32_t, int32_t, int32_t);

void CopyKeyedRows16Plain(const Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
  CopyKeyedRowsOf<2, false>(source, destination, x, y, width, height);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void CopyKeyedRows16Wide(const Surface* source, Surface* destination, int32_t x,
                                                         int32_t y, int32_t width, int32_t height) {
  CopyKeyedRowsOf<2, true>(source, destination, x, y, width, height);
}

bool ProcessorHasWideMoves() { return __builtin_cpu_supports("avx2"); }
#else
// Elsewhere the plain path is the only one; the wide one is never chosen.
constexpr RowCopier CopyKeyedRows16Wide = CopyKeyedRows16Plain;

bool ProcessorHasWideMoves() { return false; }
#endif

RowCopier& ChosenRowCopier() {
  static RowCopier copier = ProcessorHasWideMoves() ? CopyKeyedRows16Wide : CopyKeyedRows16Plain;
  return copier;
}

void CopyKeyedRows16(const Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height) {
  ChosenRowCopier()(source, destination, x, y, width, height);
}

void CopyKeyedRows(Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height) {
  EnsureOpaqueRuns(source);
  if (width == source->width && height == source->height) EnsureCopyPlan(source, destination->pitch);
  if (source->bitsPerPixel == 8) CopyKeyedRowsOf<1, false>(source, destination, x, y, width, height);
  else CopyKeyedRows16(source, destination, x, y, width, height);
}

void CopyRows(const uint8_t* from, int32_t fromPitch, uint8_t* to, int32_t toPitch, size_t rowBytes, int32_t rows) {
  for (int32_t row = 0; row < rows; ++row)
    std::memmove(to + static_cast<size_t>(row) * toPitch, from + static_cast<size_t>(row) * fromPitch, rowBytes);
}

// The rows of an unkeyed blit, read from `from` (the source's pixels or a copy of them).
void CopyPlainRows(const Surface* source, const uint8_t* from, Surface* destination, int32_t x, int32_t y,
                   int32_t width, int32_t height) {
  const size_t bytesPerPixel = static_cast<size_t>(source->bitsPerPixel / 8);
  uint8_t* target = destination->pixels + static_cast<size_t>(y) * destination->pitch + x * bytesPerPixel;
  CopyRows(from, source->pitch, target, destination->pitch, static_cast<size_t>(width) * bytesPerPixel, height);
}

// A picture blitted onto itself is read whole before it is written. Kept out of BlitSurface, whose every call
// would otherwise make room for the copy.
[[gnu::noinline]] void BlitOntoItself(Surface* surface, int32_t x, int32_t y, int32_t width, int32_t height) {
  Surface snapshot = *surface;
  snapshot.pixels = snapshot.storage.data();
  snapshot.runs = {};
  if (surface->hasColorKey) CopyKeyedRows(&snapshot, surface, x, y, width, height);
  else CopyPlainRows(surface, snapshot.pixels, surface, x, y, width, height);
}

bool RectInside(const RectL& rect, int32_t width, int32_t height) {
  return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom && rect.right <= width &&
         rect.bottom <= height;
}

// Nearest-pixel scaling of one destination area, already clipped to `area`.
void StretchInto(Surface* source, const RectL& srcRect, Surface* destination, const RectL& dstRect, const RectL& area,
                 bool keyed) {
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

bool WideKeyedCopyAvailable() { return ProcessorHasWideMoves(); }

bool UseKeyedCopyPath(KeyedCopyPath path) {
  switch (path) {
    case KeyedCopyPath::ProcessorChoice:
      ChosenRowCopier() = ProcessorHasWideMoves() ? CopyKeyedRows16Wide : CopyKeyedRows16Plain;
      return true;
    case KeyedCopyPath::Plain:
      ChosenRowCopier() = CopyKeyedRows16Plain;
      return true;
    case KeyedCopyPath::Wide:
      if (!ProcessorHasWideMoves()) return false;
      ChosenRowCopier() = CopyKeyedRows16Wide;
      return true;
  }
  return false;
}

// KEEP: no clipping: a rectangle not wholly inside is refused (BlitTest checks); the playfield relies on it.
bool BlitSurface(Surface* source, Surface* destination, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (source == nullptr || destination == nullptr) return false;
  if (source->bitsPerPixel != destination->bitsPerPixel) return false;
  if (width <= 0 || height <= 0 || width > source->width || height > source->height) return false;
  if (x < 0 || y < 0 || int64_t(x) + width > destination->width || int64_t(y) + height > destination->height)
    return false;
  if (source == destination) BlitOntoItself(source, x, y, width, height);
  else if (source->hasColorKey) CopyKeyedRows(source, destination, x, y, width, height);
  else CopyPlainRows(source, source->pixels, destination, x, y, width, height);
  SurfaceDrawn(destination);
  return true;
}

void PrepareKeyedBlits(Surface* source) {
  if (source != nullptr && source->hasColorKey) EnsureOpaqueRuns(source);
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
  SurfaceDrawn(destination);
  return true;
}
