#pragma once
// RWTValLinkList<T>: a singly linked list of values held by copy. The list owns its links and
// their values. Bad indexes raise RWBoundsErr as RWLinkList does.

#include <cstddef>
#include <memory>

#include "foundation/RWLinkList.h"
#include "foundation/RWThrow.h"

template <class T>
class RWTValLinkList {
 public:
  struct Link : RWLink {
    explicit Link(const T& v) : value(v) {}
    T value;
  };

  RWTValLinkList() = default;
  RWTValLinkList(const RWTValLinkList& other) {
    try {
      copyFrom(other);
    } catch (...) {
      clear();
      throw;
    }
  }
  RWTValLinkList& operator=(const RWTValLinkList& other) {
    if (this != &other) {
      clear();
      copyFrom(other);
    }
    return *this;
  }
  ~RWTValLinkList() { clear(); }

  std::size_t count() const { return list_.count(); }
  std::size_t entries() const { return list_.count(); }
  bool isEmpty() const { return list_.isEmpty(); }

  // A new link holding a copy of value, after the last.
  void append(const T& value) { list_.append(new Link(value)); }
  T& at(std::size_t i) { return static_cast<Link*>(list_.at(i))->value; }
  const T& at(std::size_t i) const { return static_cast<Link*>(list_.at(i))->value; }
  T& operator[](std::size_t i) { return at(i); }
  const T& operator[](std::size_t i) const { return at(i); }
  // Unlinks link i and returns a copy of its value.
  T removeAt(std::size_t i) {
    std::unique_ptr<Link> link(static_cast<Link*>(list_.removeAt(i)));
    return link->value;
  }
  void clear() {
    while (!list_.isEmpty()) delete static_cast<Link*>(list_.removeAfter(list_.head()));
  }

  RWLinkList& links() { return list_; }
  const RWLinkList& links() const { return list_; }

 private:
  void copyFrom(const RWTValLinkList& other) {
    for (RWLink* l = other.list_.head()->next(); l != other.list_.end(); l = l->next())
      append(static_cast<Link*>(l)->value);
  }
  RWLinkList list_;
};
