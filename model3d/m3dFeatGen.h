#pragma once
// m3dFeatGenC: the general feature of a part's "ITEMS" list. Besides the two geometry operations
// it answers collectFeatureAxes and featureKind, both forwarded by the node's key word to the
// prototype registered in the feature registry. Feature classes derive from it and override.
// A view: it owns its node only when built with owns set.

#include "model3d/m3dAxisSegment.h"
#include "model3d/m3dGeomOpBase.h"

class m3dFeatGenC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;

  // Kinds of feature.
  enum : int { addsMaterial = 0, removesMaterial = 1, neither = 2 };

  m3dFeatGenC() = default;
  explicit m3dFeatGenC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  // Appends the feature's axis segments to the pool and returns the pool's count after the
  // call; 0 when no other prototype is registered for the key.
  virtual int collectFeatureAxes(m3dAxisPoolC& pool);
  // 0 adds material, 1 removes material, 2 neither (also when no other prototype is registered).
  virtual int featureKind();

  // "NAME" string (found or created; "" when absent).
  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  void setName(const char* text) const { setAttrString("NAME", text); }
};
