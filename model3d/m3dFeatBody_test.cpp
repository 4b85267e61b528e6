#include "model3d/m3dFeatBody.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "model3d/m3dFeatExtrude.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dPartItems.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-9;

std::string circle(double x, double y, double r) {
  return "LOOP { CIRCLE { POINT { " + std::to_string(x) + " " + std::to_string(y) + " } RAD { " +
         std::to_string(r) + " } } }";
}
const char* kSquare =
    "LOOP { LINE { POINT { 0 0 } POINT { 20 0 } } LINE { POINT { 20 0 } POINT { 20 20 } } "
    "LINE { POINT { 20 20 } POINT { 0 20 } } LINE { POINT { 0 20 } POINT { 0 0 } } }";

// A part with one sketch "S" (frame `m`, the given loops and extra children) and one body.
treeP partWith(const std::string& body, const std::string& loops, const mMat4dC& m,
               const std::string& extra = "") {
  return readTree("PART { ITEMS { SKETCH { NAME { \"S\" } " + matText(m) + " " + loops + " " +
                  extra + " } " + body + " } }");
}

m3dFeatGenC lastItem(const treeP& part) {
  metaTreeC* items = m3dPartC(part.get(), 0).items().node();
  return m3dFeatGenC(items->firstChild()->lastSibling(), 0);
}

int collect(const treeP& part, m3dAxisPoolC& pool) { return lastItem(part).collectFeatureAxes(pool); }

TEST(m3dFeatBody, ExtrusionAxesFollowTheDirectionMode) {
  // Sketch on a tilted frame: the normal is +x, the sketch origin (5, 0, 0).
  const mMat4dC tilted = frame({0, 1, 0}, {0, 0, 1}, {1, 0, 0}, {5, 0, 0});
  struct Case { const char* param; mVec3dC start, end; } cases[] = {
      {"10 0 0", {5, 1, 2}, {15, 1, 2}},
      {"10 1 0", {5, 1, 2}, {-5, 1, 2}},
      {"10 0 1", {-5, 1, 2}, {15, 1, 2}},
      {"10 1 1", {-5, 1, 2}, {15, 1, 2}},  // symmetric wins over reverse
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.param);
    treeP part = partWith(std::string("BASE { NAME { \"B\" } TYP { EXTRUDE } USED { \"S\" } PARAM { ") +
                              c.param + " } }", circle(1, 2, 3), tilted);
    m3dAxisPoolC pool(3);
    ASSERT_EQ(collect(part, pool), 1);
    expectNear(pool[0].start, c.start, kTol);
    expectNear(pool[0].end, c.end, kTol);
    EXPECT_EQ(pool[0].tag, 0);
  }
}

TEST(m3dFeatBody, CutSkipsItsOuterBoundaryOnly) {
  const mMat4dC xy = mMat4dC::identity();
  struct Case { std::string key, loops; int expected; } cases[] = {
      {"CUT", std::string(kSquare) + circle(5, 5, 1) + circle(15, 15, 1), 2},
      {"CUT", circle(5, 5, 1), 1},
      {"BASE", circle(5, 5, 1) + circle(15, 15, 1), 2},  // a base body has no outer boundary rule
      {"BASE", kSquare, 0},
      {"BASE", "LOOP { CIRCLE { POINT { 0 0 } RAD { 1 } } CIRCLE { POINT { 0 0 } RAD { 2 } } }", 0},
      {"BASE", "LOOP { LINE { POINT { 0 0 } POINT { 1 0 } } }", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key + " " + c.loops);
    treeP part = partWith(c.key + " { NAME { \"B\" } TYP { EXTRUDE } USED { \"S\" } PARAM { 4 0 0 } }",
                          c.loops, xy);
    m3dAxisPoolC pool(3);
    EXPECT_EQ(collect(part, pool), c.expected);
  }
}

TEST(m3dFeatBody, ExtrusionWithoutItsSketchYieldsNothing) {
  treeP part = partWith("BASE { TYP { EXTRUDE } USED { \"missing\" } PARAM { 4 0 0 } }",
                        circle(0, 0, 1), mMat4dC::identity());
  m3dAxisPoolC pool(3);
  EXPECT_EQ(collect(part, pool), 0);
}

TEST(m3dFeatBody, RevolutionAxisSpansTheSketchAlongItsAxisLine) {
  // A 20 x 20 square turned about the line x = 0, on a frame shifted to (0, 0, 7).
  const mMat4dC shifted = translation(0, 0, 7);
  treeP part = partWith("BASE { TYP { ROTATE } USED { \"S\" } }", kSquare, shifted,
                        "CENTER { POINT { 0 -5 } POINT { 0 30 } }");
  m3dAxisPoolC pool(3);
  ASSERT_EQ(collect(part, pool), 1);
  // Independent: the box's extent along the axis direction is y from 0 to 20 at x = 0.
  const double y0 = std::fmin(pool[0].start.y, pool[0].end.y);
  const double y1 = std::fmax(pool[0].start.y, pool[0].end.y);
  EXPECT_NEAR(y0, 0.0, 1e-9);
  EXPECT_NEAR(y1, 20.0, 1e-9);
  EXPECT_NEAR(pool[0].start.x, 0.0, 1e-9);
  EXPECT_NEAR(pool[0].end.x, 0.0, 1e-9);
  EXPECT_NEAR(pool[0].start.z, 7.0, 1e-9);
}

