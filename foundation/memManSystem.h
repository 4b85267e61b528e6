#pragma once
// memManSystemC: the one process-wide memory manager. It counts the live allocations made through
// it and deletes itself when the count falls back to 0; the next request makes a new one. Its
// operations go through three replaceable hooks, which every new manager sets to the locked pool
// functions (or, in a build with KESTRIX_PLAIN_ALLOC, to the C heap, so tools see every block).
// The count and the manager pointers are not locked: the plug-in uses the manager from one thread.

#include <cstddef>

using memManAllocHook = void* (*)(std::size_t n);
// Returns 1 when the block was released, 0 when the pointer was rejected.
using memManFreeHook = int (*)(void* p);
using memManReallocHook = void* (*)(void* p, std::size_t n);

// Each setter installs a hook and returns the previous one. A manager made later installs its own.
memManAllocHook memManSetAllocHook(memManAllocHook hook);
memManFreeHook memManSetFreeHook(memManFreeHook hook);
memManReallocHook memManSetReallocHook(memManReallocHook hook);

class memManSystemC final {
public:
  // The current manager; when there is none and create is set, a new one (count 0, hooks
  // installed). Null when there is none and create is not set.
  static memManSystemC* get(bool create);

  // n bytes through the alloc hook; the count grows only when a block was returned. Null when the
  // hook returns null (no memory): nothing is counted then.
  virtual void* alloc(std::size_t n);
  // Frees through the free hook; a null or rejected pointer changes nothing. When the count falls
  // to 0 the manager deletes itself: `this` is gone when free returns.
  virtual void free(void* p);
  // realloc through the realloc hook; a null p counts as a new allocation when it succeeds. Null
  // on failure, p then still valid.
  virtual void* realloc(void* p, std::size_t n);

  // Live allocations made through this manager.
  long userCount() const { return userCount_; }

  // Frees p through the current manager, or straight through the free hook when there is none.
  static void release(void* p);
  // Remembers the current manager (never makes one) for the class-level delete of
  // memManInterfaceC; captured() is that manager, null when none was captured or it has since
  // deleted itself.
  static void capture();
  static memManSystemC* captured();

  memManSystemC(const memManSystemC&) = delete;
  memManSystemC& operator=(const memManSystemC&) = delete;

private:
  memManSystemC();
  ~memManSystemC();

  long userCount_ = 0;
};

// The live allocation count of the current manager, 0 when there is none.
long memManUserCount();
