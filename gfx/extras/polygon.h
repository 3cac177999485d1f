// 2-D polygons for 8-bit pixel areas: a caller-owned shape of float vertices around an integer position,
// transforms done directly or through 3x2 matrices, a clipped outline, a convex scan fill and the bounding box.
#pragma once

#include <cstdint>

// One vertex in the polygon's local coordinates (relative to posX, posY).
struct PolygonVertex {
  float x, y;
};

// A polygon owned by the caller; the vertex array is the caller's too.
struct PolygonShape {
  int32_t state;        // non-zero while the polygon is in use; DrawPolygon skips it when 0
  int32_t vertexCount;  // number of vertices in the array
  int32_t posX, posY;   // screen position every vertex is relative to
  int32_t callerData1;  // free for the caller, not used by the operations here
  int32_t callerData2;  // free for the caller, not used by the operations here
  int32_t color;        // palette index; its low byte is drawn
  PolygonVertex* vertices;
};

// Direct transforms. Each returns 1, or 0 for a null polygon.
// Moves the position by whole pixels.
int32_t TranslatePolygon(PolygonShape* poly, int32_t dx, int32_t dy);
// Turns every vertex about the polygon's own origin by whole degrees, using SinTable and CosTable.
// Any angle is first brought into 0..359.
int32_t RotatePolygon(PolygonShape* poly, int32_t angle);
// Multiplies every vertex's x by sx and y by sy.
int32_t ScalePolygon(PolygonShape* poly, float sx, float sy);

// The same three transforms through a Matrix3x2 and TransformPointByMatrix3x2. The translation moves the
// position as a float point and truncates the result toward zero. Each returns 1, or 0 for a null polygon.
int32_t TranslatePolygonByMatrix(PolygonShape* poly, int32_t dx, int32_t dy);
int32_t RotatePolygonByMatrix(PolygonShape* poly, int32_t angle);
int32_t ScalePolygonByMatrix(PolygonShape* poly, float sx, float sy);

// Outline with clipped lines: vertex i to i + 1 for each i, then vertex 0 to the last vertex.
// One vertex gives one dot (its closing line). Returns 1; 0 (nothing drawn) when state is 0 or there is no vertex.
int32_t DrawPolygon(const PolygonShape* poly, uint8_t* buffer, int32_t pitch);

// Scan fill of a convex polygon by two integer edge walkers, without clipping: the polygon must lie wholly
// inside the pixel area. Fewer than three vertices draw nothing.
void FillPolygon(const PolygonShape* poly, uint8_t* buffer, int32_t pitch);

// Bounding box in local coordinates, widened from (0, 0) so it always holds the local origin.
// Returns 1, or 0 (all four results 0) when there are no vertices.
int32_t GetPolygonBounds(const PolygonShape* poly, float* minX, float* maxX, float* minY, float* maxY);
