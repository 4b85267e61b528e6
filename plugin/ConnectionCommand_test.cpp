// The connection command: the measurement of the joint from the picked lines (checked against an
// independent computation by cross products and projections), the poke text, the input step
// against the simulated host's picks, and the command line that reaches the launcher. Each test
// has its own folder, variable tables and registry root, and a fresh host.
#include "plugin/ConnectionCommand.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "host/api.h"
#include "plugin/testing/PluginTestFixture.h"

namespace fs = std::filesystem;

namespace {

using Point = ConnectionCommand::Point;
using Line = ConnectionCommand::Line;
using Measurement = ConnectionCommand::Measurement;

constexpr double kPi = 3.141592653589793;

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// ---- the independent computation -----------------------------------------------------------

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Distance of q from the infinite line l, by the cross product.
double distanceToLine(const Point& q, const Line& l) {
  const double dx = l.end.x - l.start.x, dy = l.end.y - l.start.y;
  return std::fabs(cross(dx, dy, q.x - l.start.x, q.y - l.start.y)) / std::hypot(dx, dy);
}

// Foot of the perpendicular from q onto the line l.
Point foot(const Point& q, const Line& l) {
  const double dx = l.end.x - l.start.x, dy = l.end.y - l.start.y;
  const double t = ((q.x - l.start.x) * dx + (q.y - l.start.y) * dy) / (dx * dx + dy * dy);
  return {l.start.x + t * dx, l.start.y + t * dy};
}

// The line through p in direction `degrees`, long enough to be picked.
Line lineAt(const Point& p, double degrees, double half = 40.0) {
  const double c = std::cos(degrees * kPi / 180.0), s = std::sin(degrees * kPi / 180.0);
  return {{p.x - half * c, p.y - half * s}, {p.x + half * c, p.y + half * s}};
}

// Checks a measurement against the geometry: thickness1 is the distance from the hole point to
// plate 2's top edge, thickness2 the distance from the foot on that edge to the bottom edge, and
// the angle points from the hole point straight at plate 2 (the joint program draws along +x).
void expectMatchesGeometry(const Measurement& m, const Point& hole, const Line& top2,
                           const Line* bottom2) {
  EXPECT_NEAR(m.thickness1, distanceToLine(hole, top2), 1e-9);
  const Point f = foot(hole, top2);
  EXPECT_NEAR(m.thickness2, bottom2 ? distanceToLine(f, *bottom2) : 0.0, 1e-9);
  const double length = std::hypot(f.x - hole.x, f.y - hole.y);
  EXPECT_NEAR(std::cos(m.angle * kPi / 180.0), (f.x - hole.x) / length, 1e-9);
  EXPECT_NEAR(std::sin(m.angle * kPi / 180.0), (f.y - hole.y) / length, 1e-9);
}

}  // namespace

// Plates in many directions, the hole point on either side of plate 2's top edge: the measured
// thicknesses and the direction agree with the independent computation.
TEST(ConnectionMeasurement, AgreesWithAnIndependentComputation) {
  const Point hole{7.5, -3.25};
  const double directions[] = {0.0, 17.0, 45.0, 89.0, 91.0, 135.0, 180.0, 200.0, -60.0, 300.0};
  const double sides[] = {1.0, -1.0};
  for (double direction : directions) {
    for (double side : sides) {
      SCOPED_TRACE("plates at " + std::to_string(direction) + " degrees, side " +
                   std::to_string(side));
      // Plate 2's top edge 12 units from the hole, its bottom edge 8 further on; both edges
      // are shifted along their direction so that no end point lies at the foot.
      const double nx = -std::sin(direction * kPi / 180.0) * side;
      const double ny = std::cos(direction * kPi / 180.0) * side;
      const Line top2 = lineAt({hole.x + 12.0 * nx + 3.0, hole.y + 12.0 * ny}, direction);
      const Line bottom2 = lineAt({hole.x + 20.0 * nx - 5.0, hole.y + 20.0 * ny}, direction);
      Measurement m;
      ASSERT_TRUE(ConnectionCommand::measure(true, hole, top2, bottom2, m));
      expectMatchesGeometry(m, hole, top2, &bottom2);
      ASSERT_TRUE(ConnectionCommand::measure(false, hole, top2, bottom2, m));
      expectMatchesGeometry(m, hole, top2, nullptr);
    }
  }
}

