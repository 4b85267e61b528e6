// The host API beyond entity making: result buffers, variables, tables, host commands,
// selection sets and their transforms.

#include <cmath>

#include "host/testing/HostFixture.h"
#include "platform/MessagePump.h"

namespace kxhost::testing {
namespace {

constexpr double kPi = 3.141592653589793;

class ApiTest : public HostTest {};

TEST_F(ApiTest, ReleasingAForeignOrReleasedListIsRefused) {
  resbuf* list = acutBuildList(RTSTR, "a", RTSHORT, 3, 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(acutRelRb(list), RTNORM);
  EXPECT_EQ(acutRelRb(list), RTERROR) << "a second release of the same list";
  resbuf local{};
  local.restype = RTSHORT;
  EXPECT_EQ(acutRelRb(&local), RTERROR);
  EXPECT_TRUE(transcriptHas("acutRelRb refused"));
  EXPECT_EQ(host.resultBuffers().liveCount(), 0u);
}

TEST_F(ApiTest, BuildListRefusesUnknownCodesAndNullStrings) {
  EXPECT_EQ(acutBuildList(RTSTR, static_cast<const char*>(nullptr), 0), nullptr);
  EXPECT_EQ(acutBuildList(RTSTR, "a", 4711, 1, 0), nullptr);
  EXPECT_EQ(host.resultBuffers().liveCount(), 0u) << "the half-built list leaked";
}

TEST_F(ApiTest, VariablesHaveTheirKinds) {
  resbuf rb{};
  ASSERT_EQ(acedGetVar("MEASUREMENT", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTLONG);
  EXPECT_EQ(rb.resval.rlong, 1);
  ASSERT_EQ(acedGetVar("cmdecho", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTSHORT);
  EXPECT_EQ(acedGetVar("NOSUCHVAR", &rb), RTERROR);
  ASSERT_EQ(ads_getvar("MEASUREMENT", &rb), RTNORM) << "the R14 name reaches the same host";
}

TEST_F(ApiTest, CommandEchoSwitchesAndUnknownCommandsFail) {
  EXPECT_EQ(acedCommand(RTSTR, "_cmdecho", RTSTR, "0", RTNONE), RTNORM);
  EXPECT_EQ(host.variables().cmdecho(), 0);
  EXPECT_EQ(ads_command(RTSTR, "_cmdecho", RTSTR, "1", RTNONE), RTNORM);
  EXPECT_EQ(host.variables().cmdecho(), 1);
  EXPECT_EQ(acedCommand(RTSTR, "_cmdecho", RTSTR, "2", RTNONE), RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, "_.zoom", RTSTR, "_e", RTNONE), RTERROR);
  EXPECT_TRUE(transcriptHas("unknown command \"_.zoom\""));
}

TEST_F(ApiTest, LayerCommandMakesLayersWithLineTypeAndColour) {
  std::string lin = writeFile("lines.lin",
                              ";; test\n*DASHED,Dashed __ __\nA,12.0,-6.0\n*FANCY,x\nA,1,[\"T\",STANDARD],-1\n");
  EXPECT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "HEAVY", RTSTR, "", RTNONE), RTNORM);
  EXPECT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_ltype", RTSTR, "DASHED", RTSTR, "HEAVY", RTSTR, "",
                        RTNONE),
            RTERROR)
      << "DASHED is not loaded yet";
  EXPECT_EQ(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "dashed", RTSTR, lin.c_str(),
                        RTSTR, "", RTNONE),
            RTNORM);
  EXPECT_EQ(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "FANCY", RTSTR, lin.c_str(),
                        RTSTR, "", RTNONE),
            RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "DOT", RTSTR,
                        dir.file("missing.lin").c_str(), RTSTR, "", RTNONE),
            RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_ltype", RTSTR, "DASHED", RTSTR, "HEAVY",
                        RTSTR, "_color", RTSHORT, 3, RTSTR, "heavy", RTSTR, "", RTNONE),
            RTNORM);
  const LayerRecord* l = host.database().tables().findLayer("HEAVY");
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->colour, 3);
  EXPECT_EQ(l->lineType, "DASHED") << "the name as the file defines it";
  const LineTypeRecord* t = host.database().tables().findLineType("DASHED");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->pattern, (std::vector<double>{12.0, -6.0}));
  EXPECT_EQ(host.database().tables().findLineType("FANCY"), nullptr);

  struct { const char* why; int rc; } bad[] = {
      {"colour 0", acedCommand(RTSTR, "_.layer", RTSTR, "_color", RTSHORT, 0, RTSTR, "HEAVY", RTSTR, "", RTNONE)},
      {"colour 256", acedCommand(RTSTR, "_.layer", RTSTR, "_color", RTSHORT, 256, RTSTR, "HEAVY", RTSTR, "", RTNONE)},
      {"bad name", acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "A*B", RTSTR, "", RTNONE)},
      {"unknown option", acedCommand(RTSTR, "_.layer", RTSTR, "_freeze", RTSTR, "HEAVY", RTSTR, "", RTNONE)},
      {"not ended", acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "X", RTNONE)},
  };
  for (const auto& b : bad) EXPECT_EQ(b.rc, RTERROR) << b.why;
  EXPECT_EQ(host.database().tables().findLayer("HEAVY")->colour, 3);
}

