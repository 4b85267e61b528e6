#pragma once
// nurbCurveDataCacheC: the derived data of one NURBS curve, owned and copied by it: the bounding
// box of its control points and its closest-point samples (max(control points, 4) points at even
// parameters over the range, first to last).

#include <cstdint>

#include "foundation/pagedArray.h"
#include "model3d/nurbBoundingBox.h"
#include "model3d/nurbDataCache.h"

class nurbCurveC;

class nurbCurveDataCacheC : public nurbDataCacheC {
public:
  // Empties the samples and marks the box not valid.
  void clearCache() override;

  // The owner's box, computed from its control points projected to 3D when not valid.
  nurbBoundingBoxC boundingBox(const nurbCurveC& owner);
  // The owner's samples, computed when the pool is empty.
  const pagedArrayC<mVec3dC>& samples(const nurbCurveC& owner);
  // nurbNearestSample over the samples held (fill them first with samples()).
  void nearestSample(const mVec3dC& point, double& distance, std::int64_t& index,
                     double tolerance) const;

  const nurbBoundingBoxC& box() const { return box_; }
  std::int64_t sampleCount() const { return static_cast<std::int64_t>(samples_.size()); }

private:
  void dropIfStale();

  nurbBoundingBoxC box_;
  pagedArrayC<mVec3dC> samples_{3};
  std::uint32_t stamp_ = 0;  // tree generation the data was computed at
};
