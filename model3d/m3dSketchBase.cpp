// Placement, axis, loops, geometry operations, measures and repairs of sketches.

#include "model3d/m3dSketchBase.h"

#include <algorithm>

#include "meta/mBaseArc2d.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mBaseShape2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/metaObjPointList.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatBody.h"
#include "model3d/m3dPartItems.h"
#include "model3d/m3dShapeBase.h"
#include "model3d/m3dVectorOps.h"

namespace {

// Removes one node (with its subtree) from the tree.
void deleteSingleNode(metaTreeC* node) {
  node->unlink();
  delete node;
}

// The sibling before / after `node` in its parent's child chain, wrapping round.
metaTreeC* previousWrapped(metaTreeC* node) {
  if (metaTreeC* p = node->previousSibling()) return p;
  return node->lastSibling();
}
metaTreeC* nextWrapped(metaTreeC* node) {
  if (metaTreeC* n = node->nextSibling()) return n;
  return node->firstSibling();
}

}  // namespace

mMat3dC sketchYMirror() {
  mMat3dC m = mMat3dC::identity();
  m.m[4] = -1.0;
  return m;
}

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

std::int64_t m3dSketchBaseC::loopCount() const {
  std::int64_t n = 0;
  for (metaTreeC* child = node() ? node()->firstChild() : nullptr; child;
       child = child->nextSibling()) {
    if (child->isKey("LOOP")) ++n;
  }
  return n;
}

metaObjShapeListC m3dSketchBaseC::loop(std::int64_t n) const {
  if (n < 0) return metaObjShapeListC();
  for (metaTreeC* child = node() ? node()->firstChild() : nullptr; child;
       child = child->nextSibling()) {
    if (child->isKey("LOOP") && n-- == 0) return metaObjShapeListC(child, 0);
  }
  return metaObjShapeListC();
}

std::int64_t m3dSketchBaseC::elementCount() const {
  std::int64_t n = 0;
  for (metaTreeC* child = node() ? node()->firstChild() : nullptr; child;
       child = child->nextSibling()) {
    if (child->isKey("LOOP")) n += child->childCount();
  }
  return n;
}

std::int64_t m3dSketchBaseC::loopElementCount(std::int64_t n) const {
  const metaObjShapeListC l = loop(n);
  return l.isBound() ? l.childCount() : 0;
}

metaObjectC m3dSketchBaseC::loopElement(std::int64_t n, std::int64_t j) const {
  return loop(n).childAt(j);
}

void m3dSketchBaseC::clearShapes(const metaObjShapeListC& list) { list.clearChildren(); }

void m3dSketchBaseC::mergeCollinear(const metaObjShapeListC& loop) {
  metaTreeC* loopNode = loop.node();
  if (!loopNode) return;
  const std::int64_t count = loopNode->childCount();
  if (count <= 1) return;
  metaTreeC* previousLine = nullptr;
  mVec2dC d;
  metaTreeC* current = loopNode->firstChild();
  for (std::int64_t step = 0; step < count + 1 && current; ++step) {
    if (isLineNode(current)) {
      const m3dLineC line(current, 0);
      // Once the walk has wrapped round to the line it just kept, that line is its own
      // predecessor: joining it to itself would delete it.
      if (previousLine && previousLine != current && isParallel2d(line.direction(), d)) {
        line.setStartPoint(m3dLineC(previousLine, 0).startPoint());
        deleteSingleNode(previousLine);
      }
      previousLine = current;
      d = line.direction();
    } else {
      previousLine = nullptr;
    }
    current = nextWrapped(current);
  }
}

void m3dSketchBaseC::mergeAllCollinear() const {
  const std::int64_t n = loopCount();
  for (std::int64_t i = 0; i < n; ++i) mergeCollinear(loop(i));
}

bool m3dSketchBaseC::isOnAxis(const mBaseLine2dC& line) const {
  mVec2dC a0, a1;
  if (!axisEnds(a0, a1)) return false;
  const mVec2dC start = line.startPoint();
  const mVec2dC direction = line.endPoint().minus(start);
  return isParallel2d(direction, a1.minus(a0)) && pointLineDistance2d(start, a0, a1) <= 1e-8;
}

void m3dSketchBaseC::linesOnAxis(m3dLinePoolC& out) const {
  out.reset();
  if (!hasAxis()) return;
  const std::int64_t loops = loopCount();
  for (std::int64_t i = 0; i < loops; ++i) {
    const metaObjShapeListC l = loop(i);
    for (metaTreeC* e = l.node()->firstChild(); e; e = e->nextSibling()) {
      if (!isLineNode(e)) continue;
      const m3dLineC line(e, 0);
      if (isOnAxis(line)) *out.appendSlot() = line;
    }
  }
}

