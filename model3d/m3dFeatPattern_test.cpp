#include "model3d/m3dFeatPattern.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "meta/metaObjRealList.h"
#include "model3d/m3dFeatExtrude.h"
#include "model3d/m3dPlane.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-9;

const mMat4dC kIdentity = mMat4dC::identity();

// A part with the "XY" plane, sketch "S" (one circle, frame `sketchFrame`, drawn on `sketchOn`),
// its cosmetic sketch, extruded body "B" and pattern "P1" with the given pattern sketch frame,
// reference point and point children.
treeP patternPart(const mMat4dC& sketchFrame, const std::string& sketchOn,
                  const mMat4dC& patternFrame, const std::string& ref, const std::string& points,
                  const std::string& extra = "") {
  return readTree(
      "PART { ITEMS { PLANE { NAME { \"Plane XY\" } TYP { XY } " + matText(kIdentity) + " } "
      "SKETCH { NAME { \"S\" } " + matText(sketchFrame) + " SKETCHON { " + sketchOn + " } "
      "LOOP { CIRCLE { POINT { 0 0 } RAD { 1 } } } } "
      "BASE { NAME { \"B\" } TYP { EXTRUDE } USED { \"S\" } PARAM { 5 0 0 } } "
      "FEATPATTERN { NAME { \"P1\" } FPBASEFEAT { NAME { \"B\" } POINT3D { " + ref + " } } "
      "FPSKETCH { " + matText(patternFrame) + " SKETCHON { PLANE { \"Plane XY\" } } "
      "FPSKETCHPOINTS { " + points + " } " + extra + " } } } "
      "COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } " + matText(sketchFrame) +
      " SKETCHON { PLANE { \"Plane XY\" } } } } }");
}

std::vector<std::string> itemNames(const m3dPartC& part) {
  std::vector<std::string> names;
  const m3dPartItemsC items = part.items();
  for (std::int64_t i = 0; i < items.count(); ++i)
    names.push_back(std::string(items.item(i).keyName()) + ":" + items.item(i).getName());
  return names;
}

// The axes of every item, sorted, for comparing two roads to the same segments.
std::vector<std::vector<double>> axesOf(const m3dPartC& part) {
  m3dAxisPoolC pool(3);
  const_cast<m3dPartC&>(part).collectAxisLines(kIdentity, pool, 1);
  std::vector<std::vector<double>> out;
  for (std::size_t i = 0; i < pool.size(); ++i)
    out.push_back({pool[i].start.x, pool[i].start.y, pool[i].start.z, pool[i].end.x,
                   pool[i].end.y, pool[i].end.z});
  std::sort(out.begin(), out.end());
  return out;
}

const char* kThreePoints = "POINT { 0 0 } POINT { 10 0 } POINT { 20 5 }";

TEST(m3dFeatPattern, ParallelPatternReplacesItselfByItsCopies) {
  treeP tree = patternPart(kIdentity, "PLANE { \"Plane XY\" }", kIdentity, "0 0 0", kThreePoints);
  m3dPartC part(tree.get(), 0);
  const auto axesBefore = axesOf(part);  // through the pattern's scratch expansion
  ASSERT_EQ(axesBefore.size(), 4u);

  EXPECT_EQ(expandPartPatterns(part), 1);
  const std::vector<std::string> expected = {
      "PLANE:Plane XY", "SKETCH:S", "BASE:B", "SKETCH:P1_SKETCH_1", "SKETCH:P1_SKETCH_2",
      "SKETCH:P1_SKETCH_3", "BASE:B_1", "BASE:B_2", "BASE:B_3"};
  EXPECT_EQ(itemNames(part), expected);
  const m3dPartItemsC items = part.items();
  const mVec3dC origins[3] = {{0, 0, 0}, {10, 0, 0}, {20, 5, 0}};
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const std::string sketchName = "P1_SKETCH_" + std::to_string(n);
    const m3dFeatGenC body = items.findByName(("B_" + std::to_string(n)).c_str());
    EXPECT_STREQ(body.getUsed(), sketchName.c_str());
    const m3dSketchC sketch(items.findByName(sketchName.c_str()).node(), 0);
    expectNear(origin(sketch.getMatrix()), origins[n - 1], kTol);
    EXPECT_STREQ(sketch.sketchOn().planeName(), "Plane XY");
    const m3dCosSketchC cosmetic = part.cosmeticDraws().findByName((sketchName + "_COSMETIC").c_str());
    ASSERT_TRUE(cosmetic.node());
    expectNear(origin(cosmetic.getMatrix()), origins[n - 1], kTol);
  }
  EXPECT_EQ(part.cosmeticDraws().count(), 4);
  // The expanded part yields the axes the pattern promised before.
  EXPECT_EQ(axesOf(part), axesBefore);
  // Nothing is left to expand.
  EXPECT_EQ(expandPartPatterns(part), 0);
}

