#pragma once
// RWPtrVector: an untyped array of pointer slots, owned by the vector (the pointed-to objects are
// not). Slots are sizeof(void*) wide. Indexes are checked against the length: RW_NPOS (or the
// 32-bit 0xFFFFFFFF) raises "[NPOSINDEX]", any other bad index "[INDEXERR]" (RWBoundsErr).

#include <cstddef>

#include "foundation/RWThrow.h"

class RWPtrVector {
 public:
  explicit RWPtrVector(std::size_t n = 0, void* fill = nullptr);
  RWPtrVector(const RWPtrVector& other);
  RWPtrVector& operator=(const RWPtrVector& other);
  ~RWPtrVector();

  std::size_t length() const { return length_; }
  void** data() { return slots_; }
  void* const* data() const { return slots_; }

  void*& operator()(std::size_t i) { return slots_[i]; }  // unchecked
  void* operator()(std::size_t i) const { return slots_[i]; }
  void*& at(std::size_t i) {
    boundsCheck(i);
    return slots_[i];
  }
  void* at(std::size_t i) const {
    boundsCheck(i);
    return slots_[i];
  }

  void fill(void* value);
  // n slots; the first min(length, n) kept, the rest left as they come (see resize).
  void reshape(std::size_t n);
  // reshape, then the slots from the old length up to n set to null.
  void resize(std::size_t n);
  void boundsCheck(std::size_t i) const { RWCheckIndex(i, length_); }

 private:
  std::size_t length_;
  void** slots_;
};
