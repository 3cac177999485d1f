// Presentation of a finished picture: the display surface converted into one streaming SDL texture,
// scaled to the window with its aspect kept and black borders. Headless: the frame is kept in memory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Every operation below is called by the display (gfx/display.cpp) unless its line says otherwise.

// Readies presentation of width x height pictures at 8 or 16 bits per pixel on the main window.
// SDL: makes the renderer and the texture (false without a window or when SDL refuses). Headless: true unless a
// test refuses it. A refusal writes one VIDEO: line with the backend's reason on stderr.
bool OpenPresentation(int32_t width, int32_t height, int32_t bitsPerPixel);
// Releases the renderer and the texture.
void ClosePresentation();

// Why a picture is presented: a flip of the display, or drawing straight onto the visible surface.
enum class PresentKind { Flip, Update };

// Shows the picture (16-bit RGB 565, or 8-bit indices through paletteRgbx: 256 x red, green, blue, flags).
// False when the platform refuses it. Headless: keeps a copy, counts, and after a flip calls the present hook.
// Also called by the screen transitions of gfx/extras.
bool PresentFrame(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
                  const uint8_t* paletteRgbx, PresentKind kind = PresentKind::Flip);

// Shows the last presented picture again (after the window changed size or was exposed). Called by the SDL
// window's event handling.
void RedrawLastFrame();

// The last picture presented, kept by both backends: the screenshot key saves it, tests and the replay tool
// read it. The counts are kept on the headless backend only.
struct PresentedFrame {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t pitch = 0;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> paletteRgbx;  // 1024 bytes for 8-bit pictures
  uint32_t flipCount = 0;            // presents made by flips
  uint32_t updateCount = 0;          // presents made by drawing on the visible surface
};
const PresentedFrame& LastPresentedFrame();
// The colour (0x00RRGGBB) at (x, y) of the last presented picture; 0 outside it. Read by the screenshot and tests.
uint32_t PresentedPixelRgb(int32_t x, int32_t y);

// Called after each flip that was shown, on both backends (the replay tool prints its trace line there, the
// demo recorder and player move to the next frame). Null removes it.
void SetPresentHook(void (*hook)(void* user), void* user);

}  // namespace platform
