#pragma once
// m3dCosSketchRetC: the view type of a cosmetic sketch produced for a view: a copy placed to face
// the view, marked with the "PARTNR" of the part that produced it. A view: it owns its node only
// when built with owns set.

#include "model3d/m3dCosSketch.h"

class m3dCosSketchRetC : public m3dCosSketchC {
public:
  static constexpr int classDepth = m3dCosSketchC::classDepth + 1;

  m3dCosSketchRetC() = default;
  explicit m3dCosSketchRetC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dCosSketchC(node, owns, buildVirtualBase) {}

  // "COSSKETCHOWNERPARTNR" (integer, found or created).
  int ownerPartNumber(int* found = nullptr) const { return getAttrInt("COSSKETCHOWNERPARTNR", found); }
  void setOwnerPartNumber(int n) const { setAttrInt("COSSKETCHOWNERPARTNR", n); }
};
