#pragma once
// metaObjRealListC: a list view whose children are real numbers, read as an array, as 2D or 3D
// vectors or as a 4x4 matrix (column-major). It owns its node only when built with owns set.

#include <cstdint>

#include "meta/mMat4d.h"
#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "meta/metaObjListContainer.h"
#include "meta/realArray.h"

class metaObjRealListC : public metaObjListContainerC {
public:
  static constexpr int classDepth = metaObjListContainerC::classDepth + 1;

  metaObjRealListC() = default;
  explicit metaObjRealListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjListContainerC(node, owns, buildVirtualBase) {}

  // Every child's value read as a double (0.0 for a child that is not a real).
  realArrayC getReals() const;
  // Deletes every child, then appends one real child per value in order. Bound views only.
  void setReals(const double* values, std::int64_t count) const;
  void setReals(const realArrayC& values) const { setReals(values.data(), values.count()); }
  // Every real child becomes its value times `factor` (position kept); other children stay.
  void scale(double factor) const;

  // The two reals as a vector; the zero vector with found 0 unless there are exactly two children.
  mVec2dC vector2d(int* found = nullptr) const;
  // The three reals; the zero vector with found 0 unless there are exactly three children.
  mVec3dC vector3d(int* found = nullptr) const;
  // Sixteen reals, column-major; the identity with found 0 unless there are exactly sixteen.
  mMat4dC matrix4d(int* found = nullptr) const;
  void setVector2d(const mVec2dC& v) const;
  void setVector3d(const mVec3dC& v) const;
  void setMatrix4d(const mMat4dC& m) const;

  // The same on a node that no view holds: a caller that only wants one answer from a node
  // skips the view and the child cache that a view would fill and drop again.
  static mVec2dC vector2dOf(const metaTreeC* node, int* found = nullptr);
  static void setRealsOf(metaTreeC* node, const double* values, std::int64_t count);
  static void scaleOf(metaTreeC* node, double factor);
};
