// The derived data of one NURBS surface.

#include "model3d/nurbSurfaceDataCache.h"

#include "meta/metaTree.h"
#include "model3d/nurbSurface.h"

void nurbSurfaceDataCacheC::clearCache() {
  samples_.reset();
  box_.valid = 0;
}

void nurbSurfaceDataCacheC::dropIfStale() {
  const std::uint32_t generation = metaTreeC::generation();
  if (stamp_ != generation) {
    clearCache();
    stamp_ = generation;
  }
}

nurbBoundingBoxC nurbSurfaceDataCacheC::boundingBox(const nurbSurfaceC& owner) {
  dropIfStale();
  if (box_.valid == 0) box_ = nurbBoundingBoxC::ofPoints(owner.controlPoints3d());
  return box_;
}

const pagedArrayC<mVec3dC>& nurbSurfaceDataCacheC::samples(const nurbSurfaceC& owner) {
  dropIfStale();
  if (samples_.isEmpty() && owner.isValid()) {
    int cu = 2 * owner.nu();
    int cv = 2 * owner.nv();
    if (cu < 3) cu = 4;
    if (cv < 3) cv = 4;
    double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
    owner.paramRanges(u0, u1, v0, v1);
    for (int i = 0; i < cu; ++i) {
      const double u = u0 + i * (u1 - u0) / (cu - 1);
      for (int j = 0; j < cv; ++j) {
        samples_.append(owner.pointAt(u, v0 + j * (v1 - v0) / (cv - 1)));
      }
    }
  }
  return samples_;
}

void nurbSurfaceDataCacheC::nearestSample(const mVec3dC& point, double& distance,
                                          std::int64_t& index, double tolerance) const {
  nurbNearestSample(samples_, point, distance, index, tolerance);
}
