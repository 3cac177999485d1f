// Degree look-up tables for sine and cosine, 3x2 and 3x3 float matrices, and two fast distance estimates.
// The tables feed polygon rotation; the matrices the polygon transforms; the distances avoid a square root.
#pragma once

#include <cstdint>

// Sine and cosine by whole degree 0..359; all zero until BuildSinCosTables has run.
extern float SinTable[360];
extern float CosTable[360];

// An affine 2-D transform: the row vector (x, y, 1) times this 3x2 matrix gives
// x' = x*m00 + y*m10 + m20 and y' = x*m01 + y*m11 + m21.
struct Matrix3x2 {
  float m00, m01;
  float m10, m11;
  float m20, m21;
};

// A 3x3 float matrix in row order: m[row][column].
struct Matrix3x3 {
  float m[3][3];
};

// Fills SinTable and CosTable. Call once before any rotation.
void BuildSinCosTables();

// Brings any whole-degree angle into 0..359, so a table look-up never leaves the tables.
int32_t ReduceDegrees(int32_t angle);

// Stores the six values into m. Returns 1.
int32_t SetMatrix3x2(Matrix3x2* m, float m00, float m01, float m10, float m11, float m20, float m21);

// result = (point[0], point[1], 1) times m. result may be point itself. Returns 1.
int32_t TransformPointByMatrix3x2(const float point[2], const Matrix3x2* m, float result[2]);

// result = a times b (rows of a with columns of b, summed from 0 in k order 0, 1, 2). result may alias a or b.
// Returns 1.
int32_t MultiplyMatrix3x3(const Matrix3x3* a, const Matrix3x3* b, Matrix3x3* result);

// result[i] = sum over j of a[j] * b[j][i] (the row vector a times b). result may alias a. Returns 1.
int32_t MultiplyVectorByMatrix3x3(const float a[3], const Matrix3x3* b, float result[3]);

// Length of (dx, dy) to within a few per cent, with shifts only.
int32_t ApproxLength2D(int32_t dx, int32_t dy);

// Length of (x, y, z) to within a few per cent, in whole units (the result is always a whole number).
float ApproxLength3D(float x, float y, float z);
