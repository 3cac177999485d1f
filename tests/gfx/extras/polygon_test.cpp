// Polygons and fast math: the degree tables, rotations in both forms, matrix products, the outline, the
// convex scan fill, the bounding box and the two distance estimates.
#include "gfx/extras/polygon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/extras/fast_math.h"
#include "gfx/extras/lines.h"
#include "guarded_canvas.h"

namespace {

PolygonShape MakePolygon(std::vector<PolygonVertex>& vertices, int32_t x, int32_t y, int32_t color = 9) {
  return PolygonShape{1, static_cast<int32_t>(vertices.size()), x, y, 0, 0, color, vertices.data()};
}

// A regular polygon of the given number of sides around the origin.
std::vector<PolygonVertex> RegularVertices(int32_t sides, float radius, float turn = 0.0f) {
  std::vector<PolygonVertex> v;
  for (int32_t i = 0; i < sides; ++i) {
    double a = turn + 2.0 * 3.14159265358979 * i / sides;
    v.push_back({static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a))});
  }
  return v;
}

class Polygons : public testing::Test {
 protected:
  static void SetUpTestSuite() { BuildSinCosTables(); }
};

TEST_F(Polygons, DegreeTablesHoldSineAndCosine) {
  EXPECT_FLOAT_EQ(CosTable[0], 1.0f);
  EXPECT_FLOAT_EQ(SinTable[90], 1.0f);
  EXPECT_NEAR(SinTable[30], 0.5f, 1e-6f);
  EXPECT_NEAR(CosTable[180], -1.0f, 1e-6f);
  EXPECT_NEAR(SinTable[270], -1.0f, 1e-6f);
  EXPECT_NEAR(CosTable[359], std::cos(359 * 3.14159265358979 / 180), 1e-6);
}

TEST_F(Polygons, RotationByPlusAndMinusNinetyInBothForms) {
  for (bool viaMatrix : {false, true}) {
    auto rotate = viaMatrix ? RotatePolygonByMatrix : RotatePolygon;
    std::vector<PolygonVertex> v = {{10, 0}};
    PolygonShape p = MakePolygon(v, 0, 0);
    EXPECT_EQ(rotate(&p, 90), 1);
    EXPECT_NEAR(v[0].x, 0.0f, 1e-4f);
    EXPECT_NEAR(v[0].y, 10.0f, 1e-4f);
    v[0] = {10, 0};
    rotate(&p, -90);
    EXPECT_NEAR(v[0].x, 0.0f, 1e-4f);
    EXPECT_NEAR(v[0].y, -10.0f, 1e-4f);
    // Angles beyond a turn are brought into 0..359 before the table is read.
    v[0] = {10, 0};
    rotate(&p, 450);
    EXPECT_NEAR(v[0].y, 10.0f, 1e-4f);
    v[0] = {10, 0};
    rotate(&p, -3690);  // -10 turns and -90 degrees
    EXPECT_NEAR(v[0].y, -10.0f, 1e-4f);
    EXPECT_EQ(rotate(nullptr, 90), 0);
  }
}

TEST_F(Polygons, DirectAndMatrixTransformsAgree) {
  std::vector<PolygonVertex> a = RegularVertices(7, 40.0f), b = a;
  PolygonShape pa = MakePolygon(a, 100, 100), pb = MakePolygon(b, 100, 100);
  for (int32_t angle : {17, -45, 200}) {
    RotatePolygon(&pa, angle);
    RotatePolygonByMatrix(&pb, angle);
  }
  ScalePolygon(&pa, 1.5f, 0.5f);
  ScalePolygonByMatrix(&pb, 1.5f, 0.5f);
  TranslatePolygon(&pa, 3, -2);
  EXPECT_EQ(TranslatePolygonByMatrix(&pb, 3, -2), 1);
  EXPECT_EQ(pa.posX, 103);
  EXPECT_EQ(pa.posY, 98);
  EXPECT_EQ(pb.posX, 103);
  EXPECT_EQ(pb.posY, 98);
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_FLOAT_EQ(a[i].x, b[i].x);
    EXPECT_FLOAT_EQ(a[i].y, b[i].y);
  }
  EXPECT_EQ(ScalePolygon(nullptr, 1, 1) + TranslatePolygon(nullptr, 1, 1) + TranslatePolygonByMatrix(nullptr, 1, 1) +
                ScalePolygonByMatrix(nullptr, 1, 1),
            0);
}

