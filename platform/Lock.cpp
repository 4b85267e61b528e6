// Locks on a recursive mutex, allocated once and never freed.
#include "platform/Lock.h"

#include <atomic>
#include <mutex>
#include <new>

namespace platform {

struct Lock::State {
  std::recursive_mutex mutex;
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

void Lock::enter() { state_->mutex.lock(); }
void Lock::leave() { state_->mutex.unlock(); }
bool Lock::tryEnter() { return state_->mutex.try_lock(); }

}  // namespace platform