TEST(m3dFeatPattern, FacePlacedSketchNeedsAParallelPattern) {
  const mMat4dC standing = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0});
  treeP tree = patternPart(kIdentity, "FACE { POINT3D { 0 0 0 } VEC3D { 0 0 1 } }", standing,
                           "0 0 0", kThreePoints);
  const std::string before = dump(tree.get());
  m3dPartC part(tree.get(), 0);
  EXPECT_EQ(expandPartPatterns(part), 0);
  EXPECT_EQ(dump(tree.get()), before);
  m3dAxisPoolC pool(3);
  EXPECT_EQ(m3dFeatGenC(part.items().childNode(3), 0).collectFeatureAxes(pool), 0);
}

TEST(m3dFeatPattern, CrossingPatternMakesOffsetPlanes) {
  // Pattern plane is the x-z plane (normal -y): its point (x, y) lies at (x, 0, y).
  const mMat4dC upright = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0});
  treeP tree = patternPart(kIdentity, "PLANE { \"Plane XY\" }", upright, "0 0 0",
                           "POINT { 0 0 } POINT { 4 3 } POINT { 0 -2 }");
  m3dPartC part(tree.get(), 0);
  ASSERT_EQ(expandPartPatterns(part), 1);
  const m3dPartItemsC items = part.items();
  struct Case { const char* plane; int reverse; double distance; mVec3dC planeOrigin, sketchOrigin; } cases[] = {
      {"Plane XYS1", 0, 0.0, {0, 0, 0}, {0, 0, 0}},
      {"Plane XYS2", 0, 3.0, {0, 0, 3}, {4, 0, 3}},
      {"Plane XYS3", 1, 2.0, {0, 0, -2}, {0, 0, -2}},
  };
  EXPECT_EQ(items.count(), 4 + 9 - 1);
  for (int i = 0; i < 3; ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(c.plane);
    const m3dPlaneC plane(items.findByName(c.plane).node(), 0);
    ASSERT_TRUE(plane.isOffsetPlane());
    EXPECT_EQ(items.childNode(3 + i), plane.node());  // the planes come first
    int reverse = -1;
    double distance = -1;
    str base;
    ASSERT_EQ(plane.readOffsetParam(reverse, distance, base), 1);
    EXPECT_EQ(reverse, c.reverse);
    EXPECT_DOUBLE_EQ(distance, c.distance);
    EXPECT_STREQ(base.text(), "Plane XY");
    expectNear(origin(plane.placement()), c.planeOrigin, kTol);
    const m3dSketchC sketch(items.findByName(("P1_SKETCH_" + std::to_string(i + 1)).c_str()).node(), 0);
    EXPECT_STREQ(sketch.sketchOn().planeName(), c.plane);
    expectNear(origin(sketch.getMatrix()), c.sketchOrigin, kTol);
    const m3dCosSketchC cosmetic =
        part.cosmeticDraws().findByName(("P1_SKETCH_" + std::to_string(i + 1) + "_COSMETIC").c_str());
    EXPECT_STREQ(cosmetic.sketchOn().planeName(), c.plane);
  }
}

