#pragma once
// Process-wide locks that are never destroyed, so they stay usable during static destruction and
// in exit handlers, with a guard for scoped use. A lock may be entered again by the thread that
// holds it, as a Windows critical section may.

#include <thread>

namespace platform {

class Lock {
public:
  // A new lock that lives until the process ends (it is never freed). Thread-safe.
  //   static platform::Lock& lock = platform::Lock::create();   // created on first use
  static Lock& create();

  void enter();
  void leave();
  bool tryEnter();
  // Enters the lock unless the calling thread holds it already: true when it entered (the caller
  // then leaves it once), false when the caller is inside it anyway. Lets a run of calls made
  // under one outer entry skip entering again.
  bool enterUnlessHeld();

  // For std::lock_guard / std::unique_lock.
  void lock() { enter(); }
  void unlock() { leave(); }
  bool try_lock() { return tryEnter(); }

  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

private:
  Lock();
  ~Lock() = delete;   // never destroyed
  void enterFirst(std::thread::id self);
  struct State;
  State* state_;
  Lock* next_ = nullptr;   // every lock stays reachable from one list: none is ever "leaked"

};

// Enters the lock for the guard's lifetime.
class LockGuard {
public:
  explicit LockGuard(Lock& lock) : lock_(lock) { lock_.enter(); }
  ~LockGuard() { lock_.leave(); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

private:
  Lock& lock_;
};

}  // namespace platform
