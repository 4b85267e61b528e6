// The result-buffer pool on its own: which pointers it takes back, and that a refused release
// leaves every node as it was.

#include "host/ResultBufferPool.h"

#include <gtest/gtest.h>

#include <vector>

namespace kxhost {
namespace {

resbuf* chain(ResultBufferPool& pool, int n) {
  resbuf* head = nullptr;
  for (int k = 0; k < n; ++k) {
    resbuf* node = pool.newNode(RTSHORT);
    node->resval.rint = static_cast<short>(k);
    node->rbnext = head;
    head = node;
  }
  return head;
}

TEST(ResultBufferPoolTest, ARefusedChainCanBeReleasedOnceItIsMended) {
  ResultBufferPool pool;
  std::string error;
  resbuf* head = chain(pool, 3);
  resbuf* tail = head->rbnext->rbnext;

  resbuf foreign{};
  foreign.restype = RTSHORT;
  tail->rbnext = &foreign;
  EXPECT_FALSE(pool.release(head, error));
  EXPECT_NE(error.find("did not allocate"), std::string::npos) << error;

  tail->rbnext = head;   // a cycle
  EXPECT_FALSE(pool.release(head, error));
  EXPECT_NE(error.find("cycle"), std::string::npos) << error;
  EXPECT_EQ(pool.liveCount(), 3u) << "a refused chain releases nothing";

  tail->rbnext = nullptr;
  EXPECT_TRUE(pool.release(head, error)) << error;
  EXPECT_EQ(pool.liveCount(), 0u);
}

TEST(ResultBufferPoolTest, APointerInsideANodeIsNotANode) {
  ResultBufferPool pool;
  std::string error;
  resbuf* node = pool.newNode(RTSHORT);
  auto* inside = reinterpret_cast<resbuf*>(reinterpret_cast<char*>(node) + 8);
  EXPECT_FALSE(pool.release(inside, error));
  EXPECT_EQ(pool.liveCount(), 1u);
  EXPECT_TRUE(pool.release(node, error));
}

TEST(ResultBufferPoolTest, ManyNodesReleasedInAnyOrderAreAllTakenBack) {
  ResultBufferPool pool;
  std::string error;
  std::vector<resbuf*> nodes;
  for (int k = 0; k < 5000; ++k) nodes.push_back(pool.newNode(k % 2 ? RTSTR : RTREAL));
  for (std::size_t k = 1; k < nodes.size(); k += 2) EXPECT_TRUE(pool.release(nodes[k], error));
  EXPECT_EQ(pool.liveCount(), 2500u);
  for (std::size_t k = 1; k < nodes.size(); k += 2)
    EXPECT_FALSE(pool.release(nodes[k], error)) << "released twice: node " << k;
  for (std::size_t k = 0; k < nodes.size(); k += 2) EXPECT_TRUE(pool.release(nodes[k], error));
  EXPECT_EQ(pool.liveCount(), 0u);
  resbuf* again = pool.newNode(RTSHORT);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->restype, RTSHORT);
  EXPECT_EQ(again->rbnext, nullptr);
}

}  // namespace
}  // namespace kxhost
