#pragma once
// metaObjRealC: a view of a key node whose value (its first child) is a real number. It owns its
// node only when built with owns set.

#include "meta/metaObject.h"

class metaObjRealC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjRealC() = default;
  explicit metaObjRealC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  double value(int* found = nullptr) const { return getReal(found); }
  void setValue(double v) const { setReal(v); }
};
