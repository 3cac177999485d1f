// Text on surfaces through a glyph cache: every character is rasterised once (on first use of text) into rows of
// solid spans, so drawing a line is a few span fills in the surface's own pixel format and allocates nothing.
#include "gfx/text.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/bitmap_surfaces.h"
#include "gfx/display.h"
#include "platform/font.h"

namespace {

constexpr int32_t kTextLinePixels = 16;
// Coverage at or above this is painted: text is drawn in one solid colour, without blending.
constexpr uint8_t kCoverageThreshold = 128;

struct GlyphSpan {
  int16_t row;
  int16_t left;
  int16_t length;
};

struct CachedGlyph {
  int32_t advance = 0;
  uint32_t firstSpan = 0;
  uint32_t spanCount = 0;
};

struct GlyphCache {
  bool tried = false;
  bool ready = false;
  int32_t lineHeight = 0;
  CachedGlyph glyphs[256];
  std::vector<GlyphSpan> spans;
};

GlyphCache cache;

void AddGlyphSpans(uint32_t code, const platform::GlyphImage& image) {
  CachedGlyph& glyph = cache.glyphs[code];
  glyph.advance = image.advance;
  glyph.firstSpan = static_cast<uint32_t>(cache.spans.size());
  for (int32_t row = 0; row < image.height; ++row) {
    const uint8_t* line = image.coverage.data() + static_cast<size_t>(row) * image.width;
    int32_t x = 0;
    while (x < image.width) {
      while (x < image.width && line[x] < kCoverageThreshold) ++x;
      int32_t start = x;
      while (x < image.width && line[x] >= kCoverageThreshold) ++x;
      if (x > start)
        cache.spans.push_back({static_cast<int16_t>(image.offsetY + row), static_cast<int16_t>(image.offsetX + start),
                               static_cast<int16_t>(x - start)});
    }
  }
  glyph.spanCount = static_cast<uint32_t>(cache.spans.size()) - glyph.firstSpan;
}

// Opens the font and rasterises all 256 byte values once; false (for good) when the font is missing.
bool EnsureGlyphCache() {
  if (cache.tried) return cache.ready;
  cache.tried = true;
  if (!platform::OpenTextFont(kTextLinePixels)) return false;
  cache.lineHeight = platform::TextFontMetrics().lineHeight;
  platform::GlyphImage image;
  for (uint32_t code = 0; code < 256; ++code) {
    // Control characters draw nothing and take no room.
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) continue;
    if (platform::RasterizeGlyph(code, &image)) AddGlyphSpans(code, image);
  }
  cache.ready = true;
  return true;
}

template <typename Pixel>
void FillSpan(Surface* surface, int32_t x, int32_t y, int32_t length, Pixel value) {
  Pixel* row = reinterpret_cast<Pixel*>(surface->pixels + static_cast<size_t>(y) * surface->pitch);
  std::fill_n(row + x, length, value);
}

// Paints each glyph's spans, cut to the surface.
void PaintText(const char* text, int32_t x, int32_t y, uint32_t pixel, Surface* surface) {
  int64_t pen = x;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
    const CachedGlyph& glyph = cache.glyphs[*c];
    for (uint32_t s = glyph.firstSpan; s < glyph.firstSpan + glyph.spanCount; ++s) {
      const GlyphSpan& span = cache.spans[s];
      int64_t row = int64_t(y) + span.row;
      if (row < 0 || row >= surface->height) continue;
      int64_t left = std::max<int64_t>(pen + span.left, 0);
      int64_t right = std::min<int64_t>(pen + span.left + span.length, surface->width);
      if (left >= right) continue;
      if (surface->bitsPerPixel == 8)
        FillSpan<uint8_t>(surface, int32_t(left), int32_t(row), int32_t(right - left), uint8_t(pixel));
      else FillSpan<uint16_t>(surface, int32_t(left), int32_t(row), int32_t(right - left), uint16_t(pixel));
    }
    pen += glyph.advance;
  }
}

}  // namespace

int32_t DrawTextGdi(const char* text, int32_t x, int32_t y, uint32_t colour, Surface* surface) {
  if (surface == nullptr || !EnsureGlyphCache()) return 0;
  if (text == nullptr || text[0] == 0) return 1;
  PaintText(text, x, y, RgbToSurfacePixel(surface, colour & 0xFFFFFF), surface);
  SurfaceDrawn(surface);
  return 1;
}

int32_t DrawTextGdiIndexed(const char* text, int32_t x, int32_t y, int32_t index, Surface* surface) {
  const PaletteEntry& entry = PaletteTable[index & 0xFF];
  uint32_t colour = entry.red | (entry.green << 8) | (uint32_t(entry.blue) << 16);
  return DrawTextGdi(text, x, y, colour, surface);
}

int32_t MeasureTextWidth(const char* text) {
  if (text == nullptr || !EnsureGlyphCache()) return 0;
  int32_t width = 0;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c)
    width += cache.glyphs[*c].advance;
  return width;
}

int32_t TextLineHeight() { return EnsureGlyphCache() ? cache.lineHeight : 0; }
