// The hatch conversion's edges, counts and pattern, against the simulated host in this process:
// hatches are read from small figure trees written into a temporary folder.
#include "plugin/HatchConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "meta/m2d/m2dFigure.h"
#include "meta/m2d/m2dHatch.h"
#include "meta/m2d/m2dHatchLoop.h"
#include "meta/m2d/m2dLine.h"
#include "meta/metaObject.h"
#include "meta/metaTreeReader.h"
#include "plugin/testing/PluginTestFixture.h"

namespace {

// The groups of a chain as (code, first real or integer) pairs, and the chain released.
std::vector<std::pair<int, double>> take(resbuf* chain) {
  std::vector<std::pair<int, double>> out;
  for (resbuf* rb = chain; rb; rb = rb->rbnext) {
    const int code = rb->restype;
    double value = 0.0;
    if ((code >= 40 && code <= 59)) value = rb->resval.rreal;
    else if (code >= 70 && code <= 79) value = rb->resval.rint;
    else if (code >= 10 && code <= 19) value = rb->resval.rpoint[0];
    out.emplace_back(code, value);
  }
  if (chain) acutRelRb(chain);
  return out;
}

class HatchTest : public kxtest::PluginHostTest {
 protected:
  HatchTest() : PluginHostTest("kestrix-hatch") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    std::ofstream(dir.file("plinth.cfg")) << "[Layer]\nHatch=SCHRAFFUR\n[LineColor]\nHatch=8\n";
    loadContext();
  }
  void TearDown() override {
    context.reset();
    tree = metaObjectC();
    PluginHostTest::TearDown();
  }

  // Loads a figure whose items are `items` (the first item is the depth-first ordinal 4) and
  // whose hatch is `hatch`.
  m2dFigureC load(const std::string& items, const std::string& hatch) {
    std::ofstream(dir.file("f.ps2")) << "FIGURE { FIGURITEMS { " << items << " } M2DHATCHES { "
                                     << hatch << " } }";
    tree = loadMetaTreeFile(dir.file("f.ps2").c_str(), 1);
    return m2dFigureC(tree.node(), 0);
  }

  metaObjectC tree;
};

}  // namespace

TEST(HatchPattern, TurnsByFortyFiveDegreesAndDefaultsTheSpacing) {
  const HatchPattern p = hatchPattern(0.0, 3.0);
  EXPECT_DOUBLE_EQ(p.angle, 0.7853981633974483);
  EXPECT_DOUBLE_EQ(p.spacing, 3.0);
  EXPECT_NEAR(p.offsetX, -3.0 * std::sin(M_PI / 4), 1e-12);
  EXPECT_NEAR(p.offsetY, 3.0 * std::cos(M_PI / 4), 1e-12);
  EXPECT_DOUBLE_EQ(hatchPattern(45.0, 0.0).spacing, 5.0);
}

TEST(HatchGroupList, AppendLinksBehindTheLastElement) {
  EXPECT_EQ(CommandContext::appendToGroupList(nullptr, nullptr), nullptr);
  resbuf* a = acutBuildList(70, 1, 71, 2, 0);
  resbuf* b = acutBuildList(72, 3, 0);
  resbuf* head = CommandContext::appendToGroupList(a, b);
  EXPECT_EQ(head, a);
  EXPECT_EQ(a->rbnext->rbnext, b);
  EXPECT_EQ(CommandContext::appendToGroupList(nullptr, head), head);
  acutRelRb(head);
}

