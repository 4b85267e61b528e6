// The small value operations of the NURBS code.

#include "model3d/nurbVectorOps.h"

#include <cmath>

mVec3dC& divideInPlace(mVec3dC& v, double k) {
  v.x /= k;
  v.y /= k;
  v.z /= k;
  return v;
}

mVec3dC& addInPlace(mVec3dC& v, const mVec3dC& a) {
  v.x += a.x;
  v.y += a.y;
  v.z += a.z;
  return v;
}

mVec3dC& subtractInPlace(mVec3dC& v, const mVec3dC& a) {
  v.x -= a.x;
  v.y -= a.y;
  v.z -= a.z;
  return v;
}

mVec3dC divided(const mVec3dC& v, double k) { return {v.x / k, v.y / k, v.z / k}; }

double squaredLength(const mVec3dC& a) { return a.x * a.x + a.y * a.y + a.z * a.z; }

mVec3dC plus(const mVec3dC& a, const mVec3dC& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

mMat4dC fromValues(const double* values, int transpose) {
  mMat4dC m;
  setValues16(m, values);
  if (transpose != 0) {
    for (int c = 0; c < 4; ++c) {
      for (int r = c + 1; r < 4; ++r) {
        const double t = m.m[4 * c + r];
        m.m[4 * c + r] = m.m[4 * r + c];
        m.m[4 * r + c] = t;
      }
    }
  }
  return m;
}

void setValues16(mMat4dC& m, const double* values) {
  for (int i = 0; i < 16; ++i) m.m[i] = values[i];
}

std::int64_t fill(realArrayC& array, double value) {
  for (std::int64_t i = 0; i < array.count(); ++i) array.at(i) = value;
  return array.count();
}

mVec2dC* appendPoint2d(pagedArrayC<mVec2dC>& pool, const mVec2dC& p) {
  mVec2dC* slot = pool.appendSlot();
  *slot = p;
  return slot;
}

mVec3dC* appendPoint3d(pagedArrayC<mVec3dC>& pool, const mVec3dC& p) {
  mVec3dC* slot = pool.appendSlot();
  *slot = p;
  return slot;
}

mVec3dC* lastPoint3d(const pagedArrayC<mVec3dC>& pool) { return pool.last(); }

int solve2x2(const mMat2dC& M, const mVec2dC& p, mVec2dC& x, double tolerance) {
  const double* m = M.m;
  const double det = m[0] * m[3] - m[2] * m[1];
  if (std::fabs(det) < tolerance) return 0;
  x.x = (p.x * m[3] - m[2] * p.y) / det;
  x.y = (m[0] * p.y - p.x * m[1]) / det;
  if (std::fabs(x.x) < tolerance) x.x = 0.0;
  if (std::fabs(x.y) < tolerance) x.y = 0.0;
  return 1;
}

void snapToZero4(mMat2dC& m, double tolerance) {
  for (double& e : m.m) {
    if (std::fabs(e) < tolerance) e = 0.0;
  }
}

int closestPointOnLine(const mVec3dC& p, const mVec3dC& d1, const mVec3dC& q, const mVec3dC& d2,
                       mVec3dC& out) {
  const mVec3dC n = cross(cross(d1, d2), d1);
  const double nd2 = dot(n, d2);
  if (nd2 * nd2 < 1e-7) return 0;
  out = plus(q, scaleBy(d2, dot(subtract(p, q), n) / nd2));
  return 1;
}
