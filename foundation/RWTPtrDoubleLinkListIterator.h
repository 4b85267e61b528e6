#pragma once
// RWTPtrDoubleLinkListIterator<T>: a position in an RWTPtrDoubleLinkList<T>. Before the first
// step it stands on the head sentinel, after the last on the tail sentinel; current() is null on
// either. The list must outlive the iterator.

#include <cstddef>

#include "foundation/RWTPtrDoubleLinkList.h"

template <class T>
class RWTPtrDoubleLinkListIterator {
  using Link = typename RWTPtrDoubleLinkList<T>::Link;

 public:
  explicit RWTPtrDoubleLinkListIterator(RWTPtrDoubleLinkList<T>& list)
      : list_(&list.links()), current_(list_->head()) {}

  void reset() { current_ = list_->head(); }
  void reset(RWTPtrDoubleLinkList<T>& list) {
    list_ = &list.links();
    reset();
  }
  // Moves to the following entry and returns it; null (staying on the tail sentinel) at the end.
  T* next() {
    if (current_ == list_->end()) return nullptr;
    current_ = current_->next();
    return current();
  }
  T* current() const { return onSentinel() ? nullptr : static_cast<Link*>(current_)->item; }
  bool atFirst() const { return !onSentinel() && current_ == list_->head()->next(); }
  bool atLast() const { return !onSentinel() && current_ == list_->lastLink(); }
  T* advance(std::size_t n) {
    reset();
    T* p = nullptr;
    for (std::size_t i = 0; i < n; ++i) p = next();
    return p;
  }
  // A new link holding p after the current one (before the head: at the front; at the end:
  // after the last).
  void insertAfterCurrent(T* p) {
    RWDlink* pred = current_ == list_->end() ? list_->lastLink() : current_;
    list_->insertAfter(pred, new Link(p));
  }
  // Removes the current link and returns its entry; the iterator moves back to the predecessor.
  // Null on a sentinel.
  T* removeCurrent() {
    if (onSentinel()) return nullptr;
    RWDlink* l = current_;
    current_ = l->previous();
    Link* link = static_cast<Link*>(list_->remove(l));
    T* p = link->item;
    delete link;
    return p;
  }
  // Moves to the last link (the tail sentinel when the list is empty).
  void toLast() { current_ = list_->isEmpty() ? list_->end() : list_->lastLink(); }

 private:
  bool onSentinel() const { return current_ == list_->head() || current_ == list_->end(); }
  RWDoubleLinkList* list_;
  RWDlink* current_;
};
