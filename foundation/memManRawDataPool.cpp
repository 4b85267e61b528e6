// Byte buffers owned through the memory manager. Every change allocates before it releases, so a
// failed allocation leaves the pool as it was.

#include "foundation/memManRawDataPool.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "foundation/RWThrow.h"
#include "foundation/memManSystem.h"

namespace {

void* allocateBytes(std::size_t n) {
  memManSystemC* m = memManSystemC::get(true);
  void* p = m != nullptr ? m->alloc(n) : nullptr;
  if (p == nullptr) RWThrowAlloc(n);
  return p;
}

}  // namespace

memManRawDataPoolC::memManRawDataPoolC(const memManRawDataPoolC& other)
    : memManInterfaceC(other) {
  setData(other.data_, other.length_);
}

memManRawDataPoolC::memManRawDataPoolC(memManRawDataPoolC&& other) noexcept
    : memManInterfaceC(other), data_(other.data_), length_(other.length_) {
  other.data_ = nullptr;
  other.length_ = 0;
}

memManRawDataPoolC& memManRawDataPoolC::operator=(const memManRawDataPoolC& other) {
  if (this != &other) setData(other.data_, other.length_);
  return *this;
}

memManRawDataPoolC& memManRawDataPoolC::operator=(memManRawDataPoolC&& other) noexcept {
  if (this != &other) {
    release();
    std::swap(data_, other.data_);
    std::swap(length_, other.length_);
  }
  return *this;
}

memManRawDataPoolC::~memManRawDataPoolC() { release(); }

void* memManRawDataPoolC::allocate(std::size_t n) {
  if (n == 0) {
    release();
    return nullptr;
  }
  void* p = allocateBytes(n);
  release();
  data_ = p;
  length_ = n;
  return data_;
}

void memManRawDataPoolC::setData(const void* src, std::size_t n) {
  if (src == nullptr || n == 0) {
    release();
    return;
  }
  void* p = allocateBytes(n);
  std::memcpy(p, src, n);
  release();
  data_ = p;
  length_ = n;
}

void* memManRawDataPoolC::resize(std::size_t n) {
  if (n == 0) {
    release();
    return nullptr;
  }
  if (data_ == nullptr) return allocate(n);
  memManSystemC* m = memManSystemC::get(true);
  void* p = m != nullptr ? m->realloc(data_, n) : nullptr;
  if (p == nullptr) RWThrowAlloc(n);
  data_ = p;
  length_ = n;
  return data_;
}

void* memManRawDataPoolC::grow(std::size_t n) {
  if (n > SIZE_MAX - length_) RWThrowAlloc(SIZE_MAX);
  return resize(length_ + n);
}

void memManRawDataPoolC::release() {
  void* p = data_;
  data_ = nullptr;
  length_ = 0;
  memManSystemC::release(p);
}
