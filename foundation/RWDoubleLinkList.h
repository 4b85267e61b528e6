#pragma once
// RWDoubleLinkList: an untyped doubly linked list of RWDlink objects between a head and a tail
// sentinel. The list does not own its links (RWTPtrDoubleLinkList does).

#include <cstddef>

class RWDlink {
 public:
  RWDlink() = default;
  RWDlink(const RWDlink&) = delete;
  RWDlink& operator=(const RWDlink&) = delete;
  RWDlink* next() const { return next_; }
  RWDlink* previous() const { return prev_; }

 private:
  friend class RWDoubleLinkList;
  RWDlink* next_ = nullptr;
  RWDlink* prev_ = nullptr;
};

class RWDoubleLinkList {
 public:
  RWDoubleLinkList();
  explicit RWDoubleLinkList(RWDlink* link);  // a list holding this one link
  RWDoubleLinkList(const RWDoubleLinkList&) = delete;
  RWDoubleLinkList& operator=(const RWDoubleLinkList&) = delete;

  std::size_t count() const { return count_; }
  std::size_t entries() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  RWDlink* head() const { return const_cast<RWDlink*>(&head_); }
  RWDlink* end() const { return const_cast<RWDlink*>(&tail_); }
  RWDlink* first() const { return count_ ? head_.next_ : nullptr; }
  RWDlink* last() const { return count_ ? tail_.prev_ : nullptr; }
  RWDlink* lastLink() const { return tail_.prev_; }  // the head sentinel when empty

  // predecessor may be the head sentinel or any link of the list (not the tail sentinel).
  void insertAfter(RWDlink* predecessor, RWDlink* link);
  void append(RWDlink* link) { insertAfter(tail_.prev_, link); }
  // Unlinks link (a link of this list, not a sentinel) and returns it; null gives null.
  RWDlink* remove(RWDlink* link);
  bool contains(const RWDlink* link) const;

 private:
  RWDlink head_;
  RWDlink tail_;
  std::size_t count_ = 0;
};
