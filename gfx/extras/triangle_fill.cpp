// The general triangle fill (sort, reject, split) shared by both variants, and the float flat halves.
// Every span is cut at the clip rectangle, so no rounding can carry a write past a row or the buffer.
#include "gfx/extras/triangle_fill.h"

#include <algorithm>
#include <utility>

#include "gfx/extras/lines.h"
#include "gfx/extras/triangle_spans.h"

namespace {

using HalfFill = void (*)(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t);

// Sorts by y, rejects what cannot show, and fills one half or both halves with the given variant.
void SplitAndFill(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                  uint8_t* buffer, int32_t pitch, HalfFill flatTop, HalfFill flatBottom) {
  if ((x1 == x2 && x2 == x3) || (y1 == y2 && y2 == y3)) return;
  if (y2 < y1) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (y3 < y1) {
    std::swap(x1, x3);
    std::swap(y1, y3);
  }
  if (y3 < y2) {
    std::swap(x2, x3);
    std::swap(y2, y3);
  }
  if (y3 < ClipMinY || y1 > ClipMaxY) return;
  if (x1 < ClipMinX && x2 < ClipMinX && x3 < ClipMinX) return;
  if (x1 > ClipMaxX && x2 > ClipMaxX && x3 > ClipMaxX) return;

  if (y1 == y2) {
    flatTop(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else if (y2 == y3) {
    flatBottom(x1, y1, x2, y2, x3, y3, color, buffer, pitch);
  } else {
    // KEEP: row y2 is filled by both halves, so they meet without a gap (BothVariants.GeneralTriangle...).
    int32_t xs = TriangleSplitColumn(x1, y1, y2, x3, y3);
    flatBottom(x1, y1, xs, y2, x2, y2, color, buffer, pitch);
    flatTop(x2, y2, xs, y2, x3, y3, color, buffer, pitch);
  }
}

// A float edge position as a column, truncated toward zero; held within a range an int can take.
int32_t TruncatedColumn(float x) { return static_cast<int32_t>(std::clamp(x, -1.0e9f, 1.0e9f)); }

// Rows top..bottom of a float half: xs and xe are the left and right edges at row top, stepped per row.
// `inside` selects the path for halves whose three x all lie within the clip columns.
void FillFloatRows(int64_t top, int64_t bottom, float xs, float xe, float stepS, float stepE, bool inside,
                   int32_t color, uint8_t* buffer, int32_t pitch) {
  if (bottom < ClipMinY || top > ClipMaxY) return;
  if (top < ClipMinY) {
    float rows = static_cast<float>(ClipMinY - top);
    xs += stepS * rows;
    xe += stepE * rows;
    top = ClipMinY;
  }
  bottom = std::min<int64_t>(bottom, ClipMaxY);
  uint8_t value = static_cast<uint8_t>(color);
  uint8_t* row = buffer + top * pitch;
  for (int64_t y = top; y <= bottom; ++y, row += pitch) {
    if (inside) {
      int32_t start = TruncatedColumn(xs);
      int32_t length = TruncatedColumn(xe - xs + 1.0f);
      FillClippedSpan(row, start, start + length - 1, value);
      xs += stepS;
      xe += stepE;
      continue;
    }
    int32_t left = TruncatedColumn(xs);
    int32_t right = TruncatedColumn(xe);
    xs += stepS;
    xe += stepE;
    if (left < ClipMinX && right < ClipMinX) continue;
    FillClippedSpan(row, left, right, value);
  }
}

}  // namespace

int32_t TriangleSplitColumn(int32_t x1, int32_t y1, int32_t y2, int32_t x3, int32_t y3) {
  long double along = static_cast<long double>(static_cast<int64_t>(y2) - y1) *
                      static_cast<long double>(static_cast<int64_t>(x3) - x1) /
                      static_cast<long double>(static_cast<int64_t>(y3) - y1);
  // KEEP: extended precision, quotient plus one half truncated: the split BothVariants.GeneralTriangle... checks.
  // It is then added to x1 and lies between x1 and x3.
  return static_cast<int32_t>(x1 + static_cast<int64_t>(along + 0.5L));
}

void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                  uint8_t* buffer, int32_t pitch) {
  SplitAndFill(x1, y1, x2, y2, x3, y3, color, buffer, pitch, FillFlatTopTriangle, FillFlatBottomTriangle);
}

void FillTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                       uint8_t* buffer, int32_t pitch) {
  SplitAndFill(x1, y1, x2, y2, x3, y3, color, buffer, pitch, FillFlatTopTriangleFixed, FillFlatBottomTriangleFixed);
}

// KEEP: the float halves take a y2 they never read, sharing one signature with the fixed-point halves.
void FillFlatTopTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t /*y2*/, int32_t x3, int32_t y3, int32_t color,
                         uint8_t* buffer, int32_t pitch) {
  if (x2 < x1) std::swap(x1, x2);
  int64_t height = static_cast<int64_t>(y3) - y1;
  if (height <= 0) return;
  float h = static_cast<float>(height);
  float stepS = static_cast<float>(static_cast<int64_t>(x3) - x1) / h;
  float stepE = static_cast<float>(static_cast<int64_t>(x3) - x2) / h;
  // KEEP: only the float flat-top half starts its right edge half a pixel right (TriangleVariants checks it).
  FillFloatRows(y1, y3, static_cast<float>(x1), static_cast<float>(x2) + 0.5f, stepS, stepE,
                AllInsideColumns(x1, x2, x3), color, buffer, pitch);
}

void FillFlatBottomTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t /*y2*/, int32_t x3, int32_t y3, int32_t color,
                            uint8_t* buffer, int32_t pitch) {
  if (x3 < x2) std::swap(x2, x3);
  int64_t height = static_cast<int64_t>(y3) - y1;
  if (height <= 0) return;
  float h = static_cast<float>(height);
  float stepS = static_cast<float>(static_cast<int64_t>(x2) - x1) / h;
  float stepE = static_cast<float>(static_cast<int64_t>(x3) - x1) / h;
  FillFloatRows(y1, y3, static_cast<float>(x1), static_cast<float>(x1), stepS, stepE, AllInsideColumns(x1, x2, x3),
                color, buffer, pitch);
}
