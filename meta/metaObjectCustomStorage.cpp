#include "meta/metaObjectCustomStorage.h"

#include "meta/metaPostOrderWalk.h"
#include "meta/metaPrototypeBinding.h"
#include "meta/metaTree.h"

namespace {

metaClassRegistryC* storageRegistry = nullptr;  // constant-initialised: safe at any load order

// Matches a key node whose key has a handler in the registry.
class hasHandlerCompareC : public metaNodeCompareInterfaceC {
public:
  explicit hasHandlerCompareC(const metaClassRegistryC* registry) : registry_(registry) {}
  int match(const metaTreeC* node) const override {
    return node->value().isKeyWord() &&
                   metaClassRegistryC::find(registry_, node->value().textOrEmpty()) != nullptr
               ? 1
               : 0;
  }

private:
  const metaClassRegistryC* registry_;
};

}  // namespace

metaClassRegistryC*& metaObjectCustomStorageC::registry() { return storageRegistry; }

metaObjectCustomStorageC* metaObjectCustomStorageC::findHandler(const char* key) {
  return metaClassRegistryC::findAs<metaObjectCustomStorageC>(storageRegistry, key);
}

metaObjectCustomStorageC* metaObjectCustomStorageC::handlerForNode() const {
  if (!isKeyNode()) return nullptr;
  metaObjectCustomStorageC* handler = findHandler(keyName());
  return handler == this ? nullptr : handler;
}

int metaObjectCustomStorageC::afterLoad(metaTreeC* root) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->afterLoad(root);
}

metaTreeC* metaObjectCustomStorageC::forSave(metaTreeC* root) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return nullptr;
  metaPrototypeBindingC binding(*handler, node());
  return handler->forSave(root);
}

int metaObjectCustomStorageC::thirdHook(int argument) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->thirdHook(argument);
}

int metaObjectCustomStorageC::fourthHook(int argument) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->fourthHook(argument);
}

int metaObjectCustomStorageC::preLoadPassHook(metaTreeC* root) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->preLoadPassHook(root);
}

int metaObjectCustomStorageC::postLoadPassHook(metaTreeC* root) {
  metaObjectCustomStorageC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->postLoadPassHook(root);
}

bool metaObjectCustomStorageC::hasHandler(const metaTreeC* chain, int single,
                                          const metaClassRegistryC* registry) {
  if (!chain || !registry) return false;
  const hasHandlerCompareC compare(registry);
  if (single) return compare.match(chain) || metaTreeC::find(chain->firstChild(), compare, -1);
  return metaTreeC::find(chain, compare, -1) != nullptr;
}

int metaObjectCustomStorageC::runPostLoadPass(metaTreeC* root, int single) {
  if (!hasHandler(root, single, storageRegistry)) return 0;
  metaVisitPostOrder(root, single, [root](metaTreeC* node) {
    metaObjectCustomStorageC(node, 0).preLoadPassHook(root);
  });
  metaVisitPostOrder(root, single, [root](metaTreeC* node) {
    metaObjectCustomStorageC(node, 0).afterLoad(root);
  });
  metaVisitPostOrder(root, single, [root](metaTreeC* node) {
    metaObjectCustomStorageC(node, 0).postLoadPassHook(root);
  });
  return 1;
}
