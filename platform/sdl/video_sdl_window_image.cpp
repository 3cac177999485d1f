// The window-image presenter: nearest-pixel stretch onto SDL's window surface; see video_sdl_window_image.h.
// The last picture is kept so that an expose or a resize is redrawn without asking the program, and so that a
// new picture redraws and sends only the rows that changed.
#include "platform/sdl/video_sdl_window_image.h"

#include <SDL.h>

#include "platform/display_choices.h"
#include "platform/internal/picture_placement.h"
#include "platform/sdl/window_image_drawing.h"
#include "platform/video.h"

namespace platform::sdl_window_image {

namespace {

// More separate bands of changed rows than this go out as one band from the first to the last.
constexpr int32_t kMaxSentRects = 16;

window_image::ShownPicture shown;
// The kept picture changed since CopyKeptPicture last copied it.
bool changedSinceCopy = false;

bool IsXrgb(const SDL_Surface* surface) {
  const Uint32 format = surface->format->format;
  return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

// Draws the kept picture onto the window and sends what was drawn: everything after an expose, a resize or a new
// window image, else only the bands of rows that changed (nothing when the picture is the same).
bool Show(SDL_Window* window, bool everything) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr || !IsXrgb(surface) || shown.width <= 0) return false;
  const PicturePlace place =
      PlacePicture(CurrentDisplayChoices().scaling, surface->w, surface->h, shown.width, shown.height);
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  const window_image::TargetImage image{static_cast<uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h};
  window_image::DrawnRect drawn[kMaxSentRects];
  const int32_t count = window_image::Draw(shown, image, place, everything, drawn, kMaxSentRects);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (count < 0) return SDL_UpdateWindowSurface(window) == 0;
  SDL_Rect rects[kMaxSentRects];
  for (int32_t i = 0; i < count; ++i) rects[i] = SDL_Rect{drawn[i].x, drawn[i].y, drawn[i].width, drawn[i].height};
  return count == 0 || SDL_UpdateWindowSurfaceRects(window, rects, count) == 0;
}

}  // namespace

bool Usable(void* window) {
  SDL_Surface* surface = SDL_GetWindowSurface(static_cast<SDL_Window*>(window));
  return surface != nullptr && IsXrgb(surface);
}

bool Present(void* window, const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx) {
  window_image::TakePicture(shown, pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  changedSinceCopy = true;
  return Show(static_cast<SDL_Window*>(window), false);
}

void Redraw(void* window) {
  if (shown.width > 0) Show(static_cast<SDL_Window*>(window), true);
}

void Forget() {
  shown = window_image::ShownPicture{};
  changedSinceCopy = false;
}

bool CopyKeptPicture(PresentedFrame* frame) {
  if (shown.width <= 0) return false;
  if (!changedSinceCopy) return true;
  changedSinceCopy = false;
  frame->width = shown.width;
  frame->height = shown.height;
  frame->bitsPerPixel = shown.bitsPerPixel;
  frame->pitch = shown.width * (shown.bitsPerPixel / 8);
  frame->pixels = shown.pixels;
  frame->paletteRgbx.clear();
  if (shown.bitsPerPixel == 8) {
    for (const uint32_t colour : shown.colours) {
      frame->paletteRgbx.insert(
          frame->paletteRgbx.end(),
          {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour), 0});
    }
  }
  return true;
}

}  // namespace platform::sdl_window_image
