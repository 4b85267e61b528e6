#pragma once
// metaObjectCustomStorageC: the custom storage view. Its hooks run over a tree after it is loaded
// (the post-load pass) and when it is prepared for saving. The base bodies forward to the handler
// registered for the node's key in the storage registry (bound to the node for the one call) and
// answer 0 / null when there is none. The registry holds the handlers' storage parts; the
// registration objects own the handlers.

#include "meta/metaClassRegistry.h"
#include "meta/metaObject.h"

class metaTreeC;

class metaObjectCustomStorageC : public metaObjectC {
public:
  static constexpr int classDepth = metaObjectC::classDepth + 1;

  metaObjectCustomStorageC() = default;
  explicit metaObjectCustomStorageC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}

  // Resolves what the file stored for this node once the whole tree is loaded.
  virtual int afterLoad(metaTreeC* root);
  // The node to write in this node's place (the caller owns it), or null.
  virtual metaTreeC* forSave(metaTreeC* root);
  virtual int thirdHook(int argument);
  virtual int fourthHook(int argument);
  // Run over every node before / after the afterLoad pass.
  virtual int preLoadPassHook(metaTreeC* root);
  virtual int postLoadPassHook(metaTreeC* root);

  // The storage registry (null until the first registration) and its lookup by key.
  static metaClassRegistryC*& registry();
  static metaObjectCustomStorageC* findHandler(const char* key);

  // The post-load pass over the chain from `root` (only its first node with `single` set): when
  // any node has a storage handler, the passes of preLoadPassHook, afterLoad and postLoadPassHook
  // run in that order, each visiting every node after its descendants. Returns 1 when the passes
  // ran, 0 when no node has a handler. Not recursive: trees of any depth are safe.
  static int runPostLoadPass(metaTreeC* root, int single);
  // Whether any node of the chain from `chain` (its first node only with `single`), or any
  // descendant, carries a key with a handler in `registry`.
  static bool hasHandler(const metaTreeC* chain, int single, const metaClassRegistryC* registry);

private:
  metaObjectCustomStorageC* handlerForNode() const;
};
