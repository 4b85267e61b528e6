#pragma once
// m3dLineC: a "LINE" element of a 3D sketch, "POINT" 0 the start and "POINT" 1 the end in sketch
// coordinates; every geometry operation is the mBaseLine2dC one. Not registered: "LINE" nodes
// dispatch to the 2D line. A view: it owns its node only when built with owns set.

#include "meta/mBaseLine2d.h"
#include "model3d/m3dShapeBase.h"

class m3dLineC : public m3dShapeBaseC, public mBaseLine2dC {
public:
  static constexpr int classDepth = mBaseLine2dC::classDepth + 1;

  m3dLineC() = default;
  explicit m3dLineC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : mBaseLine2dC(node, owns, buildVirtualBase) {}

  // End minus start.
  mVec2dC direction() const { return endPoint().minus(startPoint()); }
};

// A view on a new detached "LINE" node with "POINT" 0 = start and "POINT" 1 = end; with owns set
// the view deletes the node, else the caller links or deletes it.
m3dLineC makeSketchLine(const mVec2dC& start, const mVec2dC& end, int owns);
