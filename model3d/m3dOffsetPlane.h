#pragma once
// m3dOffsetPlaneC: a plane offset along the normal of a base plane ("TYP" "OFF_TO_PLANE"), and
// makeOffsetPlane, which creates one. A view: it owns its node only when built with owns set.

#include "model3d/m3dPlane.h"

class m3dOffsetPlaneC : public m3dPlaneC {
public:
  m3dOffsetPlaneC() = default;
  explicit m3dOffsetPlaneC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dPlaneC(node, owns, buildVirtualBase) {}
};

// A new detached plane node named `name` whose frame is the base plane's moved by `distance`
// along its normal (against it when `reverse` is set), with "PARAM" = (reverse, distance, base
// plane's "NAME"). Unbound when `base` is no plane node.
m3dOffsetPlaneC makeOffsetPlane(const m3dPlaneC& base, const char* name, int reverse,
                                double distance, int owns);
