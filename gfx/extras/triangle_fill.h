// Solid triangles in 8-bit pixel areas (buffer + row pitch), clipped to the clip rectangle, in two variants
// with one interface: FillTriangle steps its edges in float, FillTriangleFixed in 16.16 fixed point.
#pragma once

#include <cstdint>

// A triangle in any vertex order, split into a flat-bottom and a flat-top half at its middle vertex.
// Nothing is drawn when all three x or all three y are equal, or when it lies wholly outside the clip rectangle.
void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                  uint8_t* buffer, int32_t pitch);
void FillTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                       uint8_t* buffer, int32_t pitch);

// The halves. Flat-top: (x1, y1) and (x2, y1) form the top edge (y2 is not read), (x3, y3) is the bottom apex.
// Flat-bottom: (x1, y1) is the top apex, (x2, y3) and (x3, y3) the bottom edge (y2 is not read).
// Each is clipped to the clip rectangle; a zero or negative height draws nothing.
void FillFlatTopTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                         uint8_t* buffer, int32_t pitch);
void FillFlatBottomTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                            uint8_t* buffer, int32_t pitch);
void FillFlatTopTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                              uint8_t* buffer, int32_t pitch);
void FillFlatBottomTriangleFixed(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t color,
                                 uint8_t* buffer, int32_t pitch);

// The column at which a general triangle is split: on the long edge from (x1, y1) to (x3, y3) at row y2,
// rounded half up, computed in extended precision. Expects y1 <= y2 <= y3 and y1 < y3.
int32_t TriangleSplitColumn(int32_t x1, int32_t y1, int32_t y2, int32_t x3, int32_t y3);
