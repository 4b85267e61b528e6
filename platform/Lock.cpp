// Locks allocated once and never freed. A lock is one word of state (0 free, 1 held, 2 held with
// threads waiting) that its holder takes with one compare-exchange and gives back with one
// exchange; waiting threads sleep on the word (std::atomic wait/notify) after a short spin. The
// holder's thread and its entry depth make the lock re-entrant.
#include "platform/Lock.h"

#include <atomic>
#include <new>
#include <thread>

namespace platform {

static_assert(std::atomic<std::thread::id>::is_always_lock_free, "the holder is read without a lock");

struct Lock::State {
  std::atomic<int> word{0};
  std::atomic<std::thread::id> owner{};   // the holder; no thread when free; written by the holder
  unsigned depth = 0;                     // touched only by the holder

  bool take() {
    int expected = 0;
    return word.compare_exchange_strong(expected, 1, std::memory_order_acquire,
                                        std::memory_order_relaxed);
  }
  __attribute__((noinline)) void wait() {
    for (int spin = 0; spin < 100; ++spin) {
      if (word.load(std::memory_order_relaxed) == 0 && take()) return;
      std::this_thread::yield();
    }
    // From here on the word says that someone waits, so the holder wakes a sleeper on leaving.
    while (word.exchange(2, std::memory_order_acquire) != 0) word.wait(2, std::memory_order_relaxed);
  }
  void release() {
    if (word.exchange(0, std::memory_order_release) == 2) word.notify_one();
  }
  bool heldBy(std::thread::id self) const { return owner.load(std::memory_order_relaxed) == self; }
  void own(std::thread::id self) {
    owner.store(self, std::memory_order_relaxed);
    depth = 1;
  }
};

Lock::Lock() : state_(new State) {}

namespace {
std::atomic<Lock*> gAllLocks{nullptr};   // trivially destructible: outlives every user
}  // namespace

Lock& Lock::create() {
  Lock* lock = new Lock;
  lock->next_ = gAllLocks.load();
  while (!gAllLocks.compare_exchange_weak(lock->next_, lock)) {
  }
  return *lock;
}

// The holder's re-entry is the common case where a lock is held around a run of calls that enter
// it again; it takes no atomic operation and no more than this function's own frame. A first
// entry's contention is handled out of line.
void Lock::enter() {
  const std::thread::id self = std::this_thread::get_id();
  if (state_->heldBy(self)) {
    ++state_->depth;
    return;
  }
  enterFirst(self);
}

bool Lock::enterUnlessHeld() {
  const std::thread::id self = std::this_thread::get_id();
  if (state_->heldBy(self)) return false;
  enterFirst(self);
  return true;
}

void Lock::enterFirst(std::thread::id self) {
  if (!state_->take()) state_->wait();
  state_->own(self);
}

void Lock::leave() {
  if (--state_->depth != 0) return;
  state_->owner.store(std::thread::id(), std::memory_order_relaxed);
  state_->release();
}

bool Lock::tryEnter() {
  const std::thread::id self = std::this_thread::get_id();
  if (state_->heldBy(self)) {
    ++state_->depth;
    return true;
  }
  if (!state_->take()) return false;
  state_->own(self);
  return true;
}

}  // namespace platform
