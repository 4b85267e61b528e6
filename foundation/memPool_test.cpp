#include "foundation/memPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <thread>
#include <vector>

namespace {

bool aligned(const void* p) {
  return reinterpret_cast<std::uintptr_t>(p) % memPoolHeaderSize == 0;
}

// Every test starts and ends with an empty pool; a leftover chunk would show in the next test.
class MemPoolTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(memPoolLiveCount(), 0); }
  void TearDown() override {
    EXPECT_EQ(memPoolLiveCount(), 0);
    EXPECT_FALSE(memPoolTablesBuilt());
  }
};

TEST_F(MemPoolTest, RequestSizeSelectsSmallestFittingClass) {
  struct Case {
    std::size_t n;
    int cls;
  } cases[] = {{0, 0}, {8, 0}, {9, 1}, {10, 2}, {12, 2}, {13, 3}, {17, 3}, {18, 4},
               {908, 30}, {909, 31}, {968, 31}, {969, memPoolHeapClass}, {100000, memPoolHeapClass}};
  for (const Case& c : cases) {
    void* p = memPoolAlloc(c.n);
    ASSERT_NE(p, nullptr) << c.n;
    EXPECT_EQ(memPoolChunkClass(p), c.cls) << c.n;
    EXPECT_TRUE(aligned(p)) << c.n;
    if (c.cls != memPoolHeapClass) { EXPECT_GE(memPoolClassSize(c.cls), c.n); }
    std::memset(p, 0xAB, c.n);  // the whole request is writable
    EXPECT_EQ(memPoolFree(p), 1);
  }
  EXPECT_EQ(memPoolClassSize(31), 969u);
  EXPECT_EQ(memPoolClassSize(32), 0u);
}

TEST_F(MemPoolTest, LastFreeReleasesEveryBlockAndNextRequestRebuilds) {
  void* a = memPoolAlloc(10);
  void* b = memPoolAlloc(500);
  EXPECT_EQ(memPoolBlockCount(), 2u);
  EXPECT_EQ(memPoolLiveCount(), 2);
  void* big = memPoolAlloc(5000);  // heap chunks keep nothing alive
  EXPECT_EQ(memPoolLiveCount(), 2);
  EXPECT_EQ(memPoolFree(a), 1);
  EXPECT_TRUE(memPoolTablesBuilt());
  EXPECT_EQ(memPoolFree(b), 1);
  EXPECT_FALSE(memPoolTablesBuilt());
  EXPECT_EQ(memPoolBlockCount(), 0u);
  std::memset(big, 1, 5000);  // still valid after the pool let go
  EXPECT_EQ(memPoolFree(big), 1);

  void* c = memPoolAlloc(10);
  EXPECT_TRUE(memPoolTablesBuilt());
  EXPECT_EQ(memPoolChunkClass(c), 2);
  EXPECT_EQ(memPoolFree(c), 1);
}

TEST_F(MemPoolTest, ChunksOfOneClassShareBlocksUntilFull) {
  // Class 31 chunks (969 user bytes + header) fit about a hundred to a block.
  std::vector<void*> chunks;
  while (memPoolBlockCount() < 2) chunks.push_back(memPoolAlloc(968));
  const std::size_t perBlock = chunks.size() - 1;
  EXPECT_GT(perBlock, 90u);
  EXPECT_LE(perBlock * (969 + memPoolHeaderSize), memPoolBlockSize);
  for (void* p : chunks) EXPECT_EQ(memPoolFree(p), 1);
}

TEST_F(MemPoolTest, ReallocStaysWithinClassAndMovesBeyondIt) {
  auto* p = static_cast<char*>(memPoolAlloc(10));
  ASSERT_EQ(memPoolChunkClass(p), 2);
  std::memcpy(p, "abcdefghijkl", 12);
  EXPECT_EQ(memPoolRealloc(p, 12), p);
  EXPECT_EQ(memPoolRealloc(p, 0), p);
  auto* q = static_cast<char*>(memPoolRealloc(p, 13));
  ASSERT_NE(q, nullptr);
  EXPECT_NE(q, p);
  EXPECT_EQ(memPoolChunkClass(q), 3);
  EXPECT_EQ(std::memcmp(q, "abcdefghijkl", 12), 0);
  EXPECT_EQ(memPoolChunkClass(p), -1);  // the old chunk went back

  // Into and out of the C heap, contents kept.
  auto* h = static_cast<char*>(memPoolRealloc(q, 4000));
  ASSERT_EQ(memPoolChunkClass(h), memPoolHeapClass);
  EXPECT_EQ(std::memcmp(h, "abcdefghijkl", 12), 0);
  h = static_cast<char*>(memPoolRealloc(h, 100000));
  ASSERT_EQ(memPoolChunkClass(h), memPoolHeapClass);
  EXPECT_EQ(std::memcmp(h, "abcdefghijkl", 12), 0);
  EXPECT_EQ(memPoolFree(h), 1);

  void* fresh = memPoolRealloc(nullptr, 20);
  EXPECT_EQ(memPoolChunkClass(fresh), 4);
  EXPECT_EQ(memPoolFree(fresh), 1);
}

