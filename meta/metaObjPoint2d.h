#pragma once
// metaObjPoint2dC: a 2D point view on a "POINT" key node whose two real children are x and y. It
// owns its node only when built with owns set.

#include "meta/metaObjVector2d.h"

class metaObjPoint2dC : public metaObjVector2dC {
public:
  static constexpr int classDepth = metaObjVector2dC::classDepth + 1;
  static const char* classKey() { return "POINT"; }

  metaObjPoint2dC() = default;
  explicit metaObjPoint2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjVector2dC(node, owns, buildVirtualBase) {}

  mVec2dC point(int* found = nullptr) const { return get(found); }
  void setPoint(const mVec2dC& p) const { set(p); }
};
