// The 2D geometry views over tree nodes: each shape's own bodies, forwarding through the shape
// registry, the transforms checked against transformed tessellations, the curve approximation's
// output nodes and the shape list operations.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "meta/mBaseArc2d.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mBaseEllipse2d.h"
#include "meta/mBaseEllipseArc2d.h"
#include "meta/mBaseIntCrv2d.h"
#include "meta/mBaseLine2d.h"
#include "meta/mBasePoint2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/metaObjShapeList.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;
using metatesting::parseTree;
using metatesting::Tree;

void expectNear(const mVec2dC& got, const mVec2dC& want, double tol = 1e-9) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
}

TEST(Line, LengthBoxTessellationReverse) {
    Tree t("LINE { POINT { 0 0 } POINT { 3 4 } }");
    const mBaseLine2dC line(t.node());
    EXPECT_DOUBLE_EQ(line.length(), 5.0);
    mVec2dC k[4];
    ASSERT_EQ(line.getBoundingBox(k[0], k[1], k[2], k[3]), 1);
    expectNear(k[0], {0, 4});
    expectNear(k[2], {3, 0});
    mPointList2dC pts;
    EXPECT_EQ(line.tessellate(pts, 0), 2);
    ASSERT_EQ(line.reverse(), 1);
    EXPECT_EQ(dumpTree(t.node()), "LINE { POINT { 3 4 } POINT { 0 0 } }");
    ASSERT_EQ(line.scale(2), 1);
    expectNear(line.startPoint(), {6, 8});
}

TEST(Line, MissingPointsAreCreatedEmpty) {
    Tree t("LINE");
    const mBaseLine2dC line(t.node());
    int found = 1;
    expectNear(line.endPoint(&found), {0, 0});
    EXPECT_EQ(found, 0);
    EXPECT_EQ(dumpTree(t.node()), "LINE { POINT POINT }");
}

TEST(Arc, ValuesLengthAndDirection) {
    struct Case { const char* text; int cw; } cases[] = {
        {"ARC { POINT { 1 0 } POINT { 0 1 } POINT { -1 0 } }", 0},
        {"ARC { POINT { -1 0 } POINT { 0 1 } POINT { 1 0 } }", 1},
    };
    for (const auto& c : cases) {
        Tree t(c.text);
        const mBaseArc2dC arc(t.node());
        expectNear(arc.centre(), {0, 0});
        EXPECT_NEAR(arc.radius(), 1, 1e-15);
        EXPECT_EQ(arc.isClockwise(), c.cw);
        EXPECT_NEAR(arc.sweep(), 180, 1e-9);
        EXPECT_NEAR(arc.length(), kMetaPi, 1e-12);
        double s, e;
        arc.getAngles(s, e);
        EXPECT_NEAR(s, 0, 1e-9);
        EXPECT_NEAR(e, 180, 1e-9);
    }
}

// The arc's points are its first three "POINT" children wherever they stand; missing ones are
// appended empty at the end.
TEST(Arc, PointsAreTheFirstThreePointChildren) {
    Tree t("ARC { POINT { 1 0 } X { 7 7 } POINT { 0 1 } \"POINT\" POINT { -1 0 } POINT { 9 9 } }");
    const mBaseArc2dC arc(t.node());
    expectNear(arc.values().centre, {0, 0});
    EXPECT_NEAR(arc.values().radius, 1, 1e-15);
    Tree one("ARC { POINT { 1 0 } }");
    mBaseArc2dC(one.node()).values();
    EXPECT_EQ(dumpTree(one.node()), "ARC { POINT { 1 0 } POINT POINT }");
}

TEST(Arc, SetEndPointsKeepsMidAndReverseSwapsEnds) {
    Tree t("ARC { POINT { 1 0 } POINT { 0 1 } POINT { -1 0 } }");
    const mBaseArc2dC arc(t.node());
    arc.reverse();
    EXPECT_EQ(dumpTree(t.node()), "ARC { POINT { -1 0 } POINT { 0 1 } POINT { 1 0 } }");
    arc.setEndPoints({5, 5}, {6, 6});
    EXPECT_EQ(dumpTree(t.node()), "ARC { POINT { 5 5 } POINT { 0 1 } POINT { 6 6 } }");
}

