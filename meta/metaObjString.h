#pragma once
// metaObjStringC: a view of a key node whose value (its first child) is a string. It owns its node
// only when built with owns set; the text returned lives in the tree.

#include "meta/metaObject.h"

class metaObjStringC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjStringC() = default;
  explicit metaObjStringC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  const char* value(int* found = nullptr) const { return getString(found); }
  void setValue(const char* text) const { setString(text); }
};
