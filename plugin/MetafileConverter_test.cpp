// The metafile conversion against the simulated host, in this process: each test writes a small
// metafile into its own temporary folder, converts it with a context of its own configuration and
// inspects the drawing the host holds afterwards.
#include "plugin/MetafileConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "meta/m2d/m2dDrawing.h"
#include "meta/m2d/m2dFigure.h"
#include "meta/m2d/m2dHatch.h"
#include "meta/m2d/m2dLine.h"
#include "meta/metaObject.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "plugin/testing/PluginTestFixture.h"

namespace {

class ConverterTest : public kxtest::PluginHostTest {
 protected:
  ConverterTest() : PluginHostTest("kestrix-convert") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    configure("");
  }

  // Every pen class on its own layer with a continuous line type and its own colour.
  CommandContext& configure(const std::string& extra) {
    std::ofstream(dir.file("plinth.cfg"))
        << "[Layer]\nSolidHeavy=HEAVY\nSolidLight=LIGHT\nHidden=HIDDEN\nCenter=CENTER\n"
           "HeavyDashDot=DASHDOT\nHatch=HATCH\n"
        << "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=Continuous\n"
           "Center=Continuous\nHeavyDashDot=Continuous\n"
        << "[LineColor]\nSolidHeavy=1\nSolidLight=2\nHidden=3\nCenter=4\nHeavyDashDot=5\n"
           "Hatch=8\n"
        << extra;
    return loadContext();
  }

  // Converts the text as the part insertion does (flag 0, no placement) into a fresh set, which
  // is freed again; returns the converter's result and the set's length in `members`.
  int convert(const std::string& text, int forceBlock = 0, std::int32_t* members = nullptr) {
    std::ofstream(dir.file("part.ps2")) << text;
    ads_name set = {0, 0};
    EXPECT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
    const int rc = context->convertMetafile(RWCString(dir.file("part.ps2").c_str()), set,
                                            static_cast<std::uint8_t>(forceBlock), 0.0, 0.0, 0.0);
    std::int32_t length = -1;
    acedSSLength(set, &length);
    if (members) *members = length;
    acedSSFree(set);
    return rc;
  }

  // Converts part.ps2 of the folder as a part placed at (x, y) turned by angle degrees, into a
  // fresh set that is freed again; returns the converter's result.
  int convertPlaced(double x, double y, double angle) {
    ads_name set = {0, 0};
    EXPECT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
    const int rc = context->convertMetafile(RWCString(dir.file("part.ps2").c_str()), set, 0, x, y,
                                            angle);
    acedSSFree(set);
    return rc;
  }

  static const std::vector<kxhost::Entity>& model() { return host().database().model(); }
  static const kxhost::BlockRecord* block(const std::string& name) {
    return host().database().findBlock(name);
  }
};

const char* const kLooseDrawing =
    "DRAWING { NAME { \"Plate\" } ANSICHTNO { -1 } DRAWINGITEMS {\n"
    "  FIGURE { NAME { \"Plate\" } ANSICHTNO { -1 }\n"
    "    INSERTPOINT { POINT { 10 5 } ROTATION { 90 } }\n"
    "    FIGURITEMS { LINE { POINT { 0 0 } POINT { 2 0 } } } } } }\n";

}  // namespace

TEST(PenClass, FollowsLineStyleAndWidth) {
  struct Case { int style, width, pen; };
  const Case cases[] = {{0, 1, kPenSolidLight}, {0, 2, kPenSolidHeavy}, {1, 7, kPenHidden},
                        {2, 1, kPenCenter},     {2, 2, kPenHeavyDashDot}, {2, 3, kPenHeavyDashDot},
                        {2, 5, kPenSolidHeavy}, {3, 1, kPenSolidHeavy}, {4, 1, kPenSolidHeavy}};
  for (const Case& c : cases)
    EXPECT_EQ(CommandContext::penClassFor(c.style, c.width), c.pen) << c.style << "/" << c.width;
}

TEST(ArcPieceBulge, IsTheTangentOfAQuarterOfTheSweepSignedByDirection) {
  const mVec2dC centre(0, 0);
  const double s = std::sqrt(0.5);
  // A counterclockwise quarter circle and the same piece run clockwise.
  EXPECT_NEAR(arcPieceBulge({1, 0}, {s, s}, {0, 1}, centre), std::tan(M_PI / 8), 1e-12);
  EXPECT_NEAR(arcPieceBulge({0, 1}, {s, s}, {1, 0}, centre), -std::tan(M_PI / 8), 1e-12);
  // Three quarters counterclockwise: the centre lies on the arc's side of the chord.
  EXPECT_NEAR(arcPieceBulge({1, 0}, {-1, 0}, {0, -1}, centre), std::tan(3 * M_PI / 8), 1e-12);
}