// The exact angles at the vertical and horizontal edges, where the formula branches.
TEST(ConnectionMeasurement, AnglesAtTheBranches) {
  struct Case {
    const char* label;
    Line top2;
    double angle;
  };
  const Point hole{0.0, 0.0};
  const Case cases[] = {
      {"horizontal edge below", {{-10, -5}, {10, -5}}, -90.0},
      {"horizontal edge above", {{-10, 5}, {10, 5}}, 90.0},
      {"horizontal edge above, drawn right to left", {{10, 5}, {-10, 5}}, 90.0},
      {"vertical edge left", {{-5, -10}, {-5, 10}}, 180.0},
      {"vertical edge right", {{5, 10}, {5, -10}}, 0.0},
      {"edge within the vertical tolerance", {{5.00005, -10}, {5, 10}}, 0.0},
  };
  for (const Case& c : cases) {
    Measurement m;
    ASSERT_TRUE(ConnectionCommand::measure(false, hole, c.top2, c.top2, m)) << c.label;
    EXPECT_DOUBLE_EQ(m.angle, c.angle) << c.label;
    EXPECT_NEAR(m.thickness1, 5.0, 1e-4) << c.label;
    EXPECT_EQ(m.thickness2, 0.0) << c.label;
  }
}

// A through hole with a vertical bottom edge measures from plate 2's first end point; a bottom
// edge that coincides with the top edge gives thickness 0 (sent as a blind hole).
TEST(ConnectionMeasurement, ThroughHoleSecondThickness) {
  Measurement m;
  ASSERT_TRUE(ConnectionCommand::measure(true, {0, 0}, {{-5, -10}, {-5, 10}},
                                         {{-13, 4}, {-13, 9}}, m));
  EXPECT_DOUBLE_EQ(m.thickness1, 5.0);
  EXPECT_DOUBLE_EQ(m.thickness2, 8.0);
  EXPECT_DOUBLE_EQ(m.angle, 180.0);

  ASSERT_TRUE(ConnectionCommand::measure(true, {0, 0}, {{-10, -5}, {10, -5}},
                                         {{30, -5}, {-30, -5}}, m));
  EXPECT_EQ(m.thickness2, 0.0);
}

// Input that allows no measurement is refused rather than handing a zero, an infinity or NaN on.
TEST(ConnectionMeasurement, UnusableInputIsRefused) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* label;
    bool through;
    Point hole;
    Line top2, bottom2;
  };
  const Case cases[] = {
      {"hole point on plate 2's top edge", false, {3, 0}, {{0, 0}, {10, 0}}, {}},
      {"hole point on a vertical top edge", false, {0, 4}, {{0, 0}, {0, 10}}, {}},
      {"top edge of no length", false, {0, 5}, {{2, 2}, {2, 2}}, {}},
      {"top edge of no length, through hole", true, {0, 5}, {{2, 2}, {2, 2}}, {{0, -3}, {9, -3}}},
      {"bottom edge of no length", true, {0, 5}, {{0, 0}, {9, 0}}, {{4, -3}, {4, -3}}},
      {"hole point not a number", false, {nan, 5}, {{0, 0}, {9, 0}}, {}},
      {"edge not a number", false, {0, 5}, {{0, 0}, {nan, 1}}, {}},
      {"bottom edge not a number", true, {0, 5}, {{0, 0}, {9, 0}}, {{0, nan}, {9, -3}}},
  };
  for (const Case& c : cases) {
    Measurement m;
    EXPECT_FALSE(ConnectionCommand::measure(c.through, c.hole, c.top2, c.bottom2, m)) << c.label;
  }
}

