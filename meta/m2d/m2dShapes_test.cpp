// The 2D drawing's shape, attribute and text views and the hatch model: kind tests, the shared
// geometry reached through the joined views, views built from another view's handle, and the
// hatch record chain with its references and numbering pass.

#include <gtest/gtest.h>

#include <string>

#include "meta/m2d/m2dArc.h"
#include "meta/m2d/m2dCircle.h"
#include "meta/m2d/m2dEllipseArc.h"
#include "meta/m2d/m2dFigure.h"
#include "meta/m2d/m2dIntCrv.h"
#include "meta/m2d/m2dLine.h"
#include "meta/m2d/m2dShapeAttr.h"
#include "meta/m2d/m2dText.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;
using metatesting::parseTree;
using metatesting::Tree;

TEST(m2dShapes, KindTests) {
    Tree arc("ARC");
    EXPECT_EQ(m2dLineC::isKindOf(arc.node()), 0);
    EXPECT_EQ(m2dArcC::isKindOf(arc.node()), 1);
    Tree str("\"ARC\"");  // a string is never a key
    EXPECT_EQ(m2dArcC::isKindOf(str.node()), 0);
    EXPECT_EQ(m2dIntCrvC::isKindOf(nullptr), 0);
}

TEST(m2dShapes, CircleLengthAndScaleThroughTheJoinedView) {
    Tree t("CIRCLE { POINT { 4 6 } RAD { 2 } }");
    const m2dCircleC circle(t.node());
    EXPECT_DOUBLE_EQ(circle.length(), 4 * 3.141592653589793);
    ASSERT_EQ(circle.scale(0.5), 1);
    EXPECT_EQ(dumpTree(t.node()), "CIRCLE { POINT { 2 3 } RAD { 1 } }");
    // through the base classes the same node is seen
    const mBaseShape2dC& asShape = circle;
    EXPECT_DOUBLE_EQ(asShape.length(), 2 * 3.141592653589793);
}

TEST(m2dShapes, ViewFromHandleSharesOrCopies) {
    Tree t("LINE { POINT { 0 0 } POINT { 3 4 } }");
    const metaObjectC shared(t.node(), 0);
    const m2dLineC sharing(shared);
    EXPECT_EQ(sharing.node(), t.node());
    EXPECT_FALSE(sharing.ownsItsNode());

    const metaObjectC owning(t.node()->cloneSubtree(), 1);
    const m2dLineC copy(owning);
    ASSERT_TRUE(copy.isBound());
    EXPECT_NE(copy.node(), owning.node());
    EXPECT_TRUE(copy.ownsItsNode());
    copy.reverse();  // the copy is independent
    EXPECT_EQ(dumpTree(owning.node()), "LINE { POINT { 0 0 } POINT { 3 4 } }");
    EXPECT_DOUBLE_EQ(copy.length(), 5.0);
}

TEST(m2dShapes, EllipseArcAttributes) {
    Tree t("ELLIPSEARC { POINT { 1 2 } RAD1 { 3 } RAD2 { 1 } ANGLE { 0 } ANGLE1 { 90 } ANGLE2 { 180 } }");
    const m2dEllipseArcC e(t.node());
    EXPECT_DOUBLE_EQ(e.startAngle(), 90);
    EXPECT_DOUBLE_EQ(e.endAngle(), 180);
    const mVec2dC top = e.pointAt(90);
    EXPECT_NEAR(top.x, 1, 1e-12);
    EXPECT_NEAR(top.y, 3, 1e-12);
    e.setRadius2(2);
    EXPECT_DOUBLE_EQ(e.radius2(), 2);
}

TEST(m2dText, ValuesAndAbsentKeys) {
    Tree t("TEXT { TEXT { \"a\\nb\" } POINT { 1.5 -2 } HEIGHT { 3.5 } ANGLE { 90 } TEXTRELPOS { 7 } TEXTBW { 40 } }");
    const m2dTextC text(t.node());
    EXPECT_STREQ(text.text(), "a\nb");
    EXPECT_DOUBLE_EQ(text.point().y, -2);
    EXPECT_DOUBLE_EQ(text.height(), 3.5);
    EXPECT_EQ(text.relPos(), 7);
    EXPECT_DOUBLE_EQ(text.boxWidth(), 40);
    int found = 1;
    EXPECT_EQ(text.align(&found), 0);
    EXPECT_EQ(found, 0);
    const std::string dump = dumpTree(t.node());
    EXPECT_EQ(dump.substr(dump.size() - 25), "TEXTBW { 40 } TEXTALIGN }");
}