TEST(MTextPlacement, LineFeedsMoveAndReattachTheText) {
  const MTextPlacement multi = placeMText({20.7, -3.9}, "a\nb", 5, 1, 10.0);
  EXPECT_EQ(multi.attachment, 4);
  EXPECT_DOUBLE_EQ(multi.x, 15.0);
  EXPECT_DOUBLE_EQ(multi.y, -3.0);
  EXPECT_TRUE(multi.lineFeeds);
  EXPECT_EQ(multi.text, "a\\Pb");
  const MTextPlacement single = placeMText({20.7, 3.9}, "ab", 5, 1, 10.0);
  EXPECT_EQ(single.attachment, 5);
  EXPECT_DOUBLE_EQ(single.x, 20.0);
  // A text without line feeds goes into the MTEXT as stored: nothing is copied.
  EXPECT_FALSE(single.lineFeeds);
  EXPECT_EQ(single.text, "");
  // Right-aligned lines in a box attached at its top centre.
  const MTextPlacement right = placeMText({0, 0}, "a\nb", 2, 3, 9.0);
  EXPECT_EQ(right.attachment, 3);
  EXPECT_DOUBLE_EQ(right.x, 4.0);
}

// Attachments worked out from any 32-bit "TEXTRELPOS" and "TEXTALIGN" without overflow: one
// outside 1..9 stays outside it in the 16-bit group, so the host refuses the text, and the
// shift of a huge alignment is exact.
TEST(MTextPlacement, AttachmentsBeyondTheGroupStayOutsideTheValidRange) {
  struct Case {
    const char* text;
    int relPos, align;
    int attachment;
    double x;
  };
  const Case cases[] = {
      // (-2147483649) mod 3 is 0: the attachment is -2147483648, below the group's range.
      {"a\nb", INT32_MIN, 1, INT16_MIN, 2.0},
      // 7 - 0 + 2147483646 = 2147483653; x moves by 2147483646 half widths of 5.
      {"a\nb", 7, INT32_MAX, INT16_MAX, 2.0 + 2147483646.0 * 5.0},
      // (2147483646) mod 3 is 0: 2147483647 + 2147483646.
      {"a\nb", INT32_MAX, INT32_MAX, INT16_MAX, 2.0 + 2147483646.0 * 5.0},
      // Without a line feed the stored value: 65541 would read as 5 in 16 bits.
      {"ab", 65541, 1, INT16_MAX, 2.0},
      {"ab", -65531, 1, INT16_MIN, 2.0},
      {"a\nb", -7, 1, -5, 12.0},  // (-8) mod 3 is -2: -7 + 2, and x less 5 * -2
  };
  for (const Case& c : cases) {
    const MTextPlacement p = placeMText({2.5, 1.5}, c.text, c.relPos, c.align, 10.0);
    EXPECT_EQ(p.attachment, c.attachment) << c.relPos << "/" << c.align;
    EXPECT_DOUBLE_EQ(p.x, c.x) << c.relPos << "/" << c.align;
  }
}

// A lone FIGURE always becomes a block, even without "GROUP" "YES"; the INSERT is what the
// caller's set gets, at the figure's insertion point and rotation.
TEST_F(ConverterTest, LoneFigureBecomesBlockAndInsert) {
  std::int32_t members = 0;
  ASSERT_EQ(convert("FIGURE { NAME { \"Pin\" } ANSICHTNO { 2 }\n"
                    "  INSERTPOINT { POINT { 3 4 } ROTATION { 90 } }\n"
                    "  FIGURITEMS { CIRCLE { POINT { 0 0 } RAD { 2 } } } }\n",
                    0, &members),
            1);
  EXPECT_EQ(members, 1);
  const kxhost::BlockRecord* b = block("Pin View2");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 1u);
  EXPECT_EQ(b->entities[0].type, "CIRCLE");
  EXPECT_EQ(b->entities[0].layer(), "HEAVY");
  EXPECT_EQ(b->entities[0].find(62)->i, 1);
  ASSERT_EQ(model().size(), 1u);
  EXPECT_EQ(model()[0].type, "INSERT");
  EXPECT_DOUBLE_EQ(model()[0].find(10)->v[0], 3.0);
  EXPECT_NEAR(model()[0].find(50)->v[0], M_PI / 2, 1e-12);
}

