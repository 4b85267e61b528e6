#pragma once
// m3dArcC: an "ARC" element of a 3D sketch, "POINT" 0 the start, 1 a point on the arc between
// them, 2 the end (sketch coordinates); every geometry operation is the mBaseArc2dC one. Not
// registered: "ARC" nodes dispatch to the 2D arc. A view: it owns its node only when built with
// owns set.

#include "meta/mBaseArc2d.h"
#include "model3d/m3dShapeBase.h"

class m3dArcC : public m3dShapeBaseC, public mBaseArc2dC {
public:
  static constexpr int classDepth = mBaseArc2dC::classDepth + 1;

  m3dArcC() = default;
  explicit m3dArcC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : mBaseArc2dC(node, owns, buildVirtualBase) {}
};

// A view on a new detached "ARC" node with "POINT" 0 = start, 1 = middle (on the arc between
// them), 2 = end; with owns set the view deletes the node, else the caller links or deletes it.
m3dArcC makeSketchArc(const mVec2dC& start, const mVec2dC& middle, const mVec2dC& end, int owns);
