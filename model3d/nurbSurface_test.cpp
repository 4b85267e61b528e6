#include "model3d/nurbSurface.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model3d/nurbVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/nurbTextbook.h"

namespace {

using m3dtesting::expectNear;

// A rational bicubic-by-quadratic patch, 4 x 4 points, one interior u knot.
nurbSurfaceC wavyPatch() {
  const double ku[] = {0, 0, 0, 0.4, 1, 1, 1};           // degree 2, nu = 4
  const double kv[] = {0, 0, 0, 0, 1, 1, 1, 1};           // degree 3, nv = 4
  mVec3dC net[16];
  double w[16];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      net[j + 4 * i] = {double(i), double(j), std::sin(i + 2.0 * j) * 0.5};
      w[j + 4 * i] = 1.0 + 0.25 * ((i + j) % 3);
    }
  }
  nurbSurfaceC s;
  EXPECT_EQ(s.build(2, 3, ku, 7, kv, 8, 0, 0, net, w, 4, 4), 1);
  return s;
}

mVec3dC bruteForcePoint(const nurbSurfaceC& s, double u, double v) {
  mVec4dC sum;
  for (int i = 0; i < s.nu(); ++i) {
    for (int j = 0; j < s.nv(); ++j) {
      const double b = s.knotsU().basisValue(u, i, s.knotsU().degree()) *
                       s.knotsV().basisValue(v, j, s.knotsV().degree());
      addInPlace4(sum, times4(s.controlPoint(i, j), b));
    }
  }
  return projected(sum);
}

TEST(nurbSurface, PointAndDerivativesAgreeWithIndependentComputations) {
  const nurbSurfaceC s = wavyPatch();
  const double h = 1e-5;
  for (double u : {0.0, 0.2, 0.55, 1.0}) {
    for (double v : {0.0, 0.3, 0.8, 1.0}) {
      expectNear(s.pointAt(u, v), bruteForcePoint(s, u, v), 1e-12);
    }
  }
  for (double u : {0.2, 0.55}) {
    for (double v : {0.3, 0.8}) {
      pagedArrayC<mVec3dC> d, du, dv;
      ASSERT_EQ(s.derivatives(u, v, 2, d), 1);  // index k * 3 + l
      s.derivatives(u + h, v, 1, du);           // index k * 2 + l
      pagedArrayC<mVec3dC> dum, dvm;
      s.derivatives(u - h, v, 1, dum);
      s.derivatives(u, v + h, 1, dv);
      s.derivatives(u, v - h, 1, dvm);
      expectNear(d[0], s.pointAt(u, v), 1e-12);
      expectNear(d[3], divided(subtract(du[0], dum[0]), 2 * h), 1e-5);   // Su
      expectNear(d[1], divided(subtract(dv[0], dvm[0]), 2 * h), 1e-5);   // Sv
      expectNear(d[6], divided(subtract(du[2], dum[2]), 2 * h), 1e-4);   // Suu
      expectNear(d[2], divided(subtract(dv[1], dvm[1]), 2 * h), 1e-4);   // Svv
      expectNear(d[4], divided(subtract(du[1], dum[1]), 2 * h), 1e-4);   // Suv
      const mVec3dC n = s.normalAt(u, v);
      EXPECT_NEAR(length(n), 1.0, 1e-12);
      EXPECT_NEAR(dot(n, d[3]), 0.0, 1e-9);
      EXPECT_NEAR(dot(n, d[1]), 0.0, 1e-9);
    }
  }
}

