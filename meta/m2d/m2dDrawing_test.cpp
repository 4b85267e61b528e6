// The 2D documents: attribute reads that create keys, the group flag, unit-base changes, extents,
// item approximation and the registry dispatch, plus every demo part walked through the views.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "meta/m2d/m2dDrawing.h"
#include "meta/m2d/m2dFigure.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mBaseLine2d.h"
#include "meta/mBaseShape2d.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;
using metatesting::parseTree;
using metatesting::Tree;

TEST(m2dDocument, ReadingAbsentNameAddsItAndGroupIsCaseSensitive) {
    Tree t("FIGURE { GROUP { \"yes\" } }");
    const m2dFigureC figure(t.node());
    int found = 1;
    EXPECT_STREQ(figure.name(&found), "");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(dumpTree(t.node()), "FIGURE { GROUP { \"yes\" } NAME }");
    EXPECT_EQ(figure.isGroup(), 0);
    Tree g("FIGURE { GROUP { \"YES\" } ANSICHTNO { 2.9 } }");
    EXPECT_EQ(m2dFigureC(g.node()).isGroup(), 1);
    EXPECT_EQ(m2dFigureC(g.node()).viewNumber(), 2);
    // hasHatches and hasSettings test without creating
    EXPECT_FALSE(m2dFigureC(g.node()).hasHatches());
    EXPECT_FALSE(m2dFigureC(g.node()).hasSettings());
    EXPECT_EQ(dumpTree(g.node()), "FIGURE { GROUP { \"YES\" } ANSICHTNO { 2.9 } }");
}

const char* kScalable =
    "FIGURE { INSERTPOINT { POINT { 10 20 } ROTATION { 30 } } "
    "SETTINGS { DXFSETTINGS { DXFINSERTX { 10 } DXFINSERTY { 3 } } } "
    "FIGURITEMS { LINE { POINT { 0 0 } POINT { 4 8 } } CIRCLE { POINT { 2 2 } RAD { 6 } } TEXT { POINT { 8 8 } HEIGHT { 4 } } } "
    "M2DHATCHES { M2DHATCH { DISTANCE { 5 } M2DHATCHLINES { LINE { POINT { 2 0 } POINT { 0 2 } } } } } "
    "FIGUREPREFS { UNITBASE { 1 } } }";

TEST(m2dFigure, ChangeUnitBaseScalesEveryLengthOnce) {
    Tree t(kScalable);
    const m2dFigureC figure(t.node());
    ASSERT_EQ(figure.changeUnitBase(2.0), 1);  // factor 0.5
    const std::string want =
        "FIGURE { INSERTPOINT { POINT { 5 10 } ROTATION { 30 } } "
        "SETTINGS { DXFSETTINGS { DXFINSERTX { 5 } DXFINSERTY { 1 } } } "
        "FIGURITEMS { LINE { POINT { 0 0 } POINT { 2 4 } } CIRCLE { POINT { 1 1 } RAD { 3 } } TEXT { POINT { 8 8 } HEIGHT { 4 } } } "
        "M2DHATCHES { M2DHATCH { DISTANCE { 2.5 } M2DHATCHLINES { LINE { POINT { 1 0 } POINT { 0 1 } } } } } "
        "FIGUREPREFS { UNITBASE { 2 } } }";
    EXPECT_EQ(dumpTree(t.node()), want);
    ASSERT_EQ(figure.changeUnitBase(2.0), 1);  // same unit base: nothing changes
    EXPECT_EQ(dumpTree(t.node()), want);
}