TEST(Circle, LengthScaleBox) {
    Tree t("CIRCLE { POINT { 4 -2 } RAD { 2 } }");
    const mBaseCircle2dC circle(t.node());
    EXPECT_DOUBLE_EQ(circle.length(), 4 * 3.141592653589793);
    mVec2dC k[4];
    circle.getBoundingBox(k[0], k[1], k[2], k[3]);
    expectNear(k[0], {2, 0});
    expectNear(k[2], {6, -4});
    circle.scale(0.5);
    EXPECT_EQ(dumpTree(t.node()), "CIRCLE { POINT { 2 -1 } RAD { 1 } }");
    // a transform moves the centre and keeps the radius
    circle.transform(mMat3dC::translation({1, 1}));
    EXPECT_EQ(dumpTree(t.node()), "CIRCLE { POINT { 3 0 } RAD { 1 } }");
}

// A rigid transform applied to the shape gives the same polygon as the transform applied to the
// shape's polygon: an independent check of the ellipse and elliptical-arc transforms.
template <class View>
void expectRigidTransformCommutes(const char* text, const mMat3dC& m) {
    Tree t(text);
    const View shape(t.node());
    mPointList2dC before, after;
    shape.tessellate(before, degToRad(10));
    ASSERT_EQ(shape.transform(m), 1);
    shape.tessellate(after, degToRad(10));
    ASSERT_EQ(before.count(), after.count()) << text;
    for (std::int64_t i = 0; i < before.count(); ++i)
        expectNear(after.at(i), m.transformPoint(before.at(i)), 1e-9);
}

TEST(Ellipse, TransformMatchesTransformedTessellation) {
    const mMat3dC m = mMat3dC::translation({7, -3}).multiply(mMat3dC::rotation(110));
    expectRigidTransformCommutes<mBaseEllipse2dC>(
        "ELLIPSE { POINT { 1 2 } RAD1 { 5 } RAD2 { 2 } ANGLE { 20 } }", m);
    expectRigidTransformCommutes<mBaseEllipseArc2dC>(
        "ELLIPSEARC { POINT { 1 2 } RAD1 { 5 } RAD2 { 2 } ANGLE { 20 } ANGLE1 { 30 } ANGLE2 { 200 } }", m);
}

// A transform keeps an elliptical arc's sweep, which its end points cannot tell for a full turn:
// the arc then starts at the image of its start point (of its end point under a mirror, which
// reverses its direction) and ends at the image of the other end.
TEST(EllipseArc, TransformKeepsTheSweep) {
    struct Case { double first, last, sweep; };
    const Case cases[] = {{0, 360, 360}, {90, 450, 360}, {30, 200, 170}, {300, 60, 120}, {45, 45, 0}};
    mMat3dC mirror = mMat3dC::identity();
    mirror.m[4] = -1.0;
    struct Matrix { mMat3dC m; bool mirrored; };
    const Matrix matrices[] = {
        {mMat3dC::identity(), false},
        {mMat3dC::translation({7, -3}).multiply(mMat3dC::rotation(110)), false},
        {mMat3dC::translation({7, -3}).multiply(mirror), true}};
    for (const Case& c : cases) {
        for (const Matrix& m : matrices) {
            const std::string text =
                "ELLIPSEARC { POINT { 1 2 } RAD1 { 10 } RAD2 { 5 } ANGLE { 30 } ANGLE1 { " +
                std::to_string(c.first) + " } ANGLE2 { " + std::to_string(c.last) + " } }";
            Tree t(text.c_str());
            const mBaseEllipseArc2dC arc(t.node());
            const mVec2dC from = m.m.transformPoint(arc.pointAt(m.mirrored ? c.last : c.first));
            const mVec2dC to = m.m.transformPoint(arc.pointAt(m.mirrored ? c.first : c.last));
            ASSERT_EQ(arc.transform(m.m), 1);
            const double a1 = arc.startAngle(), a2 = arc.endAngle();
            EXPECT_NEAR(a1 > a2 ? a2 - a1 + 360.0 : a2 - a1, c.sweep, 1e-9) << c.first << ".." << c.last;
            expectNear(arc.pointAt(a1), from, 1e-6);
            expectNear(arc.pointAt(a2), to, 1e-6);
        }
    }
}

