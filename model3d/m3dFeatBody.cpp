// Solid bodies: scaling of the extrusion depth, the revolution axis of a revolved body, the axes
// of an extruded body's circular loops, and the registration of the body classes.

#include "model3d/m3dFeatBody.h"

#include <cmath>

#include "foundation/str.h"
#include "meta/mBaseArc2d.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatBase.h"
#include "model3d/m3dFeatCut.h"
#include "model3d/m3dFeatExtrude.h"
#include "model3d/m3dFeatRotate.h"
#include "model3d/m3dPartItems.h"
#include "model3d/m3dSketch.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dFeatBaseC, m3dFeatGenC> registerBaseFeature(m3dFeatureRegistry, "BASE",
                                                                   m3dFeatBaseC::classDepth);
metaClassRegistrarC<m3dFeatCutC, m3dFeatGenC> registerCutFeature(m3dFeatureRegistry, "CUT",
                                                                 m3dFeatCutC::classDepth);
metaClassRegistrarC<m3dFeatBaseC, m3dGeomOpBaseC> registerBaseClass(m3dClassRegistry, "BASE",
                                                                    m3dFeatBaseC::classDepth);
metaClassRegistrarC<m3dFeatCutC, m3dGeomOpBaseC> registerCutClass(m3dClassRegistry, "CUT",
                                                                  m3dFeatCutC::classDepth);

// "PARAM" as three reals; (0, 0, 0) unless it holds exactly three.
mVec3dC extrudeParam(const m3dFeatBodyC& body) {
  return metaObjRealListC(body.findOrAddChild("PARAM"), 0).vector3d();
}

void setExtrudeParam(const m3dFeatBodyC& body, const mVec3dC& p) {
  metaObjRealListC(body.findOrAddChild("PARAM"), 0).setVector3d(p);
}

mVec3dC sketchPoint(const mMat4dC& frame, const mVec2dC& p) {
  return transformPoint(frame, mVec3dC(p.x, p.y, 0.0));
}

// Foot of the perpendicular from p on the line through b with unit direction u.
mVec2dC projectOnLine(const mVec2dC& p, const mVec2dC& b, const mVec2dC& u) {
  return b.plus(u.times(p.minus(b).dot(u)));
}

}  // namespace

bool m3dFeatBodyC::isRotate() const { return str(getType()).isEqual("ROTATE"); }
bool m3dFeatBodyC::isExtrude() const { return str(getType()).isEqual("EXTRUDE"); }

int m3dFeatBodyC::scaleGeometry(double factor) {
  if (isExtrude()) {
    const m3dFeatExtrudeC extrude(node(), 0);
    extrude.setDepth(extrude.depth() * factor);
  }
  return 1;
}

int m3dFeatBodyC::collectFeatureAxes(m3dAxisPoolC& pool) {
  if (isRotate()) {
    mVec3dC start, end;
    if (m3dFeatRotateC(node(), 0).revolutionAxis(start, end))
      *pool.appendSlot() = m3dAxisSegmentC{start, end, 0, 0};
  }
  if (isExtrude()) m3dFeatExtrudeC(node(), 0).extrusionAxes(pool);
  return static_cast<int>(pool.size());
}

int m3dFeatRotateC::revolutionAxis(mVec3dC& start, mVec3dC& end) const {
  const m3dSketchC sketch = usedSketch();
  if (!sketch.node()) return 0;
  mVec2dC a, b;
  if (!sketch.axisEnds(a, b)) return 0;
  // A half disc (one line on the axis and one arc about a centre on it) sweeps a ball, which has
  // no axis of its own to show.
  if (sketch.loopCount() == 1 && sketch.loopElementCount(0) == 2) {
    metaObjectC element = sketch.loopElement(0, 0);
    if (!element.hasKey("ARC")) element = sketch.loopElement(0, 1);
    if (element.hasKey("ARC")) {
      const mBaseArc2dC arc(element.node(), 0);
      if (pointLineDistance2d(arc.centre(), a, b) < 1e-6 &&
          pointLineDistance2d(arc.startPoint(), a, b) < 1e-6 &&
          pointLineDistance2d(arc.endPoint(), a, b) < 1e-6)
        return 0;
    }
  }
  mVec2dC lo, hi;
  if (!sketch.boundingBox2d(lo, hi)) return 0;  // no loop: nothing is revolved
  const mVec2dC u = a.minus(b).unit();
  const mVec2dC p1 = projectOnLine(lo, b, u);
  const mVec2dC p2 = projectOnLine(mVec2dC(lo.x, hi.y), b, u);
  const mVec2dC p3 = projectOnLine(hi, b, u);
  const mVec2dC p4 = projectOnLine(mVec2dC(hi.x, lo.y), b, u);
  const bool across = p2.minus(p4).length() >= p1.minus(p3).length();
  const mMat4dC frame = sketch.getMatrix();
  start = sketchPoint(frame, across ? p2 : p1);
  end = sketchPoint(frame, across ? p4 : p3);
  return 1;
}

double m3dFeatExtrudeC::depth() const { return extrudeParam(*this).x; }

void m3dFeatExtrudeC::setDepth(double depth) const {
  mVec3dC p = extrudeParam(*this);
  p.x = depth;
  setExtrudeParam(*this, p);
}

int m3dFeatExtrudeC::directionMode() const {
  const mVec3dC p = extrudeParam(*this);
  if (p.z == 1.0) return symmetric;
  if (p.y == 1.0) return reversed;
  return alongNormal;
}

void m3dFeatExtrudeC::setDirectionMode(int mode) const {
  mVec3dC p = extrudeParam(*this);
  if (mode == symmetric) {
    p.z = 1.0;
  } else if (mode == alongNormal || mode == reversed) {
    p.z = 0.0;
    p.y = mode == reversed ? 1.0 : 0.0;
  } else {
    return;
  }
  setExtrudeParam(*this, p);
}

int m3dFeatExtrudeC::extrusionAxes(m3dAxisPoolC& pool) const {
  const double d = depth();
  const int mode = directionMode();
  const bool cut = hasKey("CUT");
  const m3dSketchC sketch = usedSketch();
  if (sketch.node()) {
    const mMat4dC frame = sketch.getMatrix();
    const mVec3dC v = scaleBy(axisZ(frame), d);
    const std::int64_t loops = sketch.loopCount();
    for (std::int64_t i = 0; i < loops; ++i) {
      if (cut && loops >= 2 && i == 0) continue;  // a cut's outer boundary is no hole axis
      if (sketch.loopElementCount(i) != 1) continue;
      const metaObjectC element = sketch.loopElement(i, 0);
      if (!element.hasKey("CIRCLE")) continue;
      const mVec3dC c = sketchPoint(frame, mBaseCircle2dC(element.node(), 0).centre());
      m3dAxisSegmentC segment;
      if (mode == symmetric) {
        segment.start = subtract(c, v);
        segment.end = c.plus(v);
      } else {
        segment.start = c;
        segment.end = mode == reversed ? subtract(c, v) : c.plus(v);
      }
      *pool.appendSlot() = segment;
    }
  }
  return static_cast<int>(pool.size());
}
