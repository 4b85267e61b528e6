#pragma once
// m3dAbsPlaneC: a plane given by its frame alone ("TYP" "ABS_PLANE"), and makeAbsPlane, which
// creates one. A view: it owns its node only when built with owns set.

#include "model3d/m3dPlane.h"

class m3dAbsPlaneC : public m3dPlaneC {
public:
  m3dAbsPlaneC() = default;
  explicit m3dAbsPlaneC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dPlaneC(node, owns, buildVirtualBase) {}
};

// A new detached plane node with "NAME" `name`, "MAT" `matrix` and "TYP" "ABS_PLANE".
m3dAbsPlaneC makeAbsPlane(const char* name, const mMat4dC& matrix, int owns);
