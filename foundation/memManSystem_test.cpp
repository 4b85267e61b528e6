#include "foundation/memManSystem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "foundation/RWxmsg.h"
#include "foundation/memManCheckLeak.h"
#include "foundation/memManDataPool.h"
#include "foundation/memManInterface.h"
#include "foundation/memPool.h"
#include "foundation/str.h"

namespace {

#if defined(KESTRIX_PLAIN_ALLOC) && KESTRIX_PLAIN_ALLOC
constexpr bool plainAlloc = true;
#else
constexpr bool plainAlloc = false;
#endif

struct Node : memManInterfaceC {
  explicit Node(int v) : value(v) {}
  int value;
  double payload[4] = {};
};

struct Throwing : memManInterfaceC {
  Throwing() { throw std::runtime_error("constructor failed"); }
};

void* failingAlloc(std::size_t) { return nullptr; }
void* failingRealloc(void*, std::size_t) { return nullptr; }

// Restores the default hooks (a new manager installs them) and checks nothing was left alive.
class MemManTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(memManSystemC::get(false), nullptr); }
  void TearDown() override { EXPECT_EQ(memManSystemC::get(false), nullptr); }
};

TEST_F(MemManTest, ManagerLivesExactlyAsLongAsItsAllocations) {
  Node* a = new Node(1);
  memManSystemC* m = memManSystemC::get(false);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(a->getMemMan(false), m);
  EXPECT_EQ(m->userCount(), 1);
  Node* b = new Node(2);
  EXPECT_EQ(memManUserCount(), 2);
  delete a;
  EXPECT_EQ(memManSystemC::get(false), m);
  EXPECT_EQ(b->value, 2);
  delete b;
  EXPECT_EQ(memManSystemC::get(false), nullptr);
  EXPECT_EQ(memManSystemC::captured(), nullptr) << "no dangling manager for the next delete";
  if (!plainAlloc) { EXPECT_FALSE(memPoolTablesBuilt()); }

  // The next request makes a new manager.
  Node* c = new Node(3);
  EXPECT_NE(memManSystemC::get(false), nullptr);
  delete c;
}

TEST_F(MemManTest, ObjectsComeFromThePoolUnlessPlainAllocation) {
  Node* a = new Node(7);
  if (plainAlloc) {
    EXPECT_EQ(memPoolBlockCount(), 0u);
  } else {
    EXPECT_EQ(memPoolChunkClass(a), memPoolClassFor(sizeof(Node)));
  }
  delete a;
}

TEST_F(MemManTest, FailedConstructorGivesItsBlockBack) {
  EXPECT_THROW(new Throwing(), std::runtime_error);
  EXPECT_EQ(memManUserCount(), 0);
}

TEST_F(MemManTest, AllocationFailureThrowsAndCountsNothing) {
  memManSystemC* m = memManSystemC::get(true);
  ASSERT_NE(m, nullptr);
  str kept("kept text");  // holds the manager while the hooks fail
  EXPECT_EQ(m->userCount(), 1);
  memManAllocHook oldAlloc = memManSetAllocHook(failingAlloc);
  memManReallocHook oldRealloc = memManSetReallocHook(failingRealloc);
  EXPECT_THROW(new Node(1), RWxalloc);
  EXPECT_EQ(m->alloc(16), nullptr);
  EXPECT_EQ(m->realloc(nullptr, 16), nullptr);
  EXPECT_EQ(m->userCount(), 1);
  // Edits that need memory throw and leave the text as it was.
  EXPECT_THROW(kept.append(" and more"), RWxalloc);
  EXPECT_STREQ(kept.text(), "kept text");
  EXPECT_THROW(str("x"), RWxalloc);
  memManSetAllocHook(oldAlloc);
  memManSetReallocHook(oldRealloc);
}

TEST_F(MemManTest, RejectedFreeLeavesTheCountAlone) {
  memManSystemC* m = memManSystemC::get(true);
  void* keep = m->alloc(40);
  void* p = m->alloc(40);
  EXPECT_EQ(m->userCount(), 2);
  m->free(p);
  EXPECT_EQ(m->userCount(), 1);
  if (!plainAlloc) {  // the C heap cannot tell a second free; the pool can
    m->free(p);
    EXPECT_EQ(m->userCount(), 1);
  }
  m->free(nullptr);
  EXPECT_EQ(m->userCount(), 1);
  void* grown = m->realloc(keep, 4000);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(m->userCount(), 1) << "a move is not a new allocation";
  m->free(grown);  // the manager is gone now
}

TEST_F(MemManTest, CheckLeakReportsTheDifference) {
  Node* outer = new Node(0);
  memManCheckLeakC check;
  EXPECT_EQ(check.difference(), 0);
  Node* a = new Node(1);
  str s("text");
  EXPECT_EQ(check.difference(), 2);
  delete a;
  EXPECT_EQ(check.difference(), 1);
  delete outer;
  s = str();
  EXPECT_EQ(check.difference(), -1);
}

TEST_F(MemManTest, DataPoolKeepsContentsAcrossResizeAndCopies) {
  memManDataPoolC<int> pool;
  EXPECT_EQ(pool.data(), nullptr);
  int* d = pool.allocate(4);
  for (int i = 0; i < 4; ++i) d[i] = i * 10;
  d = pool.grow(300);  // into the C heap
  ASSERT_EQ(pool.length(), 304u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(d[i], i * 10);
  memManDataPoolC<int> copy(pool);
  EXPECT_NE(copy.data(), pool.data());
  EXPECT_EQ(*copy.element(3), 30);
  pool.resize(2);
  EXPECT_EQ(pool.length(), 2u);
  EXPECT_EQ(*pool.element(1), 10);
  pool.setData(pool.element(1), 1);  // source inside its own data
  EXPECT_EQ(pool.length(), 1u);
  EXPECT_EQ(*pool.element(0), 10);
  pool.setData(nullptr, 5);
  EXPECT_TRUE(pool.isEmpty());
  pool.resize(0);
  EXPECT_THROW(copy.grow(SIZE_MAX), RWxalloc);
  EXPECT_EQ(copy.length(), 304u);
}

}  // namespace
