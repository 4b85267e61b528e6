#pragma once
// RWTValLinkListIterator<T>: a position in an RWTValLinkList<T>, with the moves of
// RWLinkListIterator; positions are given as pointers to the values (null on a sentinel).

#include <cstddef>

#include "foundation/RWLinkListIterator.h"
#include "foundation/RWTValLinkList.h"

template <class T>
class RWTValLinkListIterator {
  using Link = typename RWTValLinkList<T>::Link;

 public:
  explicit RWTValLinkListIterator(RWTValLinkList<T>& list) : it_(list.links()) {}

  void reset() { it_.reset(); }
  void reset(RWTValLinkList<T>& list) { it_.reset(list.links()); }
  T* next() { return value(it_.next()); }
  T* current() const { return value(it_.current()); }
  bool atFirst() const { return it_.atFirst(); }
  bool atLast() const { return it_.atLast(); }
  T* advance(std::size_t n) { return value(it_.advance(n)); }
  void insertAfterCurrent(const T& v) { it_.insertAfterCurrent(new Link(v)); }
  // Deletes the current link; false when on a sentinel.
  bool removeCurrent() {
    Link* l = static_cast<Link*>(it_.removeCurrent());
    delete l;
    return l != nullptr;
  }
  void toLast() { it_.toLast(); }

 private:
  static T* value(RWLink* l) { return l ? &static_cast<Link*>(l)->value : nullptr; }
  RWLinkListIterator it_;
};
