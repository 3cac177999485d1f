// Scenes 2 and 3: polygons turning and pulsing, filled and outlined, with their bounding boxes and an
// outline clipped at the screen edge; then triangles filled in float and in fixed point side by side,
// reaching past the screen edges so the clipping shows.
#include <cmath>
#include <string>
#include <vector>

#include "gfx/extras/fast_math.h"
#include "gfx/extras/lines.h"
#include "gfx/extras/polygon.h"
#include "gfx/extras/triangle_fill.h"
#include "showcase/showcase.h"

namespace showcase {

namespace {

std::vector<PolygonVertex> Regular(int32_t sides, float radius) {
  std::vector<PolygonVertex> v;
  for (int32_t i = 0; i < sides; ++i) {
    double a = 2.0 * 3.14159265358979 * i / sides - 3.14159265358979 / 2;
    v.push_back({static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a))});
  }
  return v;
}

std::vector<PolygonVertex> Star(int32_t points, float outer, float inner) {
  std::vector<PolygonVertex> v;
  for (int32_t i = 0; i < 2 * points; ++i) {
    double a = 3.14159265358979 * i / points - 3.14159265358979 / 2;
    float r = i % 2 == 0 ? outer : inner;
    v.push_back({static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a))});
  }
  return v;
}

// The bounding box of a polygon, in screen coordinates, as a dotted-looking double frame.
void DrawBounds(const Canvas& c, const PolygonShape& p, int32_t colour) {
  float minX, maxX, minY, maxY;
  if (!GetPolygonBounds(&p, &minX, &maxX, &minY, &maxY)) return;
  DrawFrameRect(c, p.posX + static_cast<int32_t>(minX), p.posY + static_cast<int32_t>(minY),
                p.posX + static_cast<int32_t>(maxX), p.posY + static_cast<int32_t>(maxY), colour);
}

// Copies a base shape, then turns and scales the copy: the direct operations or the matrix ones.
PolygonShape Posed(std::vector<PolygonVertex>& work, const std::vector<PolygonVertex>& base, int32_t x, int32_t y,
                   int32_t colour, int32_t angle, float scale, bool viaMatrix) {
  work = base;
  PolygonShape p{1, static_cast<int32_t>(work.size()), x, y, 0, 0, colour, work.data()};
  if (viaMatrix) {
    ScalePolygonByMatrix(&p, scale, scale);
    RotatePolygonByMatrix(&p, angle);
  } else {
    ScalePolygon(&p, scale, scale);
    RotatePolygon(&p, angle);
  }
  return p;
}

}  // namespace

