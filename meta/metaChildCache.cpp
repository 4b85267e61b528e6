#include "meta/metaChildCache.h"

#include "meta/metaTree.h"

void metaChildCacheC::invalidate() {
  entries_.reset();
  parent_ = nullptr;
  key_.clear();
  keyed_ = false;
  complete_ = false;
  valid_ = false;
}

metaTreeC* metaChildCacheC::lookup(const metaTreeC* parent, std::uint64_t n, const char* key) {
  if (!parent) {
    invalidate();
    return nullptr;
  }
  const std::uint32_t generation = metaTreeC::generation();
  const bool sameQuestion =
      key ? (keyed_ && key_ == key) : !keyed_;
  if (!valid_ || stamp_ != generation || parent_ != parent || !sameQuestion) {
    entries_.reset();
    parent_ = parent;
    if (key) key_.assign(key);
    else key_.clear();
    keyed_ = key != nullptr;
    complete_ = false;
    stamp_ = generation;
    valid_ = true;
  }
  if (n < entries_.size()) return *entries_.element(n);
  if (complete_) return nullptr;
  metaTreeC* node = entries_.isEmpty() ? parent->firstChild() : (*entries_.last())->nextSibling();
  for (; node; node = node->nextSibling()) {
    if (keyed_ && !node->isKey(key_.c_str())) continue;
    entries_.append(node);
    if (entries_.size() > n) return node;
  }
  complete_ = true;
  return nullptr;
}

std::int64_t metaChildCacheC::count(const metaTreeC* parent, const char* key) {
  lookup(parent, allEntries, key);
  return parent ? static_cast<std::int64_t>(entries_.size()) : 0;
}
