// The line element factory of 3D sketches.

#include "model3d/m3dLine.h"

#include "meta/metaTree.h"

m3dLineC makeSketchLine(const mVec2dC& start, const mVec2dC& end, int owns) {
  metaTreeC* node = metaTreeC::createKeyNode("LINE");
  const m3dLineC fill(node, 0);
  fill.setStartPoint(start);
  fill.setEndPoint(end);
  return m3dLineC(node, owns);
}
