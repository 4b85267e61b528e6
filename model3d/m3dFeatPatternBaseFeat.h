#pragma once
// m3dFeatPatternBaseFeatC: the "FPBASEFEAT" record of a feature pattern, the patterned body's
// "NAME" and its reference point "POINT3D" (three reals, part coordinates). Registered under
// "FPBASEFEAT" in the 3D class registry. A view: it owns its node only when built with owns set.

#include "meta/mVec3d.h"
#include "model3d/m3dGeomOpBase.h"

class m3dFeatPatternBaseFeatC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;
  static const char* classKey() { return "FPBASEFEAT"; }

  m3dFeatPatternBaseFeatC() = default;
  explicit m3dFeatPatternBaseFeatC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  // The zero vector with found 0 unless "POINT3D" holds exactly three reals.
  mVec3dC referencePoint(int* found = nullptr) const;
  void setReferencePoint(const mVec3dC& p) const;

  // "POINT3D" times the factor; 1.
  int scaleGeometry(double factor) override;
};
