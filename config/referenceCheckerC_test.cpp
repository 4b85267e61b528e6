#include "config/referenceCheckerC.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A node of a test graph that may hold cycles.
class Node : public TraversableI {
 public:
  void traverse(TraversalReceiverI& receiver) override {
    if (receiver.visit(static_cast<TraversableI*>(this))) {
      ++descents;
      for (Node* n : refs) n->traverse(receiver);
    }
    receiver.leave(static_cast<TraversableI*>(this));
  }
  std::vector<Node*> refs;
  int descents = 0;
};

void* id(Node& n) { return static_cast<TraversableI*>(&n); }

TEST(referenceCheckerC, FindsReachableTargetsThroughCycles) {
  Node a, b, c, lone;
  a.refs = {&b};
  b.refs = {&c, &a};  // a cycle back to a
  c.refs = {&b};
  referenceCheckerC checker;
  EXPECT_TRUE(checker.check(&a, id(c)));
  EXPECT_TRUE(checker.check(&a, id(a)));
  a.descents = b.descents = c.descents = 0;
  EXPECT_FALSE(checker.check(&a, id(lone)));
  EXPECT_EQ(a.descents, 1);  // each object is walked into once, the cycle notwithstanding
  EXPECT_EQ(b.descents, 1);
  EXPECT_EQ(c.descents, 1);
  EXPECT_FALSE(checker.check(&lone, id(a)));
}

}  // namespace
