#pragma once
// nurbSurfaceC: a rational tensor-product B-spline surface: u and v knot vectors, the homogeneous
// control net (point (i, j), i in u of nu, j in v of nv, at element j + i nv) and the cache of
// derived data it owns. Copies are deep. Every setter clears the cache; the evaluators give zeros
// for a surface whose knots do not fit its net. Parameters are normalised per direction before
// evaluation.

#include <cstdint>

#include "foundation/pagedArray.h"
#include "meta/mMat4d.h"
#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "meta/mVec4d.h"
#include "model3d/nurbBoundingBox.h"
#include "model3d/nurbKnotVector.h"
#include "model3d/nurbSurfaceDataCache.h"

#include "model3d/nurbCurve.h"

class nurbSurfaceC {
public:
  // As nurbCurveC::build per point; net and weights hold nu * nv values (net order j + i nv; null
  // weights mean all 1). Returns 0 and changes nothing when a knot count does not fit.
  int build(int degreeU, int degreeV, const double* knotsU, std::int64_t knotCountU,
            const double* knotsV, std::int64_t knotCountV, int closedU, int closedV,
            const mVec3dC* net, const double* weights, int nu, int nv);
  void setControlPoint(int i, int j, const mVec4dC& point);

  int nu() const { return nu_; }
  int nv() const { return nv_; }
  const nurbKnotVectorC& knotsU() const { return u_; }
  const nurbKnotVectorC& knotsV() const { return v_; }
  const mVec4dC& controlPoint(int i, int j) const {
    return net_[static_cast<std::size_t>(j) + static_cast<std::size_t>(i) * nv_];
  }
  const pagedArrayC<mVec4dC>& net() const { return net_; }
  int isValid() const;

  mVec3dC pointAt(double u, double v) const;
  // out[k * (order + 1) + l] := S(k, l) for k + l <= order (other entries zero). Returns 0 (out
  // emptied) for an unusable surface or a negative order.
  int derivatives(double u, double v, int order, pagedArrayC<mVec3dC>& out) const;
  // Su x Sv of unit length (zero where it vanishes).
  mVec3dC normalAt(double u, double v) const;
  // The u-direction curve at the fixed v / the v-direction curve at the fixed u.
  nurbCurveC isoCurveAtV(double v) const;
  nurbCurveC isoCurveAtU(double u) const;
  // Rows i and nu - 1 - i swapped for every column, u knots mirrored in their range.
  void reverseU();
  void paramRanges(double& u0, double& u1, double& v0, double& v1) const;
  pagedArrayC<mVec3dC> controlPoints3d() const;

  nurbBoundingBoxC boundingBox() const { return cache_.boundingBox(*this); }
  nurbSurfaceDataCacheC& cache() const { return cache_; }

  // Parameters of the surface point nearest to `point`: the nearest grid sample, then Newton
  // steps inside the parameter bounds, perturbed by the C run-time's rand when they stall.
  // Returns 1 on convergence, 0 when the steps ran out or the surface is unusable; u and v hold
  // the last parameters (inside the bounds) either way.
  int closestPoint(const mVec3dC& point, double& u, double& v, int maxIterations) const;
  // For n parameters evenly over the curve's range (first to last), the (u, v) of the nearest
  // surface point (100 steps) when the search converges. Returns how many were appended.
  int projectCurve(const nurbCurveC& curve, int n, pagedArrayC<mVec2dC>& out) const;

  // Degree 1 in u (knots 0 0 1 1), degree 2 in v (the circle's knots, closed); row 0 the circle of
  // the diameter at z = 0, row 1 at z = height, both mapped by the frame.
  void makeCylinder(const mMat4dC& frame, double diameter, double height);
  // The degree 1 x 1 patch with corners (-a, e), (b, e), (-a, -d), (b, -d) of the frame's xy
  // plane, weights 1.
  void makePlanarPatch(const mMat4dC& frame, double a, double b, double d, double e);

private:
  int newtonSearch(const mVec3dC& point, double& u, double& v, int maxIterations) const;

  mutable nurbSurfaceDataCacheC cache_;
  nurbKnotVectorC u_;
  nurbKnotVectorC v_;
  pagedArrayC<mVec4dC> net_{3};
  std::int32_t nu_ = 0;
  std::int32_t nv_ = 0;
};
