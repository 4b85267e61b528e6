#pragma once
// metaObjKeyContainerC: a view that reads the children of its node that carry one key, through a
// cache that is dropped when the tree, the node or the key asked for changes. It owns its node
// only when built with owns set.

#include <cstdint>

#include "meta/metaChildCache.h"
#include "meta/metaObject.h"

class metaObjKeyContainerC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjKeyContainerC() = default;
  explicit metaObjKeyContainerC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  // Number of direct children that are key words equal to `key`.
  std::int64_t countByKey(const char* key) const;
  // The n-th (0-based) such child; null when there are fewer.
  metaTreeC* childByKey(const char* key, std::int64_t n) const;

protected:
  mutable metaChildCacheC cache_;
};
