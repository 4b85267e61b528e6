#include "model3d/m3dPartItems.h"

#include <gtest/gtest.h>

#include "meta/mBaseShape2d.h"
#include "model3d/m3dFeatBody.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dSketch.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

treeP threeItems() {
  return readTree(
      "PART { ITEMS { SKETCH { NAME { \"S\" } } BASE { NAME { \"dup\" } USED { \"S\" } } "
      "CUT { NAME { \"dup\" } USED { \"T\" } } } }");
}

TEST(m3dPartItems, SearchesByNameAndByUsedSketch) {
  treeP part = threeItems();
  const m3dPartItemsC items = m3dPartC(part.get(), 0).items();
  EXPECT_TRUE(items.findByName("dup").hasKey("BASE"));  // the first of two
  EXPECT_FALSE(items.findByName("none").node());
  EXPECT_TRUE(items.findBodyUsing("T").hasKey("CUT"));
  EXPECT_FALSE(items.findBodyUsing("X").node());
  EXPECT_EQ(items.part().node(), part.get());
  const m3dFeatGenC body = items.findByName("dup");
  EXPECT_EQ(body.partItems().node(), items.node());
  EXPECT_TRUE(body.usedSketch().node());
  EXPECT_FALSE(m3dFeatGenC(items.findBodyUsing("T").node(), 0).usedSketch().node());
  EXPECT_FALSE(m3dPartItemsC().findByName("dup").node());
}

TEST(m3dPartItems, ItemByKeyWord) {
  treeP part = threeItems();
  const m3dPartItemsC items = m3dPartC(part.get(), 0).items();
  const m3dFeatGenC body = items.node("BASE");
  EXPECT_EQ(body.node(), items.childNode(1));
  EXPECT_FALSE(body.ownsItsNode());
  EXPECT_EQ(items.node("CUT").node(), items.childNode(2));
  EXPECT_FALSE(items.node("PLANE").isBound());
  EXPECT_FALSE(m3dPartItemsC().node("BASE").isBound());
  EXPECT_EQ(items.node()->parent(), part.get());  // the list's own node stays reachable
}

TEST(m3dFeatGen, PlacementIsTheMatChild) {
  // Sixteen reals column by column: the translation (7, 8, 9) sits in elements 12-14.
  treeP item = readTree("BASE { MAT { 0 1 0 0 -1 0 0 0 0 0 1 0 7 8 9 1 } }");
  const m3dFeatGenC feature(item.get(), 0);
  const double expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(feature.getMatrix().m[i], expected[i]) << i;

  mMat4dC moved = mMat4dC::identity();
  moved.m[12] = -2.5;
  feature.setMatrix(moved);
  EXPECT_EQ(dump(item.get()), "BASE { MAT { 1 0 0 0 0 1 0 0 0 0 1 0 -2.5 0 0 1 } }");

  // A list of another length reads as the identity; a sketch item answers through either base.
  treeP sketch = readTree("SKETCH { MAT { 1 2 3 } }");
  const m3dSketchC view(sketch.get(), 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(view.getMatrix().m[i], (i % 5 == 0) ? 1.0 : 0.0) << i;
  view.setMatrix(moved);
  EXPECT_EQ(static_cast<const m3dFeatGenC&>(view).getMatrix().m[12], -2.5);
}

TEST(m3dPartItems, InsertPlacesCopiesAndMovesNodes) {
  treeP part = threeItems();
  const m3dPartItemsC items = m3dPartC(part.get(), 0).items();
  metaTreeC* sketch = items.childNode(0);
  metaTreeC* cut = items.childNode(2);

  treeP plane = readTree("PLANE { NAME { \"P\" } }");
  m3dFeatGenC planeView(plane.get(), 0);
  metaTreeC* copy = items.insert(planeView, 1, cut, nullptr);
  ASSERT_TRUE(copy);
  EXPECT_NE(copy, plane.get());
  EXPECT_EQ(items.childNode(2), copy);

  m3dFeatGenC owned(metaTreeC::createKeyNode("PLANE"), 1);
  metaTreeC* moved = items.insert(owned, 0, nullptr, sketch);
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved, items.childNode(1));
  EXPECT_FALSE(owned.ownsItsNode());  // the list owns it now: no double delete

  m3dFeatGenC last(metaTreeC::createKeyNode("BASE"), 1);
  metaTreeC* appended = items.insert(last, 0, nullptr, nullptr);
  EXPECT_EQ(appended, items.childNode(5));

  // Moving an item within the list.
  m3dFeatGenC cutView(cut, 0);
  metaTreeC* first = items.insert(cutView, 0, sketch, nullptr);
  EXPECT_EQ(first, cut);
  EXPECT_EQ(items.childNode(0), cut);
  EXPECT_EQ(items.childCount(), 6);

  // Refusals: unbound feature, a place outside the list, the list's own ancestor.
  m3dFeatGenC none;
  EXPECT_FALSE(items.insert(none, 1, nullptr, nullptr));
  EXPECT_FALSE(items.insert(planeView, 1, plane.get(), nullptr));
  m3dFeatGenC partView(part.get(), 0);
  EXPECT_FALSE(items.insert(partView, 0, nullptr, nullptr));
  EXPECT_EQ(items.childCount(), 6);
}

