#pragma once
// The storage of an RWCString: a header (reference count, capacity, length) followed directly by
// capacity + 1 characters. Bodies are owned jointly by the strings that reference them and freed by
// the last one; the one static empty body is never freed and its count never changes.

#include <atomic>
#include <cstddef>

#include "foundation/RWDefs.h"

class RWCStringBody {
 public:
  // Characters that fit (without the terminating NUL) and characters in use (embedded NULs count).
  std::size_t capacity() const { return capacity_; }
  std::size_t length() const { return length_; }
  // References minus one: 0 means one user.
  std::size_t extraReferences() const { return refs_.load(std::memory_order_acquire); }

  char* data() { return reinterpret_cast<char*>(this + 1); }
  const char* data() const { return reinterpret_cast<const char*>(this + 1); }

  // strpbrk on the characters: index of the first character (before the first NUL) that is in
  // set, or RW_NPOS. A null set finds nothing.
  std::size_t findAnyChar(const char* set) const;

  // A new body with room for capacity characters, length 0, one user. Takes
  // sizeof(RWCStringBody) + capacity + 1 bytes from the global allocator; RWxalloc, before any
  // allocation, when that size does not fit in a size.
  static RWCStringBody* create(std::size_t capacity);
  static RWCStringBody* empty();
  bool isEmptyBody() const { return this == empty(); }

  void addReference() {
    if (!isEmptyBody()) refs_.fetch_add(1, std::memory_order_relaxed);
  }
  // Drops one reference; frees the body when it was the last (never the empty body).
  void release() {
    if (isEmptyBody()) return;
    // refs_ holds references minus one: 0 means this was the only user.
    if (refs_.load(std::memory_order_acquire) == 0 ||
        refs_.fetch_sub(1, std::memory_order_acq_rel) == 0)
      destroy();
  }
  void setLength(std::size_t n) {
    length_ = n;
    data()[n] = '\0';
  }

  constexpr RWCStringBody(std::size_t refs, std::size_t capacity, std::size_t length)
      : refs_(refs), capacity_(capacity), length_(length) {}

 private:
  friend class RWCString;
  void destroy();
  std::atomic<std::size_t> refs_;
  std::size_t capacity_;
  std::size_t length_;
};

// The one static empty body with its terminating NUL right behind it; constant-initialised, so it
// serves strings built during static initialisation of any translation unit.
struct RWCStringEmptyStorage {
  RWCStringBody body;
  char nul[sizeof(std::size_t)];
};
extern RWCStringEmptyStorage gRWCStringEmptyStorage;

inline RWCStringBody* RWCStringBody::empty() { return &gRWCStringEmptyStorage.body; }
