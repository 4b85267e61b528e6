#include "foundation/RWDoubleLinkList.h"

RWDoubleLinkList::RWDoubleLinkList() {
  head_.next_ = &tail_;
  head_.prev_ = &head_;
  tail_.prev_ = &head_;
  tail_.next_ = &tail_;
}

RWDoubleLinkList::RWDoubleLinkList(RWDlink* link) : RWDoubleLinkList() {
  if (link) insertAfter(&head_, link);
}

void RWDoubleLinkList::insertAfter(RWDlink* predecessor, RWDlink* link) {
  if (predecessor == &tail_) predecessor = tail_.prev_;
  RWDlink* successor = predecessor->next_;
  link->next_ = successor;
  link->prev_ = predecessor;
  predecessor->next_ = link;
  successor->prev_ = link;
  ++count_;
}

RWDlink* RWDoubleLinkList::remove(RWDlink* link) {
  if (!link || link == &head_ || link == &tail_) return nullptr;
  link->next_->prev_ = link->prev_;
  link->prev_->next_ = link->next_;
  link->next_ = link->prev_ = nullptr;
  --count_;
  return link;
}

bool RWDoubleLinkList::contains(const RWDlink* link) const {
  if (!link) return false;
  for (const RWDlink* l = head_.next_; l != &tail_; l = l->next_)
    if (l == link) return true;
  return false;
}