TEST_F(ApiTest, TableWalkReturnsEveryEntryOnceThenNull) {
  acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "A,B", RTSTR, "", RTNONE);
  std::vector<std::string> names;
  for (resbuf* r = acdbTblNext("LAYER", 1); r; r = acdbTblNext("LAYER", 0)) {
    for (resbuf* g = r; g; g = g->rbnext)
      if (g->restype == 2) names.push_back(g->resval.rstring);
    acutRelRb(r);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"0", "A", "B"}));
  resbuf* lt = acdbTblNext("LTYPE", 1);
  ASSERT_NE(lt, nullptr);
  EXPECT_STREQ(lt->rbnext->resval.rstring, "CONTINUOUS");
  acutRelRb(lt);
  EXPECT_EQ(acdbTblNext("BLOCK", 1), nullptr);
  resbuf* found = acdbTblSearch("layer", "b", 0);
  ASSERT_NE(found, nullptr);
  acutRelRb(found);
}

TEST_F(ApiTest, BlockCommandMovesTheSetIntoABlockInDrawingOrder) {
  ads_name a, b, set;
  ASSERT_EQ(makeLine(0, 0, 1, 0), RTNORM);
  acdbEntLast(a);
  ASSERT_EQ(makeLine(0, 0, 0, 1), RTNORM);
  acdbEntLast(b);
  ASSERT_EQ(makeLine(5, 5, 6, 6), RTNORM);   // stays outside
  ASSERT_EQ(acedSSAdd(b, nullptr, set), RTNORM);
  ASSERT_EQ(acedSSAdd(a, set, set), RTNORM);
  ads_point base = {0, 0, 0};
  ASSERT_EQ(acedCommand(RTSTR, "_.BLOCK", RTSTR, "PART", RTPOINT, base, RTPICKS, set, RTSTR, "",
                        RTNONE),
            RTNORM);
  const BlockRecord* block = host.database().findBlock("part");
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(block->entities.size(), 2u);
  EXPECT_EQ(block->entities[0].handle, static_cast<std::uint32_t>(a[0])) << "drawing order";
  EXPECT_EQ(host.database().model().size(), 1u);
  std::int32_t len = -1;
  EXPECT_EQ(acedSSLength(set, &len), RTNORM);
  EXPECT_EQ(len, 0) << "the entities left the drawing and the set";
  // The same name again, or an empty set, fails.
  EXPECT_EQ(acedCommand(RTSTR, "_.BLOCK", RTSTR, "Part", RTPOINT, base, RTPICKS, set, RTSTR, "",
                        RTNONE),
            RTERROR);
  EXPECT_EQ(acedCommand(RTSTR, "_.BLOCK", RTSTR, "OTHER", RTPOINT, base, RTPICKS, set, RTSTR, "",
                        RTNONE),
            RTERROR);
  EXPECT_EQ(acedSSFree(set), RTNORM);
  ads_point at = {20, 0, 0};
  EXPECT_EQ(make(acutBuildList(RTDXF0, "INSERT", 2, "PART", 10, at, 50, 0.0, 0)), RTNORM);
  resbuf* entry = acdbTblNext("BLOCK", 1);
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->rbnext->resval.rstring, "PART");
  acutRelRb(entry);
}

