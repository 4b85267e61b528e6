// The hatches of a figure as associative HATCH entities: each loop's edges are rebuilt from the
// geometry of its boundary shapes, and each loop names the entities that were made from those
// shapes (found in the command's shape references). Every host list built here is released
// right after the hatch is made.
#include "plugin/HatchConversion.h"

#include <cmath>
#include <cstdint>

#include "meta/m2d/m2dArc.h"
#include "meta/m2d/m2dCircle.h"
#include "meta/m2d/m2dEllipse.h"
#include "meta/m2d/m2dEllipseArc.h"
#include "meta/m2d/m2dHatch.h"
#include "meta/m2d/m2dHatchLoop.h"
#include "meta/m2d/m2dHatchLoopRefList.h"
#include "meta/m2d/m2dIntCrv.h"
#include "meta/m2d/m2dLine.h"
#include "meta/metaObject.h"
#include "meta/metaTree.h"
#include "meta/mPlaneGeometry.h"
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"
#include "plugin/MetafileConverter.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;

resbuf* lineEdge(const mVec2dC& s, const mVec2dC& e) {
  const double p1[3] = {s.x, s.y, 0.0};
  const double p2[3] = {e.x, e.y, 0.0};
  return hostcall::buildList(72, 1, 10, p1, 11, p2, 0);
}

// A counterclockwise arc edge from start to end (degrees).
resbuf* arcEdge(const mVec2dC& c, double radius, double start, double end) {
  const double centre[3] = {c.x, c.y, 0.0};
  return hostcall::buildList(72, 2, 10, centre, 40, radius, 50, hostRadians(start), 51,
                             hostRadians(end), 73, 1, 0);
}

resbuf* arcEdge(const mBaseArc2dC& arc) {
  const mArcValues2dC v = arc.values();
  double start = v.startAngle;
  double end = v.endAngle;
  if (v.clockwise) std::swap(start, end);
  return arcEdge(v.centre, v.radius, start, end);
}

resbuf* circleEdge(const mBaseCircle2dC& circle) {
  const mVec2dC c = circle.centre();
  const double centre[3] = {c.x, c.y, 0.0};
  return hostcall::buildList(72, 2, 10, centre, 40, circle.radius(), 50, 0.0, 51, kTwoPi, 73, 1,
                             0);
}

// An ellipse edge from parameter start to end (radians).
resbuf* ellipseEdge(const mBaseEllipseCore2dC& ellipse, double start, double end) {
  const mVec2dC c = ellipse.centre();
  const mVec2dC axisEnd = ellipse.majorAxisEnd();
  const double centre[3] = {c.x, c.y, 0.0};
  const double axis[3] = {axisEnd.x - c.x, axisEnd.y - c.y, 0.0};
  return hostcall::buildList(72, 3, 10, centre, 11, axis, 40, 1.0 / ellipse.radiusRatio(), 50,
                             start, 51, end, 73, 1, 0);
}

// One hatch edge of a curve's pieces: a LINE or ARC piece, a CIRCLE piece that is the whole
// curve, or one half of a CIRCLE piece that follows other pieces. Such a circle starts and ends
// where they end (at `from`); its first half runs from there to the opposite point, its second
// half back, so that the loop's edges stay one chain.
struct CurveEdge {
  metaTreeC* piece = nullptr;
  int half = 0;  // 0 the whole piece, 1 or 2 a half circle
  mVec2dC from;
};