// The poke is "%5.1f" of both thicknesses, kind 1 when the second is 0; checked against the C
// run-time's own formatting.
TEST(ConnectionPoke, FormatsAsTheConnectionProgramReadsIt) {
  struct Case {
    double d1, d2;
    const char* kind;
  };
  const Case cases[] = {
      {12.0, 0.0, "1"},   {12.7, 8.5, "2"},    {0.04, 0.05, "2"},  {3.25, 1e-9, "1"},
      {99.95, 0.0, "1"},  {1234.56, 7.0, "2"}, {1e20, 2.0, "2"},   {0.5 * 25.4, 0.0, "1"},
  };
  for (const Case& c : cases) {
    char expected[512];
    std::snprintf(expected, sizeof expected, " -poke \"pconset=    %s,%5.1f,%5.1f,   -1\"", c.kind,
                  c.d1, c.d2);
    EXPECT_EQ(str(ConnectionCommand::pokeArgument(c.d1, c.d2)), expected);
  }
  EXPECT_EQ(str(ConnectionCommand::pokeArgument(12.0, 0.0)),
            " -poke \"pconset=    1, 12.0,  0.0,   -1\"");
}

TEST(ConnectionTypeCode, ByGroupZero) {
  struct Case {
    const char* type;
    const char* block;
    int code;
  };
  const Case cases[] = {
      {"POINT", nullptr, 10},   {"LINE", nullptr, 20},     {"ARC", nullptr, 35},
      {"CIRCLE", nullptr, 30},  {"ELLIPSE", nullptr, 40},  {"TEXT", nullptr, 50},
      {"POLYLINE", nullptr, 70}, {"VERTEX", nullptr, 75},  {"INSERT", "BOLT M8", 90},
      {"INSERT", "*X12", 240},  {"INSERT", "*U3", 90},     {"INSERT", nullptr, 90},
      {"MTEXT", nullptr, -1},   {"HATCH", nullptr, -1},    {"line", nullptr, -1},
      {nullptr, nullptr, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConnectionCommand::typeCode(c.type, c.block), c.code)
        << (c.type ? c.type : "(none)") << " " << (c.block ? c.block : "");
  }
}

// ---- against the simulated host ------------------------------------------------------------

namespace {

using kxtest::readFile;

class ConnectionInputTest : public kxtest::PluginHostTest {
 protected:
  ConnectionInputTest() : PluginHostTest("kestrix-connection") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    setVariable("STANDINS", dir.path().c_str());
  }

  // Draws a LINE as the user would and returns its handle in the script's hexadecimal form.
  std::string drawLine(const Line& l) {
    ads_point a = {l.start.x, l.start.y, 0.0}, b = {l.end.x, l.end.y, 0.0};
    resbuf* list = acutBuildList(RTDXF0, "LINE", 8, "0", 10, a, 11, b, 0);
    EXPECT_EQ(acdbEntMake(list), RTNORM);
    acutRelRb(list);
    return lastHandle();
  }
  std::string drawCircle(double x, double y, double r) {
    ads_point c = {x, y, 0.0};
    resbuf* list = acutBuildList(RTDXF0, "CIRCLE", 8, "0", 10, c, 40, r, 0);
    EXPECT_EQ(acdbEntMake(list), RTNORM);
    acutRelRb(list);
    return lastHandle();
  }
  std::string lastHandle() {
    ads_name n;
    EXPECT_EQ(acdbEntLast(n), RTNORM);
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(n[0]));
    return text;
  }

  // Queues the user's answers, one script line each.
  void answer(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) {
      kxhost::Answer a;
      std::string error;
      ASSERT_TRUE(kxhost::InputQueue::parse(line, a, error)) << line << ": " << error;
      host().input().push(a);
    }
  }

  struct Input {
    std::int32_t result = 0;
    double x = 0, y = 0, angle = 0, d1 = 0, d2 = 0;
  };
  Input read() {
    Input in;
    in.result = context->readConnectionInput(in.x, in.y, in.angle, in.d1, in.d2);
    return in;
  }

  static std::size_t count(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = transcript().find(text); at != std::string::npos;
         at = transcript().find(text, at + 1)) {
      ++n;
    }
    return n;
  }
};

