// A sketch loop as one closed NURBS curve in the sketch plane.

#include "model3d/m3dSketchBase.h"

#include "meta/mBaseArc2d.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/metaTree.h"
#include "model3d/m3dLine.h"
#include "model3d/m3dShapeBase.h"
#include "model3d/nurbCurve.h"

namespace {

bool allLines(metaTreeC* loopNode) {
  for (metaTreeC* e = loopNode->firstChild(); e; e = e->nextSibling()) {
    if (!isLineNode(e)) return false;
  }
  return true;
}

// The element as a curve; false for an element of another key.
bool elementCurve(metaTreeC* e, bool linear, nurbCurveC& curve) {
  if (isLineNode(e)) {
    const m3dLineC line(e, 0);
    const mVec2dC s = line.startPoint(), t = line.endPoint();
    if (linear) {
      curve.makeLine({s.x, s.y, 0.0}, {t.x, t.y, 0.0});
    } else {
      curve.makeLineQuadratic({s.x, s.y, 0.0}, {t.x, t.y, 0.0});
    }
    return true;
  }
  if (isArcNode(e)) {
    const mBaseArc2dC arc(e, 0);
    const mArcValues2dC v = arc.values();
    double startDeg = 0.0, endDeg = 0.0;
    arc.getAngles(startDeg, endDeg);
    return curve.makeArc({v.centre.x, v.centre.y, 0.0}, {1, 0, 0}, {0, 1, 0}, degToRad(startDeg),
                         degToRad(endDeg), v.radius) != 0;
  }
  if (isCircleNode(e)) {
    const mBaseCircle2dC circle(e, 0);
    const mVec2dC c = circle.centre();
    mMat4dC frame = mMat4dC::identity();
    frame.setTranslation({c.x, c.y, 0.0});
    // The curve builder takes the diameter.
    curve.makeCircle(frame, 2.0 * circle.radius());
    return true;
  }
  return false;
}

}  // namespace

nurbCurveC m3dSketchBaseC::loopToNurbsCurve(std::int64_t n) const {
  nurbCurveC result;
  const metaObjShapeListC l = loop(n);
  if (metaTreeC* loopNode = l.node()) {
    const bool linear = allLines(loopNode);
    bool started = false;
    for (metaTreeC* e = loopNode->firstChild(); e; e = e->nextSibling()) {
      nurbCurveC part;
      if (!elementCurve(e, linear, part)) continue;
      if (!started) {
        result = part;
        started = true;
        continue;
      }
      // An element curve that does not meet the curve so far is left out; the curve stays as it was.
      nurbCurveC joined;
      if (joined.join(result, part)) result = joined;
    }
  }
  result.setClosed(1);
  return result;
}