TEST(Ellipse, AxesRatioAndScale) {
    Tree t("ELLIPSE { POINT { 1 1 } RAD1 { 4 } RAD2 { 2 } ANGLE { 90 } }");
    const mBaseEllipse2dC e(t.node());
    mVec2dC major, minor;
    e.getAxes(major, minor);
    expectNear(major, {0, 4});
    expectNear(minor, {-2, 0});
    expectNear(e.majorAxisEnd(), {1, 5});
    EXPECT_DOUBLE_EQ(e.radiusRatio(), 2.0);
    e.scale(2);
    EXPECT_EQ(dumpTree(t.node()), "ELLIPSE { POINT { 2 2 } RAD1 { 8 } RAD2 { 4 } ANGLE { 90 } }");
    // no end points, no box and no length of its own
    mVec2dC s, en;
    EXPECT_EQ(e.getEndPoints(s, en), 0);
    EXPECT_EQ(e.length(), 0.0);
}

TEST(BaseShape, ForwardsByKeyAndFallsBackWithoutPrototype) {
    Tree line("LINE { POINT { 0 0 } POINT { 3 4 } }");
    const mBaseShape2dC asShape(line.node());
    EXPECT_DOUBLE_EQ(asShape.length(), 5.0);
    mVec2dC s, e;
    ASSERT_EQ(asShape.getEndPoints(s, e), 1);
    expectNear(e, {3, 4});
    // the prototype is unbound again after the call
    EXPECT_FALSE(mBaseShape2dC::findPrototype("LINE")->isBound());

    Tree other("FOO { POINT { 1 1 } }");
    const mBaseShape2dC unknown(other.node());
    EXPECT_EQ(unknown.length(), 0.0);
    EXPECT_EQ(unknown.scale(3), 1);
    EXPECT_EQ(unknown.transform(mMat3dC::identity()), 0);
    mVec2dC k[4] = {{9, 9}, {9, 9}, {9, 9}, {9, 9}};
    EXPECT_EQ(unknown.getBoundingBox(k[0], k[1], k[2], k[3]), 0);
    expectNear(k[0], {9, 9});
}

TEST(BaseShape, RegistryHoldsEveryShapeKey) {
    for (const char* key : {"LINE", "ARC", "CIRCLE", "ELLIPSE", "ELLIPSEARC", "ICRV2D", "SPOINT"})
        EXPECT_NE(mBaseShape2dC::findPrototype(key), nullptr) << key;
    EXPECT_EQ(mBaseShape2dC::registry()->depthOf("ELLIPSE"), mBaseShape2dC::classDepth + 2);
    EXPECT_EQ(mBaseShape2dC::registry()->depthOf("LINE"), mBaseShape2dC::classDepth + 1);
}

TEST(IntCrv, CircleCurveBecomesOneCircleNode) {
    const mBaseIntCrv2dC curve = mBaseIntCrv2dC::create(1);
    for (int d = 0; d < 360; d += 15) curve.appendPoint({2 + 3 * std::cos(degToRad(d)), 3 * std::sin(degToRad(d))});
    curve.appendPoint({5, 1e-9});  // closes within 1e-8
    EXPECT_EQ(curve.isClosed(), 1);
    const metaObjectC parent = createKeyNodeObj("tmp", 1);
    ASSERT_EQ(curve.convertToPrimitives(0.001, parent), 1);
    const mBaseCircle2dC circle(parent.node()->firstChild());
    ASSERT_TRUE(circle.hasKey("CIRCLE"));
    expectNear(circle.centre(), {2, 0}, 1e-6);
    EXPECT_NEAR(circle.radius(), 3, 1e-6);
}

