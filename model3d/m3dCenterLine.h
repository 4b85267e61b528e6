#pragma once
// m3dCenterLineC: the axis line of a sketch, its "CENTER" child, read and changed with the line
// bodies. Registered at load in the 2D shape registry under "CENTER", so the 2D shape dispatch
// treats a "CENTER" node as a line. A view: it owns its node only when built with owns set.

#include "model3d/m3dLine.h"

class m3dCenterLineC : public m3dLineC {
public:
  static constexpr int classDepth = m3dLineC::classDepth + 1;
  static const char* classKey() { return "CENTER"; }

  m3dCenterLineC() = default;
  explicit m3dCenterLineC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dLineC(node, owns, buildVirtualBase) {}
};
