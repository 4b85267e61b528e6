#include "foundation/RWPtrVector.h"

#include <algorithm>

RWPtrVector::RWPtrVector(std::size_t n, void* fill)
    : length_(n), slots_(n ? new void*[n] : nullptr) {
  std::fill_n(slots_, n, fill);
}

RWPtrVector::RWPtrVector(const RWPtrVector& other)
    : length_(other.length_), slots_(other.length_ ? new void*[other.length_] : nullptr) {
  std::copy_n(other.slots_, length_, slots_);
}

RWPtrVector& RWPtrVector::operator=(const RWPtrVector& other) {
  if (slots_ == other.slots_) return *this;
  void** fresh = other.length_ ? new void*[other.length_] : nullptr;
  std::copy_n(other.slots_, other.length_, fresh);
  delete[] slots_;
  slots_ = fresh;
  length_ = other.length_;
  return *this;
}

RWPtrVector::~RWPtrVector() { delete[] slots_; }

void RWPtrVector::fill(void* value) { std::fill_n(slots_, length_, value); }

void RWPtrVector::reshape(std::size_t n) {
  if (n == length_) return;
  void** fresh = n ? new void*[n] : nullptr;
  std::copy_n(slots_, std::min(n, length_), fresh);
  delete[] slots_;
  slots_ = fresh;
  length_ = n;
}

void RWPtrVector::resize(std::size_t n) {
  const std::size_t old = length_;
  reshape(n);
  if (n > old) std::fill(slots_ + old, slots_ + n, nullptr);
}