TEST(m2dFigure, AbsentUnitBaseCountsAsOneAndZeroIsRefused) {
    Tree t("FIGURE { FIGURITEMS { CIRCLE { POINT { 25.4 0 } RAD { 50.8 } } } }");
    const m2dFigureC figure(t.node());
    EXPECT_EQ(figure.changeUnitBase(0.0), 0);
    EXPECT_EQ(figure.changeUnitBase(-1.0), 0);
    ASSERT_EQ(figure.changeUnitBase(25.4), 1);
    const mBaseCircle2dC circle(figure.itemList().childNode(0));
    EXPECT_NEAR(circle.radius(), 2.0, 1e-12);
    EXPECT_NEAR(circle.centre().x, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(figure.prefsObj().unitBase(), 25.4);
    ASSERT_EQ(figure.changeUnitBase(25.4), 1);
    EXPECT_NEAR(circle.radius(), 2.0, 1e-12);
}

TEST(m2dDrawing, ChangeUnitBaseReachesFiguresAndOwnSettings) {
    Tree t("DRAWING { SETTINGS { DXFSETTINGS { DXFINSERTX { 7 } } } DRAWINGITEMS { "
           "FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 10 0 } } } } "
           "FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 0 30 } } } FIGUREPREFS { UNITBASE { 3 } } } } }");
    const m2dDrawingC drawing(t.node());
    ASSERT_EQ(drawing.changeUnitBase(2.0), 1);
    EXPECT_NEAR(mBaseLine2dC(drawing.figure(0).itemList().childNode(0)).length(), 5, 1e-12);
    EXPECT_NEAR(mBaseLine2dC(drawing.figure(1).itemList().childNode(0)).length(), 45, 1e-12);
    EXPECT_EQ(drawing.settingsObj().dxfSettingsObj().insertX(), 3);
    EXPECT_DOUBLE_EQ(drawing.prefsObj().unitBase(), 2.0);
}

TEST(m2dDrawing, ExtentsCoverBoxedShapesOnly) {
    Tree empty("DRAWING");
    mVec2dC ll, ur;
    EXPECT_EQ(m2dDrawingC(empty.node()).getExtents(ll, ur), 0);
    EXPECT_EQ(ll.x, 1e10);
    EXPECT_EQ(ll.y, 1e10);
    EXPECT_EQ(ur.x, -1e10);
    EXPECT_EQ(ur.y, -1e10);

    // A figure with nothing that has a box must not blow the extents up to +-1e10.
    Tree t("DRAWING { DRAWINGITEMS { FIGURE { FIGURITEMS { TEXT { POINT { 99 99 } } } } "
           "FIGURE { FIGURITEMS { LINE { POINT { 1 2 } POINT { -3 5 } } CIRCLE { POINT { 0 0 } RAD { 1 } } } } } }");
    m2dDrawingC(t.node()).getExtents(ll, ur);
    EXPECT_DOUBLE_EQ(ll.x, -3);
    EXPECT_DOUBLE_EQ(ll.y, -1);
    EXPECT_DOUBLE_EQ(ur.x, 1);
    EXPECT_DOUBLE_EQ(ur.y, 5);
}

TEST(m2dFigure, ApproximateItemsReplacesSelectedItemsAndEmptiesHatchLoops) {
    Tree t("FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } "
           "ICRV2D { POINT { 1 0 } POINT { 2 0 } POINT { 3 0 } } } "
           "M2DHATCHES { M2DHATCH { M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF } } } } } }");
    const m2dFigureC figure(t.node());
    ASSERT_EQ(figure.approximateItems(0, {"ICRV2D"}), 2);
    EXPECT_EQ(dumpTree(t.node()),
              "FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } LINE { POINT { 1 0 } POINT { 2 0 } } "
              "LINE { POINT { 2 0 } POINT { 3 0 } } } M2DHATCHES { M2DHATCH { M2DHATCHLOOPS } } }");
    // nothing selected: nothing changes
    const std::string before = dumpTree(t.node());
    EXPECT_EQ(figure.approximateItems(0, {"ELLIPSE"}), 0);
    EXPECT_EQ(dumpTree(t.node()), before);
}

TEST(m2dDocument, BaseSlotsDispatchThroughTheDocumentRegistry) {
    Tree t("DRAWING { DRAWINGITEMS { FIGURE { FIGURITEMS { ICRV2D { POINT { 0 0 } POINT { 1 1 } } } } } }");
    const m2dDocumentC document(t.node());
    EXPECT_EQ(document.approximateItems(1, {}), 1);  // drawing -> figure -> curve: one line
    Tree other("PART");
    EXPECT_EQ(m2dDocumentC(other.node()).approximateItems(1, {}), 0);
    EXPECT_EQ(m2dDocumentC(other.node()).changeUnitBase(2), 0);
    EXPECT_EQ(m2dDocumentC::registry()->depthOf("DRAWING"), m2dDocumentC::classDepth);
    EXPECT_EQ(m2dDocumentC::registry()->depthOf("FIGURE"), metaObjectC::classDepth + 2);
}

// Every demo part loads, its root selects its view, and every figure item of a shape key is
// handled by its registered class with a finite length; the washer's extents are known.
TEST(m2dDrawing, DemoPartsWalkThroughTheViews) {
    const std::string here = __FILE__;
    const std::string parts = here.substr(0, here.rfind("/meta/")) + "/examples/parts/";
    for (const char* name : {"bracket", "clamp", "flange", "nut", "plate", "shaft", "washer", "screw-blind"}) {
        const metaObjectC root = loadMetaTreeFile((parts + name + ".ps2").c_str(), 1);
        ASSERT_TRUE(root.isBound()) << name;
        std::vector<m2dFigureC> figures;
        if (root.hasKey("DRAWING")) {
            const m2dDrawingC drawing(root.node(), 0);
            for (std::int64_t f = 0; f < drawing.figureCount(); ++f) figures.push_back(drawing.figure(f));
        } else {
            ASSERT_TRUE(root.hasKey("FIGURE")) << name;
            figures.emplace_back(root.node(), 0);
        }
        ASSERT_FALSE(figures.empty()) << name;
        int shapes = 0;
        for (const m2dFigureC& figure : figures) {
            const metaObjShapeListC items = figure.itemList();
            for (std::int64_t i = 0; i < items.childCount(); ++i) {
                const mBaseShape2dC shape(items.childNode(i), 0);
                if (!mBaseShape2dC::findPrototype(shape.keyName())) continue;
                ++shapes;
                EXPECT_TRUE(std::isfinite(shape.length())) << name << " " << shape.keyName();
            }
        }
        EXPECT_GT(shapes, 0) << name;
        if (std::string(name) == "washer") {
            mVec2dC ll, ur;
            ASSERT_EQ(figures[0].itemList().getBoundingBox(ll, ur), 1);
            EXPECT_DOUBLE_EQ(ll.x, -12);
            EXPECT_DOUBLE_EQ(ur.y, 12);
        }
    }
}

}  // namespace
