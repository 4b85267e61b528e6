#pragma once
// metaObjIntC: a view of a key node whose value (its first child) is an integer, stored as a real.
// It owns its node only when built with owns set.

#include <cstdint>

#include "meta/metaObject.h"

class metaObjIntC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjIntC() = default;
  explicit metaObjIntC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  int value(int* found = nullptr) const { return getInt(found); }
  void setValue(std::int64_t v) const { setInt(v); }
};
