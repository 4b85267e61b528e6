#include "platform/Lock.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(LockTest, ReentrantForItsHolderExclusiveForOthers) {
  Lock& lock = Lock::create();
  lock.enter();
  EXPECT_TRUE(lock.tryEnter());   // the holder may enter again
  bool otherGotIt = true;
  std::thread([&] { otherGotIt = lock.tryEnter(); }).join();
  EXPECT_FALSE(otherGotIt);
  lock.leave();
  lock.leave();
  std::thread([&] {
    otherGotIt = lock.tryEnter();
    if (otherGotIt) lock.leave();
  }).join();
  EXPECT_TRUE(otherGotIt);
  // Entering unless held: enters a free lock once, and not again for its holder.
  ASSERT_TRUE(lock.enterUnlessHeld());
  EXPECT_FALSE(lock.enterUnlessHeld());
  std::thread([&] { otherGotIt = lock.tryEnter(); }).join();
  EXPECT_FALSE(otherGotIt);
  lock.leave();
  std::thread([&] {
    otherGotIt = lock.tryEnter();
    if (otherGotIt) lock.leave();
  }).join();
  EXPECT_TRUE(otherGotIt) << "one leave gives back what enterUnlessHeld took";
}

TEST(LockTest, GuardsACounterAcrossThreads) {
  static Lock& lock = Lock::create();
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i) {
        LockGuard guard(lock);
        ++counter;
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(counter, 80000);
  std::lock_guard<Lock> standard(lock);   // usable with the standard guards too
}

// Threads that find the lock held long enough stop spinning and sleep; every one of them must be
// woken when the holder leaves, nested entries included.
TEST(LockTest, SleepingWaitersAreWokenWhenTheHolderLeaves) {
  Lock& lock = Lock::create();
  std::atomic<int> entered{0};
  lock.enter();
  lock.enter();
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&] {
      LockGuard outer(lock);
      LockGuard inner(lock);
      entered.fetch_add(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));   // the others wait again
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));      // past every waiter's spin
  EXPECT_EQ(entered.load(), 0);
  lock.leave();
  EXPECT_EQ(entered.load(), 0);   // still held once
  lock.leave();
  for (auto& th : threads) th.join();
  EXPECT_EQ(entered.load(), 3);
  EXPECT_TRUE(lock.tryEnter());
  lock.leave();
}

// A lock used from a static object's destructor and from an exit handler, after main: a destroyed
// lock would crash the test program at its end, failing the test.
Lock& lateLock() {
  static Lock& lock = Lock::create();
  return lock;
}
struct UsesLockAtExit {
  ~UsesLockAtExit() {
    LockGuard guard(lateLock());
  }
} usesLockAtExit;

TEST(LockTest, UsableDuringStaticDestruction) {
  lateLock().enter();
  lateLock().leave();
  std::atexit([] { LockGuard guard(lateLock()); });
}

}  // namespace
}  // namespace platform