int m3dSketchBaseC::circleProfile(mVec2dC* centre, double* radius) const {
  if (loopCount() != 1) return 0;
  const metaObjShapeListC l = loop(0);
  const std::int64_t n = l.childCount();
  if (n == 1 && isCircleNode(l.childNode(0))) {
    const mBaseCircle2dC circle(l.childNode(0), 0);
    if (centre) *centre = circle.centre();
    if (radius) *radius = circle.radius();
    return 1;
  }
  if (n == 2 && isArcNode(l.childNode(0)) && isArcNode(l.childNode(1))) {
    const mArcValues2dC first = mBaseArc2dC(l.childNode(0), 0).values();
    const mArcValues2dC second = mBaseArc2dC(l.childNode(1), 0).values();
    if (!first.centre.equalsWithin(second.centre, 1e-6)) return 0;
    if (centre) *centre = first.centre;
    if (radius) *radius = first.radius;
    return 1;
  }
  return 0;
}

int m3dSketchBaseC::boundingBox2d(mVec2dC& min, mVec2dC& max) const {
  const std::int64_t loops = loopCount();
  if (loops == 0) return 0;
  mVec2dC lo(1e10, 1e10), hi(-1e10, -1e10);
  for (std::int64_t i = 0; i < loops; ++i) {
    mVec2dC b(1e10, 1e10), c(-1e10, -1e10);
    loop(i).getBoundingBox(b, c);
    lo.x = std::min({lo.x, b.x, c.x});
    lo.y = std::min({lo.y, b.y, c.y});
    hi.x = std::max({hi.x, b.x, c.x});
    hi.y = std::max({hi.y, b.y, c.y});
  }
  min = lo;
  max = hi;
  return 1;
}

double m3dSketchBaseC::minElement(mBaseShape2dC* element) const {
  double m = 1e8;
  const std::int64_t loops = loopCount();
  for (std::int64_t i = 0; i < loops; ++i) {
    const metaObjShapeListC l = loop(i);
    for (metaTreeC* e = l.node()->firstChild(); e; e = e->nextSibling()) {
      const double len = mBaseShape2dC(e, 0).length();
      if (len < m) {
        m = len;
        if (element) *element = mBaseShape2dC(e, 0);
      }
    }
  }
  return m;
}

int m3dSketchBaseC::closeGaps(double threshold) const {
  int removed = 0;
  for (;;) {
    mBaseShape2dC e;
    const double len = minElement(&e);
    // Written as "not within" so that a NaN threshold removes nothing.
    if (!(len <= threshold) || !e.isBound()) break;
    ++removed;
    metaTreeC* shortest = e.node();
    metaTreeC* p = previousWrapped(shortest);
    metaTreeC* n = nextWrapped(shortest);
    if (isLineNode(p) && isLineNode(n)) {
      const m3dLineC pl(p, 0), nl(n, 0);
      const mVec2dC pEnd = pl.endPoint(), nStart = nl.startPoint();
      mVec2dC x;
      if (lineIntersect2d(pl.startPoint(), pEnd, nStart, nl.endPoint(), x)) {
        if (x.minus(pEnd).length() >= pEnd.minus(nStart).length()) {
          pl.setEndPoint(nStart);
        } else {
          pl.setEndPoint(x);
          nl.setStartPoint(x);
        }
      } else {
        pl.setEndPoint(nStart);
      }
    } else if (isLineNode(p) && isArcNode(n)) {
      const mBaseArc2dC arc(n, 0);
      arc.setEndPoints(m3dLineC(p, 0).endPoint(), arc.endPoint());
    } else if (isArcNode(p) && isLineNode(n)) {
      const mBaseArc2dC arc(p, 0);
      arc.setEndPoints(arc.startPoint(), m3dLineC(n, 0).startPoint());
    } else if (isArcNode(p) && isArcNode(n)) {
      const mBaseArc2dC arc(p, 0);
      arc.setEndPoints(arc.startPoint(), mBaseArc2dC(n, 0).startPoint());
    }
    deleteSingleNode(shortest);
  }
  return removed;
}

m3dFeatBodyC m3dSketchBaseC::bodyUsingSketch() const {
  metaTreeC* items = parent();
  if (!isPartItemsNode(items)) return m3dFeatBodyC();
  return m3dPartItemsC(items, 0).findBodyUsing(getName());
}

bool m3dSketchBaseC::mirrorsFrame(const mMat4dC& transform) const {
  return isLeftHanded(transform.multiply(getMatrix()));
}

void m3dSketchBaseC::scaleLoops(double factor) const {
  for (std::int64_t i = loopCount() - 1; i >= 0; --i) loop(i).scaleShapes(factor);
}

void m3dSketchBaseC::mirrorLoops() const {
  const mMat3dC mirror = sketchYMirror();
  const std::int64_t loops = loopCount();
  for (std::int64_t i = 0; i < loops; ++i) loop(i).transformShapes(mirror);
}

int m3dSketchBaseC::scaleGeometry(double factor) {
  scalePlacementOrigin(factor);
  if (hasAxis()) axisLine().scale(factor);
  // Only an existing record: scaling must not add an empty "SKETCHON" to every sketch.
  if (metaTreeC* on = findChild("SKETCHON")) m3dSketchOnC(on, 0).scaleGeometry(factor);
  return 1;
}

int m3dSketchBaseC::transformGeometry(const mMat4dC& transform) {
  mMat4dC m = transform.multiply(getMatrix());
  if (isLeftHanded(m)) {
    setAxisY(m, scaleBy(axisY(m), -1.0));
    if (hasAxis()) axisLine().transform(sketchYMirror());
  }
  setMatrix(m);
  return 1;
}