constexpr const char* kKindPrompt = "\nVerschraubungsart (0)Sackloch (1)Durchgangsloch [0]:";
constexpr const char* kHolePrompt = "\nMittellinie der Bohrung auswaehlen:";
constexpr const char* kTop1Prompt = "\nOberkante 1.Platte auswaehlen:";
constexpr const char* kTop2Prompt = "\nOberkante 2.Platte auswaehlen:";
constexpr const char* kBottom2Prompt = "\nUnterkante 2.Platte auswaehlen:";

}  // namespace

// A through hole in slanted plates: the hole point is where the centre line meets plate 1's top
// edge, and the measurement matches the independent computation. The prompts come in order.
TEST_F(ConnectionInputTest, ThroughHoleInSlantedPlates) {
  loadContext();
  const double slope = 30.0;
  const double nx = std::sin(slope * kPi / 180.0), ny = -std::cos(slope * kPi / 180.0);
  const Point onTop1{20.0, 10.0};
  const Line hole = lineAt(onTop1, slope - 90.0, 30.0);
  const Line top1 = lineAt(onTop1, slope);
  const Line top2 = lineAt({onTop1.x + 12.0 * nx, onTop1.y + 12.0 * ny}, slope);
  const Line bottom2 = lineAt({onTop1.x + 20.0 * nx, onTop1.y + 20.0 * ny}, slope + 180.0);
  const std::string h = drawLine(hole), a = drawLine(top1), b = drawLine(top2),
                    c = drawLine(bottom2);
  answer({"int 1", "pick " + h, "pick " + a, "pick " + b, "pick " + c});

  const Input in = read();
  ASSERT_EQ(in.result, 0) << transcript();
  EXPECT_NEAR(in.x, onTop1.x, 1e-9);
  EXPECT_NEAR(in.y, onTop1.y, 1e-9);
  EXPECT_NEAR(in.d1, 12.0, 1e-9);
  EXPECT_NEAR(in.d2, 8.0, 1e-9);
  expectMatchesGeometry({in.angle, in.d1, in.d2}, {in.x, in.y}, top2, &bottom2);
  EXPECT_NEAR(in.angle, slope - 90.0, 1e-9);

  const std::string& t = transcript();
  const std::size_t kindAt = t.find(kKindPrompt), holeAt = t.find(kHolePrompt),
                    top1At = t.find(kTop1Prompt), top2At = t.find(kTop2Prompt),
                    bottomAt = t.find(kBottom2Prompt);
  ASSERT_NE(bottomAt, std::string::npos) << t;
  EXPECT_TRUE(kindAt < holeAt && holeAt < top1At && top1At < top2At && top2At < bottomAt) << t;
  EXPECT_EQ(host().resultBuffers().liveCount(), 0u);
}

// Without a hole line (its pick cancelled) the hole point is where plate 1 was picked; misses
// and entities other than lines are asked again without a message; joint kind 5 is a blind hole
// and asks for no bottom edge.
TEST_F(ConnectionInputTest, BlindHoleFromThePlatePickAfterRetries) {
  loadContext();
  drawLine({{0, 12}, {40, 12}});   // plate 1's top edge
  drawLine({{0, 0}, {40, 0}});     // plate 2's top edge
  const std::string circle = drawCircle(60, 6, 3);
  answer({"int 5", "cancel",
          "pick 100,100",          // a miss
          "pick " + circle,        // no line
          "pick 15,12.5", "pick 63,6", "pick 30,0.2"});

  const Input in = read();
  ASSERT_EQ(in.result, 0) << transcript();
  EXPECT_DOUBLE_EQ(in.x, 15.0);
  EXPECT_DOUBLE_EQ(in.y, 12.5);
  EXPECT_DOUBLE_EQ(in.d1, 12.5);
  EXPECT_EQ(in.d2, 0.0);
  EXPECT_DOUBLE_EQ(in.angle, -90.0);
  EXPECT_EQ(count(kHolePrompt), 1u);
  EXPECT_EQ(count(kTop1Prompt), 3u);
  EXPECT_EQ(count(kTop2Prompt), 2u);
  EXPECT_EQ(count(kBottom2Prompt), 0u);
  EXPECT_EQ(transcript().find("Ungültige Angaben"), std::string::npos) << transcript();
}

