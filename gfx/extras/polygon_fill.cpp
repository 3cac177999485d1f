// The convex polygon scan fill: two integer edge walkers go down the left and right chains from the top
// vertex, one row per step, and each row is filled between them. No clipping: the caller keeps it inside.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "gfx/extras/polygon.h"

namespace {

// One edge walker: its current point and byte offset, the vertex it walks to, and its Bresenham state.
struct EdgeWalker {
  // KEEP: the point is kept across edges, never reset to the vertex: the pixels the showcase's fills set.
  int32_t x, y;       // current point
  int32_t target;     // index of the vertex walked to
  int32_t direction;  // -1 walks to the previous vertex, +1 to the next
  int32_t targetX, targetY;
  ptrdiff_t address;  // offset of the current pixel from the buffer's start
  int32_t error, dx, dy, xStep, count;
  bool xMajor;
};

int32_t ScreenCoordinate(int32_t position, float offset) {
  return static_cast<int32_t>(static_cast<float>(position) + offset);
}

int32_t WrapIndex(int32_t index, int32_t count) {
  if (index < 0) return count - 1;
  if (index >= count) return 0;
  return index;
}

void AimWalker(EdgeWalker& w, const PolygonShape* poly, int32_t target) {
  w.target = target;
  w.targetX = ScreenCoordinate(poly->posX, poly->vertices[target].x);
  w.targetY = ScreenCoordinate(poly->posY, poly->vertices[target].y);
}

// Sets up one pass of a walker toward its target: address, error, deltas, step and count.
void StartPass(EdgeWalker& w, int32_t pitch) {
  w.address = static_cast<ptrdiff_t>(w.y) * pitch + w.x;
  w.error = 0;
  w.dx = std::abs(w.targetX - w.x);
  w.xStep = w.targetX >= w.x ? 1 : -1;
  w.dy = std::abs(w.targetY - w.y);
  w.xMajor = w.dy < w.dx;
  w.count = w.xMajor ? w.dx : w.dy;
}

// Moves a walker through one row. An x-major walker may take several x steps and sets the pixels it passes.
void StepWalker(EdgeWalker& w, uint8_t* buffer, uint8_t color) {
  if (w.xMajor) {
    while (w.error < w.dx && w.count > 0) {
      w.count -= 1;
      w.address += w.xStep;
      w.x += w.xStep;
      w.error += w.dy;
      if (w.error < w.dx) buffer[w.address] = color;
    }
    w.error -= w.dx;
  } else {
    w.error += w.dx;
    if (w.error >= w.dy) {
      w.error -= w.dy;
      w.address += w.xStep;
      w.x += w.xStep;
    }
    w.count -= 1;
  }
}

// KEEP: the top vertex is found against a truncated running minimum: where the showcase's fills start.
// The running minimum starts as vertex 0's truncated y, and a later vertex replaces it when its float y is
// below that integer. Ties keep the earliest vertex.
int32_t FindTopVertex(const PolygonShape* poly) {
  int32_t top = 0;
  int32_t minimum = static_cast<int32_t>(poly->vertices[0].y);
  for (int32_t i = 1; i < poly->vertexCount; ++i) {
    if (poly->vertices[i].y < static_cast<float>(minimum)) {
      minimum = static_cast<int32_t>(poly->vertices[i].y);
      top = i;
    }
  }
  return top;
}

// The lowest screen row of any vertex.
int32_t FindBottomRow(const PolygonShape* poly) {
  int32_t bottom = ScreenCoordinate(poly->posY, poly->vertices[0].y);
  for (int32_t i = 1; i < poly->vertexCount; ++i)
    bottom = std::max(bottom, ScreenCoordinate(poly->posY, poly->vertices[i].y));
  return bottom;
}

}  // namespace

void FillPolygon(const PolygonShape* poly, uint8_t* buffer, int32_t pitch) {
  int32_t count = poly->vertexCount;
  if (count < 3 || poly->vertices == nullptr) return;
  uint8_t color = static_cast<uint8_t>(poly->color & 0xFF);
  int32_t top = FindTopVertex(poly);

  EdgeWalker left{}, right{};
  left.x = right.x = ScreenCoordinate(poly->posX, poly->vertices[top].x);
  left.y = right.y = ScreenCoordinate(poly->posY, poly->vertices[top].y);
  left.direction = -1;
  right.direction = 1;
  AimWalker(left, poly, WrapIndex(top - 1, count));
  AimWalker(right, poly, WrapIndex(top + 1, count));

  // Both walkers may finish an edge in the same pass, so the count of edges left can pass below zero
  // (every diamond does): the fill ends as soon as it is zero or less.
  // A walker spends a row on every horizontal edge, so on polygons with short edges (small circles) it
  // falls behind its vertices, and an edge whose end lies above it would still be walked downwards; left
  // alone it could run on far below the polygon. The walkers share one row, and no row below the lowest
  // vertex is ever filled.
  int32_t bottom = FindBottomRow(poly);
  int32_t edgesLeft = count - 1;
  while (edgesLeft > 0 && left.y <= bottom) {
    StartPass(left, pitch);
    StartPass(right, pitch);
    while (left.count != 0 && right.count != 0 && left.y <= bottom) {
      StepWalker(left, buffer, color);
      StepWalker(right, buffer, color);
      ptrdiff_t from = left.address < right.address ? left.address : right.address;
      ptrdiff_t to = left.address < right.address ? right.address : left.address;
      std::memset(buffer + from, color, static_cast<size_t>(to - from + 1));
      left.address += pitch;
      right.address += pitch;
      left.y += 1;
      right.y += 1;
    }
    for (EdgeWalker* w : {&left, &right}) {
      if (w->count != 0) continue;
      edgesLeft -= 1;
      AimWalker(*w, poly, WrapIndex(w->target + w->direction, count));
    }
  }
}
