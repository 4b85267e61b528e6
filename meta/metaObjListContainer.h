#pragma once
// metaObjListContainerC: a view that reads the children of its node as an indexed list, through a
// cache that is dropped when the tree changes. It owns its node only when built with owns set.

#include <cstdint>

#include "meta/metaChildCache.h"
#include "meta/metaObject.h"

class metaObjListContainerC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjListContainerC() = default;
  explicit metaObjListContainerC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  std::int64_t childCount() const;
  // The n-th child (0-based); null when absent.
  metaTreeC* childNode(std::int64_t n) const;
  // A non-owning view on the n-th child; unbound with found 0 when absent.
  metaObjectC childAt(std::int64_t n, int* found = nullptr) const;
  // The text of the n-th child when it is a key word or a string; else "" with found 0.
  const char* childTextAt(std::int64_t n, int* found = nullptr) const;
  // 0-based position of `node` among the children; -1 when it is not one.
  std::int64_t indexOfChild(const metaTreeC* node) const;

protected:
  mutable metaChildCacheC cache_;
};
