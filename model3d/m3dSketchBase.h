#pragma once
// m3dSketchBaseC: the common base of sketches, cosmetic sketches and pattern sketches: planar 2D
// geometry placed in 3D by the placement "MAT" (X and Y span the sketch plane, Z is its normal,
// elements 12-14 its origin; a sketch point (x, y) lies at origin + x X + y Y), an optional axis
// line "CENTER" in sketch coordinates, the "SKETCHON" record, the closed loops "LOOP" of "LINE",
// "ARC" and "CIRCLE" elements, and the cosmetic shapes "COSSHAPES". Holds the measures and
// repairs that run over the loops. A view: it owns its node only when built with owns set; the
// views it hands out never own their nodes.

#include <cstdint>

#include "foundation/pagedArray.h"
#include "meta/mMat3d.h"
#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "meta/metaObjShapeList.h"
#include "model3d/m3dCenterLine.h"
#include "model3d/m3dGeomOpBase.h"
#include "model3d/m3dSketchOn.h"

class m3dFeatBodyC;
class mBaseShape2dC;
class nurbCurveC;

// A pool of line element views (pages of 8); the views share the sketch's nodes.
using m3dLinePoolC = pagedArrayC<m3dLineC>;

// The y mirror: the identity 2D transform with element 4 set to -1.0, (x, y) -> (x, -y).
mMat3dC sketchYMirror();

class m3dSketchBaseC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;

  m3dSketchBaseC() = default;
  explicit m3dSketchBaseC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  // "NAME" string (found or created).
  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  // "MAT" (found or created); the identity unless it holds exactly 16 reals.
  mMat4dC getMatrix() const { return placement(); }
  void setMatrix(const mMat4dC& m) const { setPlacement(m); }

  // The axis line ("CENTER" child).
  bool hasAxis() const { return hasChild("CENTER"); }
  // The "CENTER" child, found or created.
  m3dCenterLineC axisLine() const { return m3dCenterLineC(findOrAddChild("CENTER"), 0); }
  // The two points of the axis line in sketch coordinates; 0 (outputs untouched) without one.
  int axisEnds(mVec2dC& start, mVec2dC& end) const;
  // The axis points mapped through "MAT" to model coordinates; 0 without an axis line.
  int axisEndsInModel(mVec3dC& start, mVec3dC& end) const;

  // The "SKETCHON" child, found or created.
  m3dSketchOnC sketchOn() const { return m3dSketchOnC(findOrAddChild("SKETCHON"), 0); }

  // Number of "LOOP" children.
  std::int64_t loopCount() const;
  // The n-th "LOOP" child (0-based) as a shape list; unbound when there are fewer.
  metaObjShapeListC loop(std::int64_t n) const;
  // Sum of the child counts of all loops.
  std::int64_t elementCount() const;
  // Number of elements of loop n (0 when there is no such loop) and element j of it, a view whose
  // key tells its class ("LINE", "ARC", "CIRCLE"); unbound when absent.
  std::int64_t loopElementCount(std::int64_t n) const;
  metaObjectC loopElement(std::int64_t n, std::int64_t j) const;
  // Deletes every child of a loop or shape list.
  static void clearShapes(const metaObjShapeListC& list);

  bool hasCosShapes() const { return hasChild("COSSHAPES"); }
  // "COSSHAPES", found or created.
  metaObjShapeListC cosShapes() const { return metaObjShapeListC(findOrAddChild("COSSHAPES"), 0); }

  // Joins runs of parallel lines that follow one another in a loop (wrapping round) into one
  // line; the lines joined away are deleted. Loops of one element are left alone.
  void mergeAllCollinear() const;
  static void mergeCollinear(const metaObjShapeListC& loop);
  // The line runs along the axis line: parallel to it and its start within 1e-8 of it. False
  // without an axis.
  bool isOnAxis(const mBaseLine2dC& line) const;
  // Every "LINE" element of every loop, in order, that lies on the axis; `out` is emptied first.
  void linesOnAxis(m3dLinePoolC& out) const;
  // A single loop that is one circle, or two arcs about one centre (within 1e-6): 1 with the
  // centre and radius written where given; else 0 and nothing written.
  int circleProfile(mVec2dC* centre, double* radius) const;
  // The 2D box of all loops; 0 (outputs untouched) when there is no loop.
  int boundingBox2d(mVec2dC& min, mVec2dC& max) const;
  // The shortest element of all loops (strictly shorter than 1e8) and its length; 1e8 and
  // `element` untouched when there is none. `element` may be null.
  double minElement(mBaseShape2dC* element) const;
  // Removes the elements not longer than the threshold, shortest first, joining their
  // neighbours; returns the number removed.
  int closeGaps(double threshold) const;

  // The body of the part's "ITEMS" built from this sketch (its "USED" names this sketch); an
  // unbound view when the sketch is not an item or nothing uses it.
  m3dFeatBodyC bodyUsingSketch() const;
  // The loop as one closed NURBS curve in the sketch plane (z = 0).
  nurbCurveC loopToNurbsCurve(std::int64_t n) const;

  // "MAT" origin times the factor, the axis line scaled, "SKETCHON" scaled; 1.
  int scaleGeometry(double factor) override;
  // "MAT" := T "MAT"; a left-handed result gets its Y axis negated and the axis line mirrored in
  // y, so the frame stays right-handed; 1.
  int transformGeometry(const mMat4dC& transform) override;

protected:
  // T "MAT" is left-handed (the 2D geometry must then be mirrored in y).
  bool mirrorsFrame(const mMat4dC& transform) const;
  // Every loop scaled by the factor, the last loop first / every loop mirrored in y.
  void scaleLoops(double factor) const;
  void mirrorLoops() const;
};
