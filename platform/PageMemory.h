#pragma once
// Memory taken straight from the system's page allocator, for arrays that grow a little at a time
// to large sizes: growing such a block remaps its pages instead of copying its contents, so a
// series of small growths costs the page-table work, not a copy of everything held each time.
// Sizes are in bytes; a block's size is kept by its owner and passed back on every call.

#include <cstddef>

namespace platform {

// Bytes the system actually reserves for a block of `bytes` (a whole number of pages, at least
// one).
std::size_t pageBlockBytes(std::size_t bytes);

// A new zero-filled block of at least `bytes`, aligned to a page; null when the system has no
// memory for it.
void* allocatePages(std::size_t bytes);

// The block grown or shrunk from oldBytes to newBytes, contents kept up to the smaller of the
// two; it may move. Null when the system cannot provide the new size: the block is then
// untouched and still owned by the caller.
void* resizePages(void* block, std::size_t oldBytes, std::size_t newBytes);

// Gives a block of `bytes` back; null does nothing.
void freePages(void* block, std::size_t bytes);

}  // namespace platform
