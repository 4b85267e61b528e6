#pragma once
// metaObjectC: the base of every typed view over a tree node, with the typed value access of a key
// node (an attribute's value is its first child). The node handle is the virtual base
// metaObjectVirtualDataBaseC, so a view derived from several view classes still has one handle.
// A view owns its node only when built with the owns flag; destroying an owning view deletes the
// node with its subtree and its following siblings.
//
// Returned texts point into the tree: they stay valid until that value changes or its node is
// deleted. A view whose class derives from metaObjectC more than once (the reference handler)
// names the base it means when it calls these members.

#include <cstdint>

#include "meta/metaObjectVirtualDataBase.h"

class metaTreeC;

class metaObjectC : public virtual metaObjectVirtualDataBaseC {
public:
  // Number of view classes from metaObjectC down to a class, used as the registration depth;
  // a class one level below counts classDepth + 1, and so on.
  static constexpr int classDepth = 1;

  // Unbound.
  metaObjectC() = default;
  // Binds the handle to `node` with the owner bit `owns`. The most derived class passes
  // buildVirtualBase 1 (the handle is bound as given); bases below pass 0 and bind the handle only
  // while it is still unbound.
  explicit metaObjectC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1);
  // Binds a copy of the other view's handle (see metaObjectVirtualDataBaseC's copy).
  metaObjectC(const metaObjectC& other);
  metaObjectC(metaObjectC&& other) noexcept;
  metaObjectC& operator=(const metaObjectC& other);
  metaObjectC& operator=(metaObjectC&& other) noexcept;
  ~metaObjectC() override = default;

  // Typed value of this key node: its first child's value. The getters answer 0.0 / 0 / "" with
  // found 0 when the first child is missing or of another type.
  double getReal(int* found = nullptr) const;
  // The real truncated toward zero; a real outside the int range saturates, NaN gives 0 found 0.
  int getInt(int* found = nullptr) const;
  std::int64_t getInt64(int* found = nullptr) const;
  const char* getString(int* found = nullptr) const;
  const char* getKeyWord(int* found = nullptr) const;

  // A childless node gets a new first child with the value at {-1, -1}; a first child of the
  // setter's own type has its value replaced (position kept); a first child of another type is
  // left alone. Nothing happens on an unbound view.
  void setReal(double value) const;
  void setInt(std::int64_t value) const;  // stored as a real
  void setString(const char* text) const;
  void setKeyWord(const char* text) const;

  // Attribute access by key: the child `key` is found or added (so reading adds an absent
  // attribute), then read or written as above.
  metaObjectC attribute(const char* key) const;
  double getAttrReal(const char* key, int* found = nullptr) const;
  int getAttrInt(const char* key, int* found = nullptr) const;
  std::int64_t getAttrInt64(const char* key, int* found = nullptr) const;
  const char* getAttrString(const char* key, int* found = nullptr) const;
  const char* getAttrKeyWord(const char* key, int* found = nullptr) const;
  void setAttrReal(const char* key, double value) const;
  void setAttrInt(const char* key, std::int64_t value) const;
  void setAttrString(const char* key, const char* text) const;
  void setAttrKeyWord(const char* key, const char* text) const;

  // The node's copy mark; 0 when unbound.
  std::int64_t copyMark() const;
  void setCopyMark(std::int64_t mark) const;
};

// A view on a new detached key-word node `key`; with `owns` set the view deletes it.
metaObjectC createKeyNodeObj(const char* key, int owns);
