#pragma once
// metaObjKeyContainerTemplateC<T>: the children of T's key handed out as T views that do not own
// their nodes. T provides `static const char* classKey()` and a constructor T(metaTreeC*, int owns).

#include <cstdint>

#include "meta/metaObjKeyContainer.h"

template <class T>
class metaObjKeyContainerTemplateC : public metaObjKeyContainerC {
public:
  static constexpr int classDepth = metaObjKeyContainerC::classDepth + 1;

  metaObjKeyContainerTemplateC() = default;
  explicit metaObjKeyContainerTemplateC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjKeyContainerC(node, owns, buildVirtualBase) {}

  std::int64_t count() const { return countByKey(T::classKey()); }
  // The n-th child of T's key as a non-owning T view; unbound when there are fewer.
  T item(std::int64_t n) const { return T(childByKey(T::classKey(), n), 0); }
  metaTreeC* itemNode(std::int64_t n) const { return childByKey(T::classKey(), n); }
};
