#pragma once
// RWTPtrSortedVector<T>: a pointer vector kept in ascending order of its pointees under T's
// operator<; entries that compare equal (operator==) sit together in the order of their
// insertion. The pointees are not owned. A pointer must not be null, and must not be changed in a
// way that alters its order while it is in the vector.

#include <cstddef>

#include "foundation/RWTPtrOrderedVector.h"

template <class T>
class RWTPtrSortedVector : public RWTPtrOrderedVector<T> {
  using Base = RWTPtrOrderedVector<T>;

 public:
  explicit RWTPtrSortedVector(std::size_t capacity = Base::defaultCapacity) : Base(capacity) {}

  // Index of the first entry equal to *p, RW_NPOS when none.
  std::size_t indexOf(const T* p) const override {
    std::size_t i;
    if (!search(p, i)) return RW_NPOS;
    while (i > 0 && *this->slot(i - 1) == *p) --i;
    return i;
  }
  // Inserted after the last equal entry, else before the first greater one.
  T** insert(T* p) override {
    std::size_t i;
    const std::size_t n = this->count();
    if (search(p, i)) {
      while (i < n && *this->slot(i) == *p) ++i;
    } else {
      while (i < n && *this->slot(i) < *p) ++i;
    }
    return this->insertAt(i, p);
  }
  std::size_t countOf(const T* p) const override {
    std::size_t first, last;
    return equalRange(p, first, last) ? last - first + 1 : 0;
  }
  std::size_t removeAll(const T* p) override {
    std::size_t first, last;
    if (!equalRange(p, first, last)) return 0;
    const std::size_t n = this->count(), removed = last - first + 1;
    T** s = this->slotData();
    for (std::size_t j = last + 1; j < n; ++j) s[j - removed] = s[j];
    this->setCount(n - removed);
    return removed;
  }

 private:
  // Binary search: true with index of an equal entry; false with the index the search ended on.
  bool search(const T* p, std::size_t& index) const {
    const std::size_t n = this->count();
    index = 0;
    if (n == 0) return false;
    std::size_t lo = 0, hi = n - 1;
    while (lo < hi) {
      const std::size_t mid = lo + (hi - lo) / 2;
      index = mid;
      const T& e = *this->slot(mid);
      if (e == *p) return true;
      if (*p < e)
        hi = mid == 0 ? 0 : mid - 1;
      else
        lo = mid + 1;
    }
    index = lo;
    return *this->slot(lo) == *p;
  }
  bool equalRange(const T* p, std::size_t& first, std::size_t& last) const {
    first = indexOf(p);
    if (first == RW_NPOS) return false;
    last = first;
    while (last + 1 < this->count() && *this->slot(last + 1) == *p) ++last;
    return true;
  }
};
