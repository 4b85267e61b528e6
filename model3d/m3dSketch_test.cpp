#include "model3d/m3dSketch.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "meta/mBaseCircle2d.h"
#include "meta/mBaseShape2d.h"
#include "meta/metaObjPoint2d.h"
#include "model3d/m3dArc.h"
#include "model3d/m3dCosSketch.h"
#include "model3d/m3dFeatBody.h"
#include "model3d/m3dShapeBase.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/nurbCurve.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-9;
void expectNear2(const mVec2dC& a, const mVec2dC& b, double tol = 1e-9) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
}

std::string line(double x0, double y0, double x1, double y1) {
  return "LINE { POINT { " + std::to_string(x0) + " " + std::to_string(y0) + " } POINT { " +
         std::to_string(x1) + " " + std::to_string(y1) + " } }";
}
std::string arc(mVec2dC s, mVec2dC m, mVec2dC e) {
  auto p = [](mVec2dC v) { return "POINT { " + std::to_string(v.x) + " " + std::to_string(v.y) + " } "; };
  return "ARC { " + p(s) + p(m) + p(e) + "}";
}
std::string loop(const std::vector<std::string>& elements) {
  std::string out = "LOOP {";
  for (const auto& e : elements) out += " " + e;
  return out + " }";
}
const std::string kUnitSquare =
    loop({line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)});

// Every "POINT" of every element under `list` (loops or cosmetic shapes, and the axis line),
// mapped into the model through the sketch placement.
std::vector<mVec3dC> modelPoints(const m3dSketchBaseC& sketch) {
  std::vector<mVec3dC> out;
  const mMat4dC m = sketch.getMatrix();
  auto addPoints = [&](metaTreeC* element) {
    for (metaTreeC* c = element->firstChild(); c; c = c->nextSibling()) {
      if (!c->isKey("POINT")) continue;
      const mVec2dC p = metaObjPoint2dC(c, 0).point();
      out.push_back(transformPoint(m, {p.x, p.y, 0.0}));
    }
  };
  for (metaTreeC* c = sketch.node()->firstChild(); c; c = c->nextSibling()) {
    if (c->isKey("CENTER")) addPoints(c);
    if (c->isKey("LOOP") || c->isKey("COSSHAPES")) {
      for (metaTreeC* e = c->firstChild(); e; e = e->nextSibling()) addPoints(e);
    }
  }
  return out;
}

// The dump with every "-0" written as "0": a number compared as a number.
std::string withoutNegativeZeros(std::string text) {
  for (std::size_t at; (at = text.find(" -0 ")) != std::string::npos;) text.erase(at + 1, 1);
  return text;
}

const char* kSketchText =
    "SKETCH { NAME { \"S\" } MAT { 1 0 0 0 0 1 0 0 0 0 1 0 1 2 3 1 } "
    "CENTER { POINT { 0 0 } POINT { 4 0 } } "
    "SKETCHON { FACE { POINT3D { 1 1 1 } VEC3D { 0 0 1 } } } ";

