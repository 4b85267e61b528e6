// The names a symbol table takes, and the host's BLOCK command with names that DXF files carry.

#include "host/SymbolTables.h"

#include <string>

#include "host/DxfWriter.h"
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

// Two names and whether they are one name.
struct NameCase {
  const char* a;
  const char* b;
  bool same;
};

TEST(SymbolTableNames, CompareIgnoringTheCaseOfLettersOnly) {
  const NameCase cases[] = {
      {"Layer 1", "LAYER 1", true}, {"continuous", "CONTINUOUS", true}, {"abc", "abc", true},
      {"Lay1", "LAY2", false},      {"ab", "abc", false},               {"a{", "A[", false},
      {"@", "`", false},            {"x~", "X^", false},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(sameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(upperName(c.a) == upperName(c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(nameKey(c.a) == nameKey(c.b), c.same) << c.a << " / " << c.b;
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

// The letters of the code page fold as ASCII ones do, in UTF-8 and as single code page bytes
// alike; signs and letters without a second case in the code page stay apart.
TEST(SymbolTableNames, CodePageLettersFoldInEitherEncoding) {
  const NameCase cases[] = {
      {"\xC3\x84RGER", "\xC3\xA4rger", true},                            // ÄRGER / ärger, UTF-8
      {"\xC4RGER", "\xC3\xA4rger", true},                                // Ä a code page byte
      {"\xE4", "\xC4", true},                                            // ä / Ä, code page bytes
      {"\xC3\x84", "\xC4", true},                                        // Ä in both encodings
      {"\xC3\x9E\xC3\x80", "\xC3\xBE\xC3\xA0", true},                    // ÞÀ / þà
      {"\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8", "\x9A\x9C\x9E\xFF", true},    // ŠŒŽŸ / šœžÿ
      {"\xC3\x97", "\xC3\xB7", false},                                   // × / ÷ are no letters
      {"\xC3\x9F", "SS", false},                                         // ß: no upper case here
      {"\xC3\x84RGER", "ARGER", false},                                  // Ä is no A
      {"\xCE\xA9", "\xCF\x89", false},                                   // Ω / ω: not code page letters
      {"\xC3\x84", "\xC3", false},                                       // a cut sequence
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(sameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(sameName(c.b, c.a), c.same) << c.b << " / " << c.a;
    EXPECT_EQ(nameKey(c.a) == nameKey(c.b), c.same) << c.a << " / " << c.b;
  }
  SymbolTables tables;
  tables.ensureLayer("KONT\xC3\x9CR");  // KONTÜR
  EXPECT_EQ(&tables.ensureLayer("Kont\xFCr"), tables.findLayer("kont\xC3\xBCr"));
  EXPECT_EQ(tables.findLayer("KONT\xDCR")->name, "KONT\xC3\x9CR");
  EXPECT_EQ(tables.layers().size(), 2u);
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

// Block names that differ only in the case of a code page letter are one name for the BLOCK
// command, the table search and the DXF file, which then keeps every name as the host holds it.
TEST_F(BlockNameTest, CodePageLettersFoldInBlockNames) {
  const ads_point p0 = {0.0, 0.0, 0.0};
  auto block = [&](const char* name) {
    EXPECT_EQ(makeLine(0.0, 0.0, 1.0, 0.0), RTNORM);
    ads_name last = {0, 0}, set = {0, 0};
    acdbEntLast(last);
    acedSSAdd(last, nullptr, set);
    const int rc = acedCommand(RTSTR, "_.BLOCK", RTSTR, name, RTPOINT, p0, RTPICKS, set, RTSTR, "",
                               RTNONE);
    acedSSFree(set);
    return rc;
  };
  EXPECT_EQ(block("\xC3\x84RGER"), RTNORM);    // ÄRGER
  EXPECT_EQ(block("\xC3\xA4rger"), RTERROR);   // ärger, UTF-8
  EXPECT_EQ(block("\xE4rger"), RTERROR);        // ärger, a code page byte
  EXPECT_EQ(block("\xC3\xA4rger0"), RTNORM);
  resbuf* found = acdbTblSearch("BLOCK", "\xC3\xA4RGER", 0);
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->rbnext->resval.rstring, "\xC3\x84RGER");
  acutRelRb(found);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "INSERT", 2, "\xE4RGER", 10, p0, 0)), RTNORM);

  const std::string dxf = DxfWriter(host.database(), host.variables()).text();
  for (const char* name : {"\xC4RGER", "\xE4rger0"})
    EXPECT_NE(dxf.find("\n  2\n" + std::string(name) + "\n"), std::string::npos) << name;
  EXPECT_EQ(dxf.find("_2\n"), std::string::npos);
}

}  // namespace
}  // namespace kxhost::testing
