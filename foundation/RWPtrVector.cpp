#include "foundation/RWPtrVector.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "platform/PageMemory.h"

// Slot arrays of up to largeSlots - 1 slots come from operator new; larger ones are page blocks
// (platform/PageMemory.h), which a reshape grows or shrinks in place of a copy. Which kind an
// array is follows from its length alone.
namespace {

constexpr std::size_t largeSlots = 16384;   // 128 KiB of slots

bool isLarge(std::size_t n) { return n >= largeSlots; }

// Bytes of n slots of a page block; a count whose bytes do not fit a size_t throws bad_alloc.
std::size_t pageSlotBytes(std::size_t n) {
  if (n > SIZE_MAX / sizeof(void*)) throw std::bad_alloc();
  return n * sizeof(void*);
}

void** allocateSlots(std::size_t n) {
  if (n == 0) return nullptr;
  if (!isLarge(n)) return new void*[n];
  void* block = platform::allocatePages(pageSlotBytes(n));
  if (block == nullptr) throw std::bad_alloc();
  return static_cast<void**>(block);
}

void freeSlots(void** slots, std::size_t n) {
  if (isLarge(n)) platform::freePages(slots, n * sizeof(void*));
  else delete[] slots;
}

}  // namespace

RWPtrVector::RWPtrVector(std::size_t n, void* fill) : length_(n), slots_(allocateSlots(n)) {
  std::fill_n(slots_, n, fill);
}

RWPtrVector::RWPtrVector(const RWPtrVector& other)
    : length_(other.length_), slots_(allocateSlots(other.length_)) {
  std::copy_n(other.slots_, length_, slots_);
}

RWPtrVector& RWPtrVector::operator=(const RWPtrVector& other) {
  if (slots_ == other.slots_) return *this;
  void** fresh = allocateSlots(other.length_);
  std::copy_n(other.slots_, other.length_, fresh);
  freeSlots(slots_, length_);
  slots_ = fresh;
  length_ = other.length_;
  return *this;
}

RWPtrVector::~RWPtrVector() { freeSlots(slots_, length_); }

void RWPtrVector::fill(void* value) { std::fill_n(slots_, length_, value); }

void RWPtrVector::reshape(std::size_t n) {
  if (n == length_) return;
  if (isLarge(n) && isLarge(length_)) {
    void* moved = platform::resizePages(slots_, length_ * sizeof(void*), pageSlotBytes(n));
    if (moved == nullptr) throw std::bad_alloc();
    slots_ = static_cast<void**>(moved);
    length_ = n;
    return;
  }
  void** fresh = allocateSlots(n);
  std::copy_n(slots_, std::min(n, length_), fresh);
  freeSlots(slots_, length_);
  slots_ = fresh;
  length_ = n;
}

void RWPtrVector::resize(std::size_t n) {
  const std::size_t old = length_;
  reshape(n);
  if (n > old) std::fill(slots_ + old, slots_ + n, nullptr);
}
