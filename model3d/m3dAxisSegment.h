#pragma once
// m3dAxisSegmentC: one axis segment of the 3D model, a plain 56-byte record kept in a pagedArrayC
// pool (pages of 8): start and end point in model coordinates and an integer tag (features store
// 0, a part stores its "PARTNR"). m3dAxisPoolC is that pool; its owner is whoever made it.

#include <cstdint>

#include "foundation/pagedArray.h"
#include "meta/mVec3d.h"

struct m3dAxisSegmentC {
  mVec3dC start;
  mVec3dC end;
  std::int32_t tag = 0;
  std::int32_t spare = 0;
};

static_assert(sizeof(m3dAxisSegmentC) == 56, "axis segment records are 56 bytes");

using m3dAxisPoolC = pagedArrayC<m3dAxisSegmentC>;
