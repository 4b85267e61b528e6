#pragma once
// memManRawDataPoolC: a byte buffer owned through the memory manager: a data pointer and a length
// in bytes. Copies are deep. An empty pool holds no storage (null data, length 0). Allocation
// failure throws RWxalloc and leaves the pool as it was.

#include <cstddef>

#include "foundation/memManInterface.h"

class memManRawDataPoolC : public memManInterfaceC {
public:
  memManRawDataPoolC() = default;
  memManRawDataPoolC(const memManRawDataPoolC& other);
  memManRawDataPoolC(memManRawDataPoolC&& other) noexcept;
  memManRawDataPoolC& operator=(const memManRawDataPoolC& other);
  memManRawDataPoolC& operator=(memManRawDataPoolC&& other) noexcept;
  ~memManRawDataPoolC() override;

  // n bytes of undefined content; whatever the pool held is released first. n = 0 leaves it
  // empty. Returns the data.
  void* allocate(std::size_t n);
  // Release, then a copy of n bytes from src; n = 0 or a null src leaves it empty. src may lie
  // inside this pool's own data.
  void setData(const void* src, std::size_t n);
  // Exactly n bytes, contents kept up to n (new bytes undefined); n = 0 releases. Returns the data.
  void* resize(std::size_t n);
  // resize(length + n); a length that would overflow throws RWxalloc.
  void* grow(std::size_t n);
  // Address of byte i; no bounds check (i < length).
  void* element(std::size_t i) const { return static_cast<char*>(data_) + i; }
  void* data() const { return data_; }
  std::size_t length() const { return length_; }
  bool isEmpty() const { return length_ == 0; }
  // Frees the storage; the pool is empty afterwards.
  void release();

private:
  void* data_ = nullptr;
  std::size_t length_ = 0;
};