TEST(IntCrv, PiecesAppendAfterExistingChildrenAndShortCurvesMakeNothing) {
    Tree t("ICRV2D { POINT { 0 0 } POINT { 1 0 } POINT { 2 0 } }");
    const mBaseIntCrv2dC curve(t.node());
    EXPECT_EQ(curve.isClosed(), 0);
    Tree parentTree("tmp { KEEP }");
    const metaObjectC parent(parentTree.node(), 0);
    EXPECT_EQ(curve.approximate(123.0, 0.01, parent), 2);
    EXPECT_EQ(dumpTree(parentTree.node()),
              "tmp { KEEP LINE { POINT { 0 0 } POINT { 1 0 } } LINE { POINT { 1 0 } POINT { 2 0 } } }");
    Tree one("ICRV2D { POINT { 0 0 } }");
    EXPECT_EQ(mBaseIntCrv2dC(one.node()).convertToPrimitives(0.01, parent), 0);
    EXPECT_EQ(mBaseIntCrv2dC().convertToPrimitives(0.01, parent), 0);
}

TEST(DefaultApproximation, ArcTessellatedIntoOneArc) {
    Tree t("ARC { POINT { 10 0 } POINT { 0 10 } POINT { -10 0 } }");
    const mBaseArc2dC arc(t.node());
    const metaObjectC parent = createKeyNodeObj("out", 1);
    ASSERT_EQ(arc.approximate(degToRad(5), 0.001, parent), 1);
    const mBaseArc2dC piece(parent.node()->firstChild());
    ASSERT_TRUE(piece.hasKey("ARC"));
    expectNear(piece.startPoint(), {10, 0});
    expectNear(piece.endPoint(), {-10, 0});
    EXPECT_NEAR(piece.radius(), 10, 1e-9);
    // the temporary curve is gone: only the piece hangs under the parent
    EXPECT_EQ(parent.childCount(), 1);
}

TEST(ShapeList, TransformScaleBoxAndSelectiveApproximation) {
    Tree t("FIGURITEMS { SHAPEATTR { SHAPEWIDTH { 1 } } LINE { POINT { 0 0 } POINT { 2 0 } } "
           "CIRCLE { POINT { 5 5 } RAD { 1 } } TEXT { POINT { 9 9 } } ELLIPSE { POINT { 0 0 } RAD1 { 2 } RAD2 { 1 } ANGLE { 0 } } }");
    const metaObjShapeListC list(t.node());
    list.rotate(90);
    list.translate({1, 0});
    const mBaseLine2dC line(t.node()->nthSibling(0)->firstChild()->nextSibling());
    expectNear(line.endPoint(), {1, 2});
    // the text has no shape class: untouched
    EXPECT_NE(dumpTree(t.node()).find("TEXT { POINT { 9 9 } }"), std::string::npos);
    list.scaleShapes(0);  // nothing
    expectNear(line.endPoint(), {1, 2});

    mVec2dC ll, ur;
    ASSERT_EQ(list.getBoundingBox(ll, ur), 1);
    expectNear(ll, {-5, 0});  // the circle's centre went to (-4, 5)
    expectNear(ur, {1, 6});

    const metaObjectC out = createKeyNodeObj("FIGURITEMS", 1);
    const int n = list.approximateShapes(0, {"CIRCLE"}, degToRad(10), 0.001, out);
    EXPECT_EQ(n, 1);
    // the others copied whole, in order; the circle rebuilt from its polygon
    const char* keys[] = {"SHAPEATTR", "LINE", "CIRCLE", "TEXT", "ELLIPSE"};
    ASSERT_EQ(out.childCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(metaObjectC(out.childAt(i)).hasKey(keys[i])) << i;
    const mBaseCircle2dC rebuilt(out.childAt(2));
    expectNear(rebuilt.centre(), {-4, 5}, 1e-9);
    EXPECT_NEAR(rebuilt.radius(), 1, 1e-9);
    EXPECT_NE(out.childAt(1), line.node());  // a copy, not the item itself
}

TEST(ShapeList, ApproximatingIntoItselfTerminates) {
    Tree t("LIST { ICRV2D { POINT { 0 0 } POINT { 1 0 } } }");
    const metaObjShapeListC list(t.node());
    EXPECT_EQ(list.approximateShapes(1, {}, 0, 0.01, list), 1);
    EXPECT_EQ(list.childCount(), 2);
}

}  // namespace
