#include "meta/metaObjListContainer.h"

#include <cstdint>
#include <cstdio>

#include <gtest/gtest.h>

#include "meta/metaObjKeyContainer.h"
#include "meta/metaObjPointList.h"
#include "meta/metaObjRealList.h"
#include "meta/metaObjReal.h"
#include "meta/metaObjString.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;
using metatesting::parseTree;

TEST(metaObjListContainer, IndexedChildrenWithTexts) {
  metaObjListContainerC list(parseTree("L { A \"s\" 2.5 B }"), 1);
  EXPECT_EQ(list.childCount(), 4);
  int found = 0;
  EXPECT_STREQ(list.childTextAt(0, &found), "A");
  EXPECT_EQ(found, 1);
  EXPECT_STREQ(list.childTextAt(1, &found), "s");
  EXPECT_STREQ(list.childTextAt(2, &found), "");
  EXPECT_EQ(found, 0);
  EXPECT_EQ(list.childAt(2, &found).node()->value().getReal(), 2.5);
  EXPECT_FALSE(list.childAt(4, &found).isBound());
  EXPECT_EQ(found, 0);
  EXPECT_EQ(list.childNode(-1), nullptr);
  EXPECT_EQ(list.indexOfChild(list.childNode(3)), 3);
  EXPECT_EQ(list.indexOfChild(list.node()), -1);
}

TEST(metaObjListContainer, CachedCountFollowsEditsElsewhere) {
  metaTreeC* tree = parseTree("L { A B }");
  metaObjListContainerC list(tree, 1);
  EXPECT_EQ(list.childCount(), 2);
  metaObjectC other(tree, 0);  // a second view edits the same node
  other.findOrAddChild("C");
  EXPECT_EQ(list.childCount(), 3);
  EXPECT_STREQ(list.childTextAt(1), "B");
  metaTreeC* b = tree->firstChild()->nextSibling();
  b->unlink();
  delete b;
  EXPECT_EQ(list.childCount(), 2);
  EXPECT_STREQ(list.childTextAt(1), "C");
}

TEST(metaObjListContainer, RebindingTheViewDropsTheCache) {
  metaTreeC* first = parseTree("L { A B C }");
  metaTreeC* second = parseTree("M { X }");
  metaObjListContainerC list(first, 1);
  EXPECT_EQ(list.childCount(), 3);
  list.reset(second, 1);  // no edit moves the tree counter here
  EXPECT_EQ(list.childCount(), 1);
  EXPECT_STREQ(list.childTextAt(0), "X");
}

TEST(metaObjKeyContainer, CountsAndFindsByKeyAndKeepsKeysApart) {
  metaObjKeyContainerC keys(parseTree("F { P P Q \"P\" P }"), 1);
  EXPECT_EQ(keys.countByKey("P"), 3);  // the string "P" is no key
  EXPECT_EQ(keys.countByKey("Q"), 1);  // a different key is not answered from P's cache
  EXPECT_EQ(keys.childByKey("P", 2), keys.childAt(4));
  EXPECT_EQ(keys.childByKey("P", 3), nullptr);
  EXPECT_EQ(keys.childByKey("Q", 0), keys.childAt(2));
  EXPECT_EQ(keys.countByKey(nullptr), 0);
}

// The cache keeps its own copy of the key asked for, long keys too: a caller's buffer that now
// holds another key gets that key's answer.
TEST(metaObjKeyContainer, KeyAskedInAReusedBufferIsAnsweredAfresh) {
  metaObjKeyContainerC keys(
      parseTree("F { A_RATHER_LONG_KEY_WORD_NAME P A_RATHER_LONG_KEY_WORD_NAME Q }"), 1);
  char buffer[40] = "A_RATHER_LONG_KEY_WORD_NAME";
  EXPECT_EQ(keys.countByKey(buffer), 2);
  EXPECT_EQ(keys.childByKey(buffer, 1), keys.childAt(2));
  std::snprintf(buffer, sizeof buffer, "Q");
  EXPECT_EQ(keys.countByKey(buffer), 1);
  EXPECT_EQ(keys.childByKey(buffer, 0), keys.childAt(3));
  std::snprintf(buffer, sizeof buffer, "A_RATHER_LONG_KEY_WORD_NAMF");
  EXPECT_EQ(keys.countByKey(buffer), 0);
}

