// Page blocks on mmap/mremap/munmap.
#include "platform/PageMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {
std::size_t pageSize() {
  static const std::size_t size = [] {
    const long n = sysconf(_SC_PAGESIZE);
    return n > 0 ? static_cast<std::size_t>(n) : std::size_t{4096};
  }();
  return size;
}
}  // namespace

std::size_t pageBlockBytes(std::size_t bytes) {
  const std::size_t page = pageSize();
  if (bytes == 0) return page;
  if (bytes > SIZE_MAX - (page - 1)) return 0;   // cannot be rounded: no such block
  return (bytes + page - 1) / page * page;
}

void* allocatePages(std::size_t bytes) {
  const std::size_t size = pageBlockBytes(bytes);
  if (size == 0) return nullptr;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

void* resizePages(void* block, std::size_t oldBytes, std::size_t newBytes) {
  if (block == nullptr) return allocatePages(newBytes);
  const std::size_t oldSize = pageBlockBytes(oldBytes);
  const std::size_t newSize = pageBlockBytes(newBytes);
  if (newSize == 0) return nullptr;
  if (newSize == oldSize) return block;
  void* p = mremap(block, oldSize, newSize, MREMAP_MAYMOVE);
  return p == MAP_FAILED ? nullptr : p;
}

void freePages(void* block, std::size_t bytes) {
  if (block != nullptr) munmap(block, pageBlockBytes(bytes));
}

}  // namespace platform
