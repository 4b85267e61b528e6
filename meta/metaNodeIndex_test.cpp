#include "meta/metaNodeIndex.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "meta/metaTree.h"

namespace {

metaTreeC* real(double d) {
  return new metaTreeC(metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, d));
}

// A forest of `count` nodes numbered in pre-order (each node's value is its 0-based pre-order
// position), of mixed shape: node i goes under the node i / 3 levels back, so there are long
// chains, deep paths and forest roots. Returns the nodes in pre-order.
std::vector<metaTreeC*> buildForest(int count) {
  std::vector<metaTreeC*> order;
  std::vector<metaTreeC*> path;  // the current path from a root down
  for (int i = 0; i < count; ++i) {
    metaTreeC* n = real(i);
    const std::size_t keep = (i * 7) % 5 == 0 ? 0 : path.size() - (i % 3 == 0 ? 1 : 0);
    if (i > 0 && (keep == 0 || path.empty())) {
      n->appendSibling(order.front());
      path.assign(1, n);
    } else if (i > 0) {
      path.resize(std::min(keep, path.size()));
      n->appendAsLastChild(path.back());
      path.push_back(n);
    } else {
      path.push_back(n);
    }
    order.push_back(n);
  }
  return order;
}

TEST(metaNodeIndex, OrdinalsFollowPreOrderAndAgreeBothWays) {
  std::vector<metaTreeC*> order = buildForest(200);
  // The forest is built in pre-order, so its node values are their pre-order positions.
  metaNodeIndexC index;
  index.setRoot(order.front());
  EXPECT_EQ(index.nodeByOrdinal(0, 0), nullptr);
  ASSERT_EQ(index.nodeByOrdinal(1, 0), order.front());
  ASSERT_EQ(index.count(), order.size());
  EXPECT_EQ(index.nodeByOrdinal(static_cast<std::int64_t>(order.size()) + 1, 0), nullptr);
  for (std::size_t i = 0; i < order.size(); ++i) {
    metaTreeC* n = index.nodeByOrdinal(static_cast<std::int64_t>(i) + 1, 0);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->value().getReal(), static_cast<double>(i));
    EXPECT_EQ(index.ordinalOfNode(order[i], 0), static_cast<std::int64_t>(i) + 1);
  }
  metaTreeC stranger;
  EXPECT_EQ(index.ordinalOfNode(&stranger, 0), 0);
  EXPECT_EQ(index.ordinalOfNode(nullptr, 0), 0);
  delete order.front();
}

TEST(metaNodeIndex, CopyMarksAreFoundAndAbsentMarksAreNot) {
  std::vector<metaTreeC*> order = buildForest(60);
  // Marks in an order unlike the tree's, one mark carried twice.
  for (std::size_t i = 0; i < order.size(); i += 2)
    order[i]->setCopyMark(static_cast<std::int64_t>((i * 37) % 101) + 1000);
  order[1]->setCopyMark(order[0]->copyMark());
  metaNodeIndexC index;
  index.setRoot(order.front());
  for (std::size_t i = 2; i < order.size(); i += 2)
    EXPECT_EQ(index.nodeByMark(order[i]->copyMark(), 0), order[i]) << i;
  metaTreeC* twin = index.nodeByMark(order[0]->copyMark(), 0);
  EXPECT_TRUE(twin == order[0] || twin == order[1]);
  EXPECT_EQ(index.nodeByMark(999, 0), nullptr);
  EXPECT_EQ(index.nodeByMark(0, 0), nullptr);  // unmarked nodes are not in the mark table
  delete order.front();
}

TEST(metaNodeIndex, BuiltOnceWithoutForceRebuiltWithForceAfterEdits) {
  metaTreeC* root = real(0);
  real(1)->appendAsLastChild(root);
  metaNodeIndexC index;
  EXPECT_EQ(index.nodeByOrdinal(1, 1), nullptr);  // no root
  index.setRoot(root);
  EXPECT_EQ(index.count(), 0u);
  ASSERT_NE(index.nodeByOrdinal(2, 0), nullptr);

  metaTreeC* added = real(2);
  added->appendAsLastChild(root);
  EXPECT_EQ(index.nodeByOrdinal(3, 0), nullptr);  // kept as built
  EXPECT_EQ(index.ordinalOfNode(added, 0), 0);
  EXPECT_EQ(index.nodeByOrdinal(3, 1), added);  // force: the counter moved, so it is rebuilt
  EXPECT_EQ(index.ordinalOfNode(added, 0), 3);

  index.setRoot(root->firstChild());  // a new root starts afresh, without force
  EXPECT_EQ(index.count(), 0u);
  EXPECT_EQ(index.nodeByOrdinal(2, 0), added);
  delete root;
}

}  // namespace
