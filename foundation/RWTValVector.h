#pragma once
// RWTValVector<T>: a plain array of capacity default-constructed elements, owned by the vector.
// reshape keeps the leading elements; a failed element copy leaves the old array in place.

#include <cstddef>
#include <memory>
#include <utility>

template <class T>
class RWTValVector {
 public:
  explicit RWTValVector(std::size_t capacity = 0)
      : capacity_(capacity), array_(capacity ? new T[capacity]() : nullptr) {}
  RWTValVector(const RWTValVector& other) : RWTValVector(other.capacity_) {
    for (std::size_t i = 0; i < capacity_; ++i) array_[i] = other.array_[i];
  }
  RWTValVector& operator=(const RWTValVector& other) {
    if (this == &other) return *this;
    std::unique_ptr<T[]> fresh(other.capacity_ ? new T[other.capacity_]() : nullptr);
    for (std::size_t i = 0; i < other.capacity_; ++i) fresh[i] = other.array_[i];
    delete[] array_;
    array_ = fresh.release();
    capacity_ = other.capacity_;
    return *this;
  }
  ~RWTValVector() { delete[] array_; }

  std::size_t capacity() const { return capacity_; }
  T* data() { return array_; }
  const T* data() const { return array_; }
  T& operator[](std::size_t i) { return array_[i]; }  // unchecked
  const T& operator[](std::size_t i) const { return array_[i]; }

  // n slots: the first min(capacity, n) elements kept, the rest default values.
  void reshape(std::size_t n) {
    if (n == capacity_) return;
    std::unique_ptr<T[]> fresh(n ? new T[n]() : nullptr);
    const std::size_t keep = n < capacity_ ? n : capacity_;
    for (std::size_t i = 0; i < keep; ++i) fresh[i] = std::move_if_noexcept(array_[i]);
    delete[] array_;
    array_ = fresh.release();
    capacity_ = n;
  }

 private:
  std::size_t capacity_;
  T* array_;
};