TEST_F(Polygons, MatrixProductsFollowRowVectorOrder) {
  Matrix3x2 m;
  SetMatrix3x2(&m, 2, 3, 5, 7, 11, 13);
  float point[2] = {1, 10};
  TransformPointByMatrix3x2(point, &m, point);
  EXPECT_FLOAT_EQ(point[0], 1 * 2 + 10 * 5 + 11);
  EXPECT_FLOAT_EQ(point[1], 1 * 3 + 10 * 7 + 13);

  Matrix3x3 a = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  Matrix3x3 b = {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};  // moves column 0 to 1, 1 to 2, 2 to 0
  MultiplyMatrix3x3(&a, &b, &a);                      // the result may overwrite an operand
  EXPECT_FLOAT_EQ(a.m[0][0], 3);
  EXPECT_FLOAT_EQ(a.m[0][1], 1);
  EXPECT_FLOAT_EQ(a.m[2][2], 8);
  float v[3] = {1, 2, 3};
  Matrix3x3 c = {{{1, 0, 0}, {0, 1, 0}, {10, 20, 1}}};
  MultiplyVectorByMatrix3x3(v, &c, v);
  EXPECT_FLOAT_EQ(v[0], 31);
  EXPECT_FLOAT_EQ(v[1], 62);
  EXPECT_FLOAT_EQ(v[2], 3);
}

TEST_F(Polygons, DistanceEstimates) {
  EXPECT_EQ(ApproxLength2D(3, 4), 6);
  EXPECT_EQ(ApproxLength2D(30, 40), 49);
  EXPECT_EQ(ApproxLength2D(-30, 40), 49);
  EXPECT_EQ(ApproxLength2D(0, 7), 7);
  EXPECT_EQ(ApproxLength2D(INT32_MIN, 0), INT32_MIN);  // |INT32_MIN| does not fit; no overflow on the way
  EXPECT_FLOAT_EQ(ApproxLength3D(3, 4, 0), 5.0f);
  EXPECT_FLOAT_EQ(ApproxLength3D(0.5f, 0, 0), 0.0f);
  EXPECT_FLOAT_EQ(ApproxLength3D(0, -100, 0), 100.0f);
  EXPECT_FLOAT_EQ(ApproxLength3D(10, 20, 30), 39.0f);  // the true length is 37.4
}

TEST_F(Polygons, OutlineOfATriangleIsThreeLinesClosingFromTheFirstVertex) {
  std::vector<PolygonVertex> v = {{0, 0}, {100.7f, 30}, {20, 90.9f}};
  PolygonShape p = MakePolygon(v, 50, 60, 0x1FF);
  GuardedCanvas drawn, expected;
  EXPECT_EQ(DrawPolygon(&p, drawn.Pixels(), GuardedCanvas::kPitch), 1);
  uint8_t* e = expected.Pixels();
  DrawClippedLine(50, 60, 150, 90, 0xFF, e, GuardedCanvas::kPitch);
  DrawClippedLine(150, 90, 70, 150, 0xFF, e, GuardedCanvas::kPitch);
  DrawClippedLine(50, 60, 70, 150, 0xFF, e, GuardedCanvas::kPitch);
  EXPECT_TRUE(drawn == expected);

  // Clipped at the screen's edges.
  TranslatePolygon(&p, 560, 400);
  DrawPolygon(&p, drawn.Pixels(), GuardedCanvas::kPitch);
  EXPECT_TRUE(drawn.MarginsUntouched());
}

TEST_F(Polygons, OutlineSkipsUnusedAndEmptyPolygons) {
  std::vector<PolygonVertex> v = {{0, 0}, {10, 10}, {0, 20}};
  PolygonShape p = MakePolygon(v, 10, 10);
  GuardedCanvas c;
  p.state = 0;
  EXPECT_EQ(DrawPolygon(&p, c.Pixels(), GuardedCanvas::kPitch), 0);
  p.state = 1;
  p.vertexCount = 0;
  EXPECT_EQ(DrawPolygon(&p, c.Pixels(), GuardedCanvas::kPitch), 0);
  p.vertexCount = 2;
  p.vertices = nullptr;
  EXPECT_EQ(DrawPolygon(&p, c.Pixels(), GuardedCanvas::kPitch), 0);
  EXPECT_EQ(c.CountValue(9), 0);
}

