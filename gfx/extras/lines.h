// Software drawing on 8-bit pixel areas (buffer + row pitch): the fixed clip rectangle, line clipping,
// Bresenham lines, clipped row and column spans, a pixel plot, a colour-range scan and a filled rectangle.
#pragma once

#include <cstdint>

struct Surface;

// The clip rectangle, inclusive bounds, fixed for the life of the program (not even another display size changes it).
// Its names are the library's own, fixed by its design, so they carry no k.
inline constexpr int32_t ClipMinX = 0;
inline constexpr int32_t ClipMinY = 0;
inline constexpr int32_t ClipMaxX = 639;
inline constexpr int32_t ClipMaxY = 479;

// Region codes of a point against the clip rectangle: above/below exclude each other, as do left/right.
inline constexpr int32_t kClipCodeLeft = 1;
inline constexpr int32_t kClipCodeRight = 2;
inline constexpr int32_t kClipCodeBelow = 4;
inline constexpr int32_t kClipCodeAbove = 8;

// Clips the segment to the clip rectangle. Returns 1 with the four values holding the clipped end points,
// or 0 when nothing of it is inside (the values are then unchanged).
int32_t ClipSegment(int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1);

// Clips and draws a line; a line wholly outside is simply not drawn. Always returns 1.
int32_t DrawClippedLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color, uint8_t* buffer, int32_t pitch);

// Bresenham line without clipping: sets max(|dx|, |dy|) + 1 pixels, both end points included. Returns 1.
int32_t DrawRawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t color, uint8_t* buffer, int32_t pitch);

// Horizontal run x1..x2 (either order) on row y, clipped; a single block fill.
void DrawRowSpan(int32_t x1, int32_t x2, int32_t y, int32_t color, uint8_t* buffer, int32_t pitch);

// Vertical run y1..y2 (either order) in column x, clipped.
void DrawColumnSpan(int32_t y1, int32_t y2, int32_t x, int32_t color, uint8_t* buffer, int32_t pitch);

// Sets the byte at buffer + y * pitch + x; no clipping, the caller keeps it inside the area. Returns 1.
int32_t PlotPixel8(int32_t x, int32_t y, int32_t color, uint8_t* buffer, int32_t pitch);

// 1 when any pixel of rows y1..y2, columns x1..x2 (each clamped to the screen size, corners not reordered)
// holds a value within low..high, compared as unsigned bytes; else 0.
int32_t RectHoldsColor(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t low, int32_t high, const uint8_t* buffer,
                       int32_t pitch);

// Fills the rectangle (x1, y1)-(x2, y2), right and bottom exclusive, with a raw pixel value through the
// surface's colour fill. The fill's own result is not examined; returns 1.
int32_t FillRectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t color, Surface* surface);
