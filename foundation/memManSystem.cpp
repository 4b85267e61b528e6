// The manager and its hooks. The default hooks are the locked pool functions; a build with
// KESTRIX_PLAIN_ALLOC uses the C heap instead, so a sanitizer sees every block on its own.

#include "foundation/memManSystem.h"

#include <cstdlib>
#include <new>

#include "foundation/memPool.h"

namespace {

#if defined(KESTRIX_PLAIN_ALLOC) && KESTRIX_PLAIN_ALLOC
// malloc(0) and realloc(p, 0) may free or return null; ask for one byte so that a zero-byte
// request is a live block, as it is in the pool.
void* plainAlloc(std::size_t n) { return std::malloc(n == 0 ? 1 : n); }
int plainFree(void* p) {
  if (p == nullptr) return 0;
  std::free(p);
  return 1;
}
void* plainRealloc(void* p, std::size_t n) { return std::realloc(p, n == 0 ? 1 : n); }
constexpr memManAllocHook defaultAlloc = plainAlloc;
constexpr memManFreeHook defaultFree = plainFree;
constexpr memManReallocHook defaultRealloc = plainRealloc;
#else
constexpr memManAllocHook defaultAlloc = memPoolAlloc;
constexpr memManFreeHook defaultFree = memPoolFree;
constexpr memManReallocHook defaultRealloc = memPoolRealloc;
#endif

memManAllocHook allocHook = defaultAlloc;
memManFreeHook freeHook = defaultFree;
memManReallocHook reallocHook = defaultRealloc;

memManSystemC* currentManager = nullptr;
memManSystemC* capturedManager = nullptr;

}  // namespace

memManAllocHook memManSetAllocHook(memManAllocHook hook) {
  memManAllocHook old = allocHook;
  allocHook = hook != nullptr ? hook : defaultAlloc;
  return old;
}

memManFreeHook memManSetFreeHook(memManFreeHook hook) {
  memManFreeHook old = freeHook;
  freeHook = hook != nullptr ? hook : defaultFree;
  return old;
}

memManReallocHook memManSetReallocHook(memManReallocHook hook) {
  memManReallocHook old = reallocHook;
  reallocHook = hook != nullptr ? hook : defaultRealloc;
  return old;
}

memManSystemC::memManSystemC() {
  allocHook = defaultAlloc;
  freeHook = defaultFree;
  reallocHook = defaultRealloc;
}

memManSystemC::~memManSystemC() {
  if (currentManager == this) currentManager = nullptr;
  if (capturedManager == this) capturedManager = nullptr;
}

memManSystemC* memManSystemC::get(bool create) {
  if (currentManager == nullptr && create) currentManager = new (std::nothrow) memManSystemC();
  return currentManager;
}

void* memManSystemC::alloc(std::size_t n) {
  void* p = allocHook(n);
  if (p != nullptr) ++userCount_;
  return p;
}

void memManSystemC::free(void* p) {
  if (p == nullptr || freeHook(p) != 1) return;
  if (userCount_ > 0) --userCount_;
  if (userCount_ == 0) delete this;
}

void* memManSystemC::realloc(void* p, std::size_t n) {
  void* q = reallocHook(p, n);
  if (q != nullptr && p == nullptr) ++userCount_;
  return q;
}

void memManSystemC::release(void* p) {
  if (p == nullptr) return;
  if (memManSystemC* m = get(false)) {
    m->free(p);
  } else {
    freeHook(p);
  }
}

void memManSystemC::capture() { capturedManager = currentManager; }

memManSystemC* memManSystemC::captured() { return capturedManager; }

long memManUserCount() { return currentManager != nullptr ? currentManager->userCount() : 0; }
