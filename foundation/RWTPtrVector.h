#pragma once
// RWTPtrVector<T>: the typed face of an RWPtrVector; slots hold T pointers, which are not owned.

#include <cstddef>

#include "foundation/RWPtrVector.h"

template <class T>
class RWTPtrVector : public RWPtrVector {
 public:
  explicit RWTPtrVector(std::size_t n = 0, T* fill = nullptr) : RWPtrVector(n, fill) {}

  T*& operator()(std::size_t i) { return reinterpret_cast<T*&>(RWPtrVector::operator()(i)); }
  T* operator()(std::size_t i) const { return static_cast<T*>(RWPtrVector::operator()(i)); }
  T*& at(std::size_t i) { return reinterpret_cast<T*&>(RWPtrVector::at(i)); }
  T* at(std::size_t i) const { return static_cast<T*>(RWPtrVector::at(i)); }
  T** data() { return reinterpret_cast<T**>(RWPtrVector::data()); }
  T* const* data() const { return reinterpret_cast<T* const*>(RWPtrVector::data()); }
};