// A drawing of one figure that is no group puts loose entities into the caller's set, turned by
// the figure's rotation and moved to its insertion point; the connection command's flag makes a
// block of the same figure.
TEST_F(ConverterTest, SingleUngroupedFigureIsLooseUnlessForced) {
  std::int32_t members = 0;
  ASSERT_EQ(convert(kLooseDrawing, 0, &members), 1);
  EXPECT_EQ(members, 1);
  ASSERT_EQ(model().size(), 1u);
  ASSERT_EQ(model()[0].type, "LINE");
  EXPECT_NEAR(model()[0].find(10)->v[0], 10.0, 1e-9);
  EXPECT_NEAR(model()[0].find(11)->v[0], 10.0, 1e-9);
  EXPECT_NEAR(model()[0].find(11)->v[1], 7.0, 1e-9);
  EXPECT_TRUE(host().database().blocks().empty() || !block("Plate"));

  ASSERT_EQ(convert(kLooseDrawing, 1, &members), 1);
  EXPECT_EQ(members, 1);
  ASSERT_NE(block("Plate"), nullptr);
}

// Three figures: three inner blocks inside one outer block named after the drawing; an empty
// name gives "TROVSOL", then "TROVSOL0" and "TROVSOL1" while those exist.
TEST_F(ConverterTest, SeveralFiguresGetAnOuterBlockWithUniqueNames) {
  const std::string figure =
      "FIGURE { NAME { \"\" } ANSICHTNO { -1 } GROUP { \"YES\" }\n"
      "  FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } } }\n";
  std::int32_t members = 0;
  ASSERT_EQ(convert("DRAWING { NAME { \"Set\" } ANSICHTNO { -1 } DRAWINGITEMS {" + figure +
                        figure + figure + "} }",
                    0, &members),
            1);
  EXPECT_EQ(members, 1);
  for (const char* name : {"TROVSOL", "TROVSOL0", "TROVSOL1"}) EXPECT_NE(block(name), nullptr) << name;
  const kxhost::BlockRecord* outer = block("Set");
  ASSERT_NE(outer, nullptr);
  ASSERT_EQ(outer->entities.size(), 3u);
  for (const kxhost::Entity& e : outer->entities) EXPECT_EQ(e.type, "INSERT");
  ASSERT_EQ(model().size(), 1u);
  EXPECT_EQ(model()[0].find(2)->s, "Set");
}

// "SHAPEATTR" items set the pen class and cosmetic layer of what follows; style 4 hides shapes
// up to the next attribute item; every shape but a text is recorded for the hatches.
TEST_F(ConverterTest, ShapeAttributesChoosePenClassesAndHideShapes) {
  configure("[Layer]\nCosm=COSM\n");
  ASSERT_EQ(convert("FIGURE { NAME { \"A\" } ANSICHTNO { -1 } FIGURITEMS {\n"
                    "  SHAPEATTR { SHAPEWIDTH { 1 } SHAPETYP { 0 } COSMETIC { 0 } }\n"
                    "  LINE { POINT { 0 0 } POINT { 1 0 } }\n"
                    "  SHAPEATTR { SHAPEWIDTH { 5 } SHAPETYP { 2 } COSMETIC { 0 } }\n"
                    "  LINE { POINT { 0 0 } POINT { 2 0 } }\n"
                    "  SHAPEATTR { SHAPEWIDTH { 1 } SHAPETYP { 4 } COSMETIC { 0 } }\n"
                    "  LINE { POINT { 0 0 } POINT { 3 0 } }\n"
                    "  SHAPEATTR { SHAPEWIDTH { 1 } SHAPETYP { 1 } COSMETIC { 1 } }\n"
                    "  ARC { POINT { 1 0 } POINT { 0 1 } POINT { -1 0 } }\n"
                    "  TEXT { TEXT { \"T\" } POINT { 0 0 } HEIGHT { 2.5 } TEXTRELPOS { 1 } }\n"
                    "} }\n"),
            1);
  const kxhost::BlockRecord* b = block("A");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 4u);
  EXPECT_EQ(b->entities[0].layer(), "LIGHT");
  EXPECT_EQ(b->entities[1].layer(), "HEAVY");  // centre line of width 5
  EXPECT_DOUBLE_EQ(b->entities[1].find(11)->v[0], 2.0);
  EXPECT_EQ(b->entities[2].type, "ARC");
  EXPECT_EQ(b->entities[2].layer(), "COSM");
  EXPECT_EQ(b->entities[2].find(62)->i, 3);  // hidden pen class colour
  EXPECT_NEAR(b->entities[2].find(50)->v[0], 0.0, 1e-9);
  EXPECT_NEAR(b->entities[2].find(51)->v[0], M_PI, 1e-9);
  EXPECT_EQ(b->entities[3].type, "MTEXT");
  EXPECT_EQ(context->shapeReferences().entries(), 3u);
}

