#include "model3d/m3dPart.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "model3d/m3dCosSketchRet.h"
#include "model3d/m3dFeatGen.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestAxesFeature.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-12;

const mMat4dC kUprightFrame = frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0});

std::string cosSketch(const char* name, const mMat4dC& m, const char* center) {
  return std::string("COSSKETCH { NAME { \"") + name + "\" } " + matText(m) + " " + center + " }";
}

TEST(m3dPart, ScaleMovesConnectionOriginsButNotTheirAxes) {
  const mMat4dC placed = frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {1, 2, 3});
  treeP part = readTree("PART { CONNECT { CONNPOINT { NAME { \"c\" } " + matText(placed) + " } } }");
  m3dPartC view(part.get(), 0);
  const std::string before = dump(part.get());
  EXPECT_EQ(view.scaleGeometry(1.0), 1);
  EXPECT_EQ(dump(part.get()), before);

  EXPECT_EQ(view.scaleGeometry(2.0), 1);
  const mMat4dC m = view.connections().findByName("c").getMatrix();
  expectNear(origin(m), {2, 4, 6}, kTol);
  expectNear(axisX(m), {0, 1, 0}, kTol);
  expectNear(axisY(m), {-1, 0, 0}, kTol);
}

TEST(m3dPart, MirroringTransformLeavesConnectionFramesRightHanded) {
  treeP part = readTree("PART { CONNECT { CONNPOINT { NAME { \"c\" } " +
                        matText(frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3})) + " } } }");
  mMat4dC mirror = frame({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {10, 0, 0});  // x mirrored, shifted
  EXPECT_EQ(m3dPartC(part.get(), 0).transformGeometry(mirror), 1);
  const mMat4dC m = m3dPartC(part.get(), 0).connections().findByName("c").getMatrix();
  EXPECT_FALSE(isLeftHanded(m));
  expectNear(axisX(m), {-1, 0, 0}, kTol);  // from the product
  expectNear(axisY(m), {0, -1, 0}, kTol);  // negated
  expectNear(axisZ(m), {0, 0, 1}, kTol);
  expectNear(origin(m), {9, 2, 3}, kTol);
}

TEST(m3dPart, ViewCosmeticsFaceTheView) {
  // View along +z. Sketches: facing away (z = -z), standing upright with an axis across the
  // view, standing with an axis along the view, standing without an axis.
  const mMat4dC facing = frame({1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {1, 1, 1});
  const mMat4dC standing = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 5, 0});
  const std::string text =
      "PART { PARTNR { 7 } COSDRAW { " + cosSketch("facing", facing, "") + " " +
      cosSketch("across", standing, "CENTER { POINT { 0 0 } POINT { 4 0 } }") + " " +
      cosSketch("along", standing, "CENTER { POINT { 0 0 } POINT { 0 4 } }") + " " +
      cosSketch("bare", standing, "") + " } }";
  treeP part = readTree(text);
  treeP out = readTree("OUT { }");
  const std::string before = dump(part.get());
  EXPECT_NE(m3dPartC(part.get(), 0).collectViewCosmetics(kUprightFrame, metaObjectC(out.get(), 0)), 0);
  EXPECT_EQ(dump(part.get()), before);

  ASSERT_EQ(out->childCount(), 2);
  const m3dCosSketchRetC first(out->firstChild(), 0);
  EXPECT_STREQ(first.getName(), "facing");
  EXPECT_EQ(first.ownerPartNumber(), 7);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(first.getMatrix().m[i], facing.m[i]);

  const m3dCosSketchRetC second(out->firstChild()->nextSibling(), 0);
  EXPECT_STREQ(second.getName(), "across");
  EXPECT_EQ(second.ownerPartNumber(), 7);
  const mMat4dC turned = second.getMatrix();
  // Turned by acos(z . v) = +90 degrees about the axis, +x through (0, 5, 0): Y = (0, 0, 1) goes
  // to (0, -1, 0), Z = (0, -1, 0) to (0, 0, -1), which faces the view; the origin lies on the
  // axis and stays.
  const mMat4dC expected = frame({1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 5, 0});
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(turned.m[i], expected.m[i], 1e-12) << i;
}