// Bit for bit the textbook point: for each v row of the span the u sum, then the v sum, divided
// by w; nets of several degrees with uneven knots and weights, a degree of 18 in v taking the
// basis values' room from the heap.
TEST(nurbSurface, PointsAreTheTextbookPointsExactly) {
  struct Case {
    int p, q, nu, nv;
  } cases[] = {{3, 3, 10, 10}, {2, 3, 12, 7}, {1, 18, 3, 20}};
  for (const Case& c : cases) {
    auto knots = [](int p, int n) {
      nurbtextbook::directionC d{p, {}};
      for (int i = 0; i <= p; ++i) d.U.push_back(0.0);
      for (int i = 1; i < n - p; ++i) d.U.push_back(d.U.back() + (i % 4 == 0 ? 0.0 : 0.25 * i));
      const double end = d.U.back() + 1.0;
      for (int i = 0; i <= p; ++i) d.U.push_back(end);
      return d;
    };
    const nurbtextbook::directionC du = knots(c.p, c.nu), dv = knots(c.q, c.nv);
    std::vector<mVec3dC> net;
    std::vector<double> w;
    std::vector<mVec4dC> P;
    for (int k = 0; k < c.nu * c.nv; ++k) {
      net.push_back({std::sin(k * 0.3), std::cos(k * 0.11), k * 0.01});
      w.push_back(k % 3 == 0 ? 1.0 : 0.75 + (k % 5) * 0.125);
      P.push_back(homogeneous(net.back(), w.back()));
    }
    nurbSurfaceC s;
    ASSERT_EQ(s.build(c.p, c.q, du.U.data(), static_cast<std::int64_t>(du.U.size()), dv.U.data(),
                      static_cast<std::int64_t>(dv.U.size()), 0, 0, net.data(), w.data(), c.nu,
                      c.nv),
              1);
    for (int i = 0; i <= 60; ++i) {
      for (int j = 0; j <= 60; ++j) {
        const double u = du.U.back() * i / 60.0, v = dv.U.back() * j / 60.0;
        const mVec3dC got = s.pointAt(u, v), want = nurbtextbook::surfacePoint(du, dv, c.nv, P, u, v);
        ASSERT_EQ(got.x, want.x) << c.p << " " << c.q << " " << u << " " << v;
        ASSERT_EQ(got.y, want.y) << c.p << " " << c.q << " " << u << " " << v;
        ASSERT_EQ(got.z, want.z) << c.p << " " << c.q << " " << u << " " << v;
      }
    }
  }
}

// u knots 0 0 0 1 1 of degree 1: the u span at 0 is empty and row 0 has no basis function, so
// the surface at u = 0 is row 1 (the limit), (1 - u) row 1 + u row 2 on [0, 1]. v: 0 0 1 1.
TEST(nurbSurface, DeviationEndKnotRepeatedBeyondPPlusOneEvaluatesToTheLimit) {
  const double ku[] = {0, 0, 0, 1, 1}, kv[] = {0, 0, 1, 1};
  const mVec3dC net[] = {{9, 9, 9}, {9, 9, 9}, {0, 0, 1}, {1, 0, 1}, {0, 1, 0}, {1, 1, 0}};
  nurbSurfaceC s;
  ASSERT_EQ(s.build(1, 1, ku, 5, kv, 4, 0, 0, net, nullptr, 3, 2), 1);
  ASSERT_EQ(s.isValid(), 1);
  expectNear(s.pointAt(0, 0), {0, 0, 1}, 1e-12);
  expectNear(s.pointAt(0, 1), {1, 0, 1}, 1e-12);
  expectNear(s.pointAt(0.5, 0.5), {0.5, 0.5, 0.5}, 1e-12);
  pagedArrayC<mVec3dC> d;  // index k * 2 + l
  ASSERT_EQ(s.derivatives(0, 0, 1, d), 1);
  expectNear(d[0], {0, 0, 1}, 1e-12);
  expectNear(d[2], {0, 1, -1}, 1e-12);  // Su = row 2 - row 1
  expectNear(d[1], {1, 0, 0}, 1e-12);   // Sv
}

TEST(nurbSurface, IsoCurvesAndReverseU) {
  nurbSurfaceC s = wavyPatch();
  const nurbCurveC cu = s.isoCurveAtV(0.3);
  const nurbCurveC cv = s.isoCurveAtU(0.55);
  for (int i = 0; i <= 10; ++i) {
    const double t = i / 10.0;
    expectNear(cu.pointAt(t), s.pointAt(t, 0.3), 1e-12);
    expectNear(cv.pointAt(t), s.pointAt(0.55, t), 1e-12);
  }
  const nurbSurfaceC before = s;
  s.reverseU();  // the u knots are uneven
  for (int i = 0; i <= 10; ++i) expectNear(s.pointAt(i / 10.0, 0.3), before.pointAt(1 - i / 10.0, 0.3), 1e-12);
}

TEST(nurbSurface, CylinderAndPatchShapes) {
  mMat4dC frame = mMat4dC::identity();
  frame.setTranslation({1, 2, 3});
  nurbSurfaceC cyl;
  cyl.makeCylinder(frame, 4.0, 5.0);
  EXPECT_EQ(cyl.nu(), 2);
  EXPECT_EQ(cyl.nv(), 9);
  EXPECT_EQ(cyl.knotsV().closed(), 1);
  for (double u : {0.0, 0.5, 1.0}) {
    for (int j = 0; j <= 16; ++j) {
      const mVec3dC p = cyl.pointAt(u, j / 16.0);
      EXPECT_NEAR(std::hypot(p.x - 1, p.y - 2), 2.0, 1e-12);
      EXPECT_NEAR(p.z, 3 + 5 * u, 1e-12);
    }
  }
  nurbSurfaceC patch;
  patch.makePlanarPatch(mMat4dC::identity(), 1, 2, 3, 4);
  expectNear(patch.pointAt(0, 0), {-1, 4, 0}, 0);
  expectNear(patch.pointAt(1, 1), {2, -3, 0}, 0);
  expectNear(patch.normalAt(0.5, 0.5), {0, 0, 1}, 1e-12);
  EXPECT_EQ(patch.boundingBox().maximum.y, 4);
  patch.cache().samples(patch);
  patch.setControlPoint(0, 0, {-1, 9, 0, 1});  // drops the cached box and samples
  EXPECT_EQ(patch.cache().sampleCount(), 0);
  EXPECT_EQ(patch.boundingBox().maximum.y, 9);
}