TEST_F(Polygons, OutlineOfOneVertexIsOneClippedDot) {
  std::vector<PolygonVertex> v = {{3.9f, -2}};
  PolygonShape p = MakePolygon(v, 100, 50);
  GuardedCanvas c;
  EXPECT_EQ(DrawPolygon(&p, c.Pixels(), GuardedCanvas::kPitch), 1);
  EXPECT_EQ(c.CountValue(9), 1);
  EXPECT_EQ(c.At(103, 48), 9);
  // Off the screen the dot is clipped away, and the call still counts as drawn.
  GuardedCanvas off;
  p.posX = 640;
  EXPECT_EQ(DrawPolygon(&p, off.Pixels(), GuardedCanvas::kPitch), 1);
  EXPECT_EQ(off.CountValue(9), 0);
  EXPECT_TRUE(off.MarginsUntouched());
}

TEST_F(Polygons, FillOfADiamondEndsAndCoversItsArea) {
  // Both walkers finish their edges in the same pass, which takes the count of edges past zero.
  std::vector<PolygonVertex> v = {{0, -40}, {40, 0}, {0, 40}, {-40, 0}};
  PolygonShape p = MakePolygon(v, 320, 240);
  GuardedCanvas c;
  FillPolygon(&p, c.Pixels(), GuardedCanvas::kPitch);
  // Each row is filled after the walkers have stepped: the first row is the one below the top vertex, the
  // widest is the last row of the upper edges, and the row of the bottom vertex is not reached.
  EXPECT_EQ(c.RowExtent(199, 9), std::make_pair(-1, -1));
  EXPECT_EQ(c.RowExtent(200, 9), std::make_pair(319, 321));
  EXPECT_EQ(c.RowExtent(220, 9), std::make_pair(299, 341));
  EXPECT_EQ(c.RowExtent(239, 9), std::make_pair(280, 360));
  EXPECT_EQ(c.RowExtent(240, 9), std::make_pair(281, 359));
  EXPECT_EQ(c.RowExtent(279, 9), std::make_pair(320, 320));
  EXPECT_EQ(c.RowExtent(280, 9), std::make_pair(-1, -1));
  EXPECT_NEAR(c.CountValue(9), 2 * 40 * 40, 2 * 80);
}

// A plain scan-line fill of the polygon's edges with the convex fill's row rule: rows from the top vertex's down to
// the one above the lowest vertex, each filled between the edges where they cross the row's lower boundary.
GuardedCanvas PlainScanLineFill(const std::vector<PolygonVertex>& v, int32_t posX, int32_t posY) {
  GuardedCanvas canvas;
  float top = v[0].y, bottom = v[0].y;
  for (const PolygonVertex& p : v) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  for (int32_t y = static_cast<int32_t>(top); y < static_cast<int32_t>(bottom); ++y) {
    const float boundary = static_cast<float>(y + 1);
    float left = 1e9f, right = -1e9f;
    for (size_t i = 0; i < v.size(); ++i) {
      const PolygonVertex a = v[i], b = v[(i + 1) % v.size()];
      if (a.y == b.y || (boundary - a.y) * (boundary - b.y) > 0) continue;
      const float x = a.x + (b.x - a.x) * (boundary - a.y) / (b.y - a.y);
      left = std::min(left, x), right = std::max(right, x);
    }
    for (int32_t x = static_cast<int32_t>(std::floor(left)); x <= static_cast<int32_t>(std::floor(right)); ++x)
      canvas.Pixels()[(posY + y) * GuardedCanvas::kPitch + posX + x] = 9;
  }
  return canvas;
}

TEST_F(Polygons, FlatToppedAndFlatBottomedShapesFillAsAPlainScanLineFill) {
  // Edges are upright or at 45 degrees, where the walkers' steps land exactly on the edges. Flat tops are listed
  // from the top vertex (the first of the two at the top) whose other edge slants: the walker that takes the flat
  // edge spends the first row on it, which costs an upright edge nothing but would put a slanting one a row late.
  const std::vector<std::vector<PolygonVertex>> shapes = {
      {{0, 0}, {30, 0}, {30, 20}, {0, 20}},    // rectangle
      {{20, 0}, {40, 20}, {0, 20}},            // flat bottom, point at the top
      {{0, 0}, {0, 30}, {30, 30}},             // flat bottom, upright side
      {{0, 0}, {30, 0}, {30, 30}},             // flat top, upright right side
      {{30, 0}, {0, 30}, {0, 0}},              // flat top, upright left side
      {{0, 0}, {20, 0}, {20, 20}, {-20, 20}},  // flat top and bottom, one side slanting out
      {{0, 0}, {40, 0}, {40, 30}, {30, 30}}};  // flat top and bottom, one side slanting in
  for (size_t i = 0; i < shapes.size(); ++i) {
    std::vector<PolygonVertex> v = shapes[i];
    PolygonShape p = MakePolygon(v, 300, 200);
    GuardedCanvas c;
    FillPolygon(&p, c.Pixels(), GuardedCanvas::kPitch);
    EXPECT_TRUE(c == PlainScanLineFill(v, 300, 200)) << "shape " << i;
  }
}

