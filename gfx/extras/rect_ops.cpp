// The rectangle operations of the line library: a colour-range scan of 8-bit memory and a colour-filled
// rectangle on a surface.
#include <algorithm>

#include "gfx/display.h"
#include "gfx/extras/lines.h"

int32_t RectHoldsColor(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t low, int32_t high, const uint8_t* buffer,
                       int32_t pitch) {
  if (buffer == nullptr || ScreenWidth <= 0 || ScreenHeight <= 0) return 0;
  // KEEP: clamped to the screen, not the clip rectangle, corners unordered (RectHoldsColor checks it).
  x1 = std::clamp(x1, 0, ScreenWidth - 1);
  x2 = std::clamp(x2, 0, ScreenWidth - 1);
  y1 = std::clamp(y1, 0, ScreenHeight - 1);
  y2 = std::clamp(y2, 0, ScreenHeight - 1);
  const uint8_t lowByte = static_cast<uint8_t>(low), highByte = static_cast<uint8_t>(high);
  for (int32_t y = y1; y <= y2; ++y) {
    const uint8_t* row = buffer + static_cast<intptr_t>(y) * pitch;
    for (int32_t x = x1; x <= x2; ++x)
      if (row[x] >= lowByte && row[x] <= highByte) return 1;
  }
  return 0;
}

int32_t FillRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color, Surface* surface) {
  // KEEP: the fill's result is not examined: a refused rectangle is not drawn (FillRectangle checks it).
  if (surface != nullptr) FillSurfaceRect(surface, RectL{x1, y1, x2, y2}, static_cast<uint32_t>(color));
  return 1;
}
