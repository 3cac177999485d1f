// Presentation without graphics hardware, used only by platform/sdl/video_sdl.cpp: the picture is stretched by
// nearest pixel straight onto the window's own X image, and only the rows that changed are sent to the display.
// Cheaper than any renderer on a software OpenGL, which spends most of a frame scaling the picture.
#pragma once
#include <cstdint>

namespace platform {
struct PresentedFrame;
}

namespace platform::sdl_window_image {

// True when the window (an SDL_Window*) has a 32-bit RGB image this presenter can draw on.
bool Usable(void* window);
// Keeps a copy of the picture (16-bit RGB 565, or 8-bit through paletteRgbx) and shows it placed as chosen
// (fitted or at a whole multiple) with black borders. False when SDL refuses the window's image.
bool Present(void* window, const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx);
// Shows the kept picture again, borders included (after an expose or a change of the window's size).
void Redraw(void* window);
// Forgets the kept picture.
void Forget();
// Copies the kept picture into frame's picture fields (packed rows, an 8-bit picture's palette as RGBX) when it
// changed since the last copy; false when none is kept.
bool CopyKeptPicture(PresentedFrame* frame);

}  // namespace platform::sdl_window_image
