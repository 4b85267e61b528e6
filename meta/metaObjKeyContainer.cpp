#include "meta/metaObjKeyContainer.h"

#include "meta/metaTree.h"

std::int64_t metaObjKeyContainerC::countByKey(const char* key) const {
  if (!key) return 0;
  return cache_.count(node(), key);
}

metaTreeC* metaObjKeyContainerC::childByKey(const char* key, std::int64_t n) const {
  if (!key || n < 0) return nullptr;
  return cache_.lookup(node(), static_cast<std::uint64_t>(n), key);
}
