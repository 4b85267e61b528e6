#include "meta/metaTree.h"

#include <cstring>

#include "foundation/memPool.h"

namespace {

std::uint32_t treeGeneration = 0;

}  // namespace

std::uint32_t metaTreeC::generation() { return treeGeneration; }

void metaTreeC::bumpGeneration() { ++treeGeneration; }

// --- construction and deletion -----------------------------------------------------------------

metaTreeC::metaTreeC() = default;

metaTreeC::metaTreeC(const metaNodeValueC& value) : value_(value) {}

metaTreeC::metaTreeC(const metaTreeC& other)
    : MTreeNode<metaTreeC>(other), value_(other.value_), copyMark_(other.copyMark_) {}

metaTreeC& metaTreeC::operator=(const metaTreeC& other) {
  if (this == &other) return *this;
  // The other node may be one of this node's descendants: take its data before deleting them.
  const metaNodeValueC value(other.value_);
  const std::int64_t mark = other.copyMark_;
  deleteChildren();
  unlink();
  value_ = value;
  copyMark_ = mark;
  return *this;
}

metaTreeC* metaTreeC::createKeyNode(const char* text) {
  return new metaTreeC(metaNodeValueC(metaNodeValueC::typeKeyWord, metaSourcePosC{}, text));
}

// Deletes the chain from `first` with every subtree, without recursion, in pre-order (a node,
// then its subtree, then its next siblings), visiting each node once. When a node with children
// goes, its next sibling waits until the child chain is done: the waiting nodes form a stack
// linked through their previous links, which point at deleted nodes by then. Every node's links
// are cleared before its destructor runs, so that destructor touches no other node.
void metaTreeC::deleteChain(metaTreeC* first) {
  if (!first) return;
  memPoolHoldC hold;  // the chain's many frees take the pool's lock once
  metaTreeC* waiting = nullptr;
  metaTreeC* node = first;
  for (;;) {
    while (node) {
      metaTreeC* next = node->next_;
      metaTreeC* child = node->firstChild_;
      if (child && next) {
        next->previous_ = waiting;
        waiting = next;
      }
      node->parent_ = nullptr;
      node->next_ = nullptr;
      node->firstChild_ = nullptr;
      node->previous_ = nullptr;
      delete node;
      node = child ? child : next;
    }
    if (!waiting) return;
    node = waiting;
    waiting = node->previous_;
  }
}

metaTreeC::~metaTreeC() {
  bumpGeneration();
  value_.release();
  metaTreeC* children = firstChild_;
  firstChild_ = nullptr;
  metaTreeC* following = next_;
  next_ = nullptr;
  // A node deleted while it still has a previous sibling would leave that sibling pointing at
  // freed storage: cut the chain there, so the nodes before this one stay a sound chain.
  if (previous_) {
    previous_->next_ = nullptr;
    previous_ = nullptr;
  }
  if (parent_ && parent_->firstChild_ == this) parent_->firstChild_ = nullptr;
  parent_ = nullptr;
  deleteChain(children);
  deleteChain(following);
}

void metaTreeC::deleteChildren() {
  metaTreeC* children = firstChild_;
  if (!children) return;
  firstChild_ = nullptr;
  deleteChain(children);
}

// --- structural edits --------------------------------------------------------------------------

void metaTreeC::insertAsFirstChild(metaTreeC* parent) {
  if (!parent || parent == this) return;
  metaTreeC* last = this;
  for (metaTreeC* n = this; n; n = n->next_) {
    n->parent_ = parent;
    last = n;
  }
  previous_ = nullptr;
  last->next_ = parent->firstChild_;
  if (parent->firstChild_) parent->firstChild_->previous_ = last;
  parent->firstChild_ = this;
  bumpGeneration();
}

void metaTreeC::appendAsLastChild(metaTreeC* parent) {
  if (!parent || parent == this) return;
  if (!parent->firstChild_) {
    insertAsFirstChild(parent);
    return;
  }
  metaTreeC* tail = parent->firstChild_->lastSibling();
  for (metaTreeC* n = this; n; n = n->next_) n->parent_ = parent;
  tail->next_ = this;
  previous_ = tail;
  bumpGeneration();
}

