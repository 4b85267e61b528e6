#pragma once
// metaObjListObjectCommonBaseTemplateC<T>: a list view whose children, whatever their keys, are
// handed out by position as T views that do not own their nodes. T provides a constructor
// T(metaTreeC*, int owns). The list owns its node only when built with owns set.

#include <cstdint>

#include "meta/metaObjListContainer.h"

template <class T>
class metaObjListObjectCommonBaseTemplateC : public metaObjListContainerC {
public:
  static constexpr int classDepth = metaObjListContainerC::classDepth + 1;

  metaObjListObjectCommonBaseTemplateC() = default;
  explicit metaObjListObjectCommonBaseTemplateC(metaTreeC* node, int owns = 0,
                                                int buildVirtualBase = 1)
      : metaObjListContainerC(node, owns, buildVirtualBase) {}

  std::int64_t count() const { return childCount(); }
  // Child n (0-based) as a non-owning T view; unbound when there are fewer.
  T item(std::int64_t n) const { return T(childNode(n), 0); }
};
