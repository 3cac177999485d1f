// The row pieces both triangle fills share: a span cut to the clip rectangle, and the test that picks
// the path for halves lying wholly within the clip columns.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "gfx/extras/lines.h"

// Fills columns left..right of one row after cutting them to the clip rectangle.
inline void FillClippedSpan(uint8_t* row, int64_t left, int64_t right, uint8_t color) {
  left = std::max<int64_t>(left, ClipMinX);
  right = std::min<int64_t>(right, ClipMaxX);
  if (left <= right) std::memset(row + left, color, static_cast<size_t>(right - left + 1));
}

inline bool AllInsideColumns(int32_t x1, int32_t x2, int32_t x3) {
  return x1 >= ClipMinX && x1 <= ClipMaxX && x2 >= ClipMinX && x2 <= ClipMaxX && x3 >= ClipMinX && x3 <= ClipMaxX;
}