// A clockwise arc has its angles swapped; a curve on a closed circle becomes a CIRCLE; an open
// curve becomes a 2D polyline whose vertices end at the curve's last point.
TEST_F(ConverterTest, ArcsAndCurves) {
  std::string circle = "ICRV2D {";
  for (int i = 0; i <= 36; ++i) {
    const double a = i * 10.0 * M_PI / 180.0;
    circle += " POINT { " + std::to_string(5 * std::cos(a)) + " " + std::to_string(5 * std::sin(a)) + " }";
  }
  circle += " POINT { 5.000000 0.000000 } }\n";
  ASSERT_EQ(convert("FIGURE { NAME { \"C\" } ANSICHTNO { -1 } FIGURITEMS {\n"
                    "  ARC { POINT { -1 0 } POINT { 0 1 } POINT { 1 0 } }\n" + circle +
                    "  ICRV2D { POINT { 0 0 } POINT { 1 0 } POINT { 1 1 } }\n} }\n"),
            1);
  const kxhost::BlockRecord* b = block("C");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 3u);
  EXPECT_NEAR(b->entities[0].find(50)->v[0], 0.0, 1e-9);
  EXPECT_NEAR(b->entities[0].find(51)->v[0], M_PI, 1e-9);
  EXPECT_EQ(b->entities[1].type, "CIRCLE");
  EXPECT_NEAR(b->entities[1].find(40)->v[0], 5.0, 1e-3);
  const kxhost::Entity& poly = b->entities[2];
  ASSERT_EQ(poly.type, "POLYLINE");
  EXPECT_EQ(poly.find(70)->i, 0);
  ASSERT_EQ(poly.subs.size(), 4u);  // three vertices and the SEQEND
  EXPECT_DOUBLE_EQ(poly.subs[2].find(10)->v[1], 1.0);
  EXPECT_EQ(poly.subs[3].type, "SEQEND");
}

// A curve of three lines into a circle of radius 10 about (0, 0), entered at (10, 0) (points
// given to 6 decimals, so the circle piece is good to the split's tolerance of 0.001): the
// polyline holds the lines' vertices, then the circle as two half circles (bulge 1) through
// (-10, 0) and back, and ends at (10, 0).
TEST_F(ConverterTest, CurveCircleAfterOtherPiecesIsDrawn) {
  ASSERT_EQ(convert("FIGURE { NAME { \"K\" } ANSICHTNO { -1 } FIGURITEMS { " +
                    kxtest::leadInCircleCurve() + " } }\n"),
            1);
  const kxhost::BlockRecord* b = block("K");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 1u);
  const kxhost::Entity& poly = b->entities[0];
  ASSERT_EQ(poly.type, "POLYLINE");
  EXPECT_EQ(poly.find(70)->i, 0);
  struct Vertex { double x, y, bulge; };
  const Vertex want[] = {{10, -30, 0}, {20, -30, 0}, {20, -10, 0}, {10, 0, 1}, {-10, 0, 1}, {10, 0, 0}};
  ASSERT_EQ(poly.subs.size(), 7u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_NEAR(poly.subs[i].find(10)->v[0], want[i].x, 1e-3) << i;
    EXPECT_NEAR(poly.subs[i].find(10)->v[1], want[i].y, 1e-3) << i;
    EXPECT_DOUBLE_EQ(poly.subs[i].find(42)->v[0], want[i].bulge) << i;
  }
  EXPECT_EQ(poly.subs[6].type, "SEQEND");
}

