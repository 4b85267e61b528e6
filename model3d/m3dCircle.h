#pragma once
// m3dCircleC: a "CIRCLE" element of a 3D sketch, "POINT" the centre and "RAD" the radius; every
// geometry operation is the mBaseCircle2dC one. Not registered: "CIRCLE" nodes dispatch to the
// 2D circle. A view: it owns its node only when built with owns set.

#include "meta/mBaseCircle2d.h"
#include "model3d/m3dShapeBase.h"

class m3dCircleC : public m3dShapeBaseC, public mBaseCircle2dC {
public:
  static constexpr int classDepth = mBaseCircle2dC::classDepth + 1;

  m3dCircleC() = default;
  explicit m3dCircleC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : mBaseCircle2dC(node, owns, buildVirtualBase) {}
};
