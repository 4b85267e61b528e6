#pragma once
// nurbCurveC: a rational B-spline curve: its knot vector (closed flag, degree p, knots), its
// homogeneous control points (x w, y w, z w, w) and the cache of derived data it owns. Copies are
// deep (the cache is copied as it is). Invariant of a usable curve: knot count = control point
// count + p + 1; every setter clears the cache, and the evaluators give zeros for a curve that
// does not satisfy the invariant. Parameters are normalised (closed: one wrap, open: clamped)
// before every evaluation.

#include <cstdint>
#include <vector>

#include "foundation/pagedArray.h"
#include "meta/mMat4d.h"
#include "meta/mVec3d.h"
#include "meta/mVec4d.h"
#include "model3d/nurbBoundingBox.h"
#include "model3d/nurbCurveDataCache.h"
#include "model3d/nurbKnotVector.h"

class nurbSurfaceC;

class nurbCurveC {
public:
  // Control point k := (x_k w_k, y_k w_k, z_k w_k, w_k); closed := 1 when the first and the last
  // point are closer than 1e-10 (squared). Returns 0 and changes nothing when knotCount is not
  // pointCount + degree + 1 or the degree is negative; a null weights array means all 1.
  int build(int degree, const double* knots, std::int64_t knotCount, const mVec3dC* points,
            const double* weights, std::int64_t pointCount);

  // Setters; each clears the cache.
  void setClosed(int closed);
  void setDegree(int p);
  void setKnots(const double* knots, std::int64_t n);
  void setControlPoints(const mVec4dC* points, std::int64_t n);
  void setControlPoint(std::int64_t i, const mVec4dC& point);
  // n control points (new ones zero) and n + p + 1 knots (new ones zero).
  void resize(std::int64_t n);

  int closed() const { return knots_.closed(); }
  int degree() const { return knots_.degree(); }
  const nurbKnotVectorC& knotVector() const { return knots_; }
  std::int64_t controlCount() const { return static_cast<std::int64_t>(points_.size()); }
  const mVec4dC& controlPoint(std::int64_t i) const { return points_[static_cast<std::size_t>(i)]; }
  // 1 when the knots fit the control points (nurbKnotVectorC::fits).
  int isValid() const { return knots_.fits(controlCount()); }

  double normalise(double u) const { return knots_.normalise(u); }
  // normalise, then clamp to [a, b].
  double clampParam(double u, double a, double b) const;
  std::int64_t findSpan(double u) const { return knots_.findSpan(u); }
  int multiplicity(std::int64_t k) const { return knots_.multiplicity(k); }
  void basisFunctions(double u, std::int64_t span, double* N) const {
    knots_.basisFunctions(u, span, N);
  }
  double basisValue(double u, std::int64_t i, int p) const { return knots_.basisValue(u, i, p); }
  void basisDerivatives(double u, std::int64_t span, int order, std::vector<double>& ders) const {
    knots_.basisDerivatives(u, span, order, ders);
  }

  mVec3dC pointAt(double u) const;
  // out := C(u), C'(u), ..., up to `order` (order + 1 points; homogeneous derivatives above p are
  // zero). Returns 0 (out emptied) for an unusable curve or a negative order, else 1.
  int derivatives(double u, int order, pagedArrayC<mVec3dC>& out) const;
  mVec3dC tangentAt(double u) const;
  void paramRange(double& u0, double& u1) const;
  pagedArrayC<mVec3dC> controlPoints3d() const;
  const pagedArrayC<mVec4dC>& homogeneousPoints() const { return points_; }
  pagedArrayC<double> weights() const;

  // The box of the control points (cached).
  nurbBoundingBoxC boundingBox() const { return cache_.boundingBox(*this); }
  nurbCurveDataCacheC& cache() const { return cache_; }

  // Foot of the perpendicular from `point`: nearest sample, then Newton on C'.(C - P) = 0 (at most
  // maxIterations steps; eps1 a distance, eps2 a cosine). u, foot and distance always describe
  // one curve point: the last one evaluated. Returns 1 when a stop rule was met, 0 when the steps
  // ran out or the curve is unusable.
  int closestPoint(const mVec3dC& point, double& u, mVec3dC& foot, double& distance, double eps1,
                   int maxIterations, double eps2) const;
  // 1 when `other` lies on this curve in the same direction, -1 in the opposite one, 0 when not
  // coincident (samples of `other` farther than sqrt(tolerance)).
  int isSameCurve(const nurbCurveC& other, int sampleCount, double tolerance) const;
  // Unit tangent at u crossed with the unit surface normal at the surface point nearest to C(u).
  mVec3dC sideDirection(double u, const nurbSurfaceC& surface) const;

  // The curve traced the other way: control points reversed and knots mirrored in the range.
  void reverse();
  // Inserts the sorted knots (each strictly inside the range). Returns 0 and changes nothing for an
  // unusable curve or knots out of order or out of range.
  int refineKnots(const double* newKnots, std::int64_t count);
  // first := the curve up to u, second := from u. 0 unless knots[p] < u < knots[count - p - 1].
  // A u within 1e-6 of an interior knot above knots[p] splits at that knot.
  int split(double u, nurbCurveC& first, nurbCurveC& second) const;
  // Raises the degree by t (nothing for t < 1); the curve stays the same, to about 1e-10 of the
  // size of its control points, whatever the knots. Every knot value repeats t more times. A knot
  // value repeated more than p times parts the curve into pieces, each raised on its own; such a
  // value then repeats p + t + 1 times, and points whose basis function vanishes are dropped.
  // The points are those of the standard algorithm unless its knot removal would multiply their
  // rounding by more than 1e5 (knots close to each other, or uneven knots at a high degree);
  // they then come from the blossoms of the curve, computed on one long span near each point,
  // so that a short span next to it costs no accuracy. Returns 0 and changes nothing for an
  // unusable or unclamped curve, and where neither way keeps the rounding within that bound
  // (close knots at degrees above about 20).
  int elevateDegree(int t);
  // This := first followed by second, reversed as needed so that they meet head to tail within
  // 1e-8. Returns 0 (this unchanged) when the degrees differ, a curve is unusable or unclamped, or
  // no ends meet.
  int join(const nurbCurveC& first, const nurbCurveC& second);

  // Shapes; each replaces this curve.
  void makeLine(const mVec3dC& a, const mVec3dC& b);
  void makeLineQuadratic(const mVec3dC& a, const mVec3dC& b);
  // Angles in radians, counterclockwise from xAxis towards yAxis; end raised by 2 pi turns until
  // it is not below start. Returns 0 (this unchanged) for an angle that is not finite or larger
  // than kMaxArcAngle in size, and for a sweep end - start beyond one turn (more than the
  // rounding of the angles: that much is the full turn). An arc made has positive weights and
  // lies on its circle.
  static constexpr double kMaxArcAngle = 1e6;  // radians
  int makeArc(const mVec3dC& centre, const mVec3dC& xAxis, const mVec3dC& yAxis, double start,
              double end, double radius);
  // The nine-point circle in the frame's xy plane about its origin.
  void makeCircle(const mMat4dC& frame, double diameter);

private:
  void clear();

  nurbKnotVectorC knots_;
  pagedArrayC<mVec4dC> points_{3};
  mutable nurbCurveDataCacheC cache_;
};
