#pragma once
// metaObjectRefC: the reference handler, a view of a "MOREF" node whose "REFTRG" attribute names
// another node of the same tree. In a file REFTRG holds the target's 1-based depth-first ordinal
// (0 or -1: no target); after the post-load pass, and after a hooked copy, it holds the target
// node itself as a non-owned pointer value, so a number read from a file is never taken for an
// address. Registered under "MOREF" in the storage and the copy registry. The view owns its node
// only when built with owns set; it never owns the target.

#include <cstdint>

#include "meta/metaObjectCustomCopy.h"
#include "meta/metaObjectCustomStorage.h"

class metaTreeC;

class metaObjectRefC : public metaObjectCustomStorageC, public metaObjectCustomCopyC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;
  static const char* classKey() { return "MOREF"; }

  metaObjectRefC() = default;
  explicit metaObjectRefC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectCustomStorageC(node, owns, buildVirtualBase),
        metaObjectCustomCopyC(node, owns, 0) {}

  // The node REFTRG holds in memory; null when it holds none or still holds a file ordinal.
  metaTreeC* targetNode() const;
  // REFTRG found or added, then set to the node (null: no target).
  void setTargetNode(metaTreeC* target) const;
  // REFTRG as the file stores it (an integer); 0 with found 0 when it holds no number.
  std::int64_t targetOrdinal(int* found = nullptr) const;
  void setTargetOrdinal(std::int64_t ordinal) const;

  // REFTRG := the node whose ordinal in the tree of `root` is the stored ordinal (null when none).
  int afterLoad(metaTreeC* root) override;
  // A copy of this node with its subtree whose REFTRG is the target's ordinal in the tree of
  // `root` (-1 without a target, 0 when the target is not in that tree); the caller owns it.
  metaTreeC* forSave(metaTreeC* root) override;
  // Both forget the remembered root, so that the next lookup indexes the tree afresh.
  int thirdHook(int argument) override;
  int preLoadPassHook(metaTreeC* root) override;

  metaTreeC* copyNode(metaTreeC* root) override;  // null: the default copy
  // Forgets the remembered root and marks the target with its own address.
  int beforeCopy(metaTreeC* root) override;
  // REFTRG := the node of the copy of `root` that carries the old target's mark (null when none).
  int afterCopy(metaTreeC* root) override;
};
