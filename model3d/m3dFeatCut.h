#pragma once
// m3dFeatCutC: a body that removes material ("CUT"). Registered under "CUT" in the 3D class
// registry and the feature registry. A view: it owns its node only when built with owns set.

#include "model3d/m3dFeatBody.h"

class m3dFeatCutC : public m3dFeatBodyC {
public:
  static constexpr int classDepth = m3dFeatBodyC::classDepth + 1;
  static const char* classKey() { return "CUT"; }

  m3dFeatCutC() = default;
  explicit m3dFeatCutC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatBodyC(node, owns, buildVirtualBase) {}

  int collectFeatureAxes(m3dAxisPoolC& pool) override { return m3dFeatBodyC::collectFeatureAxes(pool); }
  int featureKind() override { return removesMaterial; }
};
