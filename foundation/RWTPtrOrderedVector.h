#pragma once
// RWTPtrOrderedVector<T>: an ordered, growable vector of T pointers. It owns the slot array, never
// the pointed-to objects (deleteAll deletes them on request). Equality of entries is T's
// operator== applied to the pointees. Capacity starts as given (64) and grows by 64. Every index is
// checked against the count (RWBoundsErr, "[INDEXERR]"). No lock.

#include <cstddef>

#include "foundation/RWDefs.h"
#include "foundation/RWTPtrVector.h"
#include "foundation/RWThrow.h"

template <class T>
class RWTPtrOrderedVector {
 public:
  static constexpr std::size_t defaultCapacity = 64;
  static constexpr std::size_t growth = 64;

  explicit RWTPtrOrderedVector(std::size_t capacity = defaultCapacity) : slots_(capacity) {}
  RWTPtrOrderedVector(const RWTPtrOrderedVector& other) = default;
  RWTPtrOrderedVector& operator=(const RWTPtrOrderedVector& other) = default;
  virtual ~RWTPtrOrderedVector() = default;

  std::size_t count() const { return count_; }
  std::size_t entries() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  std::size_t capacity() const { return slots_.length(); }

  T*& at(std::size_t i) {
    check(i);
    return slots_(i);
  }
  T* at(std::size_t i) const {
    check(i);
    return slots_(i);
  }
  T*& operator[](std::size_t i) { return at(i); }
  T* operator[](std::size_t i) const { return at(i); }

  // i may equal the count (append). Returns the address of slot i.
  T** insertAt(std::size_t i, T* p) {
    if (i > count_) RWThrowIndexError(i - 1, count_);
    if (count_ >= slots_.length()) slots_.reshape(count_ + growth);
    T** s = slots_.data();
    for (std::size_t j = count_; j > i; --j) s[j] = s[j - 1];
    s[i] = p;
    ++count_;
    return s + i;
  }
  virtual T** insert(T* p) { return insertAt(count_, p); }
  T** append(T* p) { return insertAt(count_, p); }

  T* removeAt(std::size_t i) {
    check(i);
    T** s = slots_.data();
    T* removed = s[i];
    for (std::size_t j = i + 1; j < count_; ++j) s[j - 1] = s[j];
    --count_;
    return removed;
  }

  virtual std::size_t indexOf(const T* p) const {
    for (std::size_t i = 0; i < count_; ++i)
      if (equal(slots_(i), p)) return i;
    return RW_NPOS;
  }
  bool contains(const T* p) const { return indexOf(p) != RW_NPOS; }
  virtual std::size_t countOf(const T* p) const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < count_; ++i)
      if (equal(slots_(i), p)) ++n;
    return n;
  }
  // Removes the first entry equal to *p (found through indexOf) and returns its pointer; null
  // when there is none.
  virtual T* removeFirst(const T* p) {
    const std::size_t i = indexOf(p);
    return i == RW_NPOS ? nullptr : removeAt(i);
  }
  virtual std::size_t removeAll(const T* p) {
    T** s = slots_.data();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count_; ++i) {
      if (equal(s[i], p)) continue;
      s[kept++] = s[i];
    }
    const std::size_t removed = count_ - kept;
    count_ = kept;
    return removed;
  }

  void clear() {
    count_ = 0;
    slots_.reshape(defaultCapacity);
  }
  // Deletes every non-null pointee, then clears.
  void deleteAll() {
    for (std::size_t i = 0; i < count_; ++i) delete slots_(i);
    clear();
  }

 protected:
  static bool equal(const T* a, const T* b) {
    if (a == b) return true;
    if (!a || !b) return false;
    return *a == *b;
  }
  void check(std::size_t i) const {
    if (i >= count_) RWThrowIndexError(i, count_);
  }
  T* slot(std::size_t i) const { return slots_(i); }
  T** slotData() { return slots_.data(); }
  void setCount(std::size_t n) { count_ = n; }

 private:
  RWTPtrVector<T> slots_;
  std::size_t count_ = 0;
};