// Splits a curve (splitCurve) and calls visit with each of its edges in order; stops when visit
// returns false.
template <class Visit>
void forEachCurveEdge(const mBaseIntCrv2dC& curve, Visit visit) {
  const metaObjectC pieces = splitCurve(curve);
  mVec2dC last;
  bool any = false;
  for (metaTreeC* piece = pieces.node()->firstChild(); piece; piece = piece->nextSibling()) {
    const bool line = m2dLineC::isKindOf(piece);
    const bool arc = m2dArcC::isKindOf(piece);
    const bool circle = m2dCircleC::isKindOf(piece);
    if (circle && any) {
      if (!visit(CurveEdge{piece, 1, last}) || !visit(CurveEdge{piece, 2, last})) return;
      continue;
    }
    if (!line && !arc && !circle) continue;
    if (!visit(CurveEdge{piece, 0, last})) return;
    any = true;
    if (line) last = mBaseLine2dC(piece, 0).endPoint();
    if (arc) last = mBaseArc2dC(piece, 0).endPoint();
  }
}

resbuf* curveEdge(const CurveEdge& edge) {
  metaTreeC* piece = edge.piece;
  if (m2dLineC::isKindOf(piece)) {
    const mBaseLine2dC line(piece, 0);
    return lineEdge(line.startPoint(), line.endPoint());
  }
  if (m2dArcC::isKindOf(piece)) return arcEdge(mBaseArc2dC(piece, 0));
  const mBaseCircle2dC circle(piece, 0);
  if (edge.half == 0) return circleEdge(circle);
  const mVec2dC c = circle.centre();
  const double from = vectorAngleDeg({1.0, 0.0}, edge.from.minus(c));
  const double opposite = from < 180.0 ? from + 180.0 : from - 180.0;
  return edge.half == 1 ? arcEdge(c, circle.radius(), from, opposite)
                        : arcEdge(c, circle.radius(), opposite, from);
}

bool givesOneEdge(const metaTreeC* node) {
  return m2dLineC::isKindOf(node) || m2dArcC::isKindOf(node) || m2dCircleC::isKindOf(node) ||
         m2dEllipseC::isKindOf(node) || m2dEllipseArcC::isKindOf(node);
}

// A result-buffer chain built at its tail: each append links at the kept tail (appendToGroupList
// from there has nothing to walk) and walks only the chain it adds, so that a hatch's list is
// built in time linear in its groups. The caller releases head.
struct GroupChain {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;

  void append(resbuf* chain) {
    if (!chain) return;
    if (!head) head = chain;
    else CommandContext::appendToGroupList(tail, chain);
    tail = chain;
    while (tail->rbnext) tail = tail->rbnext;
  }
};

}  // namespace

HatchPattern hatchPattern(double angleDegrees, double distance) {
  HatchPattern p;
  p.angle = hostRadians(angleDegrees + 45.0);
  p.spacing = distance == 0.0 ? kDefaultHatchSpacing : distance;
  p.offsetX = std::cos(p.angle + kHalfPi) * p.spacing;
  p.offsetY = std::sin(p.angle + kHalfPi) * p.spacing;
  return p;
}

resbuf* CommandContext::appendToGroupList(resbuf* first, resbuf* second) {
  if (!first) return second;
  resbuf* last = first;
  while (last->rbnext) last = last->rbnext;
  last->rbnext = second;
  return first;
}

resbuf* CommandContext::appendHatchEdges(const m2dShapeBaseC& shape) {
  metaTreeC* node = shape.node();
  if (!node) return nullptr;
  if (m2dLineC::isKindOf(node)) {
    const mBaseLine2dC line(node, 0);
    return lineEdge(line.startPoint(), line.endPoint());
  }
  if (m2dArcC::isKindOf(node)) return arcEdge(mBaseArc2dC(node, 0));
  if (m2dCircleC::isKindOf(node)) return circleEdge(mBaseCircle2dC(node, 0));
  if (m2dEllipseArcC::isKindOf(node)) {
    // The shape keeps its parameters in degrees; the list takes radians, as the ELLIPSE does.
    const mBaseEllipseArc2dC arc(node, 0);
    return ellipseEdge(arc, hostRadians(arc.startAngle()), hostRadians(arc.endAngle()));
  }
  if (m2dEllipseC::isKindOf(node)) return ellipseEdge(mBaseEllipse2dC(node, 0), 0.0, kTwoPi);
  if (m2dIntCrvC::isKindOf(node)) {
    GroupChain edges;
    forEachCurveEdge(mBaseIntCrv2dC(node, 0), [&](const CurveEdge& piece) {
      resbuf* edge = curveEdge(piece);
      if (!edge) return false;
      edges.append(edge);
      return true;
    });
    return edges.head;
  }
  return nullptr;
}

