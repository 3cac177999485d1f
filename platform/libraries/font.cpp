// Glyph rasterisation with SDL2_ttf: DejaVu Sans Bold at the size whose line fits the asked height (text_size.h).
// Each glyph is rendered alone and handed over as a coverage mask relative to the pen and the line's top.
#include "platform/font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <string>

#include "platform/internal/font_path.h"
#include "platform/internal/text_size.h"

namespace platform {

namespace {

TTF_Font* textFont = nullptr;
void* fontFile = nullptr;  // the whole font file, read once: the font reads its glyphs from here, not the disk
FontMetrics metrics;

bool OpenTtf() { return TTF_WasInit() > 0 || TTF_Init() == 0; }

// Coverage of a rendered glyph: the alpha byte of each ARGB pixel, empty rows and columns trimmed.
void TakeCoverage(SDL_Surface* rendered, GlyphImage* out) {
  int32_t left = rendered->w, right = -1, top = rendered->h, bottom = -1;
  auto alphaAt = [&](int32_t x, int32_t y) {
    const auto* row = static_cast<const uint8_t*>(rendered->pixels) + static_cast<size_t>(y) * rendered->pitch;
    uint32_t pixel;
    SDL_memcpy(&pixel, row + 4 * x, 4);
    return static_cast<uint8_t>(pixel >> 24);
  };
  for (int32_t y = 0; y < rendered->h; ++y)
    for (int32_t x = 0; x < rendered->w; ++x)
      if (alphaAt(x, y) != 0) {
        left = SDL_min(left, x), right = SDL_max(right, x), top = SDL_min(top, y), bottom = SDL_max(bottom, y);
      }
  if (right < 0) return;
  out->offsetX = left;
  out->offsetY = top;
  out->width = right - left + 1;
  out->height = bottom - top + 1;
  out->coverage.resize(static_cast<size_t>(out->width) * out->height);
  for (int32_t y = 0; y < out->height; ++y)
    for (int32_t x = 0; x < out->width; ++x)
      out->coverage[static_cast<size_t>(y) * out->width + x] = alphaAt(left + x, top + y);
}

}  // namespace

bool OpenTextFont(int32_t lineHeight) {
  if (textFont != nullptr) return true;
  std::string path = FindBoldFontPath();
  if (path.empty()) {
    std::fprintf(stderr, "TEXT: DejaVu Sans Bold not found; install fonts-dejavu-core\n");
    return false;
  }
  if (!OpenTtf()) {
    std::fprintf(stderr, "TEXT: the font library did not start: %s\n", SDL_GetError());
    return false;
  }
  // The largest point size whose line height still fits: the file is read once and its font sized in place.
  size_t fileSize = 0;
  fontFile = SDL_LoadFile(path.c_str(), &fileSize);
  if (fontFile != nullptr) {
    textFont = static_cast<TTF_Font*>(OpenFontForLineFromMemory(fontFile, fileSize, lineHeight));
  }
  if (textFont == nullptr) {
    SDL_free(fontFile);
    fontFile = nullptr;
    std::fprintf(stderr, "TEXT: %s does not open (%s); reinstall fonts-dejavu-core\n", path.c_str(), SDL_GetError());
    return false;
  }
  metrics.lineHeight = TTF_FontHeight(textFont);
  metrics.ascent = TTF_FontAscent(textFont);
  return true;
}

void CloseTextFont() {
  if (textFont != nullptr) TTF_CloseFont(textFont);
  textFont = nullptr;
  SDL_free(fontFile);
  fontFile = nullptr;
}

FontMetrics TextFontMetrics() { return metrics; }

bool RasterizeGlyph(uint32_t codePoint, GlyphImage* out) {
  if (textFont == nullptr || out == nullptr) return false;
  *out = GlyphImage{};
  int minX, maxX, minY, maxY, advance;
  if (TTF_GlyphMetrics32(textFont, codePoint, &minX, &maxX, &minY, &maxY, &advance) != 0) return false;
  out->advance = advance;
  if (codePoint == ' ') return true;
  SDL_Surface* rendered = TTF_RenderGlyph32_Blended(textFont, codePoint, SDL_Color{255, 255, 255, 255});
  if (rendered == nullptr) return true;  // nothing to paint, the advance still counts
  // The library renders in ARGB8888 already; another format (a different build of it) is converted first.
  SDL_Surface* argb = rendered;
  if (rendered->format->format != SDL_PIXELFORMAT_ARGB8888) {
    argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr) return true;
  }
  SDL_LockSurface(argb);
  TakeCoverage(argb, out);
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return true;
}

}  // namespace platform
