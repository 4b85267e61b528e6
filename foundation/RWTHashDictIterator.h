#pragma once
// RWTHashDictIterator<K,V>: walks a dictionary in bucket order, then insertion order within a
// bucket. next() steps to the following pair (0 once every bucket is passed); key() and value()
// copy the current pair's key and value and must only be called after next() returned 1. The
// dictionary must outlive the iterator and not change while it is walked.

#include <cstddef>

#include "foundation/RWDefs.h"
#include "foundation/RWTHashDict.h"
#include "foundation/RWThrow.h"

template <class K, class V>
class RWTHashDictIterator {
  using Dict = RWTHashDict<K, V>;
  using Pair = typename Dict::Pair;

 public:
  explicit RWTHashDictIterator(Dict& dict) : dict_(&dict) { reset(); }

  void reset() {
    bucket_ = RW_NPOS;
    current_ = nullptr;
    list_ = nullptr;
    nextBucket();
  }
  // 1 when positioned on a pair, 0 at the end.
  int next() {
    while (list_) {
      RWLink* following = current_ ? current_->next() : list_->head()->next();
      if (following != list_->end()) {
        current_ = following;
        return 1;
      }
      nextBucket();
    }
    current_ = nullptr;
    return 0;
  }
  K key() const { return pair()->key; }
  V value() const { return pair()->value; }
  V& valueRef() const { return pair()->value; }

 private:
  // Moves to the next non-empty bucket (before its first pair), or to the end.
  void nextBucket() {
    current_ = nullptr;
    list_ = nullptr;
    for (std::size_t b = bucket_ + 1; b < dict_->buckets(); ++b) {
      RWLinkList* l = dict_->bucket(b);
      if (l && !l->isEmpty()) {
        bucket_ = b;
        list_ = l;
        return;
      }
    }
    bucket_ = dict_->buckets();
  }
  Pair* pair() const {
    if (!current_) RWThrowNposIndex();
    return static_cast<Pair*>(current_);
  }

  Dict* dict_;
  std::size_t bucket_;   // RW_NPOS before the first bucket
  RWLinkList* list_;     // the current bucket's list, null at the end
  RWLink* current_;      // null before the bucket's first pair
};
