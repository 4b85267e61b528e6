#pragma once
// m3dBasicPlaneC: one of the three standard planes through the origin ("XY", "ZX", "YZ"), and
// makeStandardPlane, which creates one. A view: it owns its node only when built with owns set.

#include "model3d/m3dPlane.h"

class m3dBasicPlaneC : public m3dPlaneC {
public:
  m3dBasicPlaneC() = default;
  explicit m3dBasicPlaneC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dPlaneC(node, owns, buildVirtualBase) {}
};

// For "XY", "ZX" or "YZ": a new detached plane node named "Plane XY" (...), "TYP" the given name
// and the standard frame; unbound for any other name.
m3dBasicPlaneC makeStandardPlane(const char* name, int owns);
