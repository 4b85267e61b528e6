#include "foundation/RWLinkList.h"

#include "foundation/RWThrow.h"

RWLinkList::RWLinkList() : last_(&head_) {
  head_.next_ = &tail_;
  tail_.next_ = &tail_;
}

RWLinkList::RWLinkList(RWLink* link) : RWLinkList() {
  if (link) insertAfterLink(&head_, link);
}

void RWLinkList::checkIndex(std::size_t i, std::size_t limit) {
  if (i < limit) return;
  if (RWIsNpos(i)) RWThrowNposIndex();
  RWThrowIndexError(i, limit);
}

RWLink* RWLinkList::at(std::size_t i) const {
  checkIndex(i, count_);
  RWLink* l = head_.next_;
  while (i--) l = l->next_;
  return l;
}

void RWLinkList::insertAt(std::size_t i, RWLink* link) {
  if (i > count_) {
    if (RWIsNpos(i)) RWThrowNposIndex();
    RWThrowIndexError(i, count_);
  }
  insertAfterLink(i == 0 ? &head_ : at(i - 1), link);
}

RWLink* RWLinkList::removeAt(std::size_t i) {
  checkIndex(i, count_);
  return removeAfter(i == 0 ? &head_ : at(i - 1));
}

void RWLinkList::insertAfterLink(RWLink* predecessor, RWLink* link) {
  link->next_ = predecessor->next_;
  predecessor->next_ = link;
  if (predecessor == last_) last_ = link;
  ++count_;
}

RWLink* RWLinkList::removeAfter(RWLink* predecessor) {
  if (!predecessor || predecessor == &tail_) return nullptr;
  RWLink* link = predecessor->next_;
  if (link == &tail_) return nullptr;  // nothing follows: the tail sentinel stays
  predecessor->next_ = link->next_;
  if (link == last_) last_ = predecessor;
  link->next_ = nullptr;
  --count_;
  return link;
}

bool RWLinkList::contains(const RWLink* link) const {
  if (!link) return false;
  for (const RWLink* l = head_.next_; l != &tail_; l = l->next_)
    if (l == link) return true;
  return false;
}

RWLink* RWLinkList::predecessorOf(const RWLink* link) const {
  if (!link || link == &head_) return nullptr;
  for (RWLink* l = const_cast<RWLink*>(&head_); l != &tail_; l = l->next_)
    if (l->next_ == link) return l;
  return nullptr;
}

RWLink* RWLinkList::removeReference(RWLink* link) {
  if (!link || link == &head_ || link == &tail_) return nullptr;
  for (RWLink* l = &head_; l->next_ != &tail_; l = l->next_)
    if (l->next_ == link) return removeAfter(l);
  return nullptr;
}
