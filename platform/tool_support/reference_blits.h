// SDL's own surface blits and SDL_ttf's text rendering, wrapped for the speed comparisons in bench/.
// The program never calls these; they exist so that benchmarks outside platform/ need no SDL header.
#pragma once
#include <cstdint>

namespace platform::reference {

struct ReferenceSurface;

// An SDL surface in RGB 565 holding a copy of the given pixels (or black when pixels is null).
ReferenceSurface* CreateRgb565Surface(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchBytes);
// An SDL surface in 32-bit XRGB 8888, black: the format of a window's own image on a 24-bit X display.
ReferenceSurface* CreateXrgb8888Surface(int32_t width, int32_t height);
void FreeSurface(ReferenceSurface* surface);
// SDL_SetColorKey with run-length acceleration: SDL encodes the surface's runs on its first blit.
bool SetRleColorKey(ReferenceSurface* surface, uint32_t key);
// SDL_BlitSurface of the whole source at (x, y).
bool Blit(ReferenceSurface* source, ReferenceSurface* destination, int32_t x, int32_t y);
// SDL_BlitScaled of the whole source onto the rectangle (x, y, width, height) of the destination.
bool BlitScaled(ReferenceSurface* source, ReferenceSurface* destination, int32_t x, int32_t y, int32_t width,
                int32_t height);
// One SDL_ttf solid render of the text (DejaVu Sans Bold at our line size), converted to RGB 565 and blitted
// at (x, y); everything is made and freed within the call, as a per-frame text draw through SDL_ttf would be.
bool RenderTextSolidAndBlit(const char* text, uint32_t rgb, ReferenceSurface* destination, int32_t x, int32_t y);

}  // namespace platform::reference
