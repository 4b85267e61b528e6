// The names a symbol table takes, and the host's BLOCK command with names that DXF files carry.

#include "host/SymbolTables.h"

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

TEST(SymbolTableNames, TakeWhatDxfTakes) {
  struct Case {
    std::string name;
    bool valid;
  };
  const Case cases[] = {
      {" View2", true},       {"Nut ", true},         {" ", true},
      {"a,b", true},          {"Schraube M8", true},  {std::string(255, 'x'), true},
      {"", false},            {std::string(256, 'x'), false},
      {"a\tb", false},        {"a\nb", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SymbolTables::validName(c.name), c.valid) << c.name;
  for (const char* bad : {"<", ">", "/", "\\", "\"", ":", ";", "?", "*", "|", "=", "`"})
    EXPECT_FALSE(SymbolTables::validName(std::string("a") + bad + "b")) << bad;
}

TEST(SymbolTableNames, CompareIgnoringTheCaseOfLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"Layer 1", "LAYER 1", true}, {"continuous", "CONTINUOUS", true}, {"abc", "abc", true},
      {"Lay1", "LAY2", false},      {"ab", "abc", false},               {"a{", "A[", false},
      {"@", "`", false},            {"x~", "X^", false},                {"\xe4", "\xc4", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(sameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(upperName(c.a) == upperName(c.b), c.same) << c.a << " / " << c.b;
  }
  SymbolTables tables;
  tables.ensureLayer("Walls");
  tables.ensureLayer("doors");
  EXPECT_EQ(&tables.ensureLayer("WALLS"), tables.findLayer("walls"));
  EXPECT_EQ(tables.findLayer("DOORS")->name, "doors");
  EXPECT_EQ(tables.findLayer("Walls")->name, "Walls");
  EXPECT_EQ(tables.findLayer("windows"), nullptr);
  EXPECT_EQ(tables.layers().size(), 3u);
}

class BlockNameTest : public HostTest {};

// A block named with a leading blank is made and inserted; one holding a quote is refused.
TEST_F(BlockNameTest, LeadingBlankIsABlockName) {
  const ads_point p0 = {0.0, 0.0, 0.0};
  for (const char* name : {" View2", "Cap \"A\""}) {
    ASSERT_EQ(makeLine(0.0, 0.0, 1.0, 0.0), RTNORM);
    ads_name last = {0, 0}, set = {0, 0};
    ASSERT_EQ(acdbEntLast(last), RTNORM);
    ASSERT_EQ(acedSSAdd(last, nullptr, set), RTNORM);
    const int rc = acedCommand(RTSTR, "_.BLOCK", RTSTR, name, RTPOINT, p0, RTPICKS, set, RTSTR, "",
                               RTNONE);
    acedSSFree(set);
    EXPECT_EQ(rc, name[0] == ' ' ? RTNORM : RTERROR) << name;
  }
  ASSERT_NE(host.database().findBlock(" View2"), nullptr);
  EXPECT_EQ(host.database().findBlock("Cap \"A\""), nullptr);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "INSERT", 2, " View2", 10, p0, 0)), RTNORM);
}

}  // namespace
}  // namespace kxhost::testing