// Inch mode scales the shapes by 1/25.4 and divides the insertion point; a text's position,
// worked out in millimetres as stored, and its height are scaled as well.
TEST_F(ConverterTest, InchModeScalesTextsLikeShapes) {
  context->setInchMode(1);
  ASSERT_EQ(convert("FIGURE { NAME { \"I\" } ANSICHTNO { -1 } INSERTPOINT { POINT { 254 0 } ROTATION { 0 } }\n"
                    "  FIGURITEMS { CIRCLE { POINT { 25.4 0 } RAD { 2.54 } }\n"
                    "  TEXT { TEXT { \"T\" } POINT { 50.9 25.9 } HEIGHT { 2.5 } TEXTRELPOS { 1 } } } }\n"),
            1);
  const kxhost::BlockRecord* b = block("I");
  ASSERT_NE(b, nullptr);
  EXPECT_NEAR(b->entities[0].find(10)->v[0], 1.0, 1e-12);
  EXPECT_NEAR(b->entities[0].find(40)->v[0], 0.1, 1e-12);
  const kxhost::Entity& text = b->entities[1];
  ASSERT_EQ(text.type, "MTEXT");
  EXPECT_NEAR(text.find(10)->v[0], 50.0 / 25.4, 1e-12);
  EXPECT_NEAR(text.find(10)->v[1], 25.0 / 25.4, 1e-12);
  EXPECT_NEAR(text.find(40)->v[0], 2.5 / 25.4, 1e-12);
  EXPECT_NEAR(model()[0].find(10)->v[0], 10.0, 1e-12);
}

// Inch mode scales hatches like shapes: "DISTANCE" 2.54 becomes 0.1, an absent one the default 5
// millimetres in inches, with the offsets between the pattern lines; the pattern lines of the
// record ("M2DHATCHLINES") are scaled too.
TEST_F(ConverterTest, InchModeScalesHatchesLikeShapes) {
  context->setInchMode(1);
  // Ordinals: FIGURE 1, NAME 2, "I" 3, ANSICHTNO 4, -1 5, FIGURITEMS 6, CIRCLE 7.
  const std::string loop =
      "M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 7 } } } } }";
  std::ofstream(dir.file("inch.ps2"))
      << "FIGURE { NAME { \"I\" } ANSICHTNO { -1 } FIGURITEMS { CIRCLE { POINT { 0 0 } RAD { 25.4 } } }\n"
         "  M2DHATCHES { M2DHATCH { ANGLE { 0 } DISTANCE { 2.54 } " << loop << "\n"
         "    M2DHATCHLINES { LINE { POINT { 0 0 } POINT { 25.4 50.8 } } } }\n"
         "  M2DHATCH { ANGLE { 0 } " << loop << " } } }\n";
  metaObjectC tree = loadMetaTreeFile(dir.file("inch.ps2").c_str(), 1);
  ASSERT_NE(tree.node(), nullptr);
  const m2dFigureC figure(tree.node(), 0);
  ads_name set = {0, 0};
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  ASSERT_EQ(context->convertFigure(figure, set, 1, 0.0, 0.0, 0.0), 1);
  acedSSFree(set);
  const kxhost::BlockRecord* b = block("I");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 3u);
  EXPECT_NEAR(b->entities[0].find(40)->v[0], 1.0, 1e-12);
  const double s = std::sqrt(0.5);
  for (const auto& [index, spacing] : {std::pair<int, double>{1, 0.1}, {2, 5.0 / 25.4}}) {
    const kxhost::Entity& h = b->entities[index];
    ASSERT_EQ(h.type, "HATCH");
    EXPECT_NEAR(h.find(41)->v[0], spacing, 1e-15) << index;
    EXPECT_NEAR(h.find(45)->v[0], -spacing * s, 1e-15) << index;
    EXPECT_NEAR(h.find(46)->v[0], spacing * s, 1e-15) << index;
  }
  const m2dLineC line = figure.hatchList().item(0).line(0);
  EXPECT_NEAR(line.endPoint().x, 1.0, 1e-12);
  EXPECT_NEAR(line.endPoint().y, 2.0, 1e-12);
}