TEST(m3dPart, CosmeticsAtARightAngleTurnByThePositiveAngleWhicheverWayTheirAxisIsDrawn) {
  // View along +z; the sketch stands upright: X = (1, 0, 0), Y = (0, 0, 1), Z = (0, -1, 0),
  // origin (0, 5, 0), so z . v = 0 and the turn is acos(0) = +90 degrees about the axis line,
  // which lies at sketch y = 2, through the model points (0, 5, 2) and (4, 5, 2).
  // Drawn forward, p0 = (0, 5, 2), c = +x; +90 about +x maps (x, y, z) to (x, -z, y):
  //   Y -> (0, -1, 0), Z -> (0, 0, -1) (along -v: faces), origin p0 + R (0, 0, -2) = (0, 7, 2).
  // Drawn backward, p0 = (4, 5, 2), c = -x; +90 about -x maps (x, y, z) to (x, z, -y):
  //   Y -> (0, 1, 0), Z -> (0, 0, 1) (along +v: faces), origin p0 + R (-4, 0, -2) = (0, 3, 2).
  const mMat4dC standing = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 5, 0});
  struct Case {
    const char* center;
    mMat4dC expected;
  } cases[] = {
      {"CENTER { POINT { 0 2 } POINT { 4 2 } }",
       frame({1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 7, 2})},
      {"CENTER { POINT { 4 2 } POINT { 0 2 } }", frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 3, 2})},
  };
  for (const Case& c : cases) {
    treeP part =
        readTree("PART { PARTNR { 3 } COSDRAW { " + cosSketch("s", standing, c.center) + " } }");
    treeP out = readTree("OUT { }");
    m3dPartC(part.get(), 0).collectViewCosmetics(kUprightFrame, metaObjectC(out.get(), 0));
    ASSERT_EQ(out->childCount(), 1) << c.center;
    const mMat4dC turned = m3dCosSketchC(out->firstChild(), 0).getMatrix();
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(turned.m[i], c.expected.m[i], 1e-12) << c.center << " " << i;
  }
}

TEST(m3dPart, TiltedCosmeticsTurnOntoTheViewWhicheverWayTheirAxisIsDrawn) {
  // View along +z. The sketch's x axis runs along the model's x; its plane is tilted by t about
  // that axis: Y = (0, cos t, sin t), Z = X x Y = (0, -sin t, cos t), so z . v = cos t. Its
  // axis line lies at sketch y = 2, drawn from x = 0 to x = 4 or back, through the model point
  // p0 = (x0, 5 + 2 cos t, 2 sin t). The turn is acos(z . v) = +t about the drawn axis: drawn
  // backward (c = -x) that is -t about +x, which faces the view; drawn forward (c = +x) it would
  // leave Z at (0, -sin 2t, cos 2t), not facing, so the opposite turn, again -t about +x, is
  // taken. Turning about that line by -t (about +x) brings Y onto (0, 1, 0) and Z onto
  // (0, 0, 1); the origin, 2 along -Y from the line, lands at (0, 5 + 2 cos t - 2, 2 sin t).
  const char* forward = "CENTER { POINT { 0 2 } POINT { 4 2 } }";
  const char* backward = "CENTER { POINT { 4 2 } POINT { 0 2 } }";
  struct Case {
    double tilt;
    const char* center;
  } cases[] = {{30, forward}, {30, backward}, {60, forward},
               {60, backward}, {120, forward}, {120, backward}};
  for (const Case& c : cases) {
    const double t = c.tilt * 3.141592653589793 / 180.0;
    const mMat4dC tilted =
        frame({1, 0, 0}, {0, std::cos(t), std::sin(t)}, {0, -std::sin(t), std::cos(t)}, {0, 5, 0});
    treeP part =
        readTree("PART { PARTNR { 2 } COSDRAW { " + cosSketch("s", tilted, c.center) + " } }");
    treeP out = readTree("OUT { }");
    m3dPartC(part.get(), 0).collectViewCosmetics(kUprightFrame, metaObjectC(out.get(), 0));
    ASSERT_EQ(out->childCount(), 1) << c.tilt << " " << c.center;
    const mMat4dC turned = m3dCosSketchC(out->firstChild(), 0).getMatrix();
    const mMat4dC expected =
        frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 3 + 2 * std::cos(t), 2 * std::sin(t)});
    for (int i = 0; i < 16; ++i)
      EXPECT_NEAR(turned.m[i], expected.m[i], 1e-12) << c.tilt << " " << c.center << " " << i;
  }
}

