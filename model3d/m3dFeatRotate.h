#pragma once
// m3dFeatRotateC: the view of a revolved body ("TYP" "ROTATE") that finds its revolution axis:
// the used sketch's axis line clipped to the sketch's extent, in model coordinates. Never
// registered; the body operations build it. A view: it owns its node only when built with owns.

#include "meta/mVec3d.h"
#include "model3d/m3dFeatBody.h"

class m3dFeatRotateC : public m3dFeatBodyC {
public:
  static constexpr int classDepth = m3dFeatBodyC::classDepth + 1;

  m3dFeatRotateC() = default;
  explicit m3dFeatRotateC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatBodyC(node, owns, buildVirtualBase) {}

  // 1 with the axis segment's two ends in model coordinates; 0 (outputs untouched) when the
  // sketch is missing, has no axis line, or is a half disc turned about its own diameter.
  int revolutionAxis(mVec3dC& start, mVec3dC& end) const;
};