TEST_F(ApiTest, AcisInAppendsOneSolidPerBodyAfterTheLastEntity) {
  std::string sat = writeFile("part.sat",
                              "700 0 2 0\n@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026\n"
                              "1 9.9999999999999995e-007 1e-010\n"
                              "body $-1 $2 $-1 $-1 #\nbody $-1 $3 $-1 $-1 #\n"
                              "lump $-1 $-1 $-1 $0 #\nlump $-1 $-1 $-1 $1 #\nEnd-of-ACIS-data\n");
  ASSERT_EQ(makeLine(0, 0, 1, 1), RTNORM);
  std::uint32_t before = lastHandle();
  ASSERT_EQ(acedCommand(RTSTR, "_acisin", RTSTR, sat.c_str(), RTNONE), RTNORM)
      << host.transcript().text();
  ASSERT_EQ(host.database().model().size(), 3u);
  EXPECT_EQ(host.database().model()[0].handle, before);
  EXPECT_EQ(host.database().model()[1].type, "3DSOLID");
  EXPECT_EQ(host.database().model()[2].type, "3DSOLID");
  // The second solid holds the second body alone, its records renumbered, a line per group 1.
  std::vector<std::string> text;
  for (const Group& g : host.database().model()[2].groups)
    if (g.code == 1) text.push_back(g.s);
  EXPECT_EQ(text, (std::vector<std::string>{
                      "700 2 1 0", "@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026",
                      "1 9.9999999999999995e-007 1e-010", "body $-1 $1 $-1 $-1 #",
                      "lump $-1 $-1 $-1 $0 #", "End-of-ACIS-data"}));

  const char* malformed[] = {
      "not a sat file\n",
      "700 0 1 0\nproduct\n1 1e-6 1e-10\nlump $-1 #\n",                    // no body
      "700 0 3 0\nproduct\n1 1e-6 1e-10\nbody $-1 #\n",                    // count disagrees
      "700 0 1\nproduct\n1 1e-6 1e-10\nbody $-1 #\n",                      // short first line
      "700 0 1 0\nproduct\n1 1e-6 1e-10\nbody $-1 $-1",                    // cut short
      "700 0 1 0\nproduct\n1 1e-6 1e-10\nbody $-1 @3 a\tb #\n",          // a tab in a string
  };
  for (const char* text : malformed) {
    std::string f = writeFile("bad.sat", text);
    EXPECT_EQ(acedCommand(RTSTR, "_acisin", RTSTR, f.c_str(), RTNONE), RTERROR) << text;
  }
  EXPECT_EQ(acedCommand(RTSTR, "_acisin", RTSTR, dir.file("none.sat").c_str(), RTNONE), RTERROR);
  EXPECT_EQ(host.database().model().size(), 3u);
}

TEST_F(ApiTest, SelectionSetsAreCheckedAndFreedOnce) {
  ads_name set, line;
  ASSERT_EQ(makeLine(0, 0, 1, 1), RTNORM);
  acdbEntLast(line);
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  ASSERT_EQ(acedSSAdd(line, set, set), RTNORM);
  ASSERT_EQ(acedSSAdd(line, set, set), RTNORM);
  std::int32_t len = 0;
  ASSERT_EQ(acedSSLength(set, &len), RTNORM);
  EXPECT_EQ(len, 1) << "a member is in a set once";
  ads_name madeUp = {static_cast<std::int32_t>(line[0]), line[1] + 1};
  EXPECT_EQ(acedSSAdd(madeUp, set, set), RTERROR);
  EXPECT_EQ(acedSSAdd(set, set, set), RTERROR) << "a set name is no entity name";
  EXPECT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedSSFree(set), RTERROR);
  EXPECT_TRUE(transcriptHas("freed twice"));
  EXPECT_EQ(acedSSAdd(line, set, set), RTERROR);
}

