#include "meta/metaObjectCustomCopy.h"

#include <vector>

#include "meta/metaObjectCustomStorage.h"
#include "meta/metaPostOrderWalk.h"
#include "meta/metaPrototypeBinding.h"
#include "meta/metaTree.h"

namespace {

metaClassRegistryC* copyRegistry = nullptr;  // constant-initialised: safe at any load order

// Clears the copy mark of every node of the chain from `chain` (its first node only with
// `single`) and of their subtrees. Marks only carry meaning within one hooked copy; a mark left
// from an earlier copy (the copy of a target carries its original's address) would otherwise
// let a reference be re-pointed at the wrong node.
void clearMarks(metaTreeC* chain, int single) {
  metaVisitPostOrder(chain, single, [](metaTreeC* node) { node->setCopyMark(0); });
}

// Copies the chain from `source` (its first node only with `single`) with every subtree, asking
// each node's copy handler first; without recursion.
metaTreeC* copyChain(metaTreeC* root, const metaTreeC* source, int single) {
  struct frameC {
    const metaTreeC* next;  // next source node to copy at this level
    metaTreeC* copyParent;  // where its copy goes (null at the top)
    metaTreeC* lastCopy;    // the last copy made at this level
    bool onlyOne;
  };
  metaTreeC* result = nullptr;
  std::vector<frameC> stack;
  stack.push_back({source, nullptr, nullptr, single != 0});
  while (!stack.empty()) {
    frameC& frame = stack.back();
    const metaTreeC* from = frame.next;
    if (!from) {
      stack.pop_back();
      continue;
    }
    frame.next = frame.onlyOne ? nullptr : from->nextSibling();

    metaTreeC* made = metaObjectCustomCopyC(const_cast<metaTreeC*>(from), 0).copyNode(root);
    const bool custom = made != nullptr;
    if (custom) {
      if (made->parent() || made->previousSibling()) made->unlink();
    } else {
      made = new metaTreeC(*from);  // value and copy mark, no links
    }
    if (frame.lastCopy) {
      made->insertAfter(frame.lastCopy);
    } else if (frame.copyParent) {
      made->insertAsFirstChild(frame.copyParent);
    } else {
      result = made;
    }
    frame.lastCopy = made->lastSibling();
    if (!custom && from->firstChild()) {
      // `frame` is not used past this point: the push may move it.
      stack.push_back({from->firstChild(), made, nullptr, false});
    }
  }
  return result;
}

}  // namespace

metaClassRegistryC*& metaObjectCustomCopyC::registry() { return copyRegistry; }

metaObjectCustomCopyC* metaObjectCustomCopyC::findHandler(const char* key) {
  return metaClassRegistryC::findAs<metaObjectCustomCopyC>(copyRegistry, key);
}

metaObjectCustomCopyC* metaObjectCustomCopyC::handlerForNode() const {
  if (!isKeyNode()) return nullptr;
  metaObjectCustomCopyC* handler = findHandler(keyName());
  return handler == this ? nullptr : handler;
}

metaTreeC* metaObjectCustomCopyC::copyNode(metaTreeC* root) {
  metaObjectCustomCopyC* handler = handlerForNode();
  if (!handler) return nullptr;
  metaPrototypeBindingC binding(*handler, node());
  return handler->copyNode(root);
}

int metaObjectCustomCopyC::beforeCopy(metaTreeC* root) {
  metaObjectCustomCopyC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->beforeCopy(root);
}

int metaObjectCustomCopyC::afterCopy(metaTreeC* root) {
  metaObjectCustomCopyC* handler = handlerForNode();
  if (!handler) return 0;
  metaPrototypeBindingC binding(*handler, node());
  return handler->afterCopy(root);
}

metaTreeC* metaObjectCustomCopyC::hookedCopy(const metaTreeC* node, int single) {
  if (!node) return nullptr;
  if (!metaObjectCustomStorageC::hasHandler(node, single, copyRegistry)) {
    return single ? node->cloneSubtree() : node->cloneWithSiblings();
  }
  metaTreeC* source = const_cast<metaTreeC*>(node);  // the passes mark the source's nodes
  clearMarks(source, single);
  metaVisitPostOrder(source, single, [source](metaTreeC* n) {
    metaObjectCustomCopyC(n, 0).beforeCopy(source);
  });
  metaTreeC* copy = copyChain(source, node, single);
  if (copy) {
    metaVisitPostOrder(copy, single, [copy](metaTreeC* n) {
      metaObjectCustomCopyC(n, 0).afterCopy(copy);
    });
  }
  return copy;
}
