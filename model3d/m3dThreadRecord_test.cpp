#include "model3d/m3dThreadRecord.h"

#include <string>

#include <gtest/gtest.h>

#include "model3d/m3dCosSketch.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-9;

std::string line(double x0, double y0, double x1, double y1) {
  return "LINE { POINT { " + std::to_string(x0) + " " + std::to_string(y0) + " } POINT { " +
         std::to_string(x1) + " " + std::to_string(y1) + " } }";
}

// A part whose sketch "S" has the given loop elements and whose cosmetic sketch (named `name`,
// axis along x through the origin) holds the given shapes.
std::string part(const std::string& bodyLines, const std::string& shapes,
                 const std::string& name = "S_COSMETIC", const mMat4dC& m = mMat4dC::identity()) {
  return "PART { ITEMS { SKETCH { NAME { \"other\" } } SKETCH { NAME { \"S\" } LOOP { " + bodyLines +
         " } } } COSDRAW { COSSKETCH { NAME { \"" + name + "\" } " + matText(m) +
         " CENTER { POINT { 0 0 } POINT { 1 0 } } COSSHAPES { " + shapes + " } } } }";
}

m3dCosSketchC cosmetic(const treeP& tree) {
  return m3dCosSketchC(tree->firstChild()->nextSibling()->firstChild(), 0);
}

const std::string kBody = line(0, 0, 20, 0) + " " + line(20, 0, 20, 5) + " " + line(20, 5, 0, 5) +
                          " " + line(0, 5, 0, 0);
const std::string kThreads = line(0, 4, 20, 4) + " " + line(0, -4, 20, -4);

TEST(m3dThreads, OnePairGivesOneRecord) {
  treeP tree = readTree(part(kBody, kThreads));
  const std::string before = dump(tree.get());
  const m3dThreadPoolC records = extractCosmeticThreads(cosmetic(tree));
  ASSERT_EQ(records.size(), 1u);
  const m3dThreadRecordC& r = records[0];
  EXPECT_DOUBLE_EQ(r.length, 20.0);
  EXPECT_DOUBLE_EQ(r.width, 8.0);
  EXPECT_DOUBLE_EQ(r.bodyDiameter, 10.0);
  expectNear(origin(r.frame), {0, 0, 0}, kTol);
  expectNear(axisZ(r.frame), {1, 0, 0}, kTol);
  expectNear(axisX(r.frame), {0, -1, 0}, kTol);
  expectNear(axisY(r.frame), cross(axisZ(r.frame), axisX(r.frame)), kTol);
  EXPECT_EQ(r.frame.m[3], 0.0);
  EXPECT_EQ(r.frame.m[15], 1.0);
  EXPECT_EQ(dump(tree.get()), before);
}

TEST(m3dThreads, FrameFollowsThePlacement) {
  // Sketch plane turned to the xz plane and moved: sketch (x, y) -> (10 + x, 0, y).
  const mMat4dC m = frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {10, 0, 0});
  treeP tree = readTree(part(kBody, kThreads, "S_COSMETIC", m));
  const m3dThreadPoolC records = extractCosmeticThreads(cosmetic(tree));
  ASSERT_EQ(records.size(), 1u);
  expectNear(origin(records[0].frame), {10, 0, 0}, kTol);
  expectNear(axisZ(records[0].frame), {1, 0, 0}, kTol);
  expectNear(axisX(records[0].frame), {0, 0, -1}, kTol);
  EXPECT_DOUBLE_EQ(records[0].bodyDiameter, 10.0);
}

TEST(m3dThreads, TouchingLinesMergeAndDuplicatesGo) {
  const std::string shapes = line(0, 4, 12, 4) + " " + line(12, 4, 20, 4) + " " +
                             line(20, -4, 0, -4) + " " + line(0, -4, 20, -4) + " " +
                             line(3, 1, 3, 2) +  // across the axis: not a thread line
                             " CIRCLE { POINT { 0 0 } RAD { 1 } }";
  treeP tree = readTree(part(kBody, shapes));
  const m3dThreadPoolC records = extractCosmeticThreads(cosmetic(tree));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_DOUBLE_EQ(records[0].length, 20.0);
  EXPECT_DOUBLE_EQ(records[0].width, 8.0);
}

TEST(m3dThreads, BodyDiameterFromTheNearestBodyLineMet) {
  struct {
    std::string body;
    double diameter;
  } cases[] = {
      {kBody, 10.0},
      {line(0, 5, 20, 5) + " " + line(0, 7, 20, 7), 10.0},
      {line(0, 7, 20, 7) + " " + line(0, 5, 20, 5), 10.0},
      {line(30, 5, 40, 5), 0.0},  // the probe meets it beyond its end
      {line(10, 6, 20, 6), 12.0},  // met at its end point
      {line(0, 0, 20, 0), 0.0},  // on the axis: no body line
      {"", 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    treeP tree = readTree(part(c.body, kThreads));
    const m3dThreadPoolC records = extractCosmeticThreads(cosmetic(tree));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_DOUBLE_EQ(records[0].bodyDiameter, c.diameter);
  }
}

TEST(m3dThreads, MissingPiecesGiveNoRecord) {
  const std::string three = kThreads + " " + line(0, 6, 20, 6);
  const std::string cases[] = {
      part(kBody, three),
      part(kBody, kThreads, "S"),
      part(kBody, kThreads, "T_COSMETIC"),
      part(kBody, ""),
      "PART { ITEMS { BASE { NAME { \"S\" } } } COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } "
      "CENTER { POINT { 0 0 } POINT { 1 0 } } COSSHAPES { " + kThreads + " } } } }",
      "PART { ITEMS { SKETCH { NAME { \"S\" } } } COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } "
      "COSSHAPES { " + kThreads + " } } } }",
      "PART { ITEMS { SKETCH { NAME { \"S\" } } } COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } "
      "CENTER { POINT { 0 0 } POINT { 1 0 } } } } }",
  };
  for (const auto& text : cases) {
    SCOPED_TRACE(text);
    treeP tree = readTree(text);
    const std::string before = dump(tree.get());
    EXPECT_EQ(extractCosmeticThreads(cosmetic(tree)).size(), 0u);
    EXPECT_EQ(dump(tree.get()), before);
  }
  // A cosmetic sketch outside any part.
  treeP loose = readTree("COSSKETCH { NAME { \"S_COSMETIC\" } CENTER { POINT { 0 0 } POINT { 1 0 } } "
                         "COSSHAPES { " + kThreads + " } }");
  EXPECT_EQ(extractCosmeticThreads(m3dCosSketchC(loose.get(), 0)).size(), 0u);
}

}  // namespace
