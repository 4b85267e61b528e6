// The plain vector and matrix functions of the 3D model.

#include "model3d/m3dVectorOps.h"

#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;
}

mVec3dC subtract(const mVec3dC& a, const mVec3dC& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

mVec3dC scaleBy(const mVec3dC& a, double k) { return {a.x * k, a.y * k, a.z * k}; }

mVec3dC setLength(const mVec3dC& a, double L) {
  const double len = length(a);
  if (len == 0.0) return a;
  return scaleBy(a, L / len);
}

double length(const mVec3dC& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

mVec3dC cross(const mVec3dC& a, const mVec3dC& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double dot(const mVec3dC& a, const mVec3dC& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

mVec3dC transformPoint(const mMat4dC& M, const mVec3dC& p) { return M.transformPoint(p); }

mVec3dC axisX(const mMat4dC& M) { return {M.m[0], M.m[1], M.m[2]}; }
mVec3dC axisY(const mMat4dC& M) { return {M.m[4], M.m[5], M.m[6]}; }
mVec3dC axisZ(const mMat4dC& M) { return {M.m[8], M.m[9], M.m[10]}; }
mVec3dC origin(const mMat4dC& M) { return {M.m[12], M.m[13], M.m[14]}; }

void setAxisY(mMat4dC& M, const mVec3dC& y) {
  M.m[4] = y.x;
  M.m[5] = y.y;
  M.m[6] = y.z;
}

bool isLeftHanded(const mMat4dC& M) { return dot(cross(axisX(M), axisY(M)), axisZ(M)) < 0.0; }

mMat4dC rotationFromAxisAngle(const mVec3dC& axis, double degrees) {
  mMat4dC r = mMat4dC::identity();
  const double len = length(axis);
  if (len == 0.0) return r;
  const mVec3dC u = scaleBy(axis, 1.0 / len);
  const double a = degrees * kPi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double x = u.x, y = u.y, z = u.z;
  r.m[0] = x * x + (1.0 - x * x) * c;
  r.m[1] = x * y * (1.0 - c) + z * s;
  r.m[2] = x * z * (1.0 - c) - y * s;
  r.m[4] = x * y * (1.0 - c) - z * s;
  r.m[5] = y * y + c * (1.0 - y * y);
  r.m[6] = y * z * (1.0 - c) + x * s;
  r.m[8] = x * z * (1.0 - c) + y * s;
  r.m[9] = y * z * (1.0 - c) - x * s;
  r.m[10] = z * z + c * (1.0 - z * z);
  return r;
}

mMat4dC invertRigidTransform(const mMat4dC& M) {
  mMat4dC r = M.transposedRotation();
  const mVec3dC t = origin(M);
  r.m[12] = r.m[13] = r.m[14] = 0.0;
  const mVec3dC rt = r.transformPoint(t);  // R^T t: the translation is cleared
  r.m[12] = -rt.x;
  r.m[13] = -rt.y;
  r.m[14] = -rt.z;
  return r;
}

mMat4dC translationMatrix(const mVec3dC& p) {
  mMat4dC r = mMat4dC::identity();
  r.setTranslation(p);
  return r;
}
