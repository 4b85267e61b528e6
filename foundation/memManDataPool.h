#pragma once
// memManDataPoolC<T>: a memManRawDataPoolC viewed as an array of trivially copyable T; lengths and
// indexes count elements. memManDataPoolC<char> holds the characters of `str`.

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "foundation/RWThrow.h"
#include "foundation/memManRawDataPool.h"

template <class T>
class memManDataPoolC : public memManRawDataPoolC {
  static_assert(std::is_trivially_copyable_v<T>, "pool elements are copied as bytes");

public:
  T* allocate(std::size_t n) { return static_cast<T*>(memManRawDataPoolC::allocate(bytes(n))); }
  void setData(const T* src, std::size_t n) { memManRawDataPoolC::setData(src, bytes(n)); }
  T* resize(std::size_t n) { return static_cast<T*>(memManRawDataPoolC::resize(bytes(n))); }
  T* grow(std::size_t n) { return static_cast<T*>(memManRawDataPoolC::grow(bytes(n))); }
  T* element(std::size_t i) const { return data() + i; }
  T* data() const { return static_cast<T*>(memManRawDataPoolC::data()); }
  std::size_t length() const { return memManRawDataPoolC::length() / sizeof(T); }

private:
  static std::size_t bytes(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) RWThrowAlloc(SIZE_MAX);
    return n * sizeof(T);
  }
};
