// Placement and axis access of sketches.

#include "model3d/m3dSketchBase.h"

#include "meta/metaObjPointList.h"
#include "model3d/m3dVectorOps.h"

int m3dSketchBaseC::axisEnds(mVec2dC& start, mVec2dC& end) const {
  metaTreeC* axis = findChild("CENTER");
  if (!axis) return 0;
  metaObjPointListC points(axis, 0);
  start = points.point(0).point();
  end = points.point(1).point();
  return 1;
}

int m3dSketchBaseC::axisEndsInModel(mVec3dC& start, mVec3dC& end) const {
  mVec2dC a, b;
  if (!axisEnds(a, b)) return 0;
  const mMat4dC m = getMatrix();
  start = transformPoint(m, mVec3dC(a.x, a.y, 0.0));
  end = transformPoint(m, mVec3dC(b.x, b.y, 0.0));
  return 1;
}
