// Degree tables for sine and cosine, small matrix products and the fast distance estimates.
// The tables are program-wide and built once; everything else is a pure function of its arguments.
#include "gfx/extras/fast_math.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

float SinTable[360];
float CosTable[360];

void BuildSinCosTables() {
  // KEEP: pi as 3.1415926535, sine of the float angle, cosine of the double: the tables Polygons tests pin.
  // The tables are meant to hold exactly these values, so rotations repeat bit for bit.
  for (int32_t i = 0; i < 360; ++i) {
    double angle = i * 3.1415926535 / 180.0;
    CosTable[i] = static_cast<float>(std::cos(angle));
    SinTable[i] = static_cast<float>(std::sin(static_cast<double>(static_cast<float>(angle))));
  }
}

int32_t ReduceDegrees(int32_t angle) {
  int32_t reduced = angle % 360;
  return reduced < 0 ? reduced + 360 : reduced;
}

int32_t SetMatrix3x2(Matrix3x2* m, float m00, float m01, float m10, float m11, float m20, float m21) {
  *m = Matrix3x2{m00, m01, m10, m11, m20, m21};
  return 1;
}

int32_t TransformPointByMatrix3x2(const float point[2], const Matrix3x2* m, float result[2]) {
  float x = point[0];
  float y = point[1];
  result[0] = x * m->m00 + y * m->m10 + m->m20;
  result[1] = x * m->m01 + y * m->m11 + m->m21;
  return 1;
}

int32_t MultiplyMatrix3x3(const Matrix3x3* a, const Matrix3x3* b, Matrix3x3* result) {
  Matrix3x3 product;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 3; ++k) sum += a->m[i][k] * b->m[k][j];
      product.m[i][j] = sum;
    }
  }
  *result = product;
  return 1;
}

int32_t MultiplyVectorByMatrix3x3(const float a[3], const Matrix3x3* b, float result[3]) {
  float product[3];
  for (int i = 0; i < 3; ++i) {
    float sum = 0.0f;
    for (int j = 0; j < 3; ++j) sum += a[j] * b->m[j][i];
    product[i] = sum;
  }
  std::copy(product, product + 3, result);
  return 1;
}

int32_t ApproxLength2D(int32_t dx, int32_t dy) {
  // Widened so that the absolute value of the most negative int and the sum of two large ones stay exact.
  int64_t x = std::llabs(static_cast<int64_t>(dx));
  int64_t y = std::llabs(static_cast<int64_t>(dy));
  int64_t m = std::min(x, y);
  return static_cast<int32_t>(x + y - (m >> 1) - (m >> 2) + (m >> 4));
}

namespace {

// |value| * 1024 truncated to an integer; values too large for that (and NaN) are held at a safe bound.
int64_t ScaledMagnitude(float value) {
  double scaled = std::fabs(static_cast<double>(value)) * 1024.0;
  if (!(scaled < 1e15)) return scaled > 0.0 ? static_cast<int64_t>(1e15) : 0;
  return static_cast<int64_t>(scaled);
}

}  // namespace

float ApproxLength3D(float x, float y, float z) {
  int64_t p = ScaledMagnitude(x);
  int64_t q = ScaledMagnitude(y);
  int64_t r = ScaledMagnitude(z);
  // Sort so that p <= q <= r.
  if (p > q) std::swap(p, q);
  if (q > r) std::swap(q, r);
  if (p > q) std::swap(p, q);
  return static_cast<float>((r + 11 * (q >> 5) + (p >> 2)) >> 10);
}
