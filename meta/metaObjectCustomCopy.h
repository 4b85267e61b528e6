#pragma once
// metaObjectCustomCopyC: the custom copy view. Its hooks run around a deep copy of a tree so that
// handlers (the references) can re-point what they hold at the copies. The base bodies forward to
// the handler registered for the node's key in the copy registry (bound to the node for the one
// call) and answer 0 / null when there is none. The registration objects own the handlers.

#include "meta/metaClassRegistry.h"
#include "meta/metaObject.h"

class metaTreeC;

class metaObjectCustomCopyC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjectCustomCopyC() = default;
  explicit metaObjectCustomCopyC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  // The node to use as this node's copy (detached, owned by the caller), or null for the default
  // copy of the node and its subtree.
  virtual metaTreeC* copyNode(metaTreeC* root);
  // Run over every node of the source before the copy, with the source's first node.
  virtual int beforeCopy(metaTreeC* root);
  // Run over every node of the copy after the copy, with the copy's first node.
  virtual int afterCopy(metaTreeC* root);

  // The copy registry (null until the first registration) and its lookup by key.
  static metaClassRegistryC*& registry();
  static metaObjectCustomCopyC* findHandler(const char* key);

  // A new copy of `node` (with `single` set) or of `node` and its following siblings, each with
  // its subtree; the caller owns it. When no node of the source has a copy handler this is the
  // plain tree copy; else every copy mark of the source is cleared, the beforeCopy pass runs over
  // the source, the copy is made (asking each node's copyNode), and the afterCopy pass runs over
  // the copy. Null for a null node. Not recursive: trees of any depth are safe.
  static metaTreeC* hookedCopy(const metaTreeC* node, int single);

private:
  metaObjectCustomCopyC* handlerForNode() const;
};