// The hole prompt asks again after a pick of a non-line until a line or a cancel comes.
TEST_F(ConnectionInputTest, HolePromptRepeatsForNonLines) {
  loadContext();
  const std::string circle = drawCircle(60, 6, 3);
  const std::string h = drawLine({{10, -5}, {10, 20}});
  const std::string a = drawLine({{0, 12}, {40, 12}});
  const std::string b = drawLine({{0, 0}, {40, 0}});
  answer({"int 0", "pick " + circle, "pick " + circle, "pick " + h, "pick " + a, "pick " + b});
  const Input in = read();
  ASSERT_EQ(in.result, 0) << transcript();
  EXPECT_EQ(count(kHolePrompt), 3u);
  EXPECT_DOUBLE_EQ(in.x, 10.0);
  EXPECT_DOUBLE_EQ(in.y, 12.0);
  EXPECT_DOUBLE_EQ(in.d1, 12.0);
}

// Cancelling or leaving the joint kind empty, or cancelling a plate pick, ends the input with -1
// and no message; bad geometry ends it with "Ungültige Angaben".
TEST_F(ConnectionInputTest, CancelsAndBadInput) {
  struct Case {
    const char* label;
    std::vector<std::string> answers;   // "H", "A", "B", "C", "P": picks of the lines below
    bool invalid;                       // "Ungültige Angaben" expected
  };
  const Case cases[] = {
      {"joint kind cancelled", {"cancel"}, false},
      {"joint kind empty", {"enter"}, false},
      {"plate 1 cancelled", {"int 0", "H", "cancel"}, false},
      {"plate 2 cancelled", {"int 0", "H", "A", "cancel"}, false},
      {"bottom edge cancelled", {"int 1", "H", "A", "B", "cancel"}, false},
      {"no answers left", {"int 1", "H", "A"}, false},
      {"hole line parallel to plate 1", {"int 0", "P", "A", "B"}, true},
      {"hole point on plate 2's top edge", {"int 0", "cancel", "B", "B"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    host().reset();
    loadContext();
    const std::string h = drawLine({{10, -5}, {10, 20}});
    const std::string a = drawLine({{0, 12}, {40, 12}});
    const std::string b = drawLine({{0, 0}, {40, 0}});
    const std::string p = drawLine({{0, 30}, {40, 30}});
    for (const std::string& line : c.answers) {
      const std::string& handle = line == "H" ? h : line == "A" ? a : line == "B" ? b : p;
      answer({line.size() == 1 ? "pick " + handle : line});
    }
    const Input in = read();
    EXPECT_EQ(in.result, -1);
    EXPECT_EQ(count("\nUngültige Angaben\n"), c.invalid ? 1u : 0u) << transcript();
    EXPECT_EQ(host().resultBuffers().liveCount(), 0u);
  }
}

TEST_F(ConnectionInputTest, EntityTypeCodeAndEndPointsThroughTheHost) {
  CommandContext& ctx = loadContext();
  drawLine({{1.5, 2.5}, {7, -3}});
  ads_name line;
  ASSERT_EQ(acdbEntLast(line), RTNORM);
  drawCircle(0, 0, 4);
  ads_name circle;
  ASSERT_EQ(acdbEntLast(circle), RTNORM);
  const ads_name stale = {0x7fffff, 0};

  EXPECT_EQ(ctx.entityTypeCode(line), 20);
  EXPECT_EQ(ctx.entityTypeCode(circle), 30);
  EXPECT_EQ(ctx.entityTypeCode(stale), -1);

  ads_point s, e;
  ASSERT_TRUE(ctx.lineEndPoints(line, s, e));
  EXPECT_EQ(s[0], 1.5);
  EXPECT_EQ(s[1], 2.5);
  EXPECT_EQ(e[0], 7.0);
  EXPECT_EQ(e[1], -3.0);
  EXPECT_FALSE(ctx.lineEndPoints(circle, s, e));   // a circle has no group 11
  EXPECT_FALSE(ctx.lineEndPoints(stale, s, e));
  EXPECT_EQ(host().resultBuffers().liveCount(), 0u);
}

// The connection command hands the measured thicknesses to the connection program through the
// launcher: the poke with its quoted value arrives as one argument, then the server and topic
// and the 2D exchange arguments. In inch mode the thicknesses are sent in millimetres.
TEST_F(ConnectionInputTest, CommandLineReachesTheLauncher) {
  const std::string record = dir.file("launches.txt");
  const std::string metafile = dir.file("plinth.out");
  {
    std::ofstream out(dir.file("trovstart"));
    out << "#!/bin/sh\n"
        << "for a in \"$@\"; do printf '[%s]' \"$a\" >> '" << record << "'; done\n"
        << "echo >> '" << record << "'\n"
        << "if [ -e '" << dir.file("handover") << "' ]; then cp '" << dir.file("handover")
        << "' '" << metafile << "'; fi\n";
  }
  fs::permissions(dir.file("trovstart"), fs::perms::owner_all);
  std::ofstream(dir.file("connect")) << "a stand-in that is never run\n";
  std::ofstream(dir.file("trovsol.cfg"))
      << "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVconnection]\nEXE=$STANDINS/connect\n";
  std::ofstream(dir.file("plinth.cfg"))
      << "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=Continuous\n"
      << "Center=Continuous\nHeavyDashDot=Continuous\n[XCHG2D]\nMetaFileName=" << metafile << "\n";

  struct Case {
    int kind;
    bool inch;
    const char* poke;
  };
  const Case cases[] = {
      {1, false, "[pconset=    2, 12.0,  8.0,   -1]"},
      {0, false, "[pconset=    1, 12.0,  0.0,   -1]"},
      {0, true, "[pconset=    1,304.8,  0.0,   -1]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.poke);
    host().reset();
    fs::remove(record);
    std::ofstream(metafile) << "old part\n";
    CommandContext& ctx = loadContext();
    ctx.setInchMode(c.inch ? 1 : 0);
    drawLine({{10, -5}, {10, 20}});
    drawLine({{0, 12}, {40, 12}});
    drawLine({{0, 0}, {40, 0}});
    drawLine({{0, -8}, {40, -8}});
    answer({"int " + std::to_string(c.kind), "pick 10,5", "pick 30,12", "pick 30,0"});
    if (c.kind == 1) answer({"pick 30,-8"});

    EXPECT_EQ(ctx.runConnectionCommand(), -1);
    EXPECT_EQ(readFile(record), std::string("[-pview][") + dir.file("connect") + "][-poke]" +
                                    c.poke +
                                    "[-server][TrovCon][-topic][TrovCon][-poke]"
                                    "[RECEIVERCADID=Autocad.2d][-fm][METAV2][-o][" +
                                    metafile + "]\n");
    // The old exchange file was removed and the launcher left none: nothing is inserted.
    EXPECT_FALSE(fs::exists(metafile));
    EXPECT_NE(transcript().find("\nMetadatei " + metafile + " wurde nicht gefunden!\n"),
              std::string::npos)
        << transcript();
    EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
  }

  // A program closed without a choice leaves "000": no part, and nothing is built.
  std::ofstream(dir.file("handover")) << "000\n";
  host().reset();
  CommandContext& ctx = loadContext();
  drawLine({{0, 12}, {40, 12}});
  drawLine({{0, 0}, {40, 0}});
  answer({"int 0", "cancel", "pick 30,12", "pick 30,0"});
  EXPECT_EQ(ctx.runConnectionCommand(), -1);
  EXPECT_NE(transcript().find("\nEs wurde kein Teil übergeben!\n"), std::string::npos)
      << transcript();
  EXPECT_EQ(host().database().model().size(), 2u);
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
}

// Cancelling the input starts nothing.
TEST_F(ConnectionInputTest, CancelledInputStartsNothing) {
  std::ofstream(dir.file("plinth.cfg"))
      << "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=Continuous\n"
      << "Center=Continuous\nHeavyDashDot=Continuous\n";
  CommandContext& ctx = loadContext();
  answer({"cancel"});
  EXPECT_EQ(ctx.runConnectionCommand(), -1);
  EXPECT_EQ(transcript().find("ALERT"), std::string::npos) << transcript();
}
