#pragma once
// nurbBoundingBoxC: the axis-aligned box of a point set as the NURBS caches keep it: a valid flag
// (1 once computed) and the two corners. A plain value type.

#include <cstdint>

#include "foundation/pagedArray.h"
#include "meta/mVec3d.h"

struct nurbBoundingBoxC {
  std::int32_t valid = 0;
  mVec3dC minimum;
  mVec3dC maximum;

  // The box of the points: the corners start at (1e10, 1e10, 1e10) and (-1e10, -1e10, -1e10)
  // and take in every point; valid = 1 (an empty set keeps the start corners).
  static nurbBoundingBoxC ofPoints(const pagedArrayC<mVec3dC>& points);

  // 1 unless the boxes are apart on some axis by more than t = max(f * the larger extent on that
  // axis, 1e-6); so boxes that touch within 1e-6 overlap even when flat.
  int overlaps(const nurbBoundingBoxC& other, double f) const;
};
