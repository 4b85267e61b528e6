// The names a symbol table takes, and the host's BLOCK command with names that DXF files carry.

#include "host/SymbolTables.h"

#include <string>
#include <vector>

#include "host/DxfWriter.h"
#include "host/ResultBufferPool.h"
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

class TableTest : public HostTest {
protected:
  // Runs the BLOCK command on a new line under this name; its result.
  int block(const char* name) {
    const ads_point p0 = {0.0, 0.0, 0.0};
    EXPECT_EQ(makeLine(0.0, 0.0, 1.0, 0.0), RTNORM);
    ads_name last = {0, 0}, set = {0, 0};
    acdbEntLast(last);
    acedSSAdd(last, nullptr, set);
    const int rc = acedCommand(RTSTR, "_.BLOCK", RTSTR, name, RTPOINT, p0, RTPICKS, set, RTSTR, "",
                               RTNONE);
    acedSSFree(set);
    return rc;
  }
  // An entry list as "code value" lines, released; "" for none.
  static std::string entry(resbuf* list) {
    GroupList groups;
    std::string error;
    EXPECT_TRUE(ResultBufferPool::toGroups(list, groups, error)) << error;
    std::string out;
    for (const Group& g : groups) out += std::to_string(g.code) + " " + g.text() + "\n";
    if (list) acutRelRb(list);
    return out;
  }
  // The name (group 2) of an entry list, released; "" for none.
  static std::string nameOf(resbuf* list) {
    const resbuf* n = list ? list->rbnext : nullptr;   // group 2 follows group 0
    std::string name = n && n->restype == 2 ? n->resval.rstring : "";
    if (list) acutRelRb(list);
    return name;
  }
  std::string search(const char* table, const char* name, int setnext = 0) {
    return nameOf(acdbTblSearch(table, name, setnext));
  }
  std::string next(const char* table, int rewind = 0) { return nameOf(acdbTblNext(table, rewind)); }
};

class BlockNameTest : public TableTest {};

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

class TableSearchTest : public TableTest {};

