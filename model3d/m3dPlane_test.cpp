#include "model3d/m3dPlane.h"

#include <gtest/gtest.h>

#include "model3d/m3dAbsPlane.h"
#include "model3d/m3dBasicPlane.h"
#include "model3d/m3dOffsetPlane.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-12;

TEST(m3dPlane, StandardPlanesAreRightHandedWithTheirNormals) {
  struct Case { const char* name; const char* full; mVec3dC normal; } cases[] = {
      {"XY", "Plane XY", {0, 0, 1}}, {"ZX", "Plane ZX", {0, 1, 0}}, {"YZ", "Plane YZ", {1, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const m3dBasicPlaneC plane = makeStandardPlane(c.name, 1);
    ASSERT_TRUE(plane.isPlane());
    EXPECT_STREQ(plane.getName(), c.full);
    EXPECT_STREQ(plane.getType(), c.name);
    const mMat4dC m = plane.placement();
    expectNear(axisZ(m), c.normal, kTol);
    // Independent check of the frame: x cross y is the normal.
    expectNear(cross(axisX(m), axisY(m)), c.normal, kTol);
    EXPECT_EQ(m.m[15], 1.0);
  }
  EXPECT_FALSE(makeStandardPlane("XZ", 1).node());
}

TEST(m3dPlane, ScaleMovesTheOriginAndTheOffsetDistance) {
  m3dBasicPlaneC xy = makeStandardPlane("XY", 1);
  const mMat4dC before = xy.placement();
  EXPECT_EQ(xy.scaleGeometry(2.0), 1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(xy.placement().m[i], before.m[i]);

  xy.setName("base");
  m3dOffsetPlaneC off = makeOffsetPlane(xy, "off", 0, 5.0, 1);
  expectNear(origin(off.placement()), {0, 0, 5}, kTol);
  EXPECT_EQ(m3dGeomOpBaseC(off.node(), 0).scaleGeometry(2.0), 1);  // through the registry
  expectNear(origin(off.placement()), {0, 0, 10}, kTol);
  int reverse = -1;
  double distance = 0.0;
  str name;
  ASSERT_EQ(off.readOffsetParam(reverse, distance, name), 1);
  EXPECT_EQ(reverse, 0);
  EXPECT_DOUBLE_EQ(distance, 10.0);
  EXPECT_STREQ(name.text(), "base");
}

TEST(m3dPlane, OffsetAgainstTheNormal) {
  const m3dBasicPlaneC zx = makeStandardPlane("ZX", 1);
  const m3dOffsetPlaneC off = makeOffsetPlane(zx, "o", 1, 3.0, 1);
  EXPECT_TRUE(off.isOffsetPlane());
  expectNear(origin(off.placement()), {0, -3, 0}, kTol);
  expectNear(axisY(off.placement()), {0, 0, -1}, kTol);
  const m3dOffsetPlaneC xyOff = makeOffsetPlane(makeStandardPlane("XY", 1), "o", 1, 3.0, 1);
  expectNear(origin(xyOff.placement()), {0, 0, -3}, kTol);
  // The base must be a plane node.
  treeP notPlane = readTree("SKETCH { }");
  EXPECT_FALSE(makeOffsetPlane(m3dPlaneC(notPlane.get(), 0), "o", 0, 1.0, 1).node());
}

TEST(m3dPlane, TransformMakesAbsoluteAndKeepsTheFrameRightHanded) {
  m3dOffsetPlaneC off = makeOffsetPlane(makeStandardPlane("XY", 1), "o", 0, 2.0, 1);
  EXPECT_EQ(off.transformGeometry(mMat4dC::identity()), 1);
  EXPECT_TRUE(off.isAbsPlane());
  expectNear(origin(off.placement()), {0, 0, 2}, kTol);

  const mMat4dC mirror = frame({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0});
  m3dBasicPlaneC xy = makeStandardPlane("XY", 1);
  EXPECT_EQ(m3dGeomOpBaseC(xy.node(), 0).transformGeometry(mirror), 1);
  const mMat4dC m = xy.placement();
  EXPECT_FALSE(isLeftHanded(m));
  expectNear(axisX(m), {-1, 0, 0}, kTol);
  expectNear(axisY(m), {0, -1, 0}, kTol);
  expectNear(axisZ(m), {0, 0, 1}, kTol);
  EXPECT_EQ(m3dPlaneC().transformGeometry(mirror), 0);
}

TEST(m3dPlane, OffsetParamNeedsExactlyThreeValues) {
  for (const char* text : {"PLANE { PARAM { 1 2 } }", "PLANE { PARAM { 1 2 \"a\" 4 } }",
                           "PLANE { }"}) {
    SCOPED_TRACE(text);
    treeP plane = readTree(text);
    int reverse = 7;
    double distance = 7.0;
    str name("keep");
    EXPECT_EQ(m3dPlaneC(plane.get(), 0).readOffsetParam(reverse, distance, name), 0);
    EXPECT_EQ(reverse, 7);
    EXPECT_STREQ(name.text(), "keep");
  }
  treeP plane = readTree("PLANE { PARAM { 0.5 4 \"b\" } }");
  int reverse = 0;
  double distance = 0.0;
  str name;
  EXPECT_EQ(m3dPlaneC(plane.get(), 0).readOffsetParam(reverse, distance, name), 1);
  EXPECT_EQ(reverse, 1);
}

TEST(m3dPlane, AxisReferenceTable) {
  struct Case { const char* text; int result; int axis; } cases[] = {
      {"L { 2 \"a\" PA_X }", 1, 0}, {"L { 2 \"a\" PA_Y }", 1, 1}, {"L { 2 \"a\" PA_Z }", 1, 2},
      {"L { 2 \"a\" PA_W }", 0, -1}, {"L { 2 \"a\" \"PA_X\" }", 0, -1},
      {"L { \"a\" \"a\" PA_X }", 0, -1}, {"L { 2 PA_X PA_X }", 0, -1}, {"L { 2 \"a\" }", 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    treeP list = readTree(c.text);
    double number = 0.0;
    str name;
    int axis = -1;
    EXPECT_EQ(m3dPlaneC::readPlaneAxisRef(metaObjListContainerC(list.get(), 0), number, name, axis),
              c.result);
    EXPECT_EQ(axis, c.axis);
  }
}

TEST(m3dPlane, AbsolutePlaneKeepsItsFrame) {
  const mMat4dC m = frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {1, 2, 3});
  const m3dAbsPlaneC plane = makeAbsPlane("A", m, 1);
  EXPECT_TRUE(plane.isAbsPlane());
  EXPECT_STREQ(plane.getName(), "A");
  for (int i = 0; i < 16; ++i) EXPECT_EQ(plane.placement().m[i], m.m[i]);
  EXPECT_EQ(m3dFeatGenC(plane.node(), 0).featureKind(), 2);
}

}  // namespace
