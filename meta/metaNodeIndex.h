#pragma once
// metaNodeIndexC: the depth-first index of one node chain with its subtrees, for lookups by
// 1-based pre-order ordinal, by node and by copy mark. The index does not own the nodes; it is
// rebuilt from the tree when asked to (see rebuild) and must not be used after the tree is gone.

#include <cstdint>

#include "foundation/pagedArray.h"

class metaTreeC;

class metaNodeIndexC {
public:
  metaNodeIndexC();
  metaNodeIndexC(const metaNodeIndexC&) = delete;
  metaNodeIndexC& operator=(const metaNodeIndexC&) = delete;
  ~metaNodeIndexC();

  // Indexes the chain from `node` (null forgets the root); the next lookup builds it afresh.
  void setRoot(metaTreeC* node);
  metaTreeC* root() const { return root_; }

  // The node whose 1-based pre-order ordinal is given; null for 0 or past the count.
  metaTreeC* nodeByOrdinal(std::int64_t ordinal, int force);
  // The 1-based ordinal of an indexed node; 0 for null or a node that is not indexed.
  std::int64_t ordinalOfNode(const metaTreeC* node, int force);
  // An indexed node that carried this non-zero copy mark at the last build (one of them when
  // several did); null when none did.
  metaTreeC* nodeByMark(std::int64_t mark, int force);

  // Number of indexed nodes as of the last build.
  std::uint32_t count() const { return static_cast<std::uint32_t>(nodes_.size()); }

  // Builds the index when there is a root and either it was never built, or `force` is set and
  // the tree generation counter has moved since the last build. Without force an index is built
  // once and then kept, however the tree changes.
  void rebuild(int force);

private:
  // Position in [0, count) whose element equals the sought one, or where the search ended;
  // -1 for an empty array. The caller compares the element found there.
  std::int64_t searchByAddress(const metaTreeC* node) const;
  std::int64_t searchByMark(std::int64_t mark) const;

  pagedArrayC<metaTreeC*> nodes_;     // pre-order
  pagedArrayC<std::uint32_t> ordinals_;  // indexes into nodes_, sorted by node address
  pagedArrayC<std::uint32_t> marks_;     // indexes of marked nodes, sorted by copy mark
  // Copy mark of each indexed node as of the build, so that searches never read a node that
  // was deleted after the build.
  pagedArrayC<std::int64_t> markOf_;
  metaTreeC* root_ = nullptr;
  std::int64_t stamp_ = -1;  // generation counter at the last build; -1 when never built
};