TEST_F(MemPoolTest, DoubleFreeIsRejectedAndFreeListStaysSound) {
  void* keep = memPoolAlloc(30);  // keeps the tables alive across the double free
  void* p = memPoolAlloc(30);
  EXPECT_EQ(memPoolFree(p), 1);
  EXPECT_EQ(memPoolFree(p), 0);
  EXPECT_EQ(memPoolRealloc(p, 40), nullptr);
  EXPECT_EQ(memPoolLiveCount(), 1);
  // Had the second free been pushed, these two would be the same chunk.
  void* a = memPoolAlloc(30);
  void* b = memPoolAlloc(30);
  EXPECT_NE(a, b);
  EXPECT_EQ(memPoolFree(a), 1);
  EXPECT_EQ(memPoolFree(b), 1);
  EXPECT_EQ(memPoolFree(keep), 1);
  EXPECT_EQ(memPoolFree(nullptr), 0);
}

TEST_F(MemPoolTest, OversizedRequestsFailWithoutTouchingTheChunk) {
  EXPECT_EQ(memPoolAlloc(SIZE_MAX), nullptr);
  EXPECT_EQ(memPoolAlloc(SIZE_MAX - memPoolHeaderSize + 1), nullptr);
  auto* p = static_cast<char*>(memPoolAlloc(2000));
  std::memcpy(p, "keep", 5);
  EXPECT_EQ(memPoolRealloc(p, SIZE_MAX), nullptr);
  EXPECT_STREQ(p, "keep");
  auto* s = static_cast<char*>(memPoolAlloc(5));
  std::memcpy(s, "pool", 5);
  EXPECT_EQ(memPoolRealloc(s, SIZE_MAX), nullptr);
  EXPECT_STREQ(s, "pool");
  EXPECT_EQ(memPoolChunkClass(s), 0);
  EXPECT_EQ(memPoolFree(p), 1);
  EXPECT_EQ(memPoolFree(s), 1);
}

// Random allocations, reallocations and frees against a model: every live chunk keeps its own
// fill pattern (no overlap, nothing lost in a move) and the pool's live count follows the model.
TEST_F(MemPoolTest, RandomisedCrossCheckAgainstModel) {
  struct Live {
    std::size_t n;
    unsigned char fill;
  };
  std::map<unsigned char*, Live> live;
  std::mt19937 rng(20261210);
  auto pickSize = [&] {
    const unsigned r = rng() % 100;
    if (r < 80) return static_cast<std::size_t>(rng() % 100);
    if (r < 97) return static_cast<std::size_t>(rng() % 969);
    return static_cast<std::size_t>(969 + rng() % 5000);
  };
  auto check = [](unsigned char* p, const Live& l) {
    for (std::size_t i = 0; i < l.n; ++i)
      if (p[i] != l.fill) return false;
    return true;
  };
  auto pooledCount = [&] {
    long c = 0;
    for (auto& [p, l] : live) c += memPoolChunkClass(p) != memPoolHeapClass;
    return c;
  };
  for (int step = 0; step < 20000; ++step) {
    const unsigned op = rng() % 10;
    if (op < 5 || live.empty()) {
      const std::size_t n = pickSize();
      auto* p = static_cast<unsigned char*>(memPoolAlloc(n));
      ASSERT_NE(p, nullptr);
      ASSERT_EQ(live.count(p), 0u) << "chunk handed out twice";
      const auto fill = static_cast<unsigned char>(rng());
      std::memset(p, fill, n);
      live[p] = {n, fill};
    } else {
      auto it = live.begin();
      std::advance(it, rng() % live.size());
      ASSERT_TRUE(check(it->first, it->second)) << "chunk overwritten";
      if (op < 8) {
        EXPECT_EQ(memPoolFree(it->first), 1);
        live.erase(it);
      } else {
        const std::size_t n = pickSize();
        Live l = it->second;
        auto* q = static_cast<unsigned char*>(memPoolRealloc(it->first, n));
        ASSERT_NE(q, nullptr);
        live.erase(it);
        const std::size_t kept = l.n < n ? l.n : n;
        for (std::size_t i = 0; i < kept; ++i) ASSERT_EQ(q[i], l.fill);
        std::memset(q, l.fill, n);
        ASSERT_EQ(live.count(q), 0u);
        live[q] = {n, l.fill};
      }
    }
    if (step % 1000 == 0) { ASSERT_EQ(memPoolLiveCount(), pooledCount()); }
  }
  for (auto& [p, l] : live) {
    ASSERT_TRUE(check(p, l));
    EXPECT_EQ(memPoolFree(p), 1);
  }
}

// While one thread holds the pool, its own calls go through and another thread's call waits
// until the hold is let go, by release() or by its end.
TEST_F(MemPoolTest, HoldKeepsOtherThreadsOutUntilReleased) {
  std::atomic<int> done{0};
  auto allocateInOtherThread = [&done] {
    return std::thread([&done] {
      memPoolFree(memPoolAlloc(24));
      done.fetch_add(1);
    });
  };
  void* mine = nullptr;
  std::thread first, second;
  {
    memPoolHoldC hold;
    mine = memPoolAlloc(40);  // the holder's own call does not wait for itself
    ASSERT_NE(mine, nullptr);
    first = allocateInOtherThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(done.load(), 0);
    hold.release();
    first.join();
    EXPECT_EQ(done.load(), 1);
    hold.take();
    second = allocateInOtherThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(done.load(), 1);
  }
  second.join();
  EXPECT_EQ(done.load(), 2);
  EXPECT_EQ(memPoolFree(mine), 1);
}

}  // namespace