TEST(m3dSketch, MirrorKeepsFrameRightHandedAndEveryPointInPlace) {
  treeP tree = readTree(std::string(kSketchText) + kUnitSquare + " " +
                        loop({arc({3, 0}, {4, 1}, {5, 0}), line(5, 0, 3, 0)}) + " }");
  m3dSketchC sketch(tree.get(), 0);
  const std::string start = dump(tree.get());
  // Mirror in the plane x = 5 (determinant -1, its own inverse).
  const mMat4dC t = frame({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {10, 0, 0});
  std::vector<mVec3dC> expected;
  for (const mVec3dC& p : modelPoints(sketch)) expected.push_back(transformPoint(t, p));

  // Reached through the key dispatch, as a part's items list does.
  EXPECT_EQ(m3dGeomOpBaseC(tree.get(), 0).transformGeometry(t), 1);
  EXPECT_FALSE(isLeftHanded(sketch.getMatrix()));
  expectNear(axisY(sketch.getMatrix()), {0, -1, 0}, kTol);
  const std::vector<mVec3dC> moved = modelPoints(sketch);
  ASSERT_EQ(moved.size(), expected.size());
  for (std::size_t i = 0; i < moved.size(); ++i) expectNear(moved[i], expected[i], kTol);
  expectNear(sketch.sketchOn().facePoint(), {9, 1, 1}, kTol);
  expectNear(sketch.sketchOn().faceVector(), {0, 0, 1}, kTol);
  // The mirrored arc is still the same circle: centre (4, 0) in y-mirrored coordinates.
  expectNear2(mBaseArc2dC(sketch.loop(1).childNode(0), 0).centre(), {4, 0});

  // The feature side reaches the same operation; twice gives the start back.
  EXPECT_EQ(m3dFeatGenC(tree.get(), 0).transformGeometry(t), 1);
  EXPECT_EQ(withoutNegativeZeros(dump(tree.get())), start);
}

TEST(m3dSketch, RigidTransformMovesOnlyTheFrame) {
  treeP tree = readTree(std::string(kSketchText) + kUnitSquare + " }");
  m3dSketchC sketch(tree.get(), 0);
  const std::string loopBefore = dump(sketch.loop(0).node()->firstChild());
  const mMat4dC t = rotationFromAxisAngle({0, 0, 1}, 90.0);
  EXPECT_EQ(sketch.transformGeometry(t), 1);
  EXPECT_EQ(dump(sketch.loop(0).node()->firstChild()), loopBefore);
  expectNear(axisX(sketch.getMatrix()), {0, 1, 0}, kTol);
  expectNear(origin(sketch.getMatrix()), {-2, 1, 3}, kTol);
  expectNear(sketch.sketchOn().facePoint(), {-1, 1, 1}, kTol);
}

TEST(m3dSketch, ScaleDoublesOriginLoopsAxisAndFaceButNotAxes) {
  treeP tree = readTree(std::string(kSketchText) + kUnitSquare + " }");
  m3dSketchC sketch(tree.get(), 0);
  EXPECT_EQ(m3dFeatGenC(tree.get(), 0).scaleGeometry(2.0), 1);
  const mMat4dC m = sketch.getMatrix();
  expectNear(origin(m), {2, 4, 6}, kTol);
  expectNear(axisX(m), {1, 0, 0}, kTol);
  mVec2dC a, b;
  ASSERT_EQ(sketch.axisEnds(a, b), 1);
  expectNear2(b, {8, 0});
  mVec2dC lo, hi;
  ASSERT_EQ(sketch.boundingBox2d(lo, hi), 1);
  expectNear2(lo, {0, 0});
  expectNear2(hi, {2, 2});
  expectNear(sketch.sketchOn().facePoint(), {2, 2, 2}, kTol);
  expectNear(sketch.sketchOn().faceVector(), {0, 0, 1}, kTol);

  // The feature side of a sketch object runs the same override; as a feature a sketch is of
  // kind 2 and has no axes.
  m3dFeatGenC& feature = sketch;
  EXPECT_EQ(feature.scaleGeometry(0.5), 1);
  expectNear(origin(sketch.getMatrix()), {1, 2, 3}, kTol);
  expectNear2(m3dLineC(sketch.loop(0).childNode(1), 0).endPoint(), {1, 1});
  EXPECT_EQ(feature.featureKind(), m3dFeatGenC::neither);
  m3dAxisPoolC axes;
  EXPECT_EQ(feature.collectFeatureAxes(axes), 0);
}

TEST(m3dSketch, EmptySketchScalesAndTransformsWithoutAddingRecords) {
  treeP tree = readTree("SKETCH { }");
  m3dSketchC sketch(tree.get(), 0);
  EXPECT_EQ(sketch.scaleGeometry(3.0), 1);
  EXPECT_EQ(sketch.transformGeometry(frame({1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, 0})), 1);
  EXPECT_FALSE(sketch.hasAxis());
  EXPECT_FALSE(sketch.hasChild("SKETCHON"));
  EXPECT_FALSE(isLeftHanded(sketch.getMatrix()));
}

TEST(m3dCosSketch, MirrorMovesCosmeticShapesAndAddsNoSketchOn) {
  treeP tree = readTree(
      "COSSKETCH { NAME { \"S_COSMETIC\" } MAT { 0 1 0 0 -1 0 0 0 0 0 1 0 5 0 0 1 } "
      "CENTER { POINT { 0 0 } POINT { 1 0 } } COSSHAPES { " + line(0, 4, 20, 4) +
      " CIRCLE { POINT { 2 3 } RAD { 1 } } } }");
  m3dCosSketchC sketch(tree.get(), 0);
  const mMat4dC t = frame({1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 7});
  std::vector<mVec3dC> expected;
  for (const mVec3dC& p : modelPoints(sketch)) expected.push_back(transformPoint(t, p));
  EXPECT_EQ(m3dGeomOpBaseC(tree.get(), 0).transformGeometry(t), 1);
  EXPECT_FALSE(isLeftHanded(sketch.getMatrix()));
  const std::vector<mVec3dC> moved = modelPoints(sketch);
  ASSERT_EQ(moved.size(), expected.size());
  for (std::size_t i = 0; i < moved.size(); ++i) expectNear(moved[i], expected[i], kTol);
  EXPECT_FALSE(sketch.hasChild("SKETCHON"));

  EXPECT_EQ(m3dGeomOpBaseC(tree.get(), 0).scaleGeometry(2.0), 1);
  expectNear2(mBaseCircle2dC(sketch.cosShapes().childNode(1), 0).centre(), {4, -6});
  EXPECT_DOUBLE_EQ(mBaseCircle2dC(sketch.cosShapes().childNode(1), 0).radius(), 2.0);
}

TEST(m3dSketch, CircleProfile) {
  const std::string half1 = arc({5, 0}, {0, 5}, {-5, 0});
  const std::string half2 = arc({-5, 0}, {0, -5}, {5, 0});
  struct {
    std::string loops;
    int result;
    mVec2dC centre;
    double radius;
  } cases[] = {
      {loop({"CIRCLE { POINT { 1 2 } RAD { 5 } }"}), 1, {1, 2}, 5.0},
      {loop({half1, half2}), 1, {0, 0}, 5.0},
      {loop({half1, arc({-5, 0}, {1, -6}, {7, 0})}), 0, {}, 0},  // centres apart
      {loop({half1, line(-5, 0, 5, 0)}), 0, {}, 0},
      {loop({half1, half2, line(5, 0, 5, 0)}), 0, {}, 0},
      {loop({"CIRCLE { POINT { 1 2 } RAD { 5 } }"}) + " " + kUnitSquare, 0, {}, 0},
      {loop({"TEXT { }"}), 0, {}, 0},
      {"", 0, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.loops);
    treeP tree = readTree("SKETCH { " + c.loops + " }");
    mVec2dC centre(-7, -7);
    double radius = -7;
    EXPECT_EQ(m3dSketchC(tree.get(), 0).circleProfile(&centre, &radius), c.result);
    if (c.result) {
      expectNear2(centre, c.centre);
      EXPECT_NEAR(radius, c.radius, 1e-9);
    } else {
      expectNear2(centre, {-7, -7});
      EXPECT_EQ(radius, -7);
    }
  }
  treeP tree = readTree("SKETCH { " + loop({half1, half2}) + " }");
  double radius = 0;
  EXPECT_EQ(m3dSketchC(tree.get(), 0).circleProfile(nullptr, &radius), 1);
  EXPECT_NEAR(radius, 5.0, 1e-9);
}

TEST(m3dSketch, BoundingBoxOverLoops) {
  treeP square = readTree("SKETCH { " + kUnitSquare + " }");
  mVec2dC lo(9, 9), hi(9, 9);
  ASSERT_EQ(m3dSketchC(square.get(), 0).boundingBox2d(lo, hi), 1);
  expectNear2(lo, {0, 0});
  expectNear2(hi, {1, 1});

  treeP two = readTree("SKETCH { " + kUnitSquare + " " +
                       loop({"CIRCLE { POINT { 3 -1 } RAD { 1 } }"}) + " }");
  ASSERT_EQ(m3dSketchC(two.get(), 0).boundingBox2d(lo, hi), 1);
  expectNear2(lo, {0, -2});
  expectNear2(hi, {4, 1});

  treeP none = readTree("SKETCH { COSSHAPES { " + line(0, 0, 5, 5) + " } }");
  lo.set(9, 9);
  hi.set(9, 9);
  EXPECT_EQ(m3dSketchC(none.get(), 0).boundingBox2d(lo, hi), 0);
  expectNear2(lo, {9, 9});
  expectNear2(hi, {9, 9});
}

TEST(m3dSketch, MinElementFindsTheShortest) {
  treeP tree = readTree("SKETCH { " + kUnitSquare + " " + loop({line(0, 0, 0.25, 0), line(0.25, 0, 0, 0.5)}) + " }");
  m3dSketchC sketch(tree.get(), 0);
  mBaseShape2dC element;
  EXPECT_DOUBLE_EQ(sketch.minElement(&element), 0.25);
  EXPECT_EQ(element.node(), sketch.loop(1).childNode(0));

  treeP empty = readTree("SKETCH { LOOP { } }");
  mBaseShape2dC untouched;
  EXPECT_EQ(m3dSketchC(empty.get(), 0).minElement(&untouched), 1e8);
  EXPECT_FALSE(untouched.isBound());
}

TEST(m3dSketch, CloseGapsJoinsLinesAtTheirIntersection) {
  // The unit square with its corner (1, 1) cut off by a segment of length 0.1.
  const double c = 0.1 / std::sqrt(2.0);
  treeP tree = readTree("SKETCH { " +
                        loop({line(0, 0, 1, 0), line(1, 0, 1, 1 - c), line(1, 1 - c, 1 - c, 1),
                              line(1 - c, 1, 0, 1), line(0, 1, 0, 0)}) +
                        " }");
  m3dSketchC sketch(tree.get(), 0);
  EXPECT_EQ(sketch.closeGaps(0.5), 1);
  ASSERT_EQ(sketch.loopElementCount(0), 4);
  expectNear2(m3dLineC(sketch.loop(0).childNode(1), 0).endPoint(), {1, 1});
  expectNear2(m3dLineC(sketch.loop(0).childNode(2), 0).startPoint(), {1, 1});
  EXPECT_EQ(sketch.closeGaps(0.5), 0);
  // A NaN threshold removes nothing.
  EXPECT_EQ(sketch.closeGaps(std::nan("")), 0);
  EXPECT_EQ(sketch.elementCount(), 4);
  EXPECT_EQ(m3dSketchC(readTree("SKETCH { }").get(), 0).closeGaps(1e9), 0);
}

TEST(m3dSketch, CloseGapsMovesArcEnds) {
  // line, short gap line, arc: the arc's start follows the line's end; and the first element's
  // predecessor is the last one (wrap round).
  treeP tree = readTree("SKETCH { " +
                        loop({line(-5, 0, 4.9, 0), line(4.9, 0, 5, 0), arc({5, 0.01}, {0, 5}, {-5, 0})}) +
                        " }");
  m3dSketchC sketch(tree.get(), 0);
  EXPECT_EQ(sketch.closeGaps(0.2), 1);
  ASSERT_EQ(sketch.loopElementCount(0), 2);
  const mBaseArc2dC a(sketch.loop(0).childNode(1), 0);
  expectNear2(a.startPoint(), {4.9, 0});
  expectNear2(a.midPoint(), {0, 5});

  treeP wrap = readTree("SKETCH { " +
                        loop({line(5, 0, 5.05, 0), arc({5.05, 0}, {0, 5}, {-5, 0}),
                              arc({-5, 0}, {0, -5}, {5.1, 0.1})}) + " }");
  m3dSketchC w(wrap.get(), 0);
  EXPECT_EQ(w.closeGaps(0.1), 1);
  ASSERT_EQ(w.loopElementCount(0), 2);
  expectNear2(mBaseArc2dC(w.loop(0).childNode(1), 0).endPoint(), {5.05, 0});
}

TEST(m3dSketch, MergeCollinearJoinsRunsAcrossTheWrap) {
  const std::string a = line(0, 0, 1, 0), b = line(1, 0, 2, 0), c = line(2, 0, 3, 0);
  const std::string d = line(3, 0, 0, 3), e = line(0, 3, 0, 0);
  for (const auto& elements : {std::vector<std::string>{a, b, c, d, e},
                               std::vector<std::string>{b, c, d, e, a}}) {
    treeP tree = readTree("SKETCH { " + loop(elements) + " " + loop({a}) + " }");
    m3dSketchC sketch(tree.get(), 0);
    sketch.mergeAllCollinear();
    ASSERT_EQ(sketch.loopElementCount(0), 3);
    int merged = 0;
    for (int j = 0; j < 3; ++j) {
      const m3dLineC l(sketch.loop(0).childNode(j), 0);
      if (l.startPoint().equalsWithin({0, 0}, 0) && l.endPoint().equalsWithin({3, 0}, 0)) ++merged;
    }
    EXPECT_EQ(merged, 1);
    EXPECT_EQ(sketch.loopElementCount(1), 1);
  }
  // Two parallel lines join into one; the walk that wraps round to it does not delete it.
  treeP pair = readTree("SKETCH { " + loop({line(0, 0, 1, 0), line(1, 0, 0, 0)}) + " }");
  m3dSketchC(pair.get(), 0).mergeAllCollinear();
  EXPECT_EQ(m3dSketchC(pair.get(), 0).loopElementCount(0), 1);
  // An arc between parallel lines keeps them apart.
  treeP split = readTree("SKETCH { " + loop({a, arc({1, 0}, {1.5, 0.5}, {2, 0}), c, d, e}) + " }");
  m3dSketchC(split.get(), 0).mergeAllCollinear();
  EXPECT_EQ(m3dSketchC(split.get(), 0).loopElementCount(0), 5);
}

TEST(m3dSketch, LinesOnAxis) {
  treeP tree = readTree("SKETCH { CENTER { POINT { 0 0 } POINT { 1 0 } } " +
                        loop({line(-2, 0, 6, 0), line(6, 0, 6, 2), line(6, 2, -2, 2),
                              "TEXT { POINT { 0 0 } POINT { 1 0 } }", line(-2, 2, -2, 0)}) +
                        " " + loop({line(8, 0, 9, 0), line(9, 0, 9, 1e-5), line(9, 1e-5, 8, 0)}) + " }");
  m3dSketchC sketch(tree.get(), 0);
  m3dLinePoolC pool;
  sketch.linesOnAxis(pool);
  ASSERT_EQ(pool.size(), 2u);
  EXPECT_EQ(pool[0].node(), sketch.loop(0).childNode(0));
  EXPECT_EQ(pool[1].node(), sketch.loop(1).childNode(0));
  EXPECT_FALSE(sketch.isOnAxis(m3dLineC(sketch.loop(0).childNode(2), 0)));  // parallel, off

  treeP noAxis = readTree("SKETCH { " + kUnitSquare + " }");
  m3dSketchC(noAxis.get(), 0).linesOnAxis(pool);
  EXPECT_EQ(pool.size(), 0u);
}

TEST(m3dSketchOn, FaceAndPlane) {
  treeP tree = readTree("SKETCH { SKETCHON { FACE { POINT3D { 1 2 3 } VEC3D { 0 0 1 } } } }");
  const m3dSketchOnC on = m3dSketchC(tree.get(), 0).sketchOn();
  EXPECT_TRUE(on.hasFace());
  EXPECT_STREQ(on.planeName(), "");
  EXPECT_EQ(on.setPlaneName("TOP"), 1);
  EXPECT_FALSE(on.hasFace());
  EXPECT_STREQ(on.planeName(), "TOP");
  expectNear(on.facePoint(), {0, 0, 0}, kTol);
  expectNear(on.faceVector(), {0, 0, 0}, kTol);
  EXPECT_EQ(dump(tree.get()), "SKETCH { SKETCHON { PLANE { \"TOP\" } } }");
  EXPECT_EQ(m3dSketchOnC().setPlaneName("X"), 0);
}

TEST(m3dSketchShapes, CenterLineDispatchesAsLineAndKeyTests) {
  treeP center = readTree("CENTER { POINT { 0 0 } POINT { 3 4 } }");
  EXPECT_DOUBLE_EQ(mBaseShape2dC(center.get(), 0).length(), 5.0);

  const m3dLineC l = makeSketchLine({1, 2}, {3, 4}, 1);
  EXPECT_EQ(l.node()->parent(), nullptr);
  EXPECT_EQ(dump(l.node()), "LINE { POINT { 1 2 } POINT { 3 4 } }");
  const m3dArcC a = makeSketchArc({1, 0}, {0, 1}, {-1, 0}, 1);
  EXPECT_EQ(dump(a.node()), "ARC { POINT { 1 0 } POINT { 0 1 } POINT { -1 0 } }");
  EXPECT_NEAR(a.radius(), 1.0, 1e-12);

  EXPECT_EQ(isLineNode(l.node()), 1);
  EXPECT_EQ(isArcNode(l.node()), 0);
  EXPECT_EQ(isArcNode(a.node()), 1);
  EXPECT_EQ(isLineNode(nullptr), 0);
  treeP cos = readTree("COSSKETCH { } ITEMS { } CIRCLE { }");
  EXPECT_EQ(isCosSketchNode(cos.get()), 1);
  EXPECT_EQ(isPartItemsNode(cos->nextSibling()), 1);
  EXPECT_EQ(isCircleNode(cos->nextSibling()->nextSibling()), 1);
}



TEST(m3dSketch, BodyUsingSketchSearchesThePartItems) {
  treeP part = readTree(
      "PART { ITEMS { SKETCH { NAME { \"A\" } } SKETCH { NAME { \"B\" } } "
      "BASE { NAME { \"b1\" } USED { \"B\" } } CUT { NAME { \"c1\" } USED { \"A\" } } } }");
  metaTreeC* items = part->firstChild();
  EXPECT_EQ(m3dSketchC(items->firstChild(), 0).bodyUsingSketch().node(),
            items->firstChild()->nextSibling()->nextSibling()->nextSibling());
  EXPECT_EQ(m3dSketchC(items->firstChild()->nextSibling(), 0).bodyUsingSketch().node(),
            items->firstChild()->nextSibling()->nextSibling());
  treeP loose = readTree("LIST { SKETCH { NAME { \"A\" } } BASE { USED { \"A\" } } }");
  EXPECT_FALSE(m3dSketchC(loose->firstChild(), 0).bodyUsingSketch().isBound());
}



// Samples of the curve over its parameter range.
std::vector<mVec3dC> samples(const nurbCurveC& curve, int n) {
  double u0 = 0, u1 = 0;
  curve.paramRange(u0, u1);
  std::vector<mVec3dC> out;
  for (int i = 0; i <= n; ++i) out.push_back(curve.pointAt(u0 + (u1 - u0) * i / n));
  return out;
}

TEST(m3dSketch, LoopToNurbsCurveTracesTheLoop) {
  // Square: degree 1, every sample on the boundary, all four corners reached.
  treeP square = readTree("SKETCH { " + kUnitSquare + " }");
  const nurbCurveC s = m3dSketchC(square.get(), 0).loopToNurbsCurve(0);
  EXPECT_EQ(s.degree(), 1);
  EXPECT_EQ(s.closed(), 1);
  int corners = 0;
  for (const mVec3dC& p : samples(s, 400)) {
    const double dx = std::min(std::fabs(p.x), std::fabs(p.x - 1));
    const double dy = std::min(std::fabs(p.y), std::fabs(p.y - 1));
    EXPECT_LT(std::min(dx, dy), 1e-9);
    EXPECT_EQ(p.z, 0.0);
    if (dx < 1e-9 && dy < 1e-9) ++corners;
  }
  EXPECT_GE(corners, 4);

  // Half disc: degree 2; samples lie on the diameter or on the circle of radius 5.
  treeP half = readTree("SKETCH { " + loop({line(-5, 0, 5, 0), arc({5, 0}, {0, 5}, {-5, 0})}) + " }");
  const nurbCurveC h = m3dSketchC(half.get(), 0).loopToNurbsCurve(0);
  EXPECT_EQ(h.degree(), 2);
  double highest = 0;
  for (const mVec3dC& p : samples(h, 200)) {
    const double onCircle = std::fabs(std::hypot(p.x, p.y) - 5.0);
    EXPECT_LT(std::min(std::fabs(p.y), onCircle), 1e-9);
    EXPECT_GE(p.y, -1e-9);
    highest = std::max(highest, p.y);
  }
  EXPECT_NEAR(highest, 5.0, 1e-3);

  // Circle of radius 2 about (1, 1): every sample at distance 2.
  treeP circle = readTree("SKETCH { " + loop({"CIRCLE { POINT { 1 1 } RAD { 2 } }"}) + " }");
  for (const mVec3dC& p : samples(m3dSketchC(circle.get(), 0).loopToNurbsCurve(0), 100)) {
    EXPECT_NEAR(std::hypot(p.x - 1, p.y - 1), 2.0, 1e-9);
  }
}

}  // namespace
