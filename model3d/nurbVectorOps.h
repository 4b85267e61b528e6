#pragma once
// The small value operations of the NURBS code: in-place and copying arithmetic on 3D points,
// homogeneous points (x w, y w, z w, w) and their projection, 4x4 matrices from value lists,
// paged-pool shortcuts, a 2x2 linear solver with a singularity tolerance and the nearest point of
// one line to another. Plain functions; no state. dot, cross and length of mVec3dC come from
// m3dVectorOps.h.

#include <type_traits>

#include "foundation/pagedArray.h"
#include "meta/mMat2d.h"
#include "meta/mMat4d.h"
#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "meta/mVec4d.h"
#include "meta/realArray.h"
#include "model3d/m3dVectorOps.h"

// 3D vectors. The in-place forms return v.
mVec3dC& divideInPlace(mVec3dC& v, double k);
mVec3dC& addInPlace(mVec3dC& v, const mVec3dC& a);
mVec3dC& subtractInPlace(mVec3dC& v, const mVec3dC& a);
mVec3dC divided(const mVec3dC& v, double k);
double squaredLength(const mVec3dC& a);
mVec3dC plus(const mVec3dC& a, const mVec3dC& b);

// Homogeneous points: all four components take part. Inline: the evaluators run them for every
// control point they touch.
inline mVec4dC plus4(const mVec4dC& a, const mVec4dC& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
inline mVec4dC& addInPlace4(mVec4dC& a, const mVec4dC& b) {
  a.x += b.x;
  a.y += b.y;
  a.z += b.z;
  a.w += b.w;
  return a;
}
inline mVec4dC times4(const mVec4dC& a, double k) { return {a.x * k, a.y * k, a.z * k, a.w * k}; }
inline double* zOf(mVec4dC& a) { return &a.z; }
inline double* wOf(mVec4dC& a) { return &a.w; }
// (x / w, y / w, z / w); a weight of exactly 0.0 or 1.0 leaves (x, y, z) as stored.
inline mVec3dC projected(const mVec4dC& a) {
  if (a.w == 0.0 || a.w == 1.0) return {a.x, a.y, a.z};
  return {a.x / a.w, a.y / a.w, a.z / a.w};
}
// (x w, y w, z w, w).
inline mVec4dC homogeneous(const mVec3dC& p, double w) { return {p.x * w, p.y * w, p.z * w, w}; }

// A matrix whose 16 stored elements are `values` in order; transposed afterwards when the flag
// is set.
mMat4dC fromValues(const double* values, int transpose);
void setValues16(mMat4dC& m, const double* values);

// Every element of the array := value; returns the count.
std::int64_t fill(realArrayC& array, double value);
// A new last slot holding a copy of p; the slot is returned (valid until the pool is cleared).
mVec2dC* appendPoint2d(pagedArrayC<mVec2dC>& pool, const mVec2dC& p);
mVec3dC* appendPoint3d(pagedArrayC<mVec3dC>& pool, const mVec3dC& p);
// The last element; null for an empty pool.
mVec3dC* lastPoint3d(const pagedArrayC<mVec3dC>& pool);
// An empty pool with pages of 8 elements, of doubles or of 3D points.
template <class T>
pagedArrayC<T> makePool() {
  static_assert(std::is_same_v<T, double> || std::is_same_v<T, mVec3dC>,
                "pools of doubles or of 3D points");
  return pagedArrayC<T>(3);
}
// a when a > b, else b.
inline double maxOf(double a, double b) { return a > b ? a : b; }

// Solves M x = p for M = [[m0, m2], [m1, m3]] (stored column by column). Returns 0 and leaves x
// unchanged when |det| < tolerance; else 1, with every component of x below the tolerance in
// magnitude set to 0.0.
int solve2x2(const mMat2dC& M, const mVec2dC& p, mVec2dC& x, double tolerance);
// Each element of m below the tolerance in magnitude := 0.0.
void snapToZero4(mMat2dC& m, double tolerance);

// The point of line 2 (through q along d2) nearest to line 1 (through p along d1). Returns 0 and
// leaves `out` unchanged when the lines are parallel ((n . d2)^2 < 1e-7 with n = (d1 x d2) x d1).
int closestPointOnLine(const mVec3dC& p, const mVec3dC& d1, const mVec3dC& q, const mVec3dC& d2,
                       mVec3dC& out);