TEST(m3dFeatPattern, CircularPatternTurnsEachCopyAboutItsPoint) {
  // Sketch origin and reference at (5, 0, 0); rotation centre at the origin.
  treeP tree = patternPart(translation(5, 0, 0), "PLANE { \"Plane XY\" }", kIdentity, "5 0 0",
                           "POINT { 5 0 } POINT { -5 0 } POINT { 0 5 }",
                           "FPSKETCHROTCP { 0 0 }");
  m3dPartC part(tree.get(), 0);
  ASSERT_EQ(expandPartPatterns(part), 1);
  const m3dPartItemsC items = part.items();
  struct Case { mVec3dC origin, x; } cases[] = {
      {{5, 0, 0}, {1, 0, 0}}, {{-5, 0, 0}, {-1, 0, 0}}, {{0, 5, 0}, {0, 1, 0}}};
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const m3dSketchC sketch(items.findByName(("P1_SKETCH_" + std::to_string(n)).c_str()).node(), 0);
    const mMat4dC u = sketch.getMatrix();
    expectNear(origin(u), cases[n - 1].origin, kTol);
    expectNear(axisX(u), cases[n - 1].x, kTol);
    expectNear(axisZ(u), {0, 0, 1}, kTol);
  }
}

// "KEY:NAME" of each node of the chain from `first`, in order. On the way it expects every node
// to carry `parent` and to link back to the node before it, and the chain to end there.
std::vector<std::string> chainNames(const metaTreeC* first, const metaTreeC* parent) {
  std::vector<std::string> names;
  const metaTreeC* before = nullptr;
  for (const metaTreeC* n = first; n; before = n, n = n->nextSibling()) {
    EXPECT_EQ(n->parent(), parent);
    EXPECT_EQ(n->previousSibling(), before);
    const metaObjectC view(const_cast<metaTreeC*>(n), 0);
    names.push_back(std::string(view.keyName()) + ":" + view.getAttrString("NAME"));
  }
  return names;
}

TEST(m3dFeatPattern, EveryKindPutsTheCopiesInPointOrder) {
  // Pattern plane x-z (normal -y) across the base sketch's x-y plane: every copy gets a plane.
  const mMat4dC upright = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0});
  const std::vector<std::string> planes = {"PLANE:Plane XYS1", "PLANE:Plane XYS2",
                                           "PLANE:Plane XYS3"};
  const struct Case {
    const char* kind;
    mMat4dC patternFrame;
    const char* extra;
    bool newPlanes;
  } cases[] = {{"parallel", kIdentity, "", false},
               {"crossing", upright, "", true},
               {"rotating", kIdentity, "FPSKETCHROTCP { 0 0 }", false},
               {"rotating crossing", upright, "FPSKETCHROTCP { 0 0 }", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    treeP tree = patternPart(translation(5, 0, 0), "PLANE { \"Plane XY\" }", c.patternFrame,
                             "5 0 0", "POINT { 5 0 } POINT { -5 0 } POINT { 0 5 }", c.extra);
    m3dPartC part(tree.get(), 0);
    std::vector<std::string> copies = c.newPlanes ? planes : std::vector<std::string>();
    for (const char* name : {"SKETCH:P1_SKETCH_1", "SKETCH:P1_SKETCH_2", "SKETCH:P1_SKETCH_3",
                             "BASE:B_1", "BASE:B_2", "BASE:B_3"})
      copies.push_back(name);

    // The scratch chain of the copies: planes, sketches, bodies, each in point order.
    m3dFeatPatternListsC lists;
    ASSERT_EQ(m3dFeatPatternC(part.items().childNode(3), 0).expand(part, lists), 1);
    const m3dPartItemsC chain(lists.mergeLists(nullptr, 0), 1);
    EXPECT_EQ(chainNames(chain.node(), nullptr), copies);

    // In the part they stand where the pattern stood; the cosmetic copies follow the draws'
    // own sketch.
    ASSERT_EQ(expandPartPatterns(part), 1);
    std::vector<std::string> items = {"PLANE:Plane XY", "SKETCH:S", "BASE:B"};
    items.insert(items.end(), copies.begin(), copies.end());
    EXPECT_EQ(chainNames(part.items().node()->firstChild(), part.items().node()), items);
    const std::vector<std::string> cosmetics = {
        "COSSKETCH:S_COSMETIC", "COSSKETCH:P1_SKETCH_1_COSMETIC",
        "COSSKETCH:P1_SKETCH_2_COSMETIC", "COSSKETCH:P1_SKETCH_3_COSMETIC"};
    EXPECT_EQ(chainNames(part.cosmeticDraws().node()->firstChild(), part.cosmeticDraws().node()),
              cosmetics);
  }
}