// A clockwise arc from 0 to 90 degrees becomes a counterclockwise edge from 90 to 0 degrees; a
// circle a full turn; an ellipse its axis and ratio; an elliptical arc its parameters in radians;
// a curve that is one circle the full turn of that circle (so that its loop keeps a boundary); a
// text gives none.
TEST_F(HatchTest, EdgesOfEachBoundaryShape) {
  const double s = std::sqrt(0.5);
  std::string circleCurve = "ICRV2D {";
  for (int i = 0; i <= 36; ++i) {
    const double a = i * 10.0 * M_PI / 180.0;
    circleCurve += " POINT { " + std::to_string(std::cos(a)) + " " + std::to_string(std::sin(a)) + " }";
  }
  circleCurve += " POINT { 1.000000 0.000000 } }";
  const m2dFigureC f = load("ARC { POINT { 0 1 } POINT { " + std::to_string(s) + " " +
                                std::to_string(s) + " } POINT { 1 0 } }\n"
                                "CIRCLE { POINT { 2 3 } RAD { 4 } }\n"
                                "ELLIPSE { POINT { 0 0 } RAD1 { 4 } RAD2 { 2 } ANGLE { 90 } }\n"
                                "ELLIPSEARC { POINT { 1 2 } RAD1 { 26 } RAD2 { 13 } ANGLE { 0 }"
                                " ANGLE1 { 200 } ANGLE2 { 340 } }\n" +
                                circleCurve + "\nTEXT { TEXT { \"x\" } }",
                            "");
  const metaObjShapeListC items = f.itemList();
  auto edges = [&](int n) { return take(context->appendHatchEdges(m2dShapeBaseC(items.childNode(n), 0))); };

  const auto arc = edges(0);
  ASSERT_EQ(arc.size(), 6u);
  EXPECT_EQ(arc[0], std::make_pair(72, 2.0));
  EXPECT_NEAR(arc[3].second, 0.0, 1e-5);
  EXPECT_NEAR(arc[4].second, M_PI / 2, 1e-5);
  EXPECT_EQ(arc[5], std::make_pair(73, 1.0));

  const auto circle = edges(1);
  ASSERT_EQ(circle.size(), 6u);
  EXPECT_DOUBLE_EQ(circle[4].second, 6.283185307179586);

  const auto ellipse = edges(2);
  ASSERT_EQ(ellipse.size(), 7u);
  EXPECT_EQ(ellipse[0], std::make_pair(72, 3.0));
  EXPECT_NEAR(ellipse[2].second, 0.0, 1e-12);  // major axis x: the axis points along +y
  EXPECT_DOUBLE_EQ(ellipse[3].second, 0.5);

  // The elliptical arc's parameters go into the list in radians, like the ELLIPSE entity's.
  const auto ellipseArc = edges(3);
  ASSERT_EQ(ellipseArc.size(), 7u);
  EXPECT_EQ(ellipseArc[0], std::make_pair(72, 3.0));
  EXPECT_DOUBLE_EQ(ellipseArc[1].second, 1.0);
  EXPECT_DOUBLE_EQ(ellipseArc[2].second, 26.0);
  EXPECT_DOUBLE_EQ(ellipseArc[3].second, 0.5);
  EXPECT_EQ(ellipseArc[4].first, 50);
  EXPECT_NEAR(ellipseArc[4].second, 3.490658503988659, 1e-12);
  EXPECT_EQ(ellipseArc[5].first, 51);
  EXPECT_NEAR(ellipseArc[5].second, 5.934119456780721, 1e-12);
  EXPECT_EQ(ellipseArc[6], std::make_pair(73, 1.0));

  const auto curveCircle = edges(4);
  ASSERT_EQ(curveCircle.size(), 6u);
  EXPECT_EQ(curveCircle[0], std::make_pair(72, 2.0));
  EXPECT_NEAR(curveCircle[1].second, 0.0, 1e-3);  // centre x
  EXPECT_NEAR(curveCircle[2].second, 1.0, 1e-3);  // radius
  EXPECT_DOUBLE_EQ(curveCircle[3].second, 0.0);
  EXPECT_DOUBLE_EQ(curveCircle[4].second, 6.283185307179586);
  EXPECT_TRUE(edges(5).empty());
}

