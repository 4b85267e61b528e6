#pragma once
// metaTreeC: node of the keyed tree that every exchange-file object and every model object lives
// in. A node owns its value, its subtree and (when deleted) its following siblings; it is
// allocated through the memory manager. Structural edits and node deletions move one
// process-wide generation counter that derived caches compare against.

#include <cstdint>

#include "foundation/memManInterface.h"
#include "meta/metaNodeCompare.h"
#include "meta/metaNodeValue.h"

class metaTreeC;

// The links of a tree node: parent (null at a root), next sibling, first child and previous
// sibling (null for the first node of a chain). Every node of a chain carries the same parent;
// a chain without a parent is a forest and is handled as one unit by the edits.
template <class T>
class MTreeNode : public memManInterfaceC {
public:
  MTreeNode() = default;
  MTreeNode(const MTreeNode&) : memManInterfaceC() {}  // links are never copied
  MTreeNode& operator=(const MTreeNode&) { return *this; }
  ~MTreeNode() override = default;

  T* parent() const { return parent_; }
  T* nextSibling() const { return next_; }
  T* firstChild() const { return firstChild_; }
  T* previousSibling() const { return previous_; }

  // The last node of this node's chain (this node when it is the last).
  T* lastSibling() const {
    const MTreeNode* n = this;
    while (n->next_) n = n->next_;
    return static_cast<T*>(const_cast<MTreeNode*>(n));
  }

  // The first node of this node's chain: the parent's first child when there is a parent, else
  // the head reached through the previous links.
  T* firstSibling() const {
    if (parent_) return parent_->firstChild_;
    const MTreeNode* n = this;
    while (n->previous_) n = n->previous_;
    return static_cast<T*>(const_cast<MTreeNode*>(n));
  }

  // The n-th node of the chain from this node (0-based, following next links); null past the
  // end or for a negative n.
  T* nthSibling(std::int64_t n) const {
    if (n < 0) return nullptr;
    const MTreeNode* node = this;
    while (node && n > 0) {
      node = node->next_;
      --n;
    }
    return static_cast<T*>(const_cast<MTreeNode*>(node));
  }

  // The number of nodes of the chain from this node to its end, this node included.
  std::int64_t chainCount() const {
    std::int64_t count = 0;
    for (const MTreeNode* n = this; n; n = n->next_) ++count;
    return count;
  }

  // The number of children (the length of the child chain).
  std::int64_t childCount() const { return firstChild_ ? firstChild_->chainCount() : 0; }

protected:
  T* parent_ = nullptr;
  T* next_ = nullptr;
  T* firstChild_ = nullptr;
  T* previous_ = nullptr;
};

class metaTreeC : public MTreeNode<metaTreeC> {
public:
  // Empty node: value type 0 at {-1, -1}, copy mark 0, no links.
  metaTreeC();
  explicit metaTreeC(const metaNodeValueC& value);
  // Copies value and copy mark; the new node has no links.
  metaTreeC(const metaTreeC& other);
  // Deletes this node's children, unlinks it, then takes the other's value and copy mark. The
  // other may lie inside this node's subtree: its value is copied before anything is deleted.
  metaTreeC& operator=(const metaTreeC& other);
  // Deletes the value, the whole subtree and every following sibling with their subtrees (see
  // metaTree.cpp); without recursion, so trees of any depth and chains of any length can go.
  // A node that still has a previous sibling is cut from it first. To delete a single node,
  // unlink it first.
  ~metaTreeC() override;

  // A new detached key-word node holding a copy of `text`, at {-1, -1}.
  static metaTreeC* createKeyNode(const char* text);

  const metaNodeValueC& value() const { return value_; }
  metaNodeValueC& value() { return value_; }
  void setValue(const metaNodeValueC& value) { value_ = value; }

  // Key word (type 1) equal to `key` by strcmp; false for a null key.
  bool isKey(const char* key) const;

  // Set and read by the copy passes and the node index. Wide enough to hold an address.
  std::int64_t copyMark() const { return copyMark_; }
  void setCopyMark(std::int64_t mark) { copyMark_ = mark; }

  // Structural edits. Each links the whole chain that starts at this node (this node and all its
  // following siblings) and moves the generation counter once. The chain must be detached: no
  // parent and no previous sibling. A null target does nothing.
  void insertAsFirstChild(metaTreeC* parent);   // before the parent's old first child
  void appendAsLastChild(metaTreeC* parent);    // after the parent's last child
  void insertAfter(metaTreeC* sibling);         // right after `sibling`, under its parent
  void insertBefore(metaTreeC* sibling);        // right before `sibling`, under its parent
  void appendSibling(metaTreeC* node);          // after the last node of `node`'s chain

  // Removes this one node from its chain and parent; its children stay with it.
  void unlink();
  // Deletes the whole child chain with all subtrees and clears the first-child link.
  void deleteChildren();

  // New nodes carrying values and copy marks (no copy hooks run). cloneSubtree copies this node
  // and its descendants; cloneWithSiblings also copies each following sibling with its subtree,
  // linked as one chain, and returns the copy of this node. Neither recurses.
  metaTreeC* cloneSubtree() const;
  metaTreeC* cloneWithSiblings() const;

  // Pre-order search of the chain from `first`: the first node the comparer matches. Depth 0
  // searches the chain only, depth n also n levels below it, a negative depth every level. A
  // child chain without a match goes on with the next sibling. Null when nothing matches.
  static metaTreeC* find(const metaTreeC* first, const metaNodeCompareInterfaceC& comparer,
                         int depth);
  static metaTreeC* findKey(const metaTreeC* first, const char* key, int depth);

  // The process-wide generation counter: moved by every structural edit and node deletion.
  static std::uint32_t generation();
  static void bumpGeneration();

private:
  // Frees a chain whose nodes have had their parent links to live nodes accounted for.
  static void deleteChain(metaTreeC* first);

  metaNodeValueC value_;
  std::int64_t copyMark_ = 0;
};