// The search finds a record of each table by its name in any case, code page letters in either
// encoding; names of another table, an unknown table and a null name find nothing.
TEST_F(TableSearchTest, FindsEachTablesRecordIgnoringCase) {
  ASSERT_EQ(makeLine(0, 0, 1, 1, "Kont\xC3\x9Cr"), RTNORM);   // Kontür, made by the entity
  ASSERT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "Walls", RTSTR, "", RTNONE),
            RTNORM);
  const std::string lin = writeFile("test.lin", "*DASHED,Dashed __ __\nA,.5,-.25\n");
  ASSERT_EQ(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "dashed", RTSTR, lin.c_str(),
                        RTSTR, "", RTNONE),
            RTNORM);
  ASSERT_EQ(block("\xC3\x84RGER"), RTNORM);   // ÄRGER
  struct Case {
    const char* table;
    const char* name;
    const char* found;   // "" for none
  };
  const Case cases[] = {
      {"LAYER", "walls", "Walls"},
      {"layer", "KONT\xDCR", "Kont\xC3\x9Cr"},         // Ü a code page byte
      {"LAYER", "kont\xC3\xBCr", "Kont\xC3\x9Cr"},
      {"LAYER", "0", "0"},
      {"LAYER", "Wall", ""},
      {"LAYER", "Walls ", ""},
      {"LTYPE", "Dashed", "DASHED"},
      {"Ltype", "continuous", "CONTINUOUS"},
      {"LTYPE", "BYLAYER", ""},
      {"BLOCK", "\xE4rger", "\xC3\x84RGER"},
      {"BLOCK", "\xC3\xA4rger", "\xC3\x84RGER"},
      {"BLOCK", "ARGER", ""},
      {"BLOCK", "walls", ""},
      {"STYLE", "Walls", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(search(c.table, c.name), c.found) << c.table << " " << c.name;
  EXPECT_EQ(acdbTblSearch("LAYER", nullptr, 1), nullptr);
  EXPECT_EQ(acdbTblSearch(nullptr, "Walls", 1), nullptr);
  EXPECT_EQ(host.resultBuffers().liveCount(), 0u);
}

// Records the drawing gains are found from then on, a record replaced under another spelling is
// found under its new one, and a new drawing finds none of the old drawing's records.
TEST_F(TableSearchTest, FollowsRecordsAddedReplacedAndRemoved) {
  EXPECT_EQ(search("BLOCK", "Nut"), "");
  ASSERT_EQ(block("Nut"), RTNORM);
  EXPECT_EQ(search("BLOCK", "NUT"), "Nut");
  EXPECT_EQ(search("BLOCK", "Nut0"), "");
  ASSERT_EQ(block("nut0"), RTNORM);
  EXPECT_EQ(search("BLOCK", "NUT0"), "nut0");
  EXPECT_EQ(search("BLOCK", "Nut"), "Nut");

  EXPECT_EQ(search("LAYER", "holes"), "");
  ASSERT_EQ(makeLine(0, 0, 1, 1, "HOLES"), RTNORM);
  EXPECT_EQ(search("LAYER", "holes"), "HOLES");

  SymbolTables& tables = host.database().tables();
  tables.addLineType(LineTypeRecord{"Dotted", "first", {0.0, -0.25}});
  tables.addLineType(LineTypeRecord{"DOTTED", "second", {0.0, -0.5}});
  EXPECT_EQ(search("LTYPE", "dotted"), "DOTTED");
  EXPECT_EQ(tables.lineTypes().size(), 2u);
  EXPECT_EQ(next("LTYPE", 1), "CONTINUOUS");
  EXPECT_EQ(next("LTYPE"), "DOTTED") << "replaced in its place";

  host.reset();
  EXPECT_EQ(search("BLOCK", "Nut"), "");
  EXPECT_EQ(search("LAYER", "HOLES"), "");
  EXPECT_EQ(search("LTYPE", "DOTTED"), "");
  EXPECT_EQ(search("LAYER", "0"), "0");
  ASSERT_EQ(block("NUT0"), RTNORM);
  EXPECT_EQ(search("BLOCK", "nut0"), "NUT0");
  EXPECT_EQ(search("BLOCK", "Nut"), "");
}

// A search gives the entry the table walk gives for that record. With setnext the walk goes on
// after the record found; without it, or when nothing is found, the walk goes on where it was.
// The other tables' walks never move.
TEST_F(TableSearchTest, SetnextMovesTheWalkOnlyPastARecordFound) {
  ASSERT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, "A,B,C", RTSTR, "", RTNONE),
            RTNORM);
  ASSERT_EQ(block("P"), RTNORM);
  ASSERT_EQ(block("Q"), RTNORM);

  EXPECT_EQ(next("LAYER", 1), "0");
  EXPECT_EQ(search("LAYER", "c", 0), "C");
  EXPECT_EQ(next("LAYER"), "A") << "setnext 0";
  EXPECT_EQ(search("LAYER", "b", 1), "B");
  EXPECT_EQ(next("LAYER"), "C");
  EXPECT_EQ(search("LAYER", "0", 1), "0");
  EXPECT_EQ(search("LAYER", "missing", 1), "");
  EXPECT_EQ(next("LAYER"), "A") << "a search that found nothing";

  EXPECT_EQ(next("BLOCK", 1), "P");
  EXPECT_EQ(search("LAYER", "a", 1), "A");
  EXPECT_EQ(search("BLOCK", "q", 0), "Q");
  EXPECT_EQ(next("BLOCK"), "Q") << "another table's search";
  EXPECT_EQ(next("LAYER"), "B");
  EXPECT_EQ(search("BLOCK", "p", 1), "P");
  EXPECT_EQ(next("BLOCK"), "Q");
  EXPECT_EQ(next("BLOCK"), "");

  for (const char* table : {"LAYER", "BLOCK"}) {
    std::string walked;
    for (resbuf* r = acdbTblNext(table, 1); r; r = acdbTblNext(table, 0)) walked += entry(r);
    std::string searched;
    for (const char* name : table[0] == 'L' ? std::vector<const char*>{"0", "a", "B", "c"}
                                            : std::vector<const char*>{"p", "Q"})
      searched += entry(acdbTblSearch(table, name, 0));
    EXPECT_EQ(searched, walked) << table;
  }
  EXPECT_EQ(host.resultBuffers().liveCount(), 0u);
}

}  // namespace
}  // namespace kxhost::testing