void DrawPolygonScene(Surface* back, int32_t frame) {
  static const std::vector<PolygonVertex> pentagon = Regular(5, 70), hexagon = Regular(6, 60), star = Star(5, 80, 34),
                                          square = Regular(4, 150), octagon = Regular(8, 40);
  std::vector<PolygonVertex> work[6];
  {
    BackLock lock(back);
    const Canvas& c = lock.canvas();
    DrawBackground(c, frame);
    DrawTitle(c, "POLYGONS", 18);

    // A filled pentagon turning, with a bright outline and its box.
    PolygonShape a = Posed(work[0], pentagon, 130, 200, kRainbowRamp + (frame / 2) % 64, frame * 3, 1.0f, false);
    FillPolygon(&a, c.pixels, c.pitch);
    a.color = kWhite;
    DrawPolygon(&a, c.pixels, c.pitch);
    DrawBounds(c, a, kAmber);

    // A hexagon pulsing through the matrix operations, filled in two shades.
    float pulse = 1.0f + 0.45f * static_cast<float>(std::sin(frame * 0.07));
    PolygonShape b = Posed(work[1], hexagon, 320, 270, kGreenRamp + 9, -frame * 2, pulse, true);
    FillPolygon(&b, c.pixels, c.pitch);
    PolygonShape b2 = Posed(work[2], hexagon, 320, 270, kGreenRamp + 14, -frame * 2, pulse * 0.55f, true);
    FillPolygon(&b2, c.pixels, c.pitch);
    DrawBounds(c, b, kAmber);

    // A star (not convex, so outlined only), turning the other way.
    PolygonShape s = Posed(work[3], star, 515, 200, kYellow, -frame * 4, 1.0f, false);
    DrawPolygon(&s, c.pixels, c.pitch);
    DrawBounds(c, s, kAmber);

    // A large square outline crossing the screen's corner: its lines are clipped.
    PolygonShape q = Posed(work[4], square, 610, 450, kMagenta, frame, 1.0f, false);
    DrawPolygon(&q, c.pixels, c.pitch);

    // Small octagons orbiting on a circle, placed with the degree tables.
    for (int32_t k = 0; k < 6; ++k) {
      int32_t deg = ReduceDegrees(frame * 2 + k * 60);
      int32_t ox = 160 + static_cast<int32_t>(95 * CosTable[deg]);
      int32_t oy = 385 + static_cast<int32_t>(45 * SinTable[deg]);
      PolygonShape o = Posed(work[5], octagon, ox, oy, kMagentaRamp + 6 + k, frame * 5, 0.45f, true);
      FillPolygon(&o, c.pixels, c.pitch);
    }
  }
  // Each caption sits where no shape ever comes: below the pentagon's circle (y 270), right of the octagons'
  // orbit (x 273) and below the hexagon's largest box (y 357), above the big square's circle (radius 150).
  DrawCaption(back, "filled + outline", 70, 290, kLightGrey);
  DrawCaption(back, "matrix scale + rotate", 285, 366, kLightGrey);
  DrawCaption(back, "outline only", 455, 290, kLightGrey);
  DrawCaption(back, "amber: bounding boxes", 12, 452, kAmber);
}

void DrawTriangleScene(Surface* back, int32_t frame) {
  {
    BackLock lock(back);
    const Canvas& c = lock.canvas();
    DrawBackground(c, frame);
    // Seven triangles fanned round a centre on each side, turning; each side keeps to its half of the screen
    // below the title and captions (y 90 on) but reaches past the bottom and its outer edge, so the clipping shows.
    for (int32_t side = 0; side < 2; ++side) {
      int32_t cx = side == 0 ? 80 : 560;
      int32_t cy = 290;
      for (int32_t k = 0; k < 7; ++k) {
        int32_t deg = ReduceDegrees(frame * (side == 0 ? 2 : -2) + k * 360 / 7);
        int32_t deg2 = ReduceDegrees(deg + 22);
        int32_t deg3 = ReduceDegrees(deg + 44);
        float rx = 150.0f + 40.0f * (k % 3), ry = 150.0f + 25.0f * (k % 3);
        int32_t x1 = cx + static_cast<int32_t>(20 * CosTable[deg2]),
                y1 = cy + static_cast<int32_t>(20 * SinTable[deg2]);
        int32_t x2 = cx + static_cast<int32_t>(rx * CosTable[deg]), y2 = cy + static_cast<int32_t>(ry * SinTable[deg]);
        int32_t x3 = cx + static_cast<int32_t>(rx * CosTable[deg3]),
                y3 = cy + static_cast<int32_t>(ry * SinTable[deg3]);
        int32_t colour = kRainbowRamp + (k * 9 + frame / 3) % 64;
        if (side == 0) FillTriangle(x1, y1, x2, y2, x3, y3, colour, c.pixels, c.pitch);
        else FillTriangleFixed(x1, y1, x2, y2, x3, y3, colour, c.pixels, c.pitch);
      }
    }
    DrawColumnSpan(60, kScreenH - 1, kScreenW / 2, kWhite, c.pixels, c.pitch);
    DrawTitle(c, "TRIANGLES", 18);
  }
  DrawCaptionCentred(back, "float edges", kScreenW / 4, 62, kWhite);
  DrawCaptionCentred(back, "16.16 fixed-point edges", 3 * kScreenW / 4, 62, kWhite);
}

}  // namespace showcase
