// The 16.16 fixed-point flat triangle halves: edges stepped with integers only, columns rounded half up.
// Edge values are kept in 64 bits so that clipping a tall or far-off half cannot overflow.
#include <algorithm>
#include <utility>

#include "gfx/extras/lines.h"
#include "gfx/extras/triangle_fill.h"
#include "gfx/extras/triangle_spans.h"

namespace {

constexpr int64_t kFixedHalf = 0x8000;

// A fixed-point edge position as a pixel column, rounding halves up.
int64_t RoundedColumn(int64_t value) { return (value + kFixedHalf) >> 16; }

int64_t ToFixed(int32_t value) { return static_cast<int64_t>(value) * 65536; }

// Rows top..bottom of a fixed half: xs and xe are the left and right edges at row top, stepped per row.
// `inside` selects the path for halves whose three x all lie within the clip columns.
void FillFixedRows(int64_t top, int64_t bottom, int64_t xs, int64_t xe, int64_t stepS, int64_t stepE, bool inside,
                   int32_t color, uint8_t* buffer, int32_t pitch) {
  // A half wholly above or below the clip rectangle is skipped before any advancing.
  if (bottom < ClipMinY || top > ClipMaxY) return;
  if (top < ClipMinY) {
    xs += stepS * (ClipMinY - top);
    xe += stepE * (ClipMinY - top);
    top = ClipMinY;
  }
  bottom = std::min<int64_t>(bottom, ClipMaxY);
  uint8_t value = static_cast<uint8_t>(color);
  uint8_t* row = buffer + top * pitch;
  for (int64_t y = top; y <= bottom; ++y, row += pitch) {
    if (inside) {
      // KEEP: start and length are rounded apart: at most a column past the edge, as TriangleVariants allows.
      int64_t start = RoundedColumn(xs);
      int64_t length = RoundedColumn(xe - xs) + 1;
      FillClippedSpan(row, start, start + length - 1, value);
      xs += stepS;
      xe += stepE;
      continue;
    }
    int64_t left = RoundedColumn(xs);
    int64_t right = RoundedColumn(xe);
    xs += stepS;
    xe += stepE;
    if (left < ClipMinX && right < ClipMinX) continue;
    FillClippedSpan(row, left, right, value);
  }
}

}  // namespace

void FillFlatTopTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                              uint8_t* buffer, int32_t pitch) {
  if (y1 == y3 || y2 == y3) return;
  if (x2 < x1) std::swap(x1, x2);
  int64_t height = static_cast<int64_t>(y3) - y1;
  if (height < 0) return;
  int64_t stepS = (ToFixed(x3) - ToFixed(x1)) / height;
  int64_t stepE = (ToFixed(x3) - ToFixed(x2)) / height;
  FillFixedRows(y1, y3, ToFixed(x1), ToFixed(x2), stepS, stepE, AllInsideColumns(x1, x2, x3), color, buffer, pitch);
}

void FillFlatBottomTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                                 uint8_t* buffer, int32_t pitch) {
  if (y1 == y2 || y1 == y3) return;
  if (x3 < x2) std::swap(x2, x3);
  int64_t height = static_cast<int64_t>(y3) - y1;
  if (height < 0) return;
  int64_t stepS = (ToFixed(x2) - ToFixed(x1)) / height;
  int64_t stepE = (ToFixed(x3) - ToFixed(x1)) / height;
  FillFixedRows(y1, y3, ToFixed(x1), ToFixed(x1), stepS, stepE, AllInsideColumns(x1, x2, x3), color, buffer, pitch);
}
