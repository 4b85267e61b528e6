#pragma once
// RWTValOrderedVector<T>: values held by copy in a growable array; entries 0..count-1 are used,
// the slots behind them hold default values. Capacity starts as given (64 throughout the system)
// and grows by 64 when full. Every index is checked (RWBoundsErr, "[INDEXERR]"). Equality of
// entries is T's operator==. No lock.

#include <cstddef>
#include <functional>

#include "foundation/RWDefs.h"
#include "foundation/RWTValVector.h"
#include "foundation/RWThrow.h"

template <class T>
class RWTValOrderedVector {
 public:
  static constexpr std::size_t defaultCapacity = 64;
  static constexpr std::size_t growth = 64;

  explicit RWTValOrderedVector(std::size_t capacity = defaultCapacity) : array_(capacity) {}
  RWTValOrderedVector(const RWTValOrderedVector& other) = default;
  RWTValOrderedVector& operator=(const RWTValOrderedVector& other) = default;
  virtual ~RWTValOrderedVector() = default;

  std::size_t count() const { return count_; }
  std::size_t entries() const { return count_; }
  bool isEmpty() const { return count_ == 0; }
  std::size_t capacity() const { return array_.capacity(); }

  T& at(std::size_t i) {
    check(i);
    return array_[i];
  }
  const T& at(std::size_t i) const {
    check(i);
    return array_[i];
  }
  T& operator[](std::size_t i) { return at(i); }
  const T& operator[](std::size_t i) const { return at(i); }
  T* uncheckedAt(std::size_t i) { return array_.data() + i; }
  const T* uncheckedAt(std::size_t i) const { return array_.data() + i; }

  // i may equal the count (append). A value that lives in this vector is copied before the
  // array is reshaped or shifted.
  void insertAt(std::size_t i, const T& value) {
    if (i > count_) RWThrowIndexError(i - 1, count_);
    if (inside(&value)) {
      const T copy(value);
      insertChecked(i, copy);
    } else {
      insertChecked(i, value);
    }
  }
  virtual void insert(const T& value) { insertAt(count_, value); }
  void append(const T& value) { insertAt(count_, value); }

  T removeAt(std::size_t i) {
    check(i);
    T removed(array_[i]);
    for (std::size_t j = i + 1; j < count_; ++j) array_[j - 1] = array_[j];
    array_[count_ - 1] = T();
    --count_;
    return removed;
  }

  virtual std::size_t indexOf(const T& value) const {
    for (std::size_t i = 0; i < count_; ++i)
      if (array_[i] == value) return i;
    return RW_NPOS;
  }
  bool contains(const T& value) const { return indexOf(value) != RW_NPOS; }
  virtual std::size_t countOf(const T& value) const {
    std::size_t n = 0;
    for (std::size_t i = 0; i < count_; ++i)
      if (array_[i] == value) ++n;
    return n;
  }
  // 1 when an equal entry was removed, 0 when there was none.
  virtual int removeFirst(const T& value) {
    const std::size_t i = indexOf(value);
    if (i == RW_NPOS) return 0;
    removeAt(i);
    return 1;
  }
  // Removes every equal entry, keeping the order of the rest; returns how many went.
  virtual std::size_t removeAll(const T& value) {
    if (inside(&value)) {
      const T copy(value);
      return removeAllChecked(copy);
    }
    return removeAllChecked(value);
  }

  void clear() {
    for (std::size_t i = 0; i < count_; ++i) array_[i] = T();
    count_ = 0;
    array_.reshape(defaultCapacity);
  }

 private:
  void check(std::size_t i) const {
    if (i >= count_) RWThrowIndexError(i, count_);
  }
  bool inside(const T* p) const {
    const T* b = array_.data();
    return b && !std::less<const T*>()(p, b) && std::less<const T*>()(p, b + array_.capacity());
  }
  void insertChecked(std::size_t i, const T& value) {
    if (count_ >= array_.capacity()) array_.reshape(count_ + growth);
    ++count_;
    for (std::size_t j = count_ - 1; j > i; --j) array_[j] = array_[j - 1];
    array_[i] = value;
  }
  std::size_t removeAllChecked(const T& value) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count_; ++i) {
      if (array_[i] == value) continue;
      if (kept != i) array_[kept] = array_[i];
      ++kept;
    }
    const std::size_t removed = count_ - kept;
    for (std::size_t i = kept; i < count_; ++i) array_[i] = T();
    count_ = kept;
    return removed;
  }

  RWTValVector<T> array_;
  std::size_t count_ = 0;
};