TEST(m3dFeatPattern, NoPointsLeavesThePatternInPlace) {
  treeP tree = patternPart(kIdentity, "PLANE { \"Plane XY\" }", kIdentity, "0 0 0", "");
  m3dPartC part(tree.get(), 0);
  const std::string before = dump(tree.get());
  m3dFeatPatternC pattern(part.items().childNode(3), 0);
  m3dFeatPatternListsC lists;
  EXPECT_EQ(pattern.expand(part, lists), 1);
  EXPECT_EQ(lists.list(m3dFeatPatternListsC::sketches)->firstChild(), nullptr);
  EXPECT_EQ(pattern.expandIntoPart(), 1);
  EXPECT_EQ(dump(tree.get()), before);
}

TEST(m3dFeatPattern, PatternOfAPatternIsRefused) {
  // The base feature names the pattern itself: expanding it would never end.
  treeP tree = readTree(
      "PART { ITEMS { FEATPATTERN { NAME { \"P\" } USED { \"P\" } FPBASEFEAT { NAME { \"P\" } } "
      "FPSKETCH { FPSKETCHPOINTS { POINT { 0 0 } } } } } }");
  m3dPartC part(tree.get(), 0);
  EXPECT_EQ(expandPartPatterns(part), 0);
  m3dAxisPoolC pool(3);
  part.collectAxisLines(kIdentity, pool, 1);
  EXPECT_EQ(pool.size(), 0u);
}

TEST(m3dFeatPattern, ScaleReachesReferencePointAndPatternPoints) {
  treeP tree = patternPart(kIdentity, "PLANE { \"Plane XY\" }", translation(1, 1, 1), "1 2 3",
                           "POINT { 4 5 }", "FPSKETCHROTCP { 6 7 }");
  m3dPartC part(tree.get(), 0);
  EXPECT_EQ(part.scaleGeometry(2.0), 1);
  const m3dFeatPatternC pattern(part.items().childNode(3), 0);
  expectNear(pattern.baseFeature().referencePoint(), {2, 4, 6}, kTol);
  const m3dFeatPatternSketchC sketch = pattern.patternSketch();
  expectNear(origin(sketch.getMatrix()), {2, 2, 2}, kTol);
  const mVec2dC c = sketch.rotationCentre();
  EXPECT_DOUBLE_EQ(c.x, 12.0);
  EXPECT_DOUBLE_EQ(c.y, 14.0);
  const realArrayC p = metaObjRealListC(sketch.pointsNode()->firstChild(), 0).getReals();
  EXPECT_DOUBLE_EQ(p.at(0), 8.0);
  EXPECT_DOUBLE_EQ(p.at(1), 10.0);
  EXPECT_DOUBLE_EQ(m3dFeatExtrudeC(part.items().childNode(2), 0).depth(), 10.0);
}

TEST(m3dFeatPattern, ViewCosmeticsComeFromTheExpandedCopy) {
  treeP tree = patternPart(kIdentity, "PLANE { \"Plane XY\" }", kIdentity, "0 0 0", kThreePoints);
  const std::string before = dump(tree.get());
  treeP out = readTree("OUT { }");
  m3dPartC part(tree.get(), 0);
  EXPECT_NE(part.collectViewCosmetics(kIdentity, metaObjectC(out.get(), 0)), 0);
  EXPECT_EQ(dump(tree.get()), before);
  EXPECT_EQ(out->childCount(), 4);
}

}  // namespace
