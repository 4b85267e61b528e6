#pragma once
// nurbDataCacheC: the abstract base of the derived-data caches that every NURBS curve and surface
// owns (bounding box of the control points, sample points on the geometry), and the
// nearest-sample search they share. The caches are filled lazily and dropped by their owner on
// every change of its geometry, and by themselves when the node tree's generation counter has
// moved since they were filled.

#include <cstdint>

#include "foundation/pagedArray.h"
#include "meta/mVec3d.h"

class nurbDataCacheC {
public:
  virtual ~nurbDataCacheC() = default;
  virtual void clearCache() = 0;
};

// Over the samples in order, the one with the smallest squared distance to the point: the best
// squared distance starts at 1e10 and `index` is left as it is when no sample reaches it; a sample
// equal to or below the best becomes the best (the later of equal ones wins); the search stops
// at the first sample whose squared distance is below `tolerance`. `distance` receives the square
// root of the best squared distance.
void nurbNearestSample(const pagedArrayC<mVec3dC>& samples, const mVec3dC& point, double& distance,
                       std::int64_t& index, double tolerance);
