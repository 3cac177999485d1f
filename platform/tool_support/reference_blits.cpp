// SDL surface blits and SDL_ttf text for the benchmarks' comparisons; see reference_blits.h.
// The font is opened on first use at the program's own text size, so both sides draw the same lines.
#include "platform/tool_support/reference_blits.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/internal/font_path.h"
#include "platform/internal/text_size.h"

namespace platform::reference {

struct ReferenceSurface {
  SDL_Surface* surface;
};

namespace {

constexpr int32_t kTextLinePixels = 16;
TTF_Font* referenceFont = nullptr;

// The program's own size choice for lines of 16 pixels (platform/internal/text_size.h).
TTF_Font* ReferenceFont() {
  if (referenceFont != nullptr) return referenceFont;
  if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
  const std::string path = FindBoldFontPath();
  if (path.empty()) return nullptr;
  return referenceFont = static_cast<TTF_Font*>(OpenFontForLine(path.c_str(), kTextLinePixels));
}

}  // namespace

ReferenceSurface* CreateRgb565Surface(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchBytes) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
  if (surface == nullptr) return nullptr;
  if (pixels != nullptr) {
    for (int32_t y = 0; y < height; ++y)
      SDL_memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                 reinterpret_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * pitchBytes,
                 static_cast<size_t>(width) * 2);
  }
  return new ReferenceSurface{surface};
}

ReferenceSurface* CreateXrgb8888Surface(int32_t width, int32_t height) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
  return surface != nullptr ? new ReferenceSurface{surface} : nullptr;
}

void FreeSurface(ReferenceSurface* surface) {
  if (surface == nullptr) return;
  SDL_FreeSurface(surface->surface);
  delete surface;
}

bool SetRleColorKey(ReferenceSurface* surface, uint32_t key) {
  return surface != nullptr && SDL_SetColorKey(surface->surface, SDL_TRUE | SDL_RLEACCEL, key) == 0;
}

bool Blit(ReferenceSurface* source, ReferenceSurface* destination, int32_t x, int32_t y) {
  if (source == nullptr || destination == nullptr) return false;
  SDL_Rect place = {x, y, source->surface->w, source->surface->h};
  return SDL_BlitSurface(source->surface, nullptr, destination->surface, &place) == 0;
}

bool BlitScaled(ReferenceSurface* source, ReferenceSurface* destination, int32_t x, int32_t y, int32_t width,
                int32_t height) {
  if (source == nullptr || destination == nullptr) return false;
  SDL_Rect place = {x, y, width, height};
  return SDL_BlitScaled(source->surface, nullptr, destination->surface, &place) == 0;
}

bool RenderTextSolidAndBlit(const char* text, uint32_t rgb, ReferenceSurface* destination, int32_t x, int32_t y) {
  TTF_Font* font = ReferenceFont();
  if (font == nullptr || destination == nullptr) return false;
  SDL_Color colour = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 255};
  SDL_Surface* rendered = TTF_RenderText_Solid(font, text, colour);
  if (rendered == nullptr) return false;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(rendered);
  if (converted == nullptr) return false;
  SDL_Rect place = {x, y, converted->w, converted->h};
  bool blitted = SDL_BlitSurface(converted, nullptr, destination->surface, &place) == 0;
  SDL_FreeSurface(converted);
  return blitted;
}

}  // namespace platform::reference
