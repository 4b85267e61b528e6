#include "foundation/RWLinkListIterator.h"

RWLink* RWLinkListIterator::next() {
  if (current_ == list_->end()) return nullptr;
  current_ = current_->next();
  return current_ == list_->end() ? nullptr : current_;
}

RWLink* RWLinkListIterator::advance(std::size_t n) {
  reset();
  RWLink* l = nullptr;
  for (std::size_t i = 0; i < n; ++i) l = next();
  return l;
}

void RWLinkListIterator::insertAfterCurrent(RWLink* link) {
  RWLink* pred = current_ == list_->end() ? list_->lastLink() : current_;
  list_->insertAfterLink(pred, link);
}

RWLink* RWLinkListIterator::removeCurrent() {
  if (onSentinel()) return nullptr;
  RWLink* pred = list_->predecessorOf(current_);
  if (!pred) return nullptr;
  RWLink* removed = list_->removeAfter(pred);
  current_ = pred;
  return removed;
}

void RWLinkListIterator::toLast() {
  current_ = list_->isEmpty() ? list_->end() : list_->lastLink();
}
