#pragma once
// m3dConnPointC: a connection point of a part, a "CONNPOINT" element of "CONNECT": a named
// coordinate frame ("NAME", placement "MAT") at which parts are joined. Scaling moves its origin;
// a transform keeps the frame right-handed. A view: it owns its node only when built with owns
// set.

#include "model3d/m3dGeomOpBase.h"

class m3dConnectionsC;

class m3dConnPointC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;
  static const char* classKey() { return "CONNPOINT"; }

  m3dConnPointC() = default;
  explicit m3dConnPointC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  bool isConnPoint() const { return hasKey("CONNPOINT"); }
  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  mMat4dC getMatrix() const { return placement(); }
  void setMatrix(const mMat4dC& m) const { setPlacement(m); }
  // The nearest "CONNECT" ancestor; unbound when none.
  m3dConnectionsC owner() const;

  // Elements 12-14 of "MAT" times the factor (the axes stay); 1.
  int scaleGeometry(double factor) override;
  // "MAT" := transform . "MAT", with Y negated when the product is left-handed; 1.
  int transformGeometry(const mMat4dC& transform) override;
};