// The texts of a figure without a block are turned and moved with its shapes: by the figure's
// rotation about the origin, to its insertion point, then by the caller's angle and point; a
// text's own angle turns by both. A multi-line text is shifted in its box before it is placed.
TEST_F(ConverterTest, LooseFigureTextsFollowThePlacement) {
  std::ofstream(dir.file("part.ps2"))
      << "DRAWING { NAME { \"P\" } ANSICHTNO { -1 } DRAWINGITEMS {\n"
         "  FIGURE { NAME { \"P\" } ANSICHTNO { -1 } INSERTPOINT { POINT { 10 5 } ROTATION { 90 } }\n"
         "    FIGURITEMS { LINE { POINT { 3 1 } POINT { 5 1 } }\n"
         "      TEXT { TEXT { \"T\" } POINT { 3.7 1.2 } HEIGHT { 2.5 } ANGLE { 10 } TEXTRELPOS { 1 } }\n"
         "      TEXT { TEXT { \"a\nb\" } POINT { 20 0 } HEIGHT { 2.5 } ANGLE { 0 } TEXTRELPOS { 5 }\n"
         "             TEXTALIGN { 1 } TEXTBW { 10 } } } } } }\n";
  struct Case {
    double x, y, angle;
    double lineX, lineY;         // start of the line
    double textX, textY, turn;   // first text, its angle in degrees
    double boxX, boxY;           // second text
  };
  const Case cases[] = {
      // (3, 1) turned by 90 degrees is (-1, 3), moved by (10, 5); the box text starts at (15, 0).
      {0.0, 0.0, 0.0, 9.0, 8.0, 9.0, 8.0, 100.0, 10.0, 20.0},
      // Then turned by another 90 degrees and moved by (100, 0).
      {100.0, 0.0, 90.0, 92.0, 9.0, 92.0, 9.0, 190.0, 80.0, 10.0},
  };
  for (const Case& c : cases) {
    const std::size_t first = model().size();
    ASSERT_EQ(convertPlaced(c.x, c.y, c.angle), 1);
    ASSERT_EQ(model().size(), first + 3);
    EXPECT_NEAR(model()[first].find(10)->v[0], c.lineX, 1e-9);
    EXPECT_NEAR(model()[first].find(10)->v[1], c.lineY, 1e-9);
    const kxhost::Entity& text = model()[first + 1];
    ASSERT_EQ(text.type, "MTEXT");
    EXPECT_NEAR(text.find(10)->v[0], c.textX, 1e-9) << c.angle;
    EXPECT_NEAR(text.find(10)->v[1], c.textY, 1e-9) << c.angle;
    EXPECT_NEAR(text.find(50)->v[0], c.turn / 180.0 * M_PI, 1e-12);
    EXPECT_DOUBLE_EQ(text.find(40)->v[0], 2.5);
    const kxhost::Entity& box = model()[first + 2];
    EXPECT_EQ(box.find(71)->i, 4);
    EXPECT_NEAR(box.find(10)->v[0], c.boxX, 1e-9) << c.angle;
    EXPECT_NEAR(box.find(10)->v[1], c.boxY, 1e-9) << c.angle;
  }
}

