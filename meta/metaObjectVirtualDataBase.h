#pragma once
// metaObjectVirtualDataBaseC: the node handle, a virtual base shared by every base class of a view
// so that one view has exactly one handle. The handle holds a node and an owner bit; an owning
// handle deletes the node with its subtree and its following siblings when it lets it go.
// Every operation is safe on an unbound handle (it answers null, 0 or does nothing).

#include <cstdint>

#include "meta/metaNodeCursor.h"

class metaTreeC;
class metaPrototypeBindingC;

class metaObjectVirtualDataBaseC {
public:
  enum : std::uint32_t { ownsNode = 1u };

  metaObjectVirtualDataBaseC() = default;
  metaObjectVirtualDataBaseC(metaTreeC* node, int owns);
  // A copy of an owning handle owns a hooked deep copy of the node and its following siblings;
  // a copy of a non-owning handle shares the node.
  metaObjectVirtualDataBaseC(const metaObjectVirtualDataBaseC& other);
  // Takes the other's node and owner bit; the other is left unbound.
  metaObjectVirtualDataBaseC(metaObjectVirtualDataBaseC&& other) noexcept;
  metaObjectVirtualDataBaseC& operator=(const metaObjectVirtualDataBaseC& other);
  metaObjectVirtualDataBaseC& operator=(metaObjectVirtualDataBaseC&& other) noexcept;
  virtual ~metaObjectVirtualDataBaseC();

  // Deletes the node when the owner bit is set; clears bit and pointer.
  void release();
  // release, then bind. Rebinding the node already held only sets the owner bit.
  void reset(metaTreeC* node, int owns);
  void bindIfUnbound(metaTreeC* node, int owns);
  void assignIfUnbound(const metaObjectVirtualDataBaseC& other);
  // Nothing for self-assignment; else release, then copy the other as the copy constructor does.
  void assign(const metaObjectVirtualDataBaseC& other);

  metaTreeC* node() const { return node_; }
  bool isBound() const { return node_ != nullptr; }
  bool ownsItsNode() const { return (flags_ & ownsNode) != 0; }
  std::uint32_t flags() const { return flags_; }

  // A new copy (the caller owns it) under the "C" locale: with hooks the hooked copy of the
  // custom copy handlers, else the plain tree copy; of the node alone when single is set, else of
  // the node with its following siblings. Null when unbound.
  metaTreeC* cloneNode(int single, int hooks) const;
  // Unlinks the node from its parent and siblings; the owner bit becomes `owns`. 1, or 0 unbound.
  int detach(int owns);

  metaTreeC* parent() const;
  metaNodeCursorC firstChild() const;
  std::int64_t childCount() const;
  // The n-th direct child (0-based); null when there are fewer.
  metaTreeC* childAt(std::int64_t n) const;
  // Deletes every child of the node.
  void clearChildren() const;

  // The node's value is a key word.
  bool isKeyNode() const;
  // A key word equal (strcmp) to `text`; false for a null text.
  bool hasKey(const char* text) const;
  // The key word's text; "" (a text that lives for the whole process) for anything else.
  const char* keyName() const;

  // The first direct child that is a key word equal to `key`; null when none.
  metaTreeC* findChild(const char* key) const;
  bool hasChild(const char* key) const { return findChild(key) != nullptr; }
  // The found child, else a new key-word child appended last. Every keyed attribute getter goes
  // this way, so reading an absent attribute adds an empty key child. Null when unbound or for a
  // null key.
  metaTreeC* findOrAddChild(const char* key) const;
  // Under the "C" locale: appends a new key-word child `key` and, when `node` is given, puts it
  // (or, with `copy` set, the hooked copy of it and its subtree) under the new child as its last
  // child. Returns the new key node; null when unbound.
  metaTreeC* addChild(const char* key, metaTreeC* node, int copy) const;
  // Under the "C" locale: appends `node` (or, with `copy`, the hooked copy of it and its subtree)
  // as the last child. Returns the node that went into the tree; null when unbound, when no node
  // is given, or when `node` is this node or one of its ancestors (that would close a cycle).
  //
  // Without `copy` the tree takes `node` over (the caller must not delete it any more): a node
  // still linked into a tree is cut out of it alone first; a detached node goes in with its
  // following siblings.
  metaTreeC* appendChild(metaTreeC* node, int copy) const;
  // The nearest ancestor, from the parent up, that is a key word equal to `key`; null when none.
  metaTreeC* findAncestor(const char* key) const;

private:
  friend class metaPrototypeBindingC;

  std::uint32_t flags_ = 0;
  metaTreeC* node_ = nullptr;
};
