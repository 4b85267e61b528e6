#include "meta/metaObjectVirtualDataBase.h"

#include "meta/cLocaleGuard.h"
#include "meta/metaObjectCustomCopy.h"
#include "meta/metaTree.h"

namespace {

// True when `node` is `target` or one of its ancestors: linking `node` under `target` would then
// close a cycle.
bool isSelfOrAncestor(const metaTreeC* node, const metaTreeC* target) {
  for (const metaTreeC* n = target; n; n = n->parent()) {
    if (n == node) return true;
    // A root's chain has no parent: the nodes before it in the chain are not its ancestors.
  }
  return false;
}

// Makes `node` fit for linking elsewhere: a node still in a tree is cut out of it alone.
void takeOut(metaTreeC* node) {
  if (node->parent() || node->previousSibling()) node->unlink();
}

}  // namespace

metaObjectVirtualDataBaseC::metaObjectVirtualDataBaseC(metaTreeC* node, int owns)
    : flags_(node && owns ? ownsNode : 0u), node_(node) {}

metaObjectVirtualDataBaseC::metaObjectVirtualDataBaseC(const metaObjectVirtualDataBaseC& other) {
  assign(other);
}

metaObjectVirtualDataBaseC::metaObjectVirtualDataBaseC(metaObjectVirtualDataBaseC&& other) noexcept
    : flags_(other.flags_), node_(other.node_) {
  other.flags_ = 0;
  other.node_ = nullptr;
}

metaObjectVirtualDataBaseC& metaObjectVirtualDataBaseC::operator=(
    const metaObjectVirtualDataBaseC& other) {
  assign(other);
  return *this;
}

metaObjectVirtualDataBaseC& metaObjectVirtualDataBaseC::operator=(
    metaObjectVirtualDataBaseC&& other) noexcept {
  if (this != &other) {
    release();
    flags_ = other.flags_;
    node_ = other.node_;
    other.flags_ = 0;
    other.node_ = nullptr;
  }
  return *this;
}

metaObjectVirtualDataBaseC::~metaObjectVirtualDataBaseC() { release(); }

void metaObjectVirtualDataBaseC::release() {
  metaTreeC* node = node_;
  const bool owns = ownsItsNode();
  node_ = nullptr;
  flags_ = 0;
  if (owns && node) delete node;
}

void metaObjectVirtualDataBaseC::reset(metaTreeC* node, int owns) {
  if (node && node == node_) {  // rebinding the node held must not delete it first
    flags_ = owns ? (flags_ | ownsNode) : (flags_ & ~ownsNode);
    return;
  }
  release();
  node_ = node;
  flags_ = node && owns ? ownsNode : 0u;
}

void metaObjectVirtualDataBaseC::bindIfUnbound(metaTreeC* node, int owns) {
  if (!node_) reset(node, owns);
}

void metaObjectVirtualDataBaseC::assignIfUnbound(const metaObjectVirtualDataBaseC& other) {
  if (!node_) assign(other);
}

void metaObjectVirtualDataBaseC::assign(const metaObjectVirtualDataBaseC& other) {
  if (this == &other) return;
  release();
  if (!other.node_) return;
  if (other.ownsItsNode()) {
    cLocaleGuardC guard;
    node_ = metaObjectCustomCopyC::hookedCopy(other.node_, 0);
  } else {
    node_ = other.node_;
  }
  flags_ = node_ ? other.flags_ : 0u;
}

metaTreeC* metaObjectVirtualDataBaseC::cloneNode(int single, int hooks) const {
  if (!node_) return nullptr;
  cLocaleGuardC guard;
  if (hooks) return metaObjectCustomCopyC::hookedCopy(node_, single);
  return single ? node_->cloneSubtree() : node_->cloneWithSiblings();
}

int metaObjectVirtualDataBaseC::detach(int owns) {
  if (!node_) return 0;
  node_->unlink();
  flags_ = owns ? (flags_ | ownsNode) : (flags_ & ~ownsNode);
  return 1;
}

metaTreeC* metaObjectVirtualDataBaseC::parent() const { return node_ ? node_->parent() : nullptr; }

metaNodeCursorC metaObjectVirtualDataBaseC::firstChild() const {
  return metaNodeCursorC(node_ ? node_->firstChild() : nullptr);
}

std::int64_t metaObjectVirtualDataBaseC::childCount() const {
  return node_ ? node_->childCount() : 0;
}

metaTreeC* metaObjectVirtualDataBaseC::childAt(std::int64_t n) const {
  if (!node_ || !node_->firstChild()) return nullptr;
  return node_->firstChild()->nthSibling(n);
}

void metaObjectVirtualDataBaseC::clearChildren() const {
  if (node_) node_->deleteChildren();
}

bool metaObjectVirtualDataBaseC::isKeyNode() const { return node_ && node_->value().isKeyWord(); }

bool metaObjectVirtualDataBaseC::hasKey(const char* text) const {
  return node_ && node_->isKey(text);
}

const char* metaObjectVirtualDataBaseC::keyName() const {
  return isKeyNode() ? node_->value().textOrEmpty() : "";
}

metaTreeC* metaObjectVirtualDataBaseC::findChild(const char* key) const {
  if (!node_ || !key) return nullptr;
  // The depth-0 key search, walked here: every attribute getter comes this way, and the search's
  // comparer would copy the key into a new string on each call.
  for (metaTreeC* child = node_->firstChild(); child; child = child->nextSibling()) {
    if (child->isKey(key)) return child;
  }
  return nullptr;
}

metaTreeC* metaObjectVirtualDataBaseC::findOrAddChild(const char* key) const {
  if (!node_ || !key) return nullptr;
  if (metaTreeC* found = findChild(key)) return found;
  metaTreeC* child = metaTreeC::createKeyNode(key);
  child->appendAsLastChild(node_);
  return child;
}

metaTreeC* metaObjectVirtualDataBaseC::addChild(const char* key, metaTreeC* node, int copy) const {
  if (!node_ || !key) return nullptr;
  cLocaleGuardC guard;
  metaTreeC* keyNode = metaTreeC::createKeyNode(key);
  keyNode->appendAsLastChild(node_);
  if (node) {
    if (copy) {
      if (metaTreeC* made = metaObjectCustomCopyC::hookedCopy(node, 1)) made->appendAsLastChild(keyNode);
    } else if (!isSelfOrAncestor(node, keyNode)) {
      takeOut(node);
      node->appendAsLastChild(keyNode);
    }
  }
  return keyNode;
}

metaTreeC* metaObjectVirtualDataBaseC::appendChild(metaTreeC* node, int copy) const {
  if (!node_ || !node) return nullptr;
  cLocaleGuardC guard;
  if (copy) {
    metaTreeC* made = metaObjectCustomCopyC::hookedCopy(node, 1);
    if (made) made->appendAsLastChild(node_);
    return made;
  }
  // A node cannot go under itself or one of its descendants.
  if (isSelfOrAncestor(node, node_)) return nullptr;
  takeOut(node);
  node->appendAsLastChild(node_);
  return node;
}

metaTreeC* metaObjectVirtualDataBaseC::findAncestor(const char* key) const {
  if (!node_ || !key) return nullptr;
  for (metaTreeC* n = node_->parent(); n; n = n->parent()) {
    if (n->isKey(key)) return n;
  }
  return nullptr;
}