// The hatch pattern of a figure without a block turns with its shapes and its base and seed
// point, the figure's origin, go where that goes: by the figure's rotation to its insertion
// point, then by the caller's angle and point.
TEST_F(ConverterTest, LooseFigureHatchPatternFollowsThePlacement) {
  // Ordinals: DRAWING 1, NAME 2, "P" 3, ANSICHTNO 4, -1 5, DRAWINGITEMS 6, FIGURE 7, NAME 8,
  // "P" 9, ANSICHTNO 10, -1 11, INSERTPOINT 12 (POINT 13 to 15, ROTATION 16, 17), FIGURITEMS 18,
  // so the lines are 19, 26 and 33.
  std::ofstream(dir.file("part.ps2"))
      << "DRAWING { NAME { \"P\" } ANSICHTNO { -1 } DRAWINGITEMS {\n"
         "  FIGURE { NAME { \"P\" } ANSICHTNO { -1 } INSERTPOINT { POINT { 10 5 } ROTATION { 90 } }\n"
         "    FIGURITEMS { LINE { POINT { 0 0 } POINT { 4 0 } } LINE { POINT { 4 0 } POINT { 0 4 } }\n"
         "      LINE { POINT { 0 4 } POINT { 0 0 } } }\n"
         "    M2DHATCHES { M2DHATCH { ANGLE { 0 } DISTANCE { 3 } M2DHATCHLOOPS { M2DHATCHLOOP {\n"
         "      M2DHATCHLOOPSHREFS { MOREF { REFTRG { 19 } } MOREF { REFTRG { 26 } }\n"
         "      MOREF { REFTRG { 33 } } } } } } } } } }\n";
  struct Case {
    double x, y, angle;
    double pattern;        // degrees
    double baseX, baseY;
  };
  const Case cases[] = {
      {0.0, 0.0, 0.0, 135.0, 10.0, 5.0},
      // (10, 5) turned by another 90 degrees is (-5, 10), moved by (100, 0).
      {100.0, 0.0, 90.0, 225.0, 95.0, 10.0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(convertPlaced(c.x, c.y, c.angle), 1);
    const kxhost::Entity& h = model().back();
    ASSERT_EQ(h.type, "HATCH");
    const double a = c.pattern / 180.0 * M_PI;
    EXPECT_NEAR(h.find(52)->v[0], a, 1e-12) << c.angle;
    EXPECT_NEAR(h.find(53)->v[0], a, 1e-12) << c.angle;
    EXPECT_NEAR(h.find(43)->v[0], c.baseX, 1e-9) << c.angle;
    EXPECT_NEAR(h.find(44)->v[0], c.baseY, 1e-9) << c.angle;
    EXPECT_NEAR(h.find(45)->v[0], -3.0 * std::sin(a), 1e-12) << c.angle;
    EXPECT_NEAR(h.find(46)->v[0], 3.0 * std::cos(a), 1e-12) << c.angle;
    const kxhost::Group* seed = nullptr;
    for (const kxhost::Group& g : h.groups)
      if (g.code == 10) seed = &g;  // the last 10 is the seed point
    ASSERT_NE(seed, nullptr);
    EXPECT_NEAR(seed->v[0], c.baseX, 1e-9) << c.angle;
    EXPECT_NEAR(seed->v[1], c.baseY, 1e-9) << c.angle;
  }
}

// What the host refuses or cannot read is reported and fails the conversion; nothing throws.
TEST_F(ConverterTest, FailuresAreReported) {
  struct Case { const char* text; const char* message; };
  const Case cases[] = {
      {"", "Fehler in der Metadatei!"},
      {"PART { }", "Fehler in der Metadatei!"},
      {"FIGURE { FIGURITEMS { LINE { POINT { 0 0 } ", "Fehler in der Metadatei!"},
      {"FIGURE { FIGURITEMS { CIRCLE { POINT { 0 0 } RAD { 0 } } } }",
       "Kreis konnte nicht erzeugt werden!"},
      {"FIGURE { FIGURITEMS { TEXT { TEXT { \"x\" } HEIGHT { 0 } } } }",
       "Textelement konnte nicht erzeugt werden!"},
  };
  for (const Case& c : cases) {
    host().transcript().clear();
    EXPECT_EQ(convert(c.text), -1) << c.text;
    EXPECT_TRUE(transcriptHas(c.message)) << c.text;
  }
}

// The hatch follows the shapes: one loop over a line, an arc and a line, its sources the entities
// made from them; a failing hatch leaves the figure's result and its block.
TEST_F(ConverterTest, HatchLoopsNameTheirBoundaryEntities) {
  const char* const shapes =
      "LINE { POINT { 0 0 } POINT { 2 0 } }\n"
      "ARC { POINT { 2 0 } POINT { 1.7071067811865475 0.7071067811865475 } POINT { 1 1 } }\n"
      "LINE { POINT { 1 1 } POINT { 0 0 } }\n";
  // Depth-first ordinals: FIGURE 1, NAME 2, "H" 3, ANSICHTNO 4, -1 5, FIGURITEMS 6, so the
  // shapes are 7, 14 and 24.
  const std::string hatch =
      "M2DHATCHES { M2DHATCH { ANGLE { 0 } DISTANCE { 4 } M2DHATCHLOOPS { M2DHATCHLOOP {\n"
      "  M2DHATCHLOOPSHREFS { MOREF { REFTRG { 7 } } MOREF { REFTRG { 14 } }\n"
      "  MOREF { REFTRG { 24 } } } } } } }\n";
  ASSERT_EQ(convert(std::string("FIGURE { NAME { \"H\" } ANSICHTNO { -1 } FIGURITEMS {\n") + shapes + "}\n" + hatch +
                    "}\n"),
            1);
  const kxhost::BlockRecord* b = block("H");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 4u);
  const kxhost::Entity& h = b->entities[3];
  ASSERT_EQ(h.type, "HATCH");
  EXPECT_EQ(h.find(93)->i, 3);
  EXPECT_EQ(h.find(97)->i, 3);
  EXPECT_NEAR(h.find(52)->v[0], M_PI / 4, 1e-12);
  EXPECT_NEAR(h.find(45)->v[0], -4 * std::sin(M_PI / 4), 1e-12);
  EXPECT_NEAR(h.find(46)->v[0], 4 * std::cos(M_PI / 4), 1e-12);
  int sources = 0;
  for (const kxhost::Group& g : h.groups) sources += g.code == 330;
  EXPECT_EQ(sources, 3);
  EXPECT_FALSE(transcriptHas("Shape f"));
}

