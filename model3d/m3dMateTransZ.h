#pragma once
// m3dMateTransZC: the "TRANSZ" mate: the two connection points lie on one Z axis with the offset
// "VALUE" between them. A view: it owns its node only when built with owns set.

#include "model3d/m3dMate.h"

class m3dMateTransZC : public m3dMateC {
public:
  static constexpr int classDepth = m3dMateC::classDepth + 1;
  static const char* classKey() { return "TRANSZ"; }

  m3dMateTransZC() = default;
  explicit m3dMateTransZC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dMateC(node, owns, buildVirtualBase) {}

  bool hasValue() const { return hasChild("VALUE"); }
  double getValue(int* found = nullptr) const { return getAttrReal("VALUE", found); }
  void setValue(double value) const { setAttrReal("VALUE", value); }

  // "VALUE" times the factor when it exists; 1.
  int scaleGeometry(double factor) override;
};