void metaTreeC::insertAfter(metaTreeC* sibling) {
  if (!sibling || sibling == this) return;
  metaTreeC* last = this;
  for (metaTreeC* n = this; n; n = n->next_) {
    n->parent_ = sibling->parent_;
    last = n;
  }
  last->next_ = sibling->next_;
  if (sibling->next_) sibling->next_->previous_ = last;
  sibling->next_ = this;
  previous_ = sibling;
  bumpGeneration();
}

void metaTreeC::insertBefore(metaTreeC* sibling) {
  if (!sibling || sibling == this) return;
  metaTreeC* last = this;
  for (metaTreeC* n = this; n; n = n->next_) {
    n->parent_ = sibling->parent_;
    last = n;
  }
  previous_ = sibling->previous_;
  if (previous_) {
    previous_->next_ = this;
  } else if (sibling->parent_ && sibling->parent_->firstChild_ == sibling) {
    sibling->parent_->firstChild_ = this;
  }
  last->next_ = sibling;
  sibling->previous_ = last;
  bumpGeneration();
}

void metaTreeC::appendSibling(metaTreeC* node) {
  if (!node) return;
  metaTreeC* tail = node->lastSibling();
  if (tail == this) return;
  for (metaTreeC* n = this; n; n = n->next_) n->parent_ = tail->parent_;
  tail->next_ = this;
  previous_ = tail;
  bumpGeneration();
}

void metaTreeC::unlink() {
  if (next_) next_->previous_ = previous_;
  if (previous_) {
    previous_->next_ = next_;
  } else if (parent_ && parent_->firstChild_ == this) {
    parent_->firstChild_ = next_;
  }
  parent_ = nullptr;
  next_ = nullptr;
  previous_ = nullptr;
  bumpGeneration();
}

// --- copies ------------------------------------------------------------------------------------

// Pre-order walk of the source subtree through its links, building the copy alongside: `copy`
// always stands for `source` in the new tree, so going down, along and up moves both at once.
metaTreeC* metaTreeC::cloneSubtree() const {
  metaTreeC* top = new metaTreeC(*this);
  const metaTreeC* source = this;
  metaTreeC* copy = top;
  for (;;) {
    if (source->firstChild_) {
      source = source->firstChild_;
      metaTreeC* made = new metaTreeC(*source);
      made->parent_ = copy;
      copy->firstChild_ = made;
      copy = made;
      continue;
    }
    while (source != this && !source->next_) {
      source = source->parent_;
      copy = copy->parent_;
    }
    if (source == this) break;
    source = source->next_;
    metaTreeC* made = new metaTreeC(*source);
    made->parent_ = copy->parent_;
    made->previous_ = copy;
    copy->next_ = made;
    copy = made;
  }
  return top;
}

metaTreeC* metaTreeC::cloneWithSiblings() const {
  metaTreeC* first = cloneSubtree();
  metaTreeC* last = first;
  for (const metaTreeC* n = next_; n; n = n->next_) {
    metaTreeC* made = n->cloneSubtree();
    made->previous_ = last;
    last->next_ = made;
    last = made;
  }
  return first;
}

// --- search ------------------------------------------------------------------------------------

bool metaTreeC::isKey(const char* key) const {
  return key && value_.isKeyWord() && std::strcmp(value_.textOrEmpty(), key) == 0;
}

metaTreeC* metaTreeC::find(const metaTreeC* first, const metaNodeCompareInterfaceC& comparer,
                           int depth) {
  const metaTreeC* node = first;
  int level = 0;  // levels below the starting chain
  while (node) {
    if (comparer.match(node)) return const_cast<metaTreeC*>(node);
    if ((depth < 0 || level < depth) && node->firstChild_) {
      node = node->firstChild_;
      ++level;
      continue;
    }
    while (!node->next_) {
      if (level == 0) return nullptr;
      node = node->parent_;
      --level;
    }
    node = node->next_;
  }
  return nullptr;
}

metaTreeC* metaTreeC::findKey(const metaTreeC* first, const char* key, int depth) {
  if (!key) return nullptr;
  return find(first, metaNodeCompareKeyC(key), depth);
}
