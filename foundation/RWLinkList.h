#pragma once
// RWLinkList: an untyped singly linked list of RWLink objects between a head and a tail sentinel.
// The list does not own its links (typed lists such as RWTValLinkList do). Bad indexes raise
// RWBoundsErr: RW_NPOS (or 0xFFFFFFFF) "[NPOSINDEX]", any other "[INDEXERR]" with index and count.

#include <cstddef>

class RWLink {
 public:
  RWLink() = default;
  RWLink(const RWLink&) = delete;
  RWLink& operator=(const RWLink&) = delete;
  RWLink* next() const { return next_; }

 private:
  friend class RWLinkList;
  RWLink* next_ = nullptr;
};

class RWLinkList {
 public:
  RWLinkList();
  explicit RWLinkList(RWLink* link);  // a list holding this one link
  RWLinkList(const RWLinkList&) = delete;
  RWLinkList& operator=(const RWLinkList&) = delete;

  std::size_t count() const { return count_; }
  std::size_t entries() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  RWLink* first() const { return count_ ? head_.next_ : nullptr; }
  RWLink* last() const { return count_ ? last_ : nullptr; }
  // The sentinels: walks start after head() and stop at end().
  RWLink* head() const { return const_cast<RWLink*>(&head_); }
  RWLink* end() const { return const_cast<RWLink*>(&tail_); }
  RWLink* lastLink() const { return last_; }  // the head sentinel when empty

  RWLink* at(std::size_t i) const;                 // i < count
  void insertAt(std::size_t i, RWLink* link);      // i <= count
  RWLink* removeAt(std::size_t i);                 // i < count
  void append(RWLink* link) { insertAfterLink(last_, link); }
  void prepend(RWLink* link) { insertAfterLink(&head_, link); }

  // predecessor may be the head sentinel or any link of the list.
  void insertAfterLink(RWLink* predecessor, RWLink* link);
  // Unlinks and returns predecessor's successor; null for a null predecessor and when nothing
  // follows it (the tail sentinel is never unlinked).
  RWLink* removeAfter(RWLink* predecessor);
  bool contains(const RWLink* link) const;
  RWLink* predecessorOf(const RWLink* link) const;  // null when absent (or for the first's head)
  // Unlinks link when it is in the list (its next set to null) and returns it; null if absent.
  RWLink* removeReference(RWLink* link);

 private:
  static void checkIndex(std::size_t i, std::size_t limit);  // i < limit
  RWLink head_;
  RWLink tail_;
  RWLink* last_;
  std::size_t count_ = 0;
};