TEST(m3dPartItems, SketchMeasuresOverSketchItemsOnly) {
  treeP part = readTree(
      "PART { ITEMS { "
      "SKETCH { LOOP { LINE { POINT { 0 0 } POINT { 3 0 } } LINE { POINT { 3 0 } POINT { 3 4 } } } } "
      "BASE { LOOP { LINE { POINT { 0 0 } POINT { 0.5 0 } } } } "
      "SKETCH { LOOP { LINE { POINT { 0 0 } POINT { 2 0 } } } } } }");
  const m3dPartC view(part.get(), 0);
  mBaseShape2dC shortest;
  EXPECT_DOUBLE_EQ(view.minSketchMeasure(&shortest), 2.0);
  ASSERT_TRUE(shortest.node());
  EXPECT_EQ(shortest.node()->parent()->parent(), view.items().childNode(2));
  EXPECT_DOUBLE_EQ(view.minSketchMeasure(nullptr), 2.0);

  treeP empty = readTree("PART { ITEMS { } }");
  EXPECT_DOUBLE_EQ(m3dPartC(empty.get(), 0).minSketchMeasure(nullptr), 0.0);
  treeP noSketch = readTree("PART { ITEMS { BASE { } } }");
  EXPECT_DOUBLE_EQ(m3dPartC(noSketch.get(), 0).minSketchMeasure(nullptr), 1e8);
  EXPECT_EQ(m3dPartC(noSketch.get(), 0).sumSketchGaps(10.0), 0);
}

}  // namespace

namespace {

TEST(m3dFeatGen, UsedCosmeticThreadsComeFromTheSketchsCosmetic) {
  treeP part = readTree(
      "PART { ITEMS { SKETCH { NAME { \"S\" } CENTER { POINT { 0 0 } POINT { 20 0 } } "
      "LOOP { LINE { POINT { 0 5 } POINT { 20 5 } } } } "
      "BASE { NAME { \"B\" } TYP { ROTATE } USED { \"S\" } } BASE { USED { \"none\" } } } "
      "COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } CENTER { POINT { 0 0 } POINT { 20 0 } } "
      "COSSHAPES { LINE { POINT { 0 4 } POINT { 20 4 } } LINE { POINT { 0 -4 } POINT { 20 -4 } } } } } }");
  const m3dPartItemsC items = m3dPartC(part.get(), 0).items();
  m3dThreadPoolC pool(3);
  items.findByName("B").usedCosmeticThreads(pool);
  ASSERT_EQ(pool.size(), 1u);
  EXPECT_DOUBLE_EQ(pool[0].length, 20.0);
  EXPECT_DOUBLE_EQ(pool[0].width, 8.0);
  EXPECT_DOUBLE_EQ(pool[0].bodyDiameter, 10.0);

  m3dFeatGenC(items.childNode(2), 0).usedCosmeticThreads(pool);
  EXPECT_EQ(pool.size(), 0u);
  treeP loose = readTree("BASE { USED { \"S\" } }");
  m3dFeatGenC(loose.get(), 0).usedCosmeticThreads(pool);
  EXPECT_EQ(pool.size(), 0u);
}

}  // namespace
