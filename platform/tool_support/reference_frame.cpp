// The SDL-only frame for the benchmarks' comparison; see reference_frame.h.
// Pictures are SDL surfaces with an RLE colour key; text uses SDL_ttf at the program's own line size.
#include "platform/tool_support/reference_frame.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/internal/font_path.h"
#include "platform/internal/text_size.h"

namespace platform::reference_frame {

struct Picture {
  SDL_Surface* surface;
};

struct Canvas {
  SDL_Surface* surface;
};

namespace {

constexpr int32_t kTextLinePixels = 16;
TTF_Font* lineFont = nullptr;

// The program's own size choice for lines of 16 pixels (platform/internal/text_size.h).
TTF_Font* LineFont() {
  if (lineFont != nullptr) return lineFont;
  if (TTF_WasInit() == 0 && TTF_Init() != 0) return nullptr;
  const std::string path = FindBoldFontPath();
  if (path.empty()) return nullptr;
  return lineFont = static_cast<TTF_Font*>(OpenFontForLine(path.c_str(), kTextLinePixels));
}

}  // namespace

Picture* LoadKeyedPicture(const char* bmpPath, std::string* error) {
  SDL_Surface* loaded = SDL_LoadBMP(bmpPath);
  if (loaded == nullptr) {
    if (error) *error = SDL_GetError();
    return nullptr;
  }
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
  SDL_FreeSurface(loaded);
  if (converted == nullptr || SDL_SetColorKey(converted, SDL_TRUE | SDL_RLEACCEL, 0) != 0) {
    if (error) *error = SDL_GetError();
    SDL_FreeSurface(converted);
    return nullptr;
  }
  return new Picture{converted};
}

void FreePicture(Picture* picture) {
  if (picture == nullptr) return;
  SDL_FreeSurface(picture->surface);
  delete picture;
}

Canvas* CreateCanvas(int32_t width, int32_t height) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
  return surface == nullptr ? nullptr : new Canvas{surface};
}

void FreeCanvas(Canvas* canvas) {
  if (canvas == nullptr) return;
  SDL_FreeSurface(canvas->surface);
  delete canvas;
}

bool Fill(Canvas* canvas, uint16_t pixel) {
  return canvas != nullptr && SDL_FillRect(canvas->surface, nullptr, pixel) == 0;
}

bool Draw(Picture* picture, Canvas* canvas, int32_t x, int32_t y) {
  if (picture == nullptr || canvas == nullptr) return false;
  SDL_Rect place = {x, y, picture->surface->w, picture->surface->h};
  return SDL_BlitSurface(picture->surface, nullptr, canvas->surface, &place) == 0;
}

bool DrawText(const char* text, uint32_t rgb, Canvas* canvas, int32_t x, int32_t y) {
  TTF_Font* font = LineFont();
  if (font == nullptr || canvas == nullptr) return false;
  const SDL_Color colour = {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 255};
  // A solid render is an 8-bit surface keyed on index 0; SDL blits it onto RGB 565 directly.
  SDL_Surface* rendered = TTF_RenderText_Solid(font, text, colour);
  if (rendered == nullptr) return false;
  SDL_Rect place = {x, y, rendered->w, rendered->h};
  const bool drawn = SDL_BlitSurface(rendered, nullptr, canvas->surface, &place) == 0;
  SDL_FreeSurface(rendered);
  return drawn;
}

uint16_t PixelAt(const Canvas* canvas, int32_t x, int32_t y) {
  if (canvas == nullptr) return 0;
  const SDL_Surface* surface = canvas->surface;
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
  const auto* row = static_cast<const uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch;
  return reinterpret_cast<const uint16_t*>(row)[x];
}

}  // namespace platform::reference_frame
