#pragma once
// m3dSketchBaseC: the common base of sketches and cosmetic sketches: planar 2D geometry placed in
// 3D by the placement "MAT" (X and Y span the sketch plane, Z is its normal, elements 12-14 its
// origin), with an optional axis line "CENTER" in sketch coordinates. This holds the placement
// and axis access that parts and assemblies read; the geometry operations forward by key.
// A view: it owns its node only when built with owns set.

#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "model3d/m3dGeomOpBase.h"

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

  // The sketch has an axis line ("CENTER" child).
  bool hasAxis() const { return hasChild("CENTER"); }
  // The two points of the axis line in sketch coordinates; 0 (outputs untouched) without one.
  int axisEnds(mVec2dC& start, mVec2dC& end) const;
  // The axis points mapped through "MAT" to model coordinates; 0 without an axis line.
  int axisEndsInModel(mVec3dC& start, mVec3dC& end) const;
};
