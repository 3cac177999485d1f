// The SDL half of presentation, used only by platform/video.cpp.
// A new backend provides the same four calls: open for a picture size, close, present, redraw.
#pragma once
#include <cstdint>
#include <string>

namespace platform::sdl_video {

bool Open(int32_t width, int32_t height, int32_t bitsPerPixel, std::string* error);
void Close();
bool Present(const void* pixels, int32_t pitch, int32_t width, int32_t height, int32_t bitsPerPixel,
             const uint8_t* paletteRgbx);
void Redraw();

}  // namespace platform::sdl_video
