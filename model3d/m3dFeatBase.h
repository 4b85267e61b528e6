#pragma once
// m3dFeatBaseC: a body that adds material ("BASE"). Registered under "BASE" in the 3D class
// registry and the feature registry. A view: it owns its node only when built with owns set.

#include "model3d/m3dFeatBody.h"

class m3dFeatBaseC : public m3dFeatBodyC {
public:
  static constexpr int classDepth = m3dFeatBodyC::classDepth + 1;
  static const char* classKey() { return "BASE"; }

  m3dFeatBaseC() = default;
  explicit m3dFeatBaseC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatBodyC(node, owns, buildVirtualBase) {}

  int featureKind() override { return addsMaterial; }
};
