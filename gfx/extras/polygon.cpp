// Polygon transforms, the clipped outline, the bounding box and the two-walker convex scan fill.
// The fill is integer-only per pixel and unclipped; the outline clips every edge against the clip rectangle.
#include "gfx/extras/polygon.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "gfx/extras/fast_math.h"
#include "gfx/extras/lines.h"

namespace {

// Screen column or row of a local coordinate: position plus offset, truncated toward zero.
int32_t ScreenCoordinate(int32_t position, float offset) {
  return static_cast<int32_t>(static_cast<float>(position) + offset);
}

// Applies one matrix to every vertex.
void TransformVertices(PolygonShape* poly, const Matrix3x2& m) {
  for (int32_t i = 0; i < poly->vertexCount; ++i) {
    float point[2] = {poly->vertices[i].x, poly->vertices[i].y};
    TransformPointByMatrix3x2(point, &m, point);
    poly->vertices[i].x = point[0];
    poly->vertices[i].y = point[1];
  }
}

}  // namespace

int32_t TranslatePolygon(PolygonShape* poly, int32_t dx, int32_t dy) {
  if (poly == nullptr) return 0;
  poly->posX += dx;
  poly->posY += dy;
  return 1;
}

int32_t RotatePolygon(PolygonShape* poly, int32_t angle) {
  if (poly == nullptr) return 0;
  int32_t degrees = ReduceDegrees(angle);
  float cosine = CosTable[degrees];
  float sine = SinTable[degrees];
  for (int32_t i = 0; i < poly->vertexCount; ++i) {
    float x = poly->vertices[i].x;
    float y = poly->vertices[i].y;
    poly->vertices[i].x = x * cosine - y * sine;
    poly->vertices[i].y = x * sine + y * cosine;
  }
  return 1;
}

int32_t ScalePolygon(PolygonShape* poly, float sx, float sy) {
  if (poly == nullptr) return 0;
  for (int32_t i = 0; i < poly->vertexCount; ++i) {
    poly->vertices[i].x *= sx;
    poly->vertices[i].y *= sy;
  }
  return 1;
}

int32_t TranslatePolygonByMatrix(PolygonShape* poly, int32_t dx, int32_t dy) {
  if (poly == nullptr) return 0;
  Matrix3x2 m;
  SetMatrix3x2(&m, 1.0f, 0.0f, 0.0f, 1.0f, static_cast<float>(dx), static_cast<float>(dy));
  float position[2] = {static_cast<float>(poly->posX), static_cast<float>(poly->posY)};
  TransformPointByMatrix3x2(position, &m, position);
  poly->posX = static_cast<int32_t>(position[0]);
  poly->posY = static_cast<int32_t>(position[1]);
  return 1;
}

int32_t RotatePolygonByMatrix(PolygonShape* poly, int32_t angle) {
  if (poly == nullptr) return 0;
  int32_t degrees = ReduceDegrees(angle);
  float cosine = CosTable[degrees];
  float sine = SinTable[degrees];
  Matrix3x2 m;
  SetMatrix3x2(&m, cosine, sine, -sine, cosine, 0.0f, 0.0f);
  TransformVertices(poly, m);
  return 1;
}

int32_t ScalePolygonByMatrix(PolygonShape* poly, float sx, float sy) {
  if (poly == nullptr) return 0;
  Matrix3x2 m;
  SetMatrix3x2(&m, sx, 0.0f, 0.0f, sy, 0.0f, 0.0f);
  TransformVertices(poly, m);
  return 1;
}

int32_t DrawPolygon(const PolygonShape* poly, uint8_t* buffer, int32_t pitch) {
  if (poly->state == 0) return 0;
  int32_t count = poly->vertexCount;
  // One vertex is drawn too: its closing line runs from it to itself, a single clipped dot. With none there
  // is no first vertex to read.
  if (count < 1 || poly->vertices == nullptr) return 0;
  int32_t color = poly->color & 0xFF;
  const PolygonVertex* v = poly->vertices;
  for (int32_t i = 0; i < count - 1; ++i) {
    DrawClippedLine(ScreenCoordinate(poly->posX, v[i].x), ScreenCoordinate(poly->posY, v[i].y),
                    ScreenCoordinate(poly->posX, v[i + 1].x), ScreenCoordinate(poly->posY, v[i + 1].y), color, buffer,
                    pitch);
  }
  // KEEP: the closing edge runs from the first vertex to the last (Polygons.OutlineOfATriangle... checks).
  DrawClippedLine(ScreenCoordinate(poly->posX, v[0].x), ScreenCoordinate(poly->posY, v[0].y),
                  ScreenCoordinate(poly->posX, v[count - 1].x), ScreenCoordinate(poly->posY, v[count - 1].y), color,
                  buffer, pitch);
  return 1;
}

// KEEP: the box starts at (0, 0) and only widens (Polygons.BoundsAlwaysHoldTheLocalOrigin checks it).
int32_t GetPolygonBounds(const PolygonShape* poly, float* minX, float* maxX, float* minY, float* maxY) {
  *minX = *maxX = *minY = *maxY = 0.0f;
  if (poly->vertexCount <= 0 || poly->vertices == nullptr) return 0;
  for (int32_t i = 0; i < poly->vertexCount; ++i) {
    const PolygonVertex& v = poly->vertices[i];
    if (v.x > *maxX) *maxX = v.x;
    if (v.x < *minX) *minX = v.x;
    if (v.y > *maxY) *maxY = v.y;
    if (v.y < *minY) *minY = v.y;
  }
  return 1;
}