// A curve of three lines into a circle of radius 10 about (0, 0) that it enters at (10, 0):
// three line edges, then the circle as two half arcs from 0 to 180 degrees and from 180 back
// to 0 (360), so that the chain runs on from where the lines end; the loop counts five edges.
TEST_F(HatchTest, CurveCirclePiecesFollowTheirLeadIn) {
  // Ordinals: FIGURE 1, FIGURITEMS 2, ICRV2D 3.
  const m2dFigureC f = load(kxtest::leadInCircleCurve(),
                            "M2DHATCH { M2DHATCHLOOPS { M2DHATCHLOOP {"
                            " M2DHATCHLOOPSHREFS { MOREF { REFTRG { 3 } } } } } }");
  const auto e = take(context->appendHatchEdges(m2dShapeBaseC(f.itemList().childNode(0), 0)));
  std::vector<int> kinds;
  for (const auto& g : e)
    if (g.first == 72) kinds.push_back(static_cast<int>(g.second));
  EXPECT_EQ(kinds, (std::vector<int>{1, 1, 1, 2, 2}));
  ASSERT_EQ(e.size(), 3 * 3u + 2 * 6u);
  EXPECT_DOUBLE_EQ(e[7].second, 20.0);    // the third line from (20, -10)
  EXPECT_NEAR(e[8].second, 10.0, 1e-12);  // to (10, 0)
  for (int half = 0; half < 2; ++half) {
    const std::size_t k = 9 + 6 * half;
    EXPECT_NEAR(e[k + 1].second, 0.0, 1e-3);   // centre x
    EXPECT_NEAR(e[k + 2].second, 10.0, 1e-3);  // radius
    EXPECT_NEAR(e[k + 3].second, half == 0 ? 0.0 : M_PI, 1e-5);
    EXPECT_NEAR(e[k + 4].second, half == 0 ? M_PI : 0.0, 1e-5);
  }
  EXPECT_EQ(context->countLoopEdges(f.hatchList().item(0).loopList().item(0).shapeRefList()), 5);
}

// Two loops are an outer (1) and an inner (16) boundary; the counts agree with the edges, a
// shape without an entity is reported and leaves out its 330 group, and the hatch is made.
TEST_F(HatchTest, LoopsCountsAndMissingSources) {
  // Ordinals: FIGURE 1, FIGURITEMS 2, first LINE 3 (LINE POINT x y POINT x y = 7 nodes).
  const m2dFigureC f = load(
      "LINE { POINT { 0 0 } POINT { 4 0 } } LINE { POINT { 4 0 } POINT { 0 4 } }"
      " LINE { POINT { 0 4 } POINT { 0 0 } }",
      "M2DHATCH { DISTANCE { 2 } M2DHATCHLOOPS {"
      " M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 3 } } MOREF { REFTRG { 10 } }"
      " MOREF { REFTRG { 17 } } } }"
      " M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 3 } } } } } }");
  const metaObjShapeListC items = f.itemList();
  // Only the first two lines have entities.
  for (int i = 0; i < 2; ++i) {
    ads_name e = {0, 0};
    ASSERT_EQ(context->makeLine(m2dLineC(items.childNode(i), 0), 0, 0, e), 1);
    context->shapeReferences().addShape(items.childNode(i), e);
  }
  const m2dHatchC hatch = f.hatchList().item(0);
  EXPECT_EQ(context->countLoopEdges(hatch.loopList().item(0).shapeRefList()), 3);

  ads_name made = {0, 0};
  ASSERT_EQ(context->makeHatch(hatch, made), 1);
  const std::string& t = host().transcript().text();
  EXPECT_NE(t.find("Shape für Hatch nicht gefunden!"), std::string::npos);
  const kxhost::Entity& h = host().database().model().back();
  ASSERT_EQ(h.type, "HATCH");
  EXPECT_EQ(h.layer(), "SCHRAFFUR");
  EXPECT_EQ(h.find(62)->i, 8);
  std::vector<int> types;
  int sources = 0;
  for (const kxhost::Group& g : h.groups) {
    if (g.code == 92) types.push_back(g.i);
    sources += g.code == 330;
  }
  EXPECT_EQ(types, (std::vector<int>{1, 16}));
  EXPECT_EQ(sources, 3);  // two of the outer loop, one of the inner
  EXPECT_DOUBLE_EQ(h.find(41)->v[0], 2.0);
}
