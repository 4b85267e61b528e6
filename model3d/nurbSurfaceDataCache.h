#pragma once
// nurbSurfaceDataCacheC: the derived data of one NURBS surface, owned and copied by it: the
// bounding box of its control net and its closest-point samples (a grid of cu x cv points, u
// outer, v inner).

#include <cstdint>

#include "foundation/pagedArray.h"
#include "model3d/nurbBoundingBox.h"
#include "model3d/nurbDataCache.h"

class nurbSurfaceC;

class nurbSurfaceDataCacheC : public nurbDataCacheC {
public:
  void clearCache() override;

  nurbBoundingBoxC boundingBox(const nurbSurfaceC& owner);
  const pagedArrayC<mVec3dC>& samples(const nurbSurfaceC& owner);
  void nearestSample(const mVec3dC& point, double& distance, std::int64_t& index,
                     double tolerance) const;

  const nurbBoundingBoxC& box() const { return box_; }
  std::int64_t sampleCount() const { return static_cast<std::int64_t>(samples_.size()); }

private:
  void dropIfStale();

  nurbBoundingBoxC box_;
  pagedArrayC<mVec3dC> samples_{3};
  std::uint32_t stamp_ = 0;
};
