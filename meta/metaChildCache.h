#pragma once
// metaChildCacheC: a view's cache of the children it has found, in order, for one kind of question
// (every child, or the children of one key). It remembers the node, the key and the tree
// generation it was filled for and empties itself when any of them changes. It owns no node.

#include <cstdint>

#include <string>

#include "foundation/pagedArray.h"

class metaTreeC;

class metaChildCacheC {
public:
  // The count question: fills the cache to the end.
  static constexpr std::uint64_t allEntries = ~std::uint64_t{0};

  metaChildCacheC() = default;
  // A copy starts empty: the other's entries belong to the other's node.
  metaChildCacheC(const metaChildCacheC&) {}
  metaChildCacheC& operator=(const metaChildCacheC&) {
    invalidate();
    return *this;
  }

  // Child n (0-based) of `parent`: any child when `key` is null, else the n-th direct child that
  // is a key word equal to `key`. Null when there are fewer. n = allEntries fills the cache to
  // the end and answers null.
  metaTreeC* lookup(const metaTreeC* parent, std::uint64_t n, const char* key);
  // Number of matching children (fills the cache to the end).
  std::int64_t count(const metaTreeC* parent, const char* key);
  void invalidate();

private:
  pagedArrayC<metaTreeC*> entries_{3};
  const metaTreeC* parent_ = nullptr;
  // The key asked for; a short key sits inside the string, so a view that is made and dropped
  // per question costs no allocation for it.
  std::string key_;
  bool keyed_ = false;
  bool complete_ = false;  // every matching child is cached
  std::uint32_t stamp_ = 0;
  bool valid_ = false;
};
