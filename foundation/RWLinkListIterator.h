#pragma once
// RWLinkListIterator: a position in an RWLinkList. Before the first step it stands on the head
// sentinel, after the last on the tail sentinel; current() is null on either. The list must
// outlive the iterator; edits through other paths may invalidate it.

#include <cstddef>

#include "foundation/RWLinkList.h"

class RWLinkListIterator {
 public:
  explicit RWLinkListIterator(RWLinkList& list) : list_(&list), current_(list.head()) {}

  void reset() { current_ = list_->head(); }
  void reset(RWLinkList& list) {
    list_ = &list;
    reset();
  }
  // Moves to the following link and returns it; null (staying on the tail sentinel) at the end.
  RWLink* next();
  RWLink* current() const { return onSentinel() ? nullptr : current_; }
  bool atFirst() const { return !onSentinel() && current_ == list_->head()->next(); }
  bool atLast() const { return !onSentinel() && current_ == list_->lastLink(); }
  // From the start, n steps; returns the link reached (null past the end).
  RWLink* advance(std::size_t n);
  // Links after the current link (before the head: at the front; at the end: after the last).
  void insertAfterCurrent(RWLink* link);
  // Unlinks the current link and returns it; the iterator moves back to its predecessor. Null
  // when on a sentinel.
  RWLink* removeCurrent();
  // Moves to the last link (the tail sentinel when the list is empty).
  void toLast();

  RWLinkList* list() const { return list_; }

 private:
  bool onSentinel() const { return current_ == list_->head() || current_ == list_->end(); }
  RWLinkList* list_;
  RWLink* current_;
};
