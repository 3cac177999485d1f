// The window-image presenter: nearest-pixel stretch onto SDL's window surface; see video_sdl_window_image.h.
// The last picture is kept so that an expose or a resize is redrawn without asking the program.
#include "platform/sdl/video_sdl_window_image.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/display_choices.h"
#include "platform/internal/picture_placement.h"

namespace platform::sdl_window_image {

namespace {

// The last picture, kept so that an expose or a new window size can be answered without the program.
struct KeptPicture {
  std::vector<uint8_t> pixels;  // rows of width * bytes per pixel, packed
  int32_t width = 0, height = 0, bitsPerPixel = 0;
  uint32_t colours[256] = {};  // 8-bit pictures: the palette as 0xAARRGGBB
};

KeptPicture kept;
// The window image the borders were last drawn on; a new image or size needs them again.
SDL_Surface* borderedSurface = nullptr;
int borderedWidth = 0, borderedHeight = 0;
std::vector<int32_t> sourceColumn;  // for each column of the scaled picture, the picture's column
std::vector<uint32_t> wideRow;      // one row of the picture at 32 bits

bool IsXrgb(const SDL_Surface* surface) {
  const Uint32 format = surface->format->format;
  return format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888;
}

uint32_t WidenRgb565(uint32_t pixel) {
  const uint32_t red = pixel >> 11, green = (pixel >> 5) & 0x3F, blue = pixel & 0x1F;
  return 0xFF000000u | (((red << 3) | (red >> 2)) << 16) | (((green << 2) | (green >> 4)) << 8) |
         ((blue << 3) | (blue >> 2));
}

void Keep(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
          const uint8_t* paletteRgbx) {
  const size_t rowBytes = static_cast<size_t>(width) * (bitsPerPixel / 8);
  kept.pixels.resize(rowBytes * height);
  const auto* source = static_cast<const uint8_t*>(pixels);
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(kept.pixels.data() + y * rowBytes, source + static_cast<size_t>(y) * pitch, rowBytes);
  kept.width = width, kept.height = height, kept.bitsPerPixel = bitsPerPixel;
  if (bitsPerPixel == 8) {
    for (int i = 0; i < 256; ++i) {
      const uint8_t* entry = paletteRgbx + 4 * i;
      kept.colours[i] = 0xFF000000u | (uint32_t(entry[0]) << 16) | (entry[1] << 8) | entry[2];
    }
  }
}

// Where the picture goes in the window (fitted or at a whole multiple, as chosen), and the part of that
// rectangle inside the window (all of it, unless a whole multiple is larger than the window).
struct Placement {
  PicturePlace place;
  SDL_Rect visible;
};

Placement PlaceOn(const SDL_Surface* surface) {
  Placement placement;
  placement.place = PlacePicture(CurrentDisplayChoices().scaling, surface->w, surface->h, kept.width, kept.height);
  const PicturePlace& place = placement.place;
  const int left = std::max(0, place.x), top = std::max(0, place.y);
  const int right = std::min(surface->w, place.x + place.width), bottom = std::min(surface->h, place.y + place.height);
  placement.visible = SDL_Rect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
  return placement;
}

// One row of the picture, scaled across, into target: the row is widened to 32 bits once, then spread.
void StretchRow(int32_t sourceRow, uint32_t* target, int32_t visibleWidth) {
  wideRow.resize(kept.width);
  if (kept.bitsPerPixel == 16) {
    const auto* from =
        reinterpret_cast<const uint16_t*>(kept.pixels.data()) + static_cast<size_t>(sourceRow) * kept.width;
    for (int32_t x = 0; x < kept.width; ++x) wideRow[x] = WidenRgb565(from[x]);
  } else {
    const uint8_t* from = kept.pixels.data() + static_cast<size_t>(sourceRow) * kept.width;
    for (int32_t x = 0; x < kept.width; ++x) wideRow[x] = kept.colours[from[x]];
  }
  for (int32_t x = 0; x < visibleWidth; ++x) target[x] = wideRow[sourceColumn[x]];
}

// Draws the visible part of the kept picture into place; a row that repeats the one above is copied rather
// than scaled again. Each window pixel takes the picture pixel under its centre.
void Stretch(SDL_Surface* surface, const Placement& placement) {
  const PicturePlace& place = placement.place;
  const SDL_Rect& visible = placement.visible;
  sourceColumn.resize(visible.w);
  for (int32_t x = 0; x < visible.w; ++x) {
    const int64_t inPlace = visible.x + x - place.x;
    sourceColumn[x] = static_cast<int32_t>((2 * inPlace + 1) * kept.width / (2 * static_cast<int64_t>(place.width)));
  }
  const uint32_t* previous = nullptr;
  int32_t previousRow = -1;
  for (int32_t y = 0; y < visible.h; ++y) {
    const int64_t inPlace = visible.y + y - place.y;
    const auto sourceRow =
        static_cast<int32_t>((2 * inPlace + 1) * kept.height / (2 * static_cast<int64_t>(place.height)));
    auto* target = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                               static_cast<size_t>(visible.y + y) * surface->pitch) + visible.x;
    if (sourceRow == previousRow) {
      std::memcpy(target, previous, static_cast<size_t>(visible.w) * 4);
    } else {
      StretchRow(sourceRow, target, visible.w);
    }
    previous = target;
    previousRow = sourceRow;
  }
}

// Stretches the kept picture onto the window; the whole window goes out when its borders had to be drawn.
bool Show(SDL_Window* window, bool everything) {
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr || !IsXrgb(surface) || kept.width <= 0) return false;
  const bool newImage = surface != borderedSurface || surface->w != borderedWidth || surface->h != borderedHeight;
  if (newImage || everything) {
    SDL_FillRect(surface, nullptr, 0);
    borderedSurface = surface, borderedWidth = surface->w, borderedHeight = surface->h;
  }
  const Placement placement = PlaceOn(surface);
  if (placement.visible.w <= 0 || placement.visible.h <= 0) return true;
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
  Stretch(surface, placement);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (newImage || everything) return SDL_UpdateWindowSurface(window) == 0;
  return SDL_UpdateWindowSurfaceRects(window, &placement.visible, 1) == 0;
}

}  // namespace

bool Usable(void* window) {
  SDL_Surface* surface = SDL_GetWindowSurface(static_cast<SDL_Window*>(window));
  return surface != nullptr && IsXrgb(surface);
}

bool Present(void* window, const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx) {
  Keep(pixels, pitch, width, height, bitsPerPixel, paletteRgbx);
  return Show(static_cast<SDL_Window*>(window), false);
}

void Redraw(void* window) {
  if (kept.width > 0) Show(static_cast<SDL_Window*>(window), true);
}

void Forget() {
  kept = KeptPicture{};
  borderedSurface = nullptr;
  borderedWidth = borderedHeight = 0;
}

}  // namespace platform::sdl_window_image
