#pragma once
// metaObjVector2dC: a list view of exactly two reals read as a 2D vector. It owns its node only
// when built with owns set.

#include "meta/metaObjRealList.h"

class metaObjVector2dC : public metaObjRealListC {
public:
  static constexpr int classDepth = metaObjRealListC::classDepth + 1;

  metaObjVector2dC() = default;
  explicit metaObjVector2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjRealListC(node, owns, buildVirtualBase) {}

  // The vector; the zero vector with found 0 unless the node has exactly two children.
  mVec2dC get(int* found = nullptr) const { return vector2d(found); }
  // Replaces the children by the two reals x, y.
  void set(const mVec2dC& v) const { setVector2d(v); }
};