TEST_F(Polygons, FillStaysWithinTheBoundingBoxOfItsVertices) {
  // Large regular polygons, and small many-sided circles whose short, often horizontal edges make the
  // walkers fall behind their vertices: neither may write outside the vertices' box.
  struct Shape {
    int32_t sides;
    float radius;
  };
  std::vector<Shape> shapes;
  for (int32_t sides = 3; sides <= 12; ++sides) shapes.push_back({sides, 150.0f});
  for (float radius : {3.0f, 6.0f, 9.0f, 12.0f, 20.0f, 33.0f}) shapes.push_back({32, radius});
  for (Shape shape : shapes) {
    for (int32_t turn = 0; turn < 360; turn += 37) {
      std::vector<PolygonVertex> v = RegularVertices(shape.sides, shape.radius, turn * 0.0174533f);
      PolygonShape p = MakePolygon(v, 320, 240);
      GuardedCanvas c;
      FillPolygon(&p, c.Pixels(), GuardedCanvas::kPitch);
      ASSERT_TRUE(c.MarginsUntouched());
      int32_t left = 640, right = -1, top = 480, bottom = -1;
      for (const PolygonVertex& vertex : v) {
        left = std::min(left, static_cast<int32_t>(320 + vertex.x));
        right = std::max(right, static_cast<int32_t>(320 + vertex.x));
        top = std::min(top, static_cast<int32_t>(240 + vertex.y));
        bottom = std::max(bottom, static_cast<int32_t>(240 + vertex.y));
      }
      int32_t filled = 0;
      for (int32_t y = 0; y < 480; ++y)
        for (int32_t x = 0; x < 640; ++x) {
          if (c.At(x, y) != 9) continue;
          ++filled;
          ASSERT_TRUE(x >= left && x <= right && y >= top && y <= bottom)
              << shape.sides << " sides, radius " << shape.radius << ", turn " << turn << ": (" << x << ", " << y
              << ") outside " << left << ".." << right << " x " << top << ".." << bottom;
        }
      double area = 0.5 * shape.sides * shape.radius * shape.radius * std::sin(2 * 3.14159265358979 / shape.sides);
      // Small shapes lose or gain whole edge rows to the walkers' lag; the large ones come out close.
      double slack = shape.radius < 30 ? 0.5 : 0.05;
      EXPECT_NEAR(filled, area, area * slack + 8) << shape.sides << " sides, radius " << shape.radius;
    }
  }
}

TEST_F(Polygons, FillWithFewerThanThreeVerticesDrawsNothing) {
  std::vector<PolygonVertex> v = {{0, 0}, {30, 30}};
  PolygonShape p = MakePolygon(v, 100, 100);
  GuardedCanvas c;
  FillPolygon(&p, c.Pixels(), GuardedCanvas::kPitch);
  p.vertexCount = 0;
  p.vertices = nullptr;
  FillPolygon(&p, c.Pixels(), GuardedCanvas::kPitch);
  EXPECT_EQ(c.CountValue(9), 0);
}

TEST_F(Polygons, BoundsAlwaysHoldTheLocalOrigin) {
  std::vector<PolygonVertex> v = {{5, 5}, {10, 8}};
  PolygonShape p = MakePolygon(v, 0, 0);
  float minX = -1, maxX = -1, minY = -1, maxY = -1;
  EXPECT_EQ(GetPolygonBounds(&p, &minX, &maxX, &minY, &maxY), 1);
  EXPECT_EQ(minX, 0.0f);
  EXPECT_EQ(maxX, 10.0f);
  EXPECT_EQ(minY, 0.0f);
  EXPECT_EQ(maxY, 8.0f);
  v = {{-3, 4}, {-7, -2}};
  GetPolygonBounds(&p, &minX, &maxX, &minY, &maxY);
  EXPECT_EQ(minX, -7.0f);
  EXPECT_EQ(maxX, 0.0f);
  EXPECT_EQ(minY, -2.0f);
  EXPECT_EQ(maxY, 4.0f);
  p.vertexCount = 0;
  EXPECT_EQ(GetPolygonBounds(&p, &minX, &maxX, &minY, &maxY), 0);
}

}  // namespace
