// The derived data of one NURBS curve.

#include "model3d/nurbCurveDataCache.h"

#include <algorithm>

#include "meta/metaTree.h"
#include "model3d/nurbCurve.h"

void nurbCurveDataCacheC::clearCache() {
  samples_.reset();
  box_.valid = 0;
}

void nurbCurveDataCacheC::dropIfStale() {
  const std::uint32_t generation = metaTreeC::generation();
  if (stamp_ != generation) {
    clearCache();
    stamp_ = generation;
  }
}

nurbBoundingBoxC nurbCurveDataCacheC::boundingBox(const nurbCurveC& owner) {
  dropIfStale();
  if (box_.valid == 0) box_ = nurbBoundingBoxC::ofPoints(owner.controlPoints3d());
  return box_;
}

const pagedArrayC<mVec3dC>& nurbCurveDataCacheC::samples(const nurbCurveC& owner) {
  dropIfStale();
  if (samples_.isEmpty() && owner.isValid()) {
    const std::int64_t m = std::max<std::int64_t>(owner.controlCount(), 4);
    double u0 = 0.0, u1 = 0.0;
    owner.paramRange(u0, u1);
    for (std::int64_t i = 0; i < m; ++i) {
      samples_.append(owner.pointAt(u0 + static_cast<double>(i) * (u1 - u0) /
                                             static_cast<double>(m - 1)));
    }
  }
  return samples_;
}

void nurbCurveDataCacheC::nearestSample(const mVec3dC& point, double& distance,
                                        std::int64_t& index, double tolerance) const {
  nurbNearestSample(samples_, point, distance, index, tolerance);
}
