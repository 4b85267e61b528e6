#include "meta/metaObjListContainer.h"

#include "meta/metaTree.h"

std::int64_t metaObjListContainerC::childCount() const { return cache_.count(node(), nullptr); }

metaTreeC* metaObjListContainerC::childNode(std::int64_t n) const {
  if (n < 0) return nullptr;
  return cache_.lookup(node(), static_cast<std::uint64_t>(n), nullptr);
}

metaObjectC metaObjListContainerC::childAt(std::int64_t n, int* found) const {
  metaTreeC* child = childNode(n);
  if (found) *found = child ? 1 : 0;
  return metaObjectC(child, 0);
}

const char* metaObjListContainerC::childTextAt(std::int64_t n, int* found) const {
  const metaTreeC* child = childNode(n);
  const bool ok = child && child->value().isText();
  if (found) *found = ok ? 1 : 0;
  return ok ? child->value().textOrEmpty() : "";
}

std::int64_t metaObjListContainerC::indexOfChild(const metaTreeC* child) const {
  if (!child || !node()) return -1;
  const std::int64_t count = childCount();
  for (std::int64_t i = 0; i < count; ++i) {
    if (childNode(i) == child) return i;
  }
  return -1;
}
