#include "model3d/nurbCurve.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model3d/nurbVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/nurbTextbook.h"

namespace {

using m3dtesting::expectNear;

constexpr double kPi = 3.141592653589793;

// A rational cubic with uneven knots and an interior double knot.
nurbCurveC unevenCubic() {
  const double knots[] = {0, 0, 0, 0, 0.2, 0.5, 0.5, 0.9, 1, 1, 1, 1};
  const mVec3dC pts[] = {{0, 0, 0}, {1, 2, 0}, {2, 3, 1}, {4, 1, 2}, {5, -1, 0}, {6, 0, 3}, {7, 2, 1}, {8, 0, 0}};
  const double w[] = {1, 0.5, 2, 1, 0.7, 1.5, 1, 1};
  nurbCurveC c;
  EXPECT_EQ(c.build(3, knots, 12, pts, w, 8), 1);
  return c;
}

// Independent evaluation: every basis function from basisValue, no span search.
mVec3dC bruteForcePoint(const nurbCurveC& c, double u) {
  mVec4dC sum;
  for (std::int64_t i = 0; i < c.controlCount(); ++i) {
    addInPlace4(sum, times4(c.controlPoint(i), c.basisValue(u, i, c.degree())));
  }
  return projected(sum);
}

TEST(nurbCurve, FindSpanAtTheEndsAndInside) {
  const nurbCurveC c = unevenCubic();  // n = 12 - 3 = 9
  struct Case {
    double u;
    std::int64_t span;
  } cases[] = {{-1, 3}, {0, 3}, {0.1, 3}, {0.2, 4}, {0.3, 4}, {0.5, 6}, {0.95, 7}, {1, 7}, {2, 7}};
  for (const Case& k : cases) EXPECT_EQ(c.findSpan(k.u), k.span) << k.u;

  // Knots out of order still end the search, inside the valid span range.
  nurbKnotVectorC bad;
  const double knots[] = {0, 0, 5, 1, 3, 2, 4, 4};
  bad.setDegree(1);
  bad.setKnots(knots, 8);
  for (double u : {0.5, 1.5, 2.5, 3.5}) {
    const std::int64_t s = bad.findSpan(u);
    EXPECT_GE(s, 1);
    EXPECT_LE(s, 5);
  }
}

TEST(nurbCurve, BasisAndPointAgreeWithBruteForce) {
  const nurbCurveC c = unevenCubic();
  for (int i = 0; i <= 40; ++i) {
    const double u = i / 40.0;
    double N[4];
    const std::int64_t span = c.findSpan(u);
    c.basisFunctions(u, span, N);
    double sum = 0;
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(N[j], c.basisValue(u, span - 3 + j, 3), 1e-12) << u;
      sum += N[j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-12);
    expectNear(c.pointAt(u), bruteForcePoint(c, u), 1e-12);
  }
  EXPECT_EQ(c.multiplicity(6), 2);  // the double knot 0.5
  EXPECT_EQ(c.multiplicity(5), 1);
}

// Bit for bit the textbook point (span, basis, homogeneous sum, division by w), for several
// degrees, uneven and repeated knots, weights, the ends and the knots themselves; a degree of 20
// takes the basis values' room from the heap.
TEST(nurbCurve, PointsAreTheTextbookPointsExactly) {
  for (int p : {1, 2, 3, 5, 20}) {
    const int n = 100;
    nurbtextbook::directionC d{p, {}};
    for (int i = 0; i <= p; ++i) d.U.push_back(0.0);
    for (int i = 1; i < n - p; ++i) d.U.push_back(i % 7 == 0 ? d.U.back() : d.U.back() + 0.5 + (i % 3));
    const double end = d.U.back() + 1.0;
    for (int i = 0; i <= p; ++i) d.U.push_back(end);
    std::vector<mVec3dC> pts;
    std::vector<double> w;
    std::vector<mVec4dC> P;
    for (int i = 0; i < n; ++i) {
      pts.push_back({std::sin(i * 0.37), i * 0.25, std::cos(i * 1.3)});
      w.push_back(i % 5 == 0 ? 1.0 : 0.5 + (i % 4) * 0.375);
      P.push_back(homogeneous(pts.back(), w.back()));
    }
    nurbCurveC c;
    ASSERT_EQ(c.build(p, d.U.data(), static_cast<std::int64_t>(d.U.size()), pts.data(), w.data(), n), 1);
    std::vector<double> params(d.U);
    for (int i = 0; i <= 997; ++i) params.push_back(end * i / 997.0);
    for (std::size_t i = 0; i < params.size(); i += 37) {  // the single basis functions agree
      const double u = params[i];
      const int span = d.findSpan(u);
      double N[nurbtextbook::maxDegree + 1];
      d.basis(u, span, N);
      for (int j = 0; j <= p; ++j) EXPECT_NEAR(c.basisValue(u, span - p + j, p), N[j], 1e-12) << p << " " << u;
    }
    for (double u : params) {
      const mVec3dC got = c.pointAt(u), want = nurbtextbook::curvePoint(d, P, u);
      ASSERT_EQ(got.x, want.x) << p << " " << u;
      ASSERT_EQ(got.y, want.y) << p << " " << u;
      ASSERT_EQ(got.z, want.z) << p << " " << u;
    }
  }
}

// An end knot repeated p + 2 times leaves the span next to it empty (and the end point without a
// basis function): the curve there is its limit from inside. Quadratic, points (1, 0, 0),
// (2, 1, 0), (3, 0, 0), (4, 1, 0), (5, 0, 0); with knots 0 0 0 0 1 2 2 2 the basis on [0, 1) is
// (1 - u)^2, 2u - 1.5u^2, u^2 / 2 for points 1 to 3, so C(0) = (2, 1, 0), C'(0) = 2 (P2 - P1) =
// (2, -2, 0), C''(0) = 2 P1 - 3 P2 + P3 = (-1, 3, 0). Mirrored (knots 0 0 0 1 2 2 2 2): C(2) = P3
// = (4, 1, 0), C'(2) = 2 (P3 - P2) = (2, 2, 0).
TEST(nurbCurve, DeviationEndKnotRepeatedBeyondPPlusOneEvaluatesToTheLimit) {
  const mVec3dC pts[] = {{1, 0, 0}, {2, 1, 0}, {3, 0, 0}, {4, 1, 0}, {5, 0, 0}};
  struct Case {
    std::vector<double> knots;
    double end;
    std::int64_t span, emptyIndex, fullIndex;  // span at the end; basis 0 and 1 there
    mVec3dC c, c1;
  } cases[] = {
      {{0, 0, 0, 0, 1, 2, 2, 2}, 0.0, 3, 0, 1, {2, 1, 0}, {2, -2, 0}},
      {{0, 0, 0, 1, 2, 2, 2, 2}, 2.0, 3, 4, 3, {4, 1, 0}, {2, 2, 0}},
  };
  for (const Case& k : cases) {
    nurbCurveC c;
    ASSERT_EQ(c.build(2, k.knots.data(), 8, pts, nullptr, 5), 1);
    EXPECT_EQ(c.findSpan(k.end), k.span) << k.end;
    EXPECT_EQ(c.basisValue(k.end, k.emptyIndex, 2), 0.0) << k.end;
    EXPECT_EQ(c.basisValue(k.end, k.fullIndex, 2), 1.0) << k.end;
    pagedArrayC<mVec3dC> d;
    ASSERT_EQ(c.derivatives(k.end, 1, d), 1);
    expectNear(d[0], k.c, 1e-12);
    expectNear(d[1], k.c1, 1e-12);
    expectNear(c.pointAt(k.end), k.c, 1e-12);
    expectNear(c.pointAt(k.end == 0.0 ? -5.0 : 5.0), k.c, 1e-12);  // clamped to the end first
  }

  nurbCurveC head;
  ASSERT_EQ(head.build(2, cases[0].knots.data(), 8, pts, nullptr, 5), 1);
  pagedArrayC<mVec3dC> d;
  ASSERT_EQ(head.derivatives(0.0, 2, d), 1);
  expectNear(d[2], {-1, 3, 0}, 1e-12);
  expectNear(head.pointAt(0.5), {2.875, 0.375, 0}, 1e-12);  // inside, as before
  // No false sample at the origin: the origin's nearest curve point is C(0), sqrt(5) away
  // (|C(u)|^2 grows on [0, 1]: x = 2 + 2u - u^2 / 2 grows from 2, y = (1 - u)^2 + u^2 / 2 <= 1).
  double u = -1, distance = -1;
  mVec3dC foot;
  ASSERT_EQ(head.closestPoint({0, 0, 0}, u, foot, distance, 1e-9, 50, 1e-9), 1);
  expectNear(foot, {2, 1, 0}, 1e-9);
  EXPECT_NEAR(distance, std::sqrt(5.0), 1e-9);
  EXPECT_EQ(u, 0.0);
}

TEST(nurbCurve, DerivativesMatchFiniteDifferences) {
  const nurbCurveC c = unevenCubic();
  const double h = 1e-5;
  for (double u : {0.1, 0.33, 0.7, 0.95}) {
    pagedArrayC<mVec3dC> d, dm, dp;
    ASSERT_EQ(c.derivatives(u, 4, d), 1);
    ASSERT_EQ(d.size(), 5u);
    expectNear(d[0], c.pointAt(u), 1e-12);
    c.derivatives(u - h, 1, dm);
    c.derivatives(u + h, 1, dp);
    const mVec3dC fd1 = divided(subtract(c.pointAt(u + h), c.pointAt(u - h)), 2 * h);
    const mVec3dC fd2 = divided(subtract(dp[1], dm[1]), 2 * h);
    expectNear(d[1], fd1, 1e-4 * (1 + length(d[1])));
    expectNear(d[2], fd2, 1e-4 * (1 + length(d[2])));
    expectNear(c.tangentAt(u), d[1], 1e-12);
  }
  // A polynomial curve of degree 1 has no second derivative.
  nurbCurveC line;
  line.makeLine({0, 0, 0}, {2, 0, 0});
  pagedArrayC<mVec3dC> d;
  line.derivatives(0.5, 3, d);
  expectNear(d[1], {2, 0, 0}, 1e-12);
  expectNear(d[2], {0, 0, 0}, 0);
  expectNear(d[3], {0, 0, 0}, 0);
}

TEST(nurbCurve, ClosedCurvesWrapOnceOpenOnesClamp) {
  nurbCurveC circle;
  circle.makeCircle(mMat4dC::identity(), 2.0);
  EXPECT_EQ(circle.closed(), 1);
  expectNear(circle.pointAt(1.25), circle.pointAt(0.25), 1e-12);
  expectNear(circle.pointAt(-0.25), circle.pointAt(0.75), 1e-12);
  nurbCurveC open = unevenCubic();
  EXPECT_EQ(open.closed(), 0);
  expectNear(open.pointAt(1.25), open.pointAt(1.0), 0);
  expectNear(open.pointAt(1.0), {8, 0, 0}, 1e-12);
  EXPECT_DOUBLE_EQ(open.clampParam(0.8, 0.1, 0.5), 0.5);
}

TEST(nurbCurve, CircleAndArcLieOnTheirCircle) {
  mMat4dC frame = mMat4dC::identity();
  frame.setTranslation({3, -2, 1});
  nurbCurveC circle;
  circle.makeCircle(frame, 2.0);
  for (double u : {0.0, 0.25, 0.5, 0.75}) {
    EXPECT_NEAR(length(subtract(circle.pointAt(u), {3, -2, 1})), 1.0, 1e-15) << u;
  }
  for (int i = 0; i <= 100; ++i) {
    EXPECT_NEAR(length(subtract(circle.pointAt(i / 100.0), {3, -2, 1})), 1.0, 1e-12);
  }

  struct Case {
    double start, end;
    std::int64_t points;
  } cases[] = {{0, kPi / 3, 3},          {0.2, 0.2 + kPi, 5},      {1, 1 + 4.0, 7},
               {0, 2 * kPi, 9},          {1.0, 0.5, 9},            {10.0, 0.0, 5},  // 4 pi - 10
               {1.8, 1.8 + 2 * kPi, 9},  // a full turn, though the sweep rounds one ulp above 2 pi
               {9.9e5, 9.9e5 + 4, 7}};   // a large start keeps its small steps
  for (const Case& k : cases) {
    nurbCurveC arc;
    ASSERT_EQ(arc.makeArc({1, 1, 0}, {1, 0, 0}, {0, 1, 0}, k.start, k.end, 2.5), 1);
    EXPECT_EQ(arc.controlCount(), k.points);
    for (std::size_t i = 0; i < arc.weights().size(); ++i) EXPECT_GT(arc.weights()[i], 0.0);
    expectNear(arc.pointAt(0), {1 + 2.5 * std::cos(k.start), 1 + 2.5 * std::sin(k.start), 0}, 1e-12);
    expectNear(arc.pointAt(1), {1 + 2.5 * std::cos(k.end), 1 + 2.5 * std::sin(k.end), 0}, 1e-12);
    for (int i = 0; i <= 50; ++i) {
      EXPECT_NEAR(length(subtract(arc.pointAt(i / 50.0), {1, 1, 0})), 2.5, 1e-12);
    }
  }
  // Raised by some 143,000 turns, the end stays where it was asked within the drift of the turns.
  nurbCurveC arc;
  ASSERT_EQ(arc.makeArc({1, 1, 0}, {1, 0, 0}, {0, 1, 0}, 9e5, 0.0, 2.5), 1);
  expectNear(arc.pointAt(1), {3.5, 1, 0}, 1e-9);
}

// A sweep beyond one turn, and angles that are not finite or too large to be stepped exactly,
// are refused and leave the curve as it was: built, they would have middle weights near zero or
// below it, NaN points or points off the circle.
TEST(nurbCurve, DeviationArcBeyondOneTurnOrWithHugeAnglesIsRefused) {
  const double inf = std::numeric_limits<double>::infinity();
  const double refused[][2] = {{0, 4 * kPi},      {0, 5 * kPi}, {0, 2 * kPi + 1e-9}, {-1e308, 1e308},
                               {1e20, 0},         {1e18, 0},    {1e6 + 1, 0},        {NAN, 0},
                               {0, inf},          {-inf, 0}};
  for (const auto& k : refused) {
    nurbCurveC line;
    line.makeLine({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(line.makeArc({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, k[0], k[1], 1.0), 0) << k[0] << " " << k[1];
    EXPECT_EQ(line.controlCount(), 2);
    expectNear(line.pointAt(1), {1, 0, 0}, 0);
  }
}

TEST(nurbCurve, ClosestPoint) {
  nurbCurveC circle;
  circle.makeCircle(mMat4dC::identity(), 2.0);
  double u = -1, distance = -1;
  mVec3dC foot;
  // A sample point (9 control points -> 9 samples at i / 8): distance 0 from the sampling step.
  ASSERT_EQ(circle.closestPoint(circle.pointAt(0.375), u, foot, distance, 1e-8, 50, 1e-8), 1);
  EXPECT_EQ(distance, 0.0);
  EXPECT_DOUBLE_EQ(u, 0.375);
  // Off the curve: the foot is the radial projection.
  const mVec3dC p(2.0 * std::cos(1.0), 2.0 * std::sin(1.0), 0.5);
  ASSERT_EQ(circle.closestPoint(p, u, foot, distance, 1e-9, 50, 1e-9), 1);
  expectNear(foot, {std::cos(1.0), std::sin(1.0), 0}, 1e-6);
  EXPECT_NEAR(distance, std::sqrt(1.0 + 0.25), 1e-6);
  expectNear(circle.pointAt(u), foot, 1e-12);

  // The quadratic line has a vanishing tangent at its ends: no NaN may come out.
  nurbCurveC q;
  q.makeLineQuadratic({0, 0, 0}, {4, 0, 0});
  q.closestPoint({-1, 1, 0}, u, foot, distance, 1e-9, 20, 1e-9);
  EXPECT_TRUE(std::isfinite(u));
  EXPECT_TRUE(std::isfinite(distance));
  q.closestPoint({3.1, 2, 0}, u, foot, distance, 1e-9, 50, 1e-9);
  expectNear(foot, {3.1, 0, 0}, 1e-6);
}

TEST(nurbCurve, RefineSplitAndElevateKeepTheShape) {
  const nurbCurveC c = unevenCubic();
  nurbCurveC r = c;
  const double x[] = {0.1, 0.5, 0.6, 0.6};
  ASSERT_EQ(r.refineKnots(x, 4), 1);
  EXPECT_EQ(r.controlCount(), c.controlCount() + 4);
  EXPECT_EQ(r.knotVector().count(), r.controlCount() + 4);
  const double outside[] = {0.5, 1.0};
  EXPECT_EQ(r.refineKnots(outside, 2), 0);
  const double unsorted[] = {0.6, 0.3};
  EXPECT_EQ(r.refineKnots(unsorted, 2), 0);

  nurbCurveC e = c;
  ASSERT_EQ(e.elevateDegree(2), 1);
  EXPECT_EQ(e.degree(), 5);
  EXPECT_EQ(e.isValid(), 1);
  for (int i = 0; i <= 50; ++i) {
    const double u = i / 50.0;
    expectNear(r.pointAt(u), c.pointAt(u), 1e-10);
    expectNear(e.pointAt(u), c.pointAt(u), 1e-10);
  }

  for (double at : {0.3, 0.5, 0.5000004}) {
    nurbCurveC a, b;
    ASSERT_EQ(c.split(at, a, b), 1) << at;
    ASSERT_EQ(a.isValid(), 1);
    ASSERT_EQ(b.isValid(), 1);
    double a0, a1, b0, b1;
    a.paramRange(a0, a1);
    b.paramRange(b0, b1);
    EXPECT_EQ(a1, b0);
    for (int i = 0; i <= 20; ++i) {
      const double ua = a0 + (a1 - a0) * i / 20, ub = b0 + (b1 - b0) * i / 20;
      expectNear(a.pointAt(ua), c.pointAt(ua), 1e-10);
      expectNear(b.pointAt(ub), c.pointAt(ub), 1e-10);
    }
  }
  nurbCurveC a, b;
  EXPECT_EQ(c.split(0.0, a, b), 0);
  EXPECT_EQ(c.split(1.0, a, b), 0);
  EXPECT_EQ(c.split(-3.0, a, b), 0);
}

// A parameter within 1e-6 above the first knot is inside the range like any other: a quadratic
// on [0, 1] and one on [0, 1e-6] split at 5e-7 into two pieces that meet there and trace the
// curve on each side.
TEST(nurbCurve, SplitJustAfterTheFirstKnot) {
  for (double end : {1.0, 1e-6}) {
    const double knots[] = {0, 0, 0, 0.9 * end, end, end, end};
    const mVec3dC pts[] = {{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {4, -1, 2}};
    const double w[] = {1, 0.5, 2, 1};
    nurbCurveC c;
    ASSERT_EQ(c.build(2, knots, 7, pts, w, 4), 1);
    nurbCurveC a, b;
    ASSERT_EQ(c.split(5e-7, a, b), 1) << end;
    double a0, a1, b0, b1;
    a.paramRange(a0, a1);
    b.paramRange(b0, b1);
    EXPECT_EQ(a0, 0.0);
    EXPECT_EQ(a1, 5e-7);
    EXPECT_EQ(b0, 5e-7);
    EXPECT_EQ(b1, end);
    for (int i = 0; i <= 20; ++i) {
      const double ua = a0 + (a1 - a0) * i / 20, ub = b0 + (b1 - b0) * i / 20;
      expectNear(a.pointAt(ua), c.pointAt(ua), 1e-12);
      expectNear(b.pointAt(ub), c.pointAt(ub), 1e-12);
    }
  }
}

// Far away the nearest sample still leads: on the unit circle (0, 1e6, 0) is nearest to the
// sample C(0.25) = (0, 1, 0), where the tangent is already perpendicular.
TEST(nurbCurve, DeviationFarPointGetsItsNearestFoot) {
  nurbCurveC circle;
  circle.makeCircle(mMat4dC::identity(), 2.0);
  double u = -1, distance = -1;
  mVec3dC foot;
  ASSERT_EQ(circle.closestPoint({0, 1e6, 0}, u, foot, distance, 1e-9, 50, 1e-9), 1);
  expectNear(foot, {0, 1, 0}, 1e-12);
  EXPECT_EQ(distance, 999999.0);
  EXPECT_DOUBLE_EQ(u, 0.25);
}

// A knot value repeated p + 1 times or more parts the curve into pieces that share no basis
// function (p + 2 times leaves a point with none); elevation must keep every point off the
// knots and write nothing outside its buffers (the sanitizer build watches that). Each piece
// gains t points per span: two single-span pieces end with 2 (p + t + 1) points.
TEST(nurbCurve, ElevateDegreeAcrossKnotsRepeatedBeyondTheDegree) {
  struct Case {
    int p;
    std::vector<double> knots;
    int t;
    std::int64_t points;  // after elevation
  } cases[] = {
      {2, {0, 0, 0, 1, 1, 1, 2, 2, 2}, 1, 8},
      {2, {0, 0, 0, 1, 1, 1, 2, 2, 2}, 2, 10},
      {2, {0, 0, 0, 1, 1, 1, 1, 2, 2, 2}, 1, 8},
      {2, {0, 0, 0, 1, 1, 1, 1, 2, 2, 2}, 2, 10},
      {1, {0, 0, 1, 1, 2, 2}, 1, 6},
      {1, {0, 0, 1, 1, 2, 2}, 2, 8},
      {1, {0, 0, 1, 1, 1, 2, 2}, 1, 6},
      {1, {0, 0, 1, 1, 1, 2, 2}, 2, 8},
      {2, {0, 0, 0, 0.5, 1, 1, 1, 1.5, 2, 2, 2}, 1, 12},  // pieces of two spans each: 4 + 2 twice
      {0, {0, 1, 2, 3}, 2, 9},                           // degree 0: every knot parts the curve
      {2, {0, 0, 0, 0, 1, 2, 2, 2, 2}, 1, 6},             // ends repeated p + 2 times: 4 + 2
  };
  for (const Case& k : cases) {
    const std::int64_t n = static_cast<std::int64_t>(k.knots.size()) - k.p - 1;
    std::vector<mVec3dC> pts;
    std::vector<double> w;
    for (std::int64_t i = 0; i < n; ++i) {
      pts.push_back({static_cast<double>(i), 2.0 * std::sin(i), std::cos(0.7 * i)});
      w.push_back(1.0 + 0.3 * (i % 3));
    }
    nurbCurveC c;
    ASSERT_EQ(c.build(k.p, k.knots.data(), static_cast<std::int64_t>(k.knots.size()), pts.data(),
                      w.data(), n), 1);
    ASSERT_EQ(c.isValid(), 1);
    nurbCurveC e = c;
    ASSERT_EQ(e.elevateDegree(k.t), 1) << k.p << " " << k.knots.size() << " " << k.t;
    EXPECT_EQ(e.degree(), k.p + k.t);
    EXPECT_EQ(e.isValid(), 1);
    EXPECT_EQ(e.controlCount(), k.points) << k.p << " " << k.knots.size() << " " << k.t;
    const double u0 = k.knots.front(), u1 = k.knots.back();
    for (int i = 0; i < 20; ++i) {  // never on a knot (those lie at multiples of 0.5)
      const double u = u0 + (u1 - u0) * (i + 0.37) / 20.0;
      expectNear(e.pointAt(u), c.pointAt(u), 1e-9);
    }
  }
}

// A curve of the given degree on distinct knot values with their multiplicities (the ends
// repeated p + 1 times), control points spread over [-scale, scale]^3, weights 1 or between 0.3
// and 3.
nurbCurveC curveOnKnots(int p, const std::vector<std::pair<double, int>>& values, bool rational,
                        double scale) {
  std::vector<double> knots;
  for (const auto& [value, times] : values) knots.insert(knots.end(), times, value);
  const std::int64_t n = static_cast<std::int64_t>(knots.size()) - p - 1;
  std::vector<mVec3dC> pts;
  std::vector<double> w;
  for (std::int64_t i = 0; i < n; ++i) {
    pts.push_back(scaleBy({std::sin(1.7 * i + p), std::cos(2.3 * i), std::sin(0.9 * i + 1)}, scale));
    w.push_back(rational ? 1.65 + 1.35 * std::sin(3.1 * i) : 1.0);
  }
  nurbCurveC c;
  EXPECT_EQ(c.build(p, knots.data(), static_cast<std::int64_t>(knots.size()), pts.data(), w.data(), n), 1);
  return c;
}

// Raises c by t and checks the result against the original: degree, every knot value repeated t
// more times, and the points at 100 parameters over the range and 5 inside each short span
// (shorter than `shortSpan`) within 1e-9 of the size of the curve.
void expectElevatedKeepsTheCurve(const nurbCurveC& c, const std::vector<std::pair<double, int>>& values,
                                 int t, double size, double shortSpan) {
  const int p = c.degree();
  nurbCurveC e = c;
  ASSERT_EQ(e.elevateDegree(t), 1) << p << " " << t;
  EXPECT_EQ(e.degree(), p + t);
  EXPECT_EQ(e.isValid(), 1);
  std::vector<double> want;
  for (const auto& [value, times] : values) want.insert(want.end(), times + t, value);
  ASSERT_EQ(e.knotVector().count(), static_cast<std::int64_t>(want.size()));
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(e.knotVector().knot(i), want[i]);
  std::vector<double> params;
  for (int i = 0; i < 100; ++i) params.push_back(values.front().first + (values.back().first - values.front().first) * i / 99.0);
  for (std::size_t k = 0; k + 1 < values.size(); ++k) {
    const double a = values[k].first, b = values[k + 1].first;
    if (b - a < shortSpan) {
      for (int i = 1; i <= 5; ++i) params.push_back(a + (b - a) * i / 6.0);
    }
  }
  for (double u : params) {
    const double d = length(subtract(e.pointAt(u), c.pointAt(u)));
    ASSERT_LE(d, 1e-9 * size) << "p " << p << " t " << t << " u " << u;
  }
}

// Knots that nearly coincide: the standard knot removal steps across the short span with
// coefficients near the ratio of the spans, and its rounding grew to move the curve by its own
// size and more. The elevated curve must still be the original one everywhere.
TEST(nurbCurve, ElevateDegreeKeepsTheCurveWhereKnotsNearlyCoincide) {
  for (int p = 1; p <= 5; ++p) {
    for (double gap : {1e-6, 1e-9, 1e-12}) {
      for (bool rational : {false, true}) {
        // 0.4 repeated up to p - 1 times, then simple knots gap and 2 gap above it.
        const std::vector<std::pair<double, int>> values = {
            {0, p + 1}, {0.25, 1}, {0.4, std::max(1, p - 1)}, {0.4 + gap, 1}, {0.4 + 2 * gap, 1},
            {0.7, std::min(2, p)}, {1, p + 1}};
        const nurbCurveC c = curveOnKnots(p, values, rational, 1.0);
        for (int t : {1, 3}) expectElevatedKeepsTheCurve(c, values, t, 2.0, 1e-3);
      }
    }
  }
  // Degree 5 with 0.4 five times and 0.4 + 1e-9 once, raised by 1 (the curve had moved by 26.7);
  // 0.4 four times and 0.4 + 1e-6 (it had moved by 1.8e-5).
  const std::vector<std::pair<double, int>> fivefold = {{0, 6}, {0.4, 5}, {0.4 + 1e-9, 1}, {1, 6}};
  expectElevatedKeepsTheCurve(curveOnKnots(5, fivefold, false, 1.0), fivefold, 1, 2.0, 1e-3);
  const std::vector<std::pair<double, int>> fourfold = {{0, 6}, {0.4, 4}, {0.4 + 1e-6, 1}, {1, 6}};
  expectElevatedKeepsTheCurve(curveOnKnots(5, fourfold, false, 1.0), fourfold, 1, 2.0, 1e-3);
  // A rational cubic with two simple knots 1e-12 apart and coordinates about 1e7, raised by 3.
  const std::vector<std::pair<double, int>> large = {{0, 4}, {0.3, 1}, {0.3 + 1e-12, 1}, {0.8, 1}, {1, 4}};
  expectElevatedKeepsTheCurve(curveOnKnots(3, large, true, 1e7), large, 3, 2e7, 1e-3);
}

// At degree 25 no way of raising the degree keeps the rounding of these points within its
// bound: the curve is refused and left as it was.
TEST(nurbCurve, ElevateDegreeRefusesWhereTheRoundingCannotBeBounded) {
  const std::vector<std::pair<double, int>> values = {{0, 26}, {0.5, 1}, {0.6, 1}, {1, 26}};
  const nurbCurveC c = curveOnKnots(25, values, false, 1.0);
  nurbCurveC e = c;
  EXPECT_EQ(e.elevateDegree(1), 0);
  EXPECT_EQ(e.degree(), 25);
  ASSERT_EQ(e.controlCount(), c.controlCount());
  for (std::int64_t i = 0; i < c.controlCount(); ++i) expectNear(projected(e.controlPoint(i)), projected(c.controlPoint(i)), 0);
}

TEST(nurbCurve, ReverseTracesTheSameCurveBackwards) {
  const nurbCurveC c = unevenCubic();  // its knots are not symmetric
  nurbCurveC r = c;
  r.reverse();
  for (int i = 0; i <= 20; ++i) expectNear(r.pointAt(i / 20.0), c.pointAt(1.0 - i / 20.0), 1e-12);
}

TEST(nurbCurve, JoinTwoArcsInEveryOrientation) {
  const mVec3dC o(0, 0, 0), X(1, 0, 0), Y(0, 1, 0);
  nurbCurveC upper, lower;
  upper.makeArc(o, X, Y, 0, kPi, 1);            // (1, 0) -> (-1, 0)
  lower.makeArc(o, X, Y, kPi, 2 * kPi, 1);      // (-1, 0) -> (1, 0)
  nurbCurveC upperR = upper, lowerR = lower;
  upperR.reverse();
  lowerR.reverse();
  const nurbCurveC* pairs[][2] = {{&upper, &lower}, {&upperR, &lower}, {&upper, &lowerR}, {&upperR, &lowerR}};
  for (auto& pr : pairs) {
    nurbCurveC j;
    ASSERT_EQ(j.join(*pr[0], *pr[1]), 1);
    EXPECT_EQ(j.isValid(), 1);
    EXPECT_EQ(j.closed(), 1);
    EXPECT_EQ(j.controlCount(), 9);
    double u0, u1;
    j.paramRange(u0, u1);
    EXPECT_EQ(u1 - u0, 2.0);
    for (int i = 0; i <= 40; ++i) EXPECT_NEAR(length(j.pointAt(u0 + (u1 - u0) * i / 40)), 1.0, 1e-12);
  }
  nurbCurveC line, j;
  line.makeLine({1, 0, 0}, {2, 0, 0});
  EXPECT_EQ(j.join(upper, line), 0);  // degrees differ
  nurbCurveC far;
  far.makeArc({5, 0, 0}, X, Y, 0, 1, 1);
  EXPECT_EQ(j.join(upper, far), 0);
  EXPECT_EQ(j.controlCount(), 0);  // unchanged
}

TEST(nurbCurve, IsSameCurve) {
  const mVec3dC o(0, 0, 0), X(1, 0, 0), Y(0, 1, 0);
  nurbCurveC arc, sameArc, reversed, other;
  arc.makeArc(o, X, Y, 0, kPi, 1);
  sameArc.makeArc(o, X, Y, 0, kPi, 1);
  reversed = arc;
  reversed.reverse();
  other.makeArc(o, X, Y, 0, kPi, 1.2);
  EXPECT_EQ(arc.isSameCurve(sameArc, 20, 1e-6), 1);
  EXPECT_EQ(arc.isSameCurve(reversed, 20, 1e-6), -1);
  EXPECT_EQ(arc.isSameCurve(other, 20, 1e-6), 0);

  // A longer arc that shares only its first tenth with the short one: the samples must cover
  // the whole of the other curve, however many are asked for.
  nurbCurveC shortArc, longArc;
  shortArc.makeArc(o, X, Y, 0, 0.3, 1);
  longArc.makeArc(o, X, Y, 0, 3.0, 1);
  EXPECT_EQ(shortArc.isSameCurve(longArc, 100, 1e-6), 0);
  EXPECT_EQ(longArc.isSameCurve(shortArc, 1, 1e-6), 1);  // a count of 1 still samples both ends
}

TEST(nurbCurve, UnusableCurvesGiveZerosAndBuildRefusesMismatches) {
  nurbCurveC c;
  expectNear(c.pointAt(0.5), {0, 0, 0}, 0);
  pagedArrayC<mVec3dC> d;
  EXPECT_EQ(c.derivatives(0.5, 2, d), 0);
  double u;
  mVec3dC foot;
  double dist;
  EXPECT_EQ(c.closestPoint({1, 1, 1}, u, foot, dist, 1e-6, 10, 1e-6), 0);
  const double knots[] = {0, 0, 1};
  const mVec3dC pts[] = {{0, 0, 0}, {1, 0, 0}};
  EXPECT_EQ(c.build(1, knots, 3, pts, nullptr, 2), 0);
  c.setDegree(1);
  c.resize(3);  // knots 0 ... 0: no range
  EXPECT_EQ(c.isValid(), 0);
  expectNear(c.pointAt(0.0), {0, 0, 0}, 0);
}

}  // namespace
