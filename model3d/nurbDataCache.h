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

// Over the samples in order, the one with the smallest squared distance to the point, whatever
// the distance: a sample equal to or below the best so far becomes the best (the later of equal
// ones wins); the search stops at the first sample whose squared distance is below `tolerance`.
// `distance` receives the square root of the best squared distance. An empty pool leaves `index`
// as it is and gives an infinite distance.
void nurbNearestSample(const pagedArrayC<mVec3dC>& samples, const mVec3dC& point, double& distance,
                       std::int64_t& index, double tolerance);