// A boundary shape of a key that gives no edge counts 0, so that group 93 always agrees with
// the edges written.
std::int32_t CommandContext::countLoopEdges(const m2dHatchLoopRefListC& references) {
  std::int32_t edges = 0;
  const std::int64_t count = references.count();
  for (std::int64_t i = 0; i < count; ++i) {
    metaTreeC* target = references.item(i).targetShape().node();
    if (!target) continue;
    if (m2dIntCrvC::isKindOf(target)) {
      forEachCurveEdge(mBaseIntCrv2dC(target, 0), [&](const CurveEdge&) {
        ++edges;
        return true;
      });
    } else if (givesOneEdge(target)) {
      ++edges;
    }
  }
  return edges;
}

resbuf* CommandContext::appendHatchSources(const m2dShapeBaseC& shape) {
  const ShapeRefItem* item = shapeReferences().findShape(shape.node());
  if (!item) return nullptr;
  return hostcall::buildList(330, item->entityName, 0);
}

std::int32_t CommandContext::makeHatch(const m2dHatchC& hatch, ads_name out) {
  const m2dHatchLoopListC loops = hatch.loopList();
  const std::int64_t loopCount = loops.count();
  const double origin[3] = {0.0, 0.0, 0.0};
  const double normal[3] = {0.0, 0.0, 1.0};
  GroupChain list;
  list.append(hostcall::buildList(RTDXF0, "HATCH", 100, "AcDbEntity", 8, hatchLayer().data(), 100,
                                  "AcDbHatch", 62, hatchColour(), 10, origin, 210, normal, 2, "_U",
                                  70, 0, 71, 1, 91, static_cast<int>(loopCount), 0));
  for (std::int64_t i = 0; i < loopCount; ++i) {
    const m2dHatchLoopRefListC references = loops.item(i).shapeRefList();
    const std::int64_t referenceCount = references.count();
    list.append(hostcall::buildList(92, i == 0 ? 1 : 16, 93, countLoopEdges(references), 0));
    for (std::int64_t r = 0; r < referenceCount; ++r)
      list.append(appendHatchEdges(references.item(r).targetShape()));
    list.append(hostcall::buildList(97, static_cast<int>(referenceCount), 0));
    for (std::int64_t r = 0; r < referenceCount; ++r) {
      resbuf* source = appendHatchSources(references.item(r).targetShape());
      if (!source) printMessage("Shape für Hatch nicht gefunden!");
      list.append(source);
    }
  }
  // The pattern turns with its figure, and its base point and seed point, the figure's origin,
  // go where the figure's origin goes.
  const HatchPattern p = hatchPattern(hatch.angle() + placement_.turn, hatch.distance());
  const mVec2dC base = placement_.position(0.0, 0.0);
  const double seed[3] = {base.x, base.y, 0.0};
  list.append(hostcall::buildList(75, 0, 76, 1, 52, p.angle, 41, p.spacing, 77, 0, 78, 1, 53,
                                  p.angle, 43, base.x, 44, base.y, 45, p.offsetX, 46, p.offsetY,
                                  79, 0, 98, 1, 10, seed, 0));
  const int rc = list.head ? hostcall::entMake(list.head) : RTREJ;
  if (list.head) hostcall::relRb(list.head);
  if (rc != RTNORM) {
    printMessage("Hatch konnte nicht erzeugt werden!");
    return -1;
  }
  hostcall::entLast(out);
  return 1;
}