TEST_F(ApiTest, XformMovesTurnsAndScalesEveryMember) {
  ads_point c = {1, 0, 0};
  ASSERT_EQ(makeLine(1, 0, 2, 0), RTNORM);
  ASSERT_EQ(make(acutBuildList(RTDXF0, "ARC", 10, c, 40, 1.0, 50, 0.0, 51, kPi / 2, 0)), RTNORM);
  ads_point axis = {2, 0, 0};
  ASSERT_EQ(make(acutBuildList(RTDXF0, "ELLIPSE", 10, c, 11, axis, 40, 0.5, 0)), RTNORM);
  ads_name set, e;
  acedSSAdd(nullptr, nullptr, set);
  for (int rc = acdbEntNext(nullptr, e); rc == RTNORM; rc = acdbEntNext(e, e)) acedSSAdd(e, set, set);
  // Rotate by 90 degrees about the origin, scale by 2, move by (10, 5).
  ads_matrix m = {{0, -2, 0, 10}, {2, 0, 0, 5}, {0, 0, 2, 0}, {0, 0, 0, 1}};
  ASSERT_EQ(acedXformSS(set, m), RTNORM);
  const auto& model = host.database().model();
  const Group* s = model[0].find(10);
  const Group* t = model[0].find(11);
  EXPECT_NEAR(s->v[0], 10, 1e-12);
  EXPECT_NEAR(s->v[1], 7, 1e-12);
  EXPECT_NEAR(t->v[0], 10, 1e-12);
  EXPECT_NEAR(t->v[1], 9, 1e-12);
  EXPECT_NEAR(model[1].find(40)->v[0], 2.0, 1e-12);
  EXPECT_NEAR(model[1].find(50)->v[0], kPi / 2, 1e-12);
  EXPECT_NEAR(model[1].find(51)->v[0], kPi, 1e-12);
  EXPECT_NEAR(model[2].find(11)->v[0], 0.0, 1e-12);
  EXPECT_NEAR(model[2].find(11)->v[1], 4.0, 1e-12);
  EXPECT_NEAR(model[2].find(40)->v[0], 0.5, 1e-12) << "the ratio is no length";

  ads_matrix shear = {{1, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ads_matrix mirror = {{-1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ads_matrix unequal = {{2, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ads_matrix tilted = {{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}};
  for (auto* bad : {&shear, &mirror, &unequal, &tilted}) EXPECT_EQ(acedXformSS(set, *bad), RTREJ);
  EXPECT_NEAR(model[0].find(10)->v[0], 10, 1e-12) << "a refused matrix changes nothing";
  acedSSFree(set);
}

TEST_F(ApiTest, XformOfAHatchTurnsItsPatternAndEdges) {
  ads_point zero = {0, 0, 0}, a = {0, 0, 0}, b = {10, 0, 0}, c = {5, 0, 0};
  resbuf* h = acutBuildList(RTDXF0, "HATCH", 10, zero, 2, "_U", 70, 0, 71, 0, 91, 1, 92, 1, 93, 2,
                            72, 1, 10, a, 11, b, 72, 2, 10, c, 40, 5.0, 50, 0.0, 51, kPi, 73, 1, 97,
                            0, 75, 0, 76, 1, 52, 0.5, 41, 3.0, 77, 0, 78, 1, 53, 0.5, 43, 1.0, 44,
                            0.0, 45, 0.0, 46, 3.0, 79, 0, 98, 1, 10, zero, 0);
  ASSERT_EQ(make(h), RTNORM) << host.transcript().text();
  ads_name set, e;
  acdbEntLast(e);
  acedSSAdd(e, nullptr, set);
  ads_matrix rot = {{0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  ASSERT_EQ(acedXformSS(set, rot), RTNORM);
  const Entity& hatch = host.database().model().back();
  std::vector<const Group*> g;
  for (const Group& x : hatch.groups) g.push_back(&x);
  auto find = [&](int code, int nth) {
    for (const Group* x : g)
      if (x->code == code && nth-- == 0) return x;
    return static_cast<const Group*>(nullptr);
  };
  EXPECT_NEAR(find(11, 0)->v[1], 10.0, 1e-12);            // line edge end
  EXPECT_NEAR(find(50, 0)->v[0], kPi / 2, 1e-12);         // arc edge start angle
  EXPECT_NEAR(find(52, 0)->v[0], 0.5 + kPi / 2, 1e-12);   // pattern angle
  EXPECT_NEAR(find(43, 0)->v[0], 0.0, 1e-12);             // pattern base (1, 0) -> (0, 1)
  EXPECT_NEAR(find(44, 0)->v[0], 1.0, 1e-12);
  EXPECT_NEAR(find(45, 0)->v[0], -3.0, 1e-12);            // offset (0, 3) -> (-3, 0)
  acedSSFree(set);
}

TEST_F(ApiTest, IntersectionOfInfiniteLines) {
  ads_point a = {0, 0, 0}, b = {1, 0, 0}, c = {5, -1, 0}, d = {5, 1, 0}, r;
  ASSERT_EQ(acdbInters(a, b, c, d, 0, r), RTNORM);
  EXPECT_DOUBLE_EQ(r[0], 5.0);
  EXPECT_DOUBLE_EQ(r[1], 0.0);
  EXPECT_EQ(acdbInters(a, b, c, d, 1, r), RTNONE) << "outside the first segment";
  ads_point e = {0, 1, 0}, f = {1, 1, 0};
  EXPECT_EQ(acdbInters(a, b, e, f, 0, r), RTNONE) << "parallel";
}

}  // namespace
}  // namespace kxhost::testing

namespace kxhost::testing {
namespace {

TEST_F(ApiTest, TheMessagePumpReachesTheHostsDrain) {
  EXPECT_EQ(host.drainCount(), 0u);
  platform::pumpMessages();
  platform::pumpMessages();
  EXPECT_EQ(host.drainCount(), 2u);
}

TEST_F(ApiTest, CommandsRegisterAgainUnderTheSameNameIgnoringCase) {
  EXPECT_EQ(acedDefun("C:TROVviewer", 0), RTNORM);
  EXPECT_EQ(ads_defun("c:trovVIEWER", 3), RTNORM);
  EXPECT_EQ(acedDefun("", 1), 0);
  ASSERT_EQ(host.commands().size(), 1u);
  EXPECT_EQ(host.codeOf("TROVVIEWER"), 3);
  EXPECT_EQ(host.codeOf("C:trovviewer"), 3);
  EXPECT_EQ(host.codeOf("TROVcon"), -1);
  EXPECT_LT(acedGetFunCode(), 0) << "no command runs";
}

}  // namespace
}  // namespace kxhost::testing
