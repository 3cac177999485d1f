// Line clipping, Bresenham lines, row and column spans and the pixel plot on 8-bit pixel areas.
// These touch nothing but the memory they are given, so they work on any locked 8-bit surface or plain buffer.
#include "gfx/extras/lines.h"

#include <cstring>
#include <utility>

namespace {

int32_t RegionCode(int32_t x, int32_t y) {
  int32_t code = 0;
  if (y < ClipMinY) code = kClipCodeAbove;
  else if (y > ClipMaxY) code = kClipCodeBelow;
  if (x < ClipMinX) code |= kClipCodeLeft;
  else if (x > ClipMaxX) code |= kClipCodeRight;
  return code;
}

// (bound - fromOther) * (to - from) / (toOther - fromOther), the division truncating toward zero. Taken in 64 bits:
// far-away end points must not overflow, and the crossing always lies between from and to, so it fits again.
int64_t Quotient(int32_t bound, int32_t fromOther, int32_t toOther, int32_t from, int32_t to) {
  const int64_t product = (static_cast<int64_t>(bound) - fromOther) * (static_cast<int64_t>(to) - from);
  return product / (static_cast<int64_t>(toOther) - fromOther);
}

// start + quotient, or with the one-half rule: start + quotient + one half, truncated toward zero, so a
// negative sum moves one step toward zero.
int32_t Place(int32_t start, int64_t quotient, bool rounded) {
  const int64_t sum = start + quotient;
  return static_cast<int32_t>(rounded && sum < 0 ? sum + 1 : sum);
}

struct ClipPoint {
  int32_t x, y;
};

// Moves point p (region code `code`) onto the clip rectangle along the line towards q, which enters with its
// unclipped coordinates. `roundSingle` chooses the one-half rule for the single-edge regions; corners always use it.
ClipPoint ClipEndPoint(ClipPoint p, ClipPoint q, int32_t code, bool roundSingle) {
  const bool corner = (code & (kClipCodeAbove | kClipCodeBelow)) && (code & (kClipCodeLeft | kClipCodeRight));
  const bool rounded = roundSingle || corner;
  auto place = [&](int32_t start, int64_t quotient) { return Place(start, quotient, rounded); };
  auto onRow = [&](int32_t rowBound) {
    return ClipPoint{place(p.x, Quotient(rowBound, p.y, q.y, p.x, q.x)), rowBound};
  };
  auto onColumn = [&](int32_t columnBound) {
    return ClipPoint{columnBound, place(p.y, Quotient(columnBound, p.x, q.x, p.y, q.y))};
  };
  ClipPoint result = p;
  if (code & (kClipCodeAbove | kClipCodeBelow)) {
    result = onRow((code & kClipCodeAbove) ? ClipMinY : ClipMaxY);
    // A corner point whose crossing of the row lies beyond the side edges is clipped against that side instead.
    if (corner && (result.x < ClipMinX || result.x > ClipMaxX))
      result = onColumn((code & kClipCodeLeft) ? ClipMinX : ClipMaxX);
  } else if (code & (kClipCodeLeft | kClipCodeRight)) {
    result = onColumn((code & kClipCodeLeft) ? ClipMinX : ClipMaxX);
  }
  return result;
}

bool InsideClip(ClipPoint p) { return p.x >= ClipMinX && p.x <= ClipMaxX && p.y >= ClipMinY && p.y <= ClipMaxY; }

}  // namespace

int32_t ClipSegment(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1) {
  const int32_t code0 = RegionCode(x0, y0);
  const int32_t code1 = RegionCode(x1, y1);
  if (code0 & code1) return 0;
  if (code0 == 0 && code1 == 0) return 1;
  // KEEP: the first end takes the one-half rule always, the second in a corner only (ClipSegment checks it).
  // Each end point is clipped against the other one's original coordinates.
  const ClipPoint p0{x0, y0}, p1{x1, y1};
  const ClipPoint first = ClipEndPoint(p0, p1, code0, true);
  const ClipPoint second = ClipEndPoint(p1, p0, code1, false);
  if (!InsideClip(first) || !InsideClip(second)) return 0;
  x0 = first.x;
  y0 = first.y;
  x1 = second.x;
  y1 = second.y;
  return 1;
}

int32_t DrawClippedLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color, uint8_t* buffer, int32_t pitch) {
  if (ClipSegment(x0, y0, x1, y1)) DrawRawLine(x0, y0, x1, y1, color, buffer, pitch);
  return 1;
}

int32_t DrawRawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color, uint8_t* buffer, int32_t pitch) {
  const uint8_t value = static_cast<uint8_t>(color);
  uint8_t* at = buffer + static_cast<intptr_t>(y0) * pitch + x0;
  int32_t dx = x1 - x0, dy = y1 - y0;
  intptr_t xStep = 1, yStep = pitch;
  if (dx < 0) {
    xStep = -1;
    dx = -dx;
  }
  if (dy < 0) {
    yStep = -yStep;
    dy = -dy;
  }
  // Step along the longer axis; the error term decides when to take one step along the shorter one.
  intptr_t major = xStep, minor = yStep;
  int32_t longer = dx, shorter = dy;
  if (dx <= dy) {
    std::swap(major, minor);
    std::swap(longer, shorter);
  }
  // The last pixel is written after the loop so the pointer never steps past the far end point.
  int32_t error = 2 * shorter - longer;
  for (int32_t i = 0; i < longer; ++i) {
    *at = value;
    if (error >= 0) {
      error -= 2 * longer;
      at += minor;
    }
    error += 2 * shorter;
    at += major;
  }
  *at = value;
  return 1;
}

void DrawRowSpan(int32_t x1, int32_t x2, int32_t y, int32_t color, uint8_t* buffer, int32_t pitch) {
  if (y > ClipMaxY || y < ClipMinY) return;
  if (x1 > x2) std::swap(x1, x2);
  if (x1 > ClipMaxX || x2 < ClipMinX) return;
  if (x1 < ClipMinX) x1 = ClipMinX;
  if (x2 > ClipMaxX) x2 = ClipMaxX;
  std::memset(buffer + static_cast<intptr_t>(y) * pitch + x1, static_cast<uint8_t>(color),
              static_cast<size_t>(x2 - x1 + 1));
}

void DrawColumnSpan(int32_t y1, int32_t y2, int32_t x, int32_t color, uint8_t* buffer, int32_t pitch) {
  if (x > ClipMaxX || x < ClipMinX) return;
  if (y1 > y2) std::swap(y1, y2);
  if (y1 > ClipMaxY || y2 < ClipMinY) return;
  if (y1 < ClipMinY) y1 = ClipMinY;
  if (y2 > ClipMaxY) y2 = ClipMaxY;
  const uint8_t value = static_cast<uint8_t>(color);
  for (int32_t y = y1; y <= y2; ++y) buffer[static_cast<intptr_t>(y) * pitch + x] = value;
}

int32_t PlotPixel8(int32_t x, int32_t y, int32_t color, uint8_t* buffer, int32_t pitch) {
  buffer[static_cast<intptr_t>(y) * pitch + x] = static_cast<uint8_t>(color);
  return 1;
}
