// The arc element factory of 3D sketches.

#include "model3d/m3dArc.h"

#include "meta/metaTree.h"

m3dArcC makeSketchArc(const mVec2dC& start, const mVec2dC& middle, const mVec2dC& end, int owns) {
  metaTreeC* node = metaTreeC::createKeyNode("ARC");
  m3dArcC(node, 0).setPoints(start, middle, end);
  return m3dArcC(node, owns);
}