TEST(nurbSurface, ClosestPoint) {
  std::srand(12345);
  const nurbSurfaceC s = wavyPatch();
  // From a point on the surface off the sample grid, and from one above it along the normal.
  for (auto uv : {std::pair{0.37, 0.61}, std::pair{0.81, 0.22}}) {
    const mVec3dC onSurface = s.pointAt(uv.first, uv.second);
    const mVec3dC above = plus(onSurface, scaleBy(s.normalAt(uv.first, uv.second), 0.05));
    for (const mVec3dC& p : {onSurface, above}) {
      double u = -1, v = -1;
      ASSERT_EQ(s.closestPoint(p, u, v, 100), 1);
      EXPECT_NEAR(u, uv.first, 1e-3);
      EXPECT_NEAR(v, uv.second, 1e-3);
    }
  }
  // A sample point: exact from the grid (cu = cv = 8).
  double u = -1, v = -1;
  ASSERT_EQ(s.closestPoint(s.pointAt(3.0 / 7, 5.0 / 7), u, v, 100), 1);
  EXPECT_DOUBLE_EQ(u, 3.0 / 7);
  EXPECT_DOUBLE_EQ(v, 5.0 / 7);

  // Beyond a corner of a flat patch the steps pin to the bounds and get perturbed; with the
  // same seed two runs agree, and the parameters never leave the bounds.
  nurbSurfaceC patch;
  patch.makePlanarPatch(mMat4dC::identity(), 1, 1, 1, 1);
  double u1, v1, u2, v2;
  std::srand(7);
  const int r1 = patch.closestPoint({5, 5, 1}, u1, v1, 20);
  std::srand(7);
  const int r2 = patch.closestPoint({5, 5, 1}, u2, v2, 20);
  EXPECT_EQ(r1, r2);
  EXPECT_EQ(u1, u2);
  EXPECT_EQ(v1, v2);
  for (double x : {u1, v1}) {
    EXPECT_GE(x, 0.0);
    EXPECT_LE(x, 1.0);
  }
}

// A point that is not finite has no nearest surface point: the search fails, and u and v stay
// inside the bounds.
TEST(nurbSurface, ClosestPointOfAPointThatIsNotFinite) {
  const nurbSurfaceC s = wavyPatch();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const mVec3dC& p : {mVec3dC(nan, nan, nan), mVec3dC(nan, 1, 0), mVec3dC(1, 1, inf),
                           mVec3dC(-inf, inf, 0)}) {
    double u = -1, v = -1;
    EXPECT_EQ(s.closestPoint(p, u, v, 100), 0);
    EXPECT_GE(u, 0.0);
    EXPECT_LE(u, 1.0);
    EXPECT_GE(v, 0.0);
    EXPECT_LE(v, 1.0);
  }
}

TEST(nurbSurface, ProjectCurve) {
  std::srand(1);
  nurbSurfaceC patch;
  patch.makePlanarPatch(mMat4dC::identity(), 1, 1, 1, 1);  // (u, v) -> (-1 + 2 v, 1 - 2 u)
  nurbCurveC line;
  line.makeLine({-0.5, 0.2, 0.3}, {0.7, -0.4, 0.3});
  pagedArrayC<mVec2dC> out;
  ASSERT_EQ(patch.projectCurve(line, 5, out), 5);
  for (int i = 0; i < 5; ++i) {
    const mVec3dC p = line.pointAt(i / 4.0);
    EXPECT_NEAR(out[i].y, (p.x + 1) / 2, 1e-6);
    EXPECT_NEAR(out[i].x, (1 - p.y) / 2, 1e-6);
  }
  EXPECT_EQ(patch.projectCurve(line, 1, out), 1);  // a single parameter: the curve's start
  EXPECT_EQ(patch.projectCurve(line, 0, out), 0);
}

}  // namespace