TEST(m3dFeatBody, RevolutionAxisOnADiagonalAxisTakesTheLongerProjection) {
  // Axis along the diagonal y = x; box (0,0)-(4,2). Projections on the diagonal (in units of
  // (1,1)/sqrt 2): corners 0, 2/sqrt2, 6/sqrt2, 4/sqrt2: P2-P4 spans 2/sqrt2, P1-P3 6/sqrt2.
  const char* rect =
      "LOOP { LINE { POINT { 0 0 } POINT { 4 0 } } LINE { POINT { 4 0 } POINT { 4 2 } } "
      "LINE { POINT { 4 2 } POINT { 0 2 } } LINE { POINT { 0 2 } POINT { 0 0 } } }";
  treeP part = partWith("BASE { TYP { ROTATE } USED { \"S\" } }", rect, mMat4dC::identity(),
                        "CENTER { POINT { 1 1 } POINT { 2 2 } }");
  m3dAxisPoolC pool(3);
  ASSERT_EQ(collect(part, pool), 1);
  expectNear(pool[0].start, {0, 0, 0}, kTol);
  expectNear(pool[0].end, {3, 3, 0}, kTol);
}

TEST(m3dFeatBody, HalfDiscAboutItsDiameterHasNoAxis) {
  const char* halfDisc =
      "LOOP { LINE { POINT { -5 0 } POINT { 5 0 } } ARC { POINT { 5 0 } POINT { 0 5 } POINT { -5 0 } } }";
  treeP part = partWith("BASE { TYP { ROTATE } USED { \"S\" } }", halfDisc, mMat4dC::identity(),
                        "CENTER { POINT { -10 0 } POINT { 10 0 } }");
  m3dAxisPoolC pool(3);
  EXPECT_EQ(collect(part, pool), 0);
  // The same half disc turned about a line off its diameter does have one.
  treeP off = partWith("BASE { TYP { ROTATE } USED { \"S\" } }", halfDisc, mMat4dC::identity(),
                       "CENTER { POINT { -10 -1 } POINT { 10 -1 } }");
  EXPECT_EQ(collect(off, pool), 1);
  // Without an axis line nothing is revolved.
  treeP bare = partWith("BASE { TYP { ROTATE } USED { \"S\" } }", kSquare, mMat4dC::identity());
  m3dAxisPoolC empty(3);
  EXPECT_EQ(collect(bare, empty), 0);
}

TEST(m3dFeatBody, ScaleChangesOnlyTheExtrusionDepth) {
  treeP part = partWith("BASE { TYP { EXTRUDE } USED { \"S\" } PARAM { 5 1 0 } } "
                        "CUT { TYP { ROTATE } USED { \"S\" } PARAM { 5 1 0 } }",
                        circle(0, 0, 1), mMat4dC::identity());
  metaTreeC* items = m3dPartC(part.get(), 0).items().node();
  metaTreeC* extrude = items->firstChild()->nextSibling();
  metaTreeC* rotate = extrude->nextSibling();
  EXPECT_EQ(m3dGeomOpBaseC(extrude, 0).scaleGeometry(2.0), 1);  // through the class registry
  EXPECT_EQ(m3dGeomOpBaseC(rotate, 0).scaleGeometry(2.0), 1);
  const m3dFeatExtrudeC e(extrude, 0);
  EXPECT_DOUBLE_EQ(e.depth(), 10.0);
  EXPECT_EQ(e.directionMode(), m3dFeatExtrudeC::reversed);
  EXPECT_DOUBLE_EQ(m3dFeatExtrudeC(rotate, 0).depth(), 5.0);
}

TEST(m3dFeatBody, DirectionModeReadsBackWhatWasWritten) {
  treeP body = readTree("BASE { TYP { EXTRUDE } PARAM { 3 1 1 } }");
  const m3dFeatExtrudeC e(body.get(), 0);
  for (int mode : {0, 1, 2, 0, 2, 1}) {
    e.setDirectionMode(mode);
    EXPECT_EQ(e.directionMode(), mode);
    EXPECT_DOUBLE_EQ(e.depth(), 3.0);
  }
  treeP malformed = readTree("BASE { PARAM { 3 1 } }");
  EXPECT_DOUBLE_EQ(m3dFeatExtrudeC(malformed.get(), 0).depth(), 0.0);
  EXPECT_EQ(m3dFeatExtrudeC(malformed.get(), 0).directionMode(), 0);
}

TEST(m3dFeatBody, FeatureKindsByKey) {
  struct Case { const char* text; int kind; } cases[] = {
      {"BASE { }", 0}, {"CUT { }", 1}, {"PLANE { }", 2}, {"SKETCH { }", 2},
      {"FEATPATTERN { }", 2}, {"UNKNOWN { }", 2}, {"\"text\"", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    treeP node = readTree(c.text);
    ASSERT_TRUE(node);
    EXPECT_EQ(m3dFeatGenC(node.get(), 0).featureKind(), c.kind);
    m3dAxisPoolC pool(3);
    if (c.kind == 2) {
      EXPECT_EQ(m3dFeatGenC(node.get(), 0).collectFeatureAxes(pool), 0);
    }
  }
}

}  // namespace