TEST(metaObjPointList, PointMakesThePointsUpToN) {
  metaObjPointListC line(parseTree("LINE"), 1);
  metaObjPoint2dC end = line.point(1);
  EXPECT_EQ(dumpTree(line.node()), "LINE { POINT POINT }");
  EXPECT_EQ(line.count(), 2);
  end.setPoint(mVec2dC(3, 4));
  line.point(0).setPoint(mVec2dC(1, 2));
  EXPECT_EQ(dumpTree(line.node()), "LINE { POINT { 1 2 } POINT { 3 4 } }");
  line.point(1);
  EXPECT_EQ(line.count(), 2);  // nothing added for a point that exists
  int found = 0;
  const mVec2dC p = line.item(1).point(&found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(p.x, 3);
  EXPECT_EQ(p.y, 4);
  EXPECT_FALSE(line.point(-1).isBound());
}

// The one-walk point lookup of the shapes: other keys and a string "POINT" are passed over, and
// missing points are appended at the end, one counter move each, as point(n) does.
TEST(metaObjPointList, PointNodesFindTheFirstPointsAndAppendTheMissingOnes) {
  struct Case {
    const char* tree;
    int count;
    const char* after;
    std::uint32_t moves;
  } cases[] = {
      {"S", 2, "S { POINT POINT }", 2},
      {"S { A POINT { 1 2 } \"POINT\" B }", 3, "S { A POINT { 1 2 } \"POINT\" B POINT POINT }", 2},
      {"S { POINT { 1 } X POINT { 2 } POINT { 3 } POINT { 4 } }", 3,
       "S { POINT { 1 } X POINT { 2 } POINT { 3 } POINT { 4 } }", 0},
  };
  for (const Case& c : cases) {
    metaObjPointListC list(parseTree(c.tree), 1);
    const std::uint32_t before = metaTreeC::generation();
    metaTreeC* nodes[3] = {};
    metaObjPointListC::pointNodes(list.node(), c.count, nodes);
    EXPECT_EQ(dumpTree(list.node()), c.after) << c.tree;
    EXPECT_EQ(metaTreeC::generation() - before, c.moves) << c.tree;
    for (int i = 0; i < c.count; ++i) EXPECT_EQ(nodes[i], list.itemNode(i)) << c.tree << " " << i;
    EXPECT_EQ(metaObjPointListC::pointNode(list.node(), c.count - 1), list.itemNode(c.count - 1));
  }
  EXPECT_EQ(metaObjPointListC::pointNode(nullptr, 0), nullptr);
  metaObjPointListC list(parseTree("S"), 1);
  EXPECT_EQ(metaObjPointListC::pointNode(list.node(), -1), nullptr);
  EXPECT_EQ(dumpTree(list.node()), "S");
}

// The vector of a node no view holds answers as the view does.
TEST(metaObjRealList, VectorOfANodeNeedsExactlyTwoChildren) {
  struct Case {
    const char* tree;
    int found;
    double x, y;
  } cases[] = {
      {"P", 0, 0, 0},          {"P { 1 }", 0, 0, 0}, {"P { 1 2 }", 1, 1, 2},
      {"P { 1 2 3 }", 0, 0, 0}, {"P { \"x\" 2 }", 1, 0, 2},
  };
  for (const Case& c : cases) {
    metaObjRealListC list(parseTree(c.tree), 1);
    int found = -1;
    const mVec2dC v = metaObjRealListC::vector2dOf(list.node(), &found);
    EXPECT_EQ(found, c.found) << c.tree;
    EXPECT_EQ(v.x, c.x) << c.tree;
    EXPECT_EQ(v.y, c.y) << c.tree;
    EXPECT_EQ(list.vector2d(&found).y, c.y) << c.tree;
    EXPECT_EQ(found, c.found) << c.tree;
  }
  int found = -1;
  metaObjRealListC::vector2dOf(nullptr, &found);
  EXPECT_EQ(found, 0);
}

TEST(metaObjRealList, ReadsWritesAndScalesReals) {
  metaObjRealListC list(parseTree("V { 1 \"x\" 3 }"), 1);
  realArrayC values = list.getReals();
  ASSERT_EQ(values.count(), 3);
  EXPECT_EQ(values.at(0), 1.0);
  EXPECT_EQ(values.at(1), 0.0);  // not a real
  int found = 1;
  list.vector2d(&found);
  EXPECT_EQ(found, 0);
  const mVec3dC v3 = list.vector3d(&found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(v3.z, 3.0);

  list.scale(2.0);
  EXPECT_EQ(dumpTree(list.node()), "V { 2 \"x\" 6 }");

  list.setVector2d(mVec2dC(5, -1));
  EXPECT_EQ(dumpTree(list.node()), "V { 5 -1 }");
  const mVec2dC v2 = list.vector2d(&found);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(v2.y, -1.0);

  const mMat4dC identity = list.matrix4d(&found);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(identity.m[15], 1.0);
  mMat4dC m;
  for (int i = 0; i < 16; ++i) m.m[i] = i;
  list.setMatrix4d(m);
  const mMat4dC back = list.matrix4d(&found);
  EXPECT_EQ(found, 1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(back.m[i], i);

  list.setReals(nullptr, 0);
  EXPECT_EQ(list.childCount(), 0);
}

TEST(metaObjTypedValues, RealAndStringViews) {
  metaObjRealC r(parseTree("R { 1.25 }"), 1);
  EXPECT_EQ(r.value(), 1.25);
  r.setValue(-3);
  EXPECT_EQ(dumpTree(r.node()), "R { -3 }");
  metaObjStringC s(parseTree("S"), 1);
  s.setValue("abc");
  EXPECT_STREQ(s.value(), "abc");
}

}  // namespace
