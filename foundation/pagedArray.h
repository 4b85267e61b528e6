#pragma once
// pagedArrayC<T>: a growable array of fixed-size elements kept in pages of 2^shift elements.
// Growing reallocates only the table of page pointers, so element addresses stay valid until the
// array is cleared or destroyed. The array owns its pages (constructed arrays of T, made with
// new[]) and its page table (C heap). Allocation failure throws RWxalloc before anything is
// written, and leaves the array as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#include "foundation/RWThrow.h"

template <class T>
class pagedArrayC {
public:
  // Largest shift accepted; a larger one is taken as this, a negative one as 0.
  static constexpr int maxShift = 20;

  // Empty: no page table, no pages.
  explicit pagedArrayC(int shift = 3)
      : pageSize_(std::size_t{1} << clampShift(shift)),
        shift_(clampShift(shift)),
        mask_(pageSize_ - 1) {}
  // A copy of the other's elements in an array with shift 3.
  pagedArrayC(const pagedArrayC& other) : pagedArrayC(3) { assign(other); }
  pagedArrayC(pagedArrayC&& other) noexcept
      : pages_(other.pages_), pageCount_(other.pageCount_), count_(other.count_),
        pageSize_(other.pageSize_), shift_(other.shift_), mask_(other.mask_) {
    other.pages_ = nullptr;
    other.pageCount_ = 0;
    other.count_ = 0;
  }
  pagedArrayC& operator=(const pagedArrayC& other) {
    assign(other);
    return *this;
  }
  pagedArrayC& operator=(pagedArrayC&& other) noexcept {
    if (this != &other) {
      clear();
      std::swap(pages_, other.pages_);
      std::swap(pageCount_, other.pageCount_);
      std::swap(count_, other.count_);
      std::swap(pageSize_, other.pageSize_);
      std::swap(shift_, other.shift_);
      std::swap(mask_, other.mask_);
    }
    return *this;
  }
  ~pagedArrayC() { clear(); }

  // Address of element i; no bounds check: the caller keeps i below size() (or below capacity()
  // for slots it has sized with resize).
  T* element(std::size_t i) const { return pages_[i >> shift_] + (i & mask_); }
  T& operator[](std::size_t i) const { return *element(i); }

  // Elements in use.
  std::size_t size() const { return count_; }
  bool isEmpty() const { return count_ == 0; }

  // The address of a new last element (a page is added when the pages held are full). The slot
  // holds whatever it held before: a value-initialised element, or an old one after reset.
  T* appendSlot() {
    const std::size_t page = count_ >> shift_;
    if (pageCount_ < page + 1) addPage();
    T* slot = pages_[page] + (count_ & mask_);
    ++count_;
    return slot;
  }
  // A new last element holding value.
  void append(T value) { *appendSlot() = std::move(value); }

  // Address of the last element; null when the array is empty.
  T* last() const { return count_ == 0 ? nullptr : element(count_ - 1); }

  // size() := n; unless n is 0, pages are added until (n >> shift) + 1 pages exist (a count that
  // fills its pages exactly gets one page more). Elements beyond the old size hold what their
  // slots held; shrinking destroys nothing.
  void resize(std::size_t n) {
    if (n != 0) {
      const std::size_t needed = (n >> shift_) + 1;
      // A count whose pages could not even be addressed fails before any page is made.
      if (needed > SIZE_MAX / (sizeof(T*) + pageSize_ * sizeof(T))) RWThrowAlloc(SIZE_MAX);
      while (pageCount_ < needed) addPage();
    }
    count_ = n;
  }

  // size() := 0; pages kept for reuse.
  void reset() { count_ = 0; }

  // Destroys every page and frees the page table; the array is empty afterwards.
  void clear() {
    for (std::size_t p = 0; p < pageCount_; ++p) ::delete[] pages_[p];
    std::free(pages_);
    pages_ = nullptr;
    pageCount_ = 0;
    count_ = 0;
  }

  // Copies the other's elements in order; assigning an array to itself keeps it.
  void assign(const pagedArrayC& other) {
    if (this == &other) return;
    reset();
    resize(other.count_);
    for (std::size_t i = 0; i < other.count_; ++i) *element(i) = *other.element(i);
  }

  // Appends a copy of each of the other's elements in order (the other may be this array: its
  // elements at the time of the call are appended once). Returns how many were appended.
  std::size_t appendAll(const pagedArrayC& other) {
    const std::size_t n = other.count_;
    for (std::size_t i = 0; i < n; ++i) {
      T* slot = appendSlot();
      *slot = *other.element(i);
    }
    return n;
  }

  // Removes element i: every following element moves down one place. An index at or beyond
  // size() changes nothing.
  void removeAt(std::size_t i) {
    if (i >= count_) return;
    for (std::size_t j = i; j + 1 < count_; ++j) *element(j) = std::move(*element(j + 1));
    --count_;
  }

  // Grows the page table by one pointer and fills it with a new page of value-initialised
  // elements.
  void addPage() {
    if (pageCount_ >= SIZE_MAX / sizeof(T*) - 1) RWThrowAlloc(SIZE_MAX);
    void* table = std::realloc(pages_, (pageCount_ + 1) * sizeof(T*));
    if (table == nullptr) RWThrowAlloc((pageCount_ + 1) * sizeof(T*));
    pages_ = static_cast<T**>(table);
    T* page = ::new (std::nothrow) T[pageSize_]();
    if (page == nullptr) RWThrowAlloc(pageSize_ * sizeof(T));
    pages_[pageCount_++] = page;
  }

  std::size_t pageCount() const { return pageCount_; }
  std::size_t pageSize() const { return pageSize_; }
  int shift() const { return shift_; }
  // Elements the pages held can take.
  std::size_t capacity() const { return pageCount_ << shift_; }

private:
  static int clampShift(int shift) { return shift < 0 ? 0 : (shift > maxShift ? maxShift : shift); }

  T** pages_ = nullptr;
  std::size_t pageCount_ = 0;
  std::size_t count_ = 0;
  std::size_t pageSize_;
  int shift_;
  std::size_t mask_;
};