TEST(m3dPart, CosmeticsOfAPatternedPartComeFromAnExpandedCopy) {
  treeP part = readTree("PART { ITEMS { FEATPATTERN { NAME { \"p\" } } } COSDRAW { " +
                        cosSketch("own", kUprightFrame, "") + " } }");
  const std::string before = dump(part.get());
  // Without an expander the copy's own cosmetics are taken; the operation ends.
  m3dPartC::setPatternExpander(nullptr);
  treeP out = readTree("OUT { }");
  m3dPartC(part.get(), 0).collectViewCosmetics(kUprightFrame, metaObjectC(out.get(), 0));
  EXPECT_EQ(out->childCount(), 1);

  // The expander works on the copy: what it adds reaches the output, the part stays as it was.
  m3dPartC::setPatternExpander([](m3dDocumentC& copy) {
    metaTreeC* items = copy.findChild("ITEMS");
    metaTreeC* pattern = items->firstChild();
    pattern->unlink();
    delete pattern;
    treeP added = readTree(cosSketch("expanded", kUprightFrame, ""));
    metaObjectVirtualDataBaseC(copy.findChild("COSDRAW"), 0).appendChild(added.release(), 0);
    return 1;
  });
  treeP out2 = readTree("OUT { }");
  m3dPartC(part.get(), 0).collectViewCosmetics(kUprightFrame, metaObjectC(out2.get(), 0));
  m3dPartC::setPatternExpander(nullptr);
  EXPECT_EQ(dump(part.get()), before);
  ASSERT_EQ(out2->childCount(), 2);
  EXPECT_STREQ(m3dCosSketchC(out2->firstChild()->nextSibling(), 0).getName(), "expanded");
}

TEST(m3dPart, AxisLinesAcrossTheViewCarryThePartNumber) {
  // One segment along the view direction (z), one across it (x), one skew.
  treeP part = readTree(
      "PART { PARTNR { 4 } ITEMS { SKETCH { } TESTAXES { SEGS { 0 0 0 0 0 5 1 2 3 6 2 3 } } "
      "TESTAXES { SEGS { 0 0 0 1 0 1 } } } }");
  m3dAxisPoolC pool(3);
  m3dPartC(part.get(), 0).collectAxisLines(kUprightFrame, pool, 0);
  ASSERT_EQ(pool.size(), 1u);
  expectNear(pool[0].start, {1, 2, 3}, kTol);
  expectNear(pool[0].end, {6, 2, 3}, kTol);
  EXPECT_EQ(pool[0].tag, 4);

  m3dAxisPoolC all(3);
  m3dPartC(part.get(), 0).collectAxisLines(kUprightFrame, all, 1);
  ASSERT_EQ(all.size(), 3u);
  for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].tag, 4);
  expectNear(all[0].end, {0, 0, 5}, kTol);
}

TEST(m3dPart, CosmeticSketchOfASketchAndNegativeParts) {
  treeP part = readTree(
      "PART { MTYP { NEG } ITEMS { SKETCH { NAME { \"S1\" } } BASE { NAME { \"S1\" } } } COSDRAW { "
      "COSSKETCH { NAME { \"S1\" } } COSSKETCH { NAME { \"S1_COSMETIC\" } } } }");
  m3dPartC view(part.get(), 0);
  EXPECT_TRUE(view.isNegative());
  metaTreeC* sketch = view.findChild("ITEMS")->firstChild();
  const m3dCosSketchC found = view.cosmeticSketchOf(metaObjectC(sketch, 0));
  ASSERT_TRUE(found.isBound());
  EXPECT_EQ(found.node(), view.findChild("COSDRAW")->firstChild()->nextSibling());
  EXPECT_FALSE(view.cosmeticSketchOf(metaObjectC(sketch->nextSibling(), 0)).isBound());

  treeP plain = readTree("PART { MTYP { POS } }");
  EXPECT_FALSE(m3dPartC(plain.get(), 0).isNegative());
}

}  // namespace