TEST(m2dShapeAttr, Values) {
    Tree t("SHAPEATTR { SHAPEWIDTH { 2 } SHAPETYP { 4 } COSMETIC { 1 } }");
    const m2dShapeAttrC attr(t.node());
    EXPECT_EQ(attr.shapeWidth(), 2);
    EXPECT_EQ(attr.shapeType(), 4);
    EXPECT_EQ(attr.cosmetic(), 1);
    EXPECT_EQ(m2dShapeAttrC::isKindOf(t.node()), 1);
}

// Ordinals count nodes depth-first from 1: FIGURE 1, FIGURITEMS 2, LINE 3 (its subtree 4-9),
// ARC 10 (POINT, two reals, three times: 11-19), LINE 20.
const char* kHatched =
    "FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 10 0 } } "
    "ARC { POINT { 10 0 } POINT { 15 5 } POINT { 10 10 } } "
    "LINE { POINT { 10 10 } POINT { 0 0 } } } "
    "M2DHATCHES { "
    "M2DHATCH { M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { "
    "MOREF { REFTRG { 3 } } MOREF { REFTRG { 10 } } MOREF { REFTRG { 20 } } } } } ANGLE { 0 } DISTANCE { 2 } } "
    "M2DHATCH { M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 10 } } } } } } "
    "M2DHATCH { M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 20 } } } } } } } }";

TEST(m2dHatch, LoopReferencesKeepBoundaryOrder) {
    Tree t(kHatched, 1);
    const m2dFigureC figure(t.node());
    ASSERT_TRUE(figure.hasHatches());
    const m2dHatchListC hatches = figure.hatchList();
    ASSERT_EQ(hatches.count(), 3);
    const m2dHatchLoopListC loops = hatches.item(0).loopList();
    ASSERT_EQ(loops.count(), 1);
    const m2dHatchLoopRefListC refs = loops.item(0).shapeRefList();
    ASSERT_EQ(refs.count(), 3);
    const char* keys[] = {"LINE", "ARC", "LINE"};
    for (int i = 0; i < 3; ++i) {
        const m2dShapeBaseC target = refs.item(i).targetShape();
        ASSERT_TRUE(target.isBound()) << i;
        EXPECT_STREQ(target.keyName(), keys[i]);
        EXPECT_EQ(target.node(), figure.itemList().childNode(i));
    }
    const m2dArcC arc(refs.item(1).targetShape());
    EXPECT_NEAR(arc.radius(), 5, 1e-12);
}

TEST(m2dHatch, NumberingPassLastHatchWins) {
    Tree t(kHatched, 1);
    const m2dFigureC figure(t.node());
    EXPECT_EQ(figure.hatchList().numberHatches(), 3);
    const metaObjShapeListC items = figure.itemList();
    EXPECT_EQ(metaObjectC(items.childNode(0)).getAttrInt("HATCHIDX"), 0);
    EXPECT_EQ(metaObjectC(items.childNode(1)).getAttrInt("HATCHIDX"), 1);
    EXPECT_EQ(metaObjectC(items.childNode(2)).getAttrInt("HATCHIDX"), 2);
}

TEST(m2dHatch, DistanceAbsentAndScaling) {
    Tree t("M2DHATCH { M2DHATCHLINES { LINE { POINT { 2 4 } POINT { 6 8 } } } }");
    const m2dHatchC hatch(t.node());
    int found = 1;
    EXPECT_EQ(hatch.distance(&found), 0.0);
    EXPECT_EQ(found, 0);
    EXPECT_TRUE(hatch.hasChild("DISTANCE"));
    hatch.setDistance(5);
    hatch.scale(0.5);
    EXPECT_DOUBLE_EQ(hatch.distance(), 2.5);
    ASSERT_EQ(hatch.lineCount(), 1);
    EXPECT_DOUBLE_EQ(hatch.line(0).endPoint().y, 4);
}

TEST(m2dHatch, DemoBracketReferencesResolveToItsShapes) {
    const std::string here = __FILE__;
    const std::string file = here.substr(0, here.rfind("/meta/")) + "/examples/parts/bracket.ps2";
    const metaObjectC root = loadMetaTreeFile(file.c_str(), 1);
    ASSERT_TRUE(root.isBound());
    metaTreeC* f = metaTreeC::findKey(root.node(), "FIGURE", -1);
    ASSERT_NE(f, nullptr);
    const m2dFigureC figure(f, 0);
    int checked = 0;
    {
        const m2dHatchListC hatches = figure.hatchList();
        for (std::int64_t h = 0; h < hatches.count(); ++h) {
            const m2dHatchLoopRefListC refs = hatches.item(h).loopList().item(0).shapeRefList();
            for (std::int64_t r = 0; r < refs.count(); ++r) {
                const m2dShapeBaseC target = refs.item(r).targetShape();
                ASSERT_TRUE(target.isBound());
                EXPECT_GE(figure.itemList().indexOfChild(target.node()), 0);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 7);
}

}  // namespace
