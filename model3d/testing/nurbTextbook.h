#pragma once
// Test and benchmark instrument: the textbook evaluation of rational B-spline points, written
// apart from the model's classes on plain arrays: the span by binary search, the Cox-de Boor
// basis values in stack arrays, the homogeneous sum divided by w. It takes well-formed input only
// (non-decreasing knots, count = points + p + 1, knots[p] < knots[points], degree at most
// maxDegree). Header-only.

#include <cstddef>
#include <vector>

#include "meta/mVec3d.h"
#include "meta/mVec4d.h"

namespace nurbtextbook {

constexpr int maxDegree = 32;

// One parameter direction: degree p and its knots U.
struct directionC {
  int p = 0;
  std::vector<double> U;

  // The index n of the last control point.
  int lastIndex() const { return static_cast<int>(U.size()) - p - 2; }

  // The s with U[s] <= u < U[s + 1]; n for u at or past U[n + 1], p at or before U[p].
  int findSpan(double u) const {
    const int n = lastIndex();
    if (u >= U[n + 1]) return n;
    if (u <= U[p]) return p;
    int low = p, high = n + 1, mid = (low + high) / 2;
    while (u < U[mid] || u >= U[mid + 1]) {
      if (u < U[mid]) {
        high = mid;
      } else {
        low = mid;
      }
      mid = (low + high) / 2;
    }
    return mid;
  }

  // N[0..p]: the basis values that do not vanish in the span.
  void basis(double u, int span, double* N) const {
    double left[maxDegree + 1], right[maxDegree + 1];
    N[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
      left[j] = u - U[span + 1 - j];
      right[j] = U[span + j] - u;
      double saved = 0.0;
      for (int r = 0; r < j; ++r) {
        const double temp = N[r] / (right[r + 1] + left[j - r]);
        N[r] = saved + right[r + 1] * temp;
        saved = left[j - r] * temp;
      }
      N[j] = saved;
    }
  }
};

// (x / w, y / w, z / w), or (x, y, z) for w = 0 or 1.
inline mVec3dC project(double x, double y, double z, double w) {
  if (w == 0.0 || w == 1.0) return {x, y, z};
  return {x / w, y / w, z / w};
}

// C(u) of the homogeneous points P (x w, y w, z w, w), u in the knots' range.
inline mVec3dC curvePoint(const directionC& d, const std::vector<mVec4dC>& P, double u) {
  const int span = d.findSpan(u);
  double N[maxDegree + 1];
  d.basis(u, span, N);
  double x = 0, y = 0, z = 0, w = 0;
  for (int j = 0; j <= d.p; ++j) {
    const mVec4dC& c = P[static_cast<std::size_t>(span - d.p + j)];
    x += N[j] * c.x;
    y += N[j] * c.y;
    z += N[j] * c.z;
    w += N[j] * c.w;
  }
  return project(x, y, z, w);
}

// S(u, v) of the homogeneous net P, point (i, j) at j + i nv: the u sums of every row of the
// span, then their v sum.
inline mVec3dC surfacePoint(const directionC& du, const directionC& dv, int nv,
                            const std::vector<mVec4dC>& P, double u, double v) {
  const int su = du.findSpan(u), sv = dv.findSpan(v);
  double Nu[maxDegree + 1], Nv[maxDegree + 1];
  du.basis(u, su, Nu);
  dv.basis(v, sv, Nv);
  double x = 0, y = 0, z = 0, w = 0;
  for (int l = 0; l <= dv.p; ++l) {
    double tx = 0, ty = 0, tz = 0, tw = 0;
    for (int k = 0; k <= du.p; ++k) {
      const mVec4dC& c = P[static_cast<std::size_t>(sv - dv.p + l) +
                           static_cast<std::size_t>(su - du.p + k) * static_cast<std::size_t>(nv)];
      tx += Nu[k] * c.x;
      ty += Nu[k] * c.y;
      tz += Nu[k] * c.z;
      tw += Nu[k] * c.w;
    }
    x += Nv[l] * tx;
    y += Nv[l] * ty;
    z += Nv[l] * tz;
    w += Nv[l] * tw;
  }
  return project(x, y, z, w);
}

}  // namespace nurbtextbook
