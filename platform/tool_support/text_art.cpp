// Lettering for the asset generator through SDL_ttf: renders blended text and keeps only its alpha.
// SDL_ttf is opened on first use and left open for the life of the generator process.
#include "platform/tool_support/text_art.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/internal/font_path.h"

namespace platform {

namespace {

bool EnsureTtf(std::string* error) {
  if (TTF_WasInit() != 0) return true;
  if (TTF_Init() == 0) return true;
  *error = std::string("TEXTART: SDL_ttf could not start: ") + TTF_GetError();
  return false;
}

// Copies the alpha channel of an ARGB8888 surface, which SDL_ttf's blended renderer fills with the coverage.
void CopyAlpha(SDL_Surface* surface, CoverageBitmap* out) {
  out->width = surface->w;
  out->height = surface->h;
  out->coverage.assign(size_t(surface->w) * size_t(surface->h), 0);
  SDL_LockSurface(surface);
  for (int y = 0; y < surface->h; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < surface->w; ++x) {
      out->coverage[size_t(y) * size_t(surface->w) + size_t(x)] =
          uint8_t((row[x] & surface->format->Amask) >> surface->format->Ashift);
    }
  }
  SDL_UnlockSurface(surface);
}

}  // namespace

bool RenderTextCoverage(const std::string& text, int32_t pixelSize, CoverageBitmap* out, std::string* error) {
  if (text.empty() || pixelSize <= 0) {
    *error = "TEXTART: nothing to render (empty text or size)";
    return false;
  }
  const std::string fontPath = FindBoldFontPath();
  if (fontPath.empty()) {
    *error = "TEXTART: DejaVu Sans Bold not found; install fonts-dejavu-core";
    return false;
  }
  if (!EnsureTtf(error)) return false;
  TTF_Font* font = TTF_OpenFont(fontPath.c_str(), pixelSize);
  if (font == nullptr) {
    *error = std::string("TEXTART: cannot open ") + fontPath + ": " + TTF_GetError();
    return false;
  }
  TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
  TTF_CloseFont(font);
  if (rendered == nullptr) {
    *error = std::string("TEXTART: rendering failed: ") + TTF_GetError();
    return false;
  }
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (argb == nullptr) {
    *error = std::string("TEXTART: conversion failed: ") + SDL_GetError();
    return false;
  }
  CopyAlpha(argb, out);
  SDL_FreeSurface(argb);
  return true;
}

}  // namespace platform