// A vertex the host refuses (a coordinate beyond the doubles) ends its polyline without leaving
// it open or half made: the first curve fails at its first vertex, the second at its closing
// one; both figures fail, the third still becomes a block and the drawing its outer block.
TEST_F(ConverterTest, RefusedVertexDropsThePolylineAndTheOtherFiguresAreMade) {
  const auto figure = [](const char* name, const char* items) {
    return std::string("FIGURE { NAME { \"") + name + "\" } ANSICHTNO { -1 } GROUP { \"YES\" }\n"
           "  FIGURITEMS { " + items + " } }\n";
  };
  std::int32_t members = 0;
  ASSERT_EQ(convert("DRAWING { NAME { \"Set\" } ANSICHTNO { -1 } DRAWINGITEMS {\n" +
                        figure("Bad1", "ICRV2D { POINT { 1e999 0 } POINT { 10 0 } POINT { 10 10 } }"
                                       " LINE { POINT { 0 0 } POINT { 1 0 } }") +
                        figure("Bad2", "ICRV2D { POINT { 0 0 } POINT { 10 0 } POINT { 1e999 5 } }") +
                        figure("Good", "LINE { POINT { 0 0 } POINT { 3 0 } }") + "} }",
                    0, &members),
            1);
  EXPECT_EQ(members, 1);
  EXPECT_TRUE(transcriptHas("Polyline-Vertex konnte nicht erzeugt werden!"));
  EXPECT_EQ(block("Bad1"), nullptr);
  EXPECT_EQ(block("Bad2"), nullptr);
  const kxhost::BlockRecord* good = block("Good");
  ASSERT_NE(good, nullptr);
  ASSERT_EQ(good->entities.size(), 1u);
  EXPECT_EQ(good->entities[0].type, "LINE");
  const kxhost::BlockRecord* outer = block("Set");
  ASSERT_NE(outer, nullptr);
  ASSERT_EQ(outer->entities.size(), 1u);
  EXPECT_EQ(outer->entities[0].find(2)->s, "Good");
  ASSERT_EQ(model().size(), 1u);
  EXPECT_EQ(model()[0].type, "INSERT");
  EXPECT_EQ(model()[0].find(2)->s, "Set");
  EXPECT_FALSE(host().database().pendingComplex());
  EXPECT_EQ(context->shapeReferences().entries(), 1u);
}

// A figure holding chains a million sections deep (an unknown item, extra sections inside a shape,
// its name and its hatch list, and a drawing's item list) converts like the same figure
// without them: no step of the conversion walks the tree by recursion.
TEST_F(ConverterTest, MillionDeepSectionsConvert) {
  std::ofstream(dir.file("deep.ps2"))
      << "DRAWING { NAME { \"Deep\" } ANSICHTNO { -1 } DRAWINGITEMS {\n"
         "  FIGURE { NAME { \"Deep\" } ANSICHTNO { -1 } GROUP { \"YES\" }\n"
         "    FIGURITEMS { LINE { POINT { 0 0 } POINT { 4 0 } } DEEPITEM { } }\n"
         "    M2DHATCHES { } } } }\n";
  metaObjectC tree = loadMetaTreeFile(dir.file("deep.ps2").c_str(), 1);
  ASSERT_NE(tree.node(), nullptr);
  const auto child = [](metaTreeC* node, const char* key) {
    metaTreeC* c = node->firstChild();
    while (c && !c->isKey(key)) c = c->nextSibling();
    return c;
  };
  const auto deepen = [](metaTreeC* node) {
    for (int level = 0; level < 1000000; ++level) {
      metaTreeC* next = metaTreeC::createKeyNode("DEEP");
      next->appendAsLastChild(node);
      node = next;
    }
  };
  metaTreeC* items = child(tree.node(), "DRAWINGITEMS");
  metaTreeC* figure = child(items, "FIGURE");
  metaTreeC* shapes = child(figure, "FIGURITEMS");
  deepen(child(shapes, "DEEPITEM"));
  deepen(child(shapes, "LINE"));
  deepen(child(figure, "NAME"));
  deepen(child(figure, "M2DHATCHES"));
  deepen(items);

  ads_name set = {0, 0};
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  ASSERT_EQ(context->convertDrawing(m2dDrawingC(tree.node(), 0), set, 0, 0.0, 0.0, 0.0), 1);
  std::int32_t members = 0;
  acedSSLength(set, &members);
  acedSSFree(set);
  EXPECT_EQ(members, 1);
  const kxhost::BlockRecord* b = block("Deep");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 1u);
  EXPECT_EQ(b->entities[0].type, "LINE");
  EXPECT_DOUBLE_EQ(b->entities[0].find(11)->v[0], 4.0);
}
