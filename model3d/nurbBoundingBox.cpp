// Bounding boxes of point sets and their overlap test.

#include "model3d/nurbBoundingBox.h"

#include <algorithm>
#include <cmath>

nurbBoundingBoxC nurbBoundingBoxC::ofPoints(const pagedArrayC<mVec3dC>& points) {
  nurbBoundingBoxC box;
  box.minimum = {1e10, 1e10, 1e10};
  box.maximum = {-1e10, -1e10, -1e10};
  for (std::size_t k = points.size(); k-- > 0;) {
    const mVec3dC& p = points[k];
    box.minimum.x = std::min(box.minimum.x, p.x);
    box.minimum.y = std::min(box.minimum.y, p.y);
    box.minimum.z = std::min(box.minimum.z, p.z);
    box.maximum.x = std::max(box.maximum.x, p.x);
    box.maximum.y = std::max(box.maximum.y, p.y);
    box.maximum.z = std::max(box.maximum.z, p.z);
  }
  box.valid = 1;
  return box;
}

int nurbBoundingBoxC::overlaps(const nurbBoundingBoxC& other, double f) const {
  const double* amin = minimum.components();
  const double* amax = maximum.components();
  const double* bmin = other.minimum.components();
  const double* bmax = other.maximum.components();
  for (int axis = 0; axis < 3; ++axis) {
    const double extent = std::max(std::fabs(amax[axis] - amin[axis]),
                                   std::fabs(bmax[axis] - bmin[axis]));
    const double t = std::max(f * extent, 1e-6);
    if (amin[axis] - t > bmax[axis] || amax[axis] + t < bmin[axis]) return 0;
  }
  return 1;
}
