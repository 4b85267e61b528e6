// The file readers behind _acisin and _.linetype.

#include "host/LineTypeFile.h"
#include "host/SatFile.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace kxhost {
namespace {

const char* kHead = "700 0 0 0\n@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026\n1 1e-06 1e-10\n";

TEST(SatFileTest, CountsBodyRecordsInEveryRecordForm) {
  struct Case {
    std::string records;
    int bodies;
  } cases[] = {
      {"body $-1 $1 $-1 $-1 #\nlump $-1 #\n", 1},
      {"-0 body $-1 $1 #\n-1 lump $-1 #\n-2 body $-1 $-1 #\n", 2},
      // A counted string holding '#' and the word body does not end or start a record.
      {"-0 body $-1 #\n-1 string_attrib @9 a # body  $-1 #\n", 1},
      // A record may run over several lines.
      {"body $-1\n $-1 $-1\n #\n", 1},
  };
  for (const Case& c : cases) {
    SatFile f;
    std::string error;
    ASSERT_TRUE(f.parse(kHead + c.records, error)) << c.records << ": " << error;
    EXPECT_EQ(f.bodyCount(), c.bodies) << c.records;
    EXPECT_EQ(f.version(), 700);
  }
}

TEST(SatFileTest, RefusesMalformedHeaders) {
  const char* bad[] = {
      "",
      "700 0 1 0\nproduct\n",                                   // too short
      "seven 0 1 0\nproduct\n1 1e-6 1e-10\nbody #\n",           // not numbers
      "20 0 1 0\nproduct\n1 1e-6 1e-10\nbody #\n",              // implausible version
      "700 0 1 0\n   \n1 1e-6 1e-10\nbody #\n",                 // empty product line
      "700 0 1 0\nproduct\n1 1e-6\nbody #\n",                   // two numbers on line 3
      "700 0 1 0\nproduct\n1 1e-6 nan\nbody #\n",               // not finite
  };
  for (const char* text : bad) {
    SatFile f;
    std::string error;
    EXPECT_FALSE(f.parse(text, error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

// A file cut short, a byte the drawing cannot keep, a pointer into nothing and bodies that
// share a body are refused with a reason; a body count of 0 and more records than counted pass.
TEST(SatFileTest, RefusesFilesThatCannotMakeWholeSolids) {
  struct Case {
    const char* head;
    const char* records;
    const char* reason;  // part of the error; null: accepted
  } cases[] = {
      {"700 2 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 $-1 $-1 $0", "not ended by '#'"},
      {"700 2 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 @20 cut", "not ended by '#'"},
      {"700 3 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 $-1 $-1 $0 #\n", "counts 3 records, the file holds 2"},
      {"700 3 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 $-1 $-1 $0 #\nEnd-of-ACIS-data\n", "counts 3"},
      {"700 0 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 $-1 $-1 $0 #\n", nullptr},
      {"700 1 1 0", "body $-1 $1 $-1 $-1 #\nlump $-1 $-1 $-1 $0 #\n", nullptr},
      {"700 0 1 0", "body $-1 $2 $-1 $-1 #\nlump $-1 $-1 $-1 $0 #\n", "points to record 2"},
      {"700 0 1 0", "body $-1 $-2 $-1 $-1 #\n", "points to record -2"},
      {"700 0 1 0", "body $-1 $99999999999 #\n", "points to record"},
      {"700 0 2 0", "body $-1 $1 #\nbody $-1 $-1 #\n", "records of body 1 reach body 2"},
      {"700 0 1 0", "body\t$-1 $-1 $-1 $-1 #\n", nullptr},  // a tab between words is white space
      {"700 0 1 0", "body $-1 $1 #\nstring_attrib $-1 @3 a\tb $0 #\n",
       "line 5 holds the byte 0x09 inside a string"},
      {"700 0 1 0", "body $-1 $-1 #\nstring_attrib $-1 @6 Gr\xC3\xBC\xC3\x9F" "e #\n", "line 5 holds the byte 0xC3"},
      {"700 0 1 0", "body $-1 $-1 #\n\x7F\n", "line 5 holds the byte 0x7F"},
      {"700 0 1 0", "body $-1 $-1 #\rlump #\n", "line 4 holds the byte 0x0D"},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(c.head) +
                             "\n@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026\n1 1e-06 1e-10\n" +
                             c.records;
    SatFile f;
    std::string error;
    const bool ok = f.parse(text, error);
    if (!c.reason) {
      EXPECT_TRUE(ok) << text << ": " << error;
      continue;
    }
    EXPECT_FALSE(ok) << text;
    EXPECT_NE(error.find(c.reason), std::string::npos) << text << ": " << error;
  }
}

// Each body's text holds just the records it reaches, in file order and renumbered, with the
// lines it had (a record over two lines, trailing blanks, '#' and '$' inside a counted string);
// records it shares with another body go into both, records no body reaches into none.
TEST(SatFileTest, EachBodyCarriesTheRecordsItReachesRenumbered) {
  const std::string text =
      "700 9 2 0\n@4 test @8 ACIS 7.0 @4 date\n1 1e-06 1e-10\n"
      "-0 body $1 $2 $-1 $-1 #\n"                       // 0: body 1
      "-1 string_attrib $-1 $-1 $0 @11 #x $5 $6 ab #\n"  // 1
      "-2 lump $-1 $-1 $8 $0 #  \n"                     // 2
      "-3 body $-1 $4 $-1 $-1 #\n"                      // 3: body 2
      "-4 lump $-1 $-1 $8\n $3 #\n"                     // 4
      "-5 point $-1 0 0 0 #\n"                          // 5: reached by no one
      "-6 point $-1 1 1 1 #\n"                          // 6: reached by no one
      "-7 point $-1 2 2 2 #\n"                          // 7: reached by no one
      "-8 shell $-1 $-1 $-1 $-1 $-1 $-1 #\n"            // 8: shared
      "End-of-ACIS-data\n";
  SatFile f;
  std::string error;
  ASSERT_TRUE(f.parse(text, error)) << error;
  ASSERT_EQ(f.bodyCount(), 2);
  EXPECT_EQ(f.bodyLines(0), (std::vector<std::string>{
                                "700 4 1 0", "@4 test @8 ACIS 7.0 @4 date", "1 1e-06 1e-10",
                                "-0 body $1 $2 $-1 $-1 #",
                                "-1 string_attrib $-1 $-1 $0 @11 #x $5 $6 ab #",
                                "-2 lump $-1 $-1 $3 $0 #  ",
                                "-3 shell $-1 $-1 $-1 $-1 $-1 $-1 #", "End-of-ACIS-data"}));
  EXPECT_EQ(f.bodyLines(1), (std::vector<std::string>{
                                "700 3 1 0", "@4 test @8 ACIS 7.0 @4 date", "1 1e-06 1e-10",
                                "-0 body $-1 $1 $-1 $-1 #", "-1 lump $-1 $-1 $2", " $0 #",
                                "-2 shell $-1 $-1 $-1 $-1 $-1 $-1 #", "End-of-ACIS-data"}));
  // Asking again gives the same text.
  EXPECT_EQ(f.bodyLines(1)[3], "-0 body $-1 $1 $-1 $-1 #");
}

// Parses `text`, which must be accepted, and gives each body's text.
std::vector<std::vector<std::string>> solidsOf(const std::string& text) {
  SatFile f;
  std::string error;
  EXPECT_TRUE(f.parse(text, error)) << text << ": " << error;
  std::vector<std::vector<std::string>> out;
  for (int b = 0; b < f.bodyCount(); ++b) out.push_back(f.bodyLines(b));
  return out;
}

// Parses `text`, which must be refused with an error that holds `reason`.
void expectRefused(const std::string& text, const char* reason) {
  SatFile f;
  std::string error;
  EXPECT_FALSE(f.parse(text, error)) << text;
  EXPECT_NE(error.find(reason), std::string::npos) << text << ": " << error;
}

// Writers break long records over lines that start with a tab and put tabs between words: each
// tab outside a string is white space and reaches the solid as a blank; the product line's
// strings are read by the file's version.
TEST(SatFileTest, TabsOutsideStringsAreBlanks) {
  const auto solids = solidsOf(
      "700 3 1 0\n@2 ab\t@8 ACIS 7.0 @4 date\n1\t1e-06 1e-10\n"
      "body $-1 $1 $-1 $-1 #\n"
      "lump $-1 $-1 $2\n\t$0 #\n"
      "point\t$-1 \t-152.156 28.843 41.0 \tnull_surface\t#\t\n");
  ASSERT_EQ(solids.size(), 1u);
  EXPECT_EQ(solids[0], (std::vector<std::string>{
                           "700 3 1 0", "@2 ab @8 ACIS 7.0 @4 date", "1 1e-06 1e-10",
                           "body $-1 $1 $-1 $-1 #", "lump $-1 $-1 $2", " $0 #",
                           "point $-1  -152.156 28.843 41.0  null_surface # "}));
  expectRefused("700 0 1 0\n@4 a\tb @4 date\n1 1 1\nbody $-1 #\n",
                "line 2 holds the byte 0x09 inside a string");
}

// The key line "T @N key" after the header is part of the header and of every solid's header.
TEST(SatFileTest, KeyLineAfterTheHeaderStaysInTheHeader) {
  const std::string head = "3100 0 2 0\n@4 prod @4 acis @4 date\n1 1e-06 1e-10\n";
  const auto solids = solidsOf(head + "T @7 EB6#$1Z  \nbody $-1 $-1 $-1 $-1 #\nbody $-1 $-1 #\n");
  ASSERT_EQ(solids.size(), 2u);
  EXPECT_EQ(solids[1], (std::vector<std::string>{"3100 1 1 0", "@4 prod @4 acis @4 date",
                                                 "1 1e-06 1e-10", "T @7 EB6#$1Z  ",
                                                 "body $-1 $-1 #"}));
  expectRefused(head + "T @70 short\nbody $-1 #\n", "line 4 starts like a key line");
}

// An ASM file opens its records with an asmheader that no pointer reaches: it is every solid's
// first record, the header's body count counts it too, and the file's end marker closes each.
TEST(SatFileTest, AsmHeaderOpensEverySolid) {
  const std::string head = "@4 prod @4 acis @4 date\n1 1e-06 1e-10\n";
  const std::string records =
      "asmheader $-1 -1 @12 221.0.0.1871 #\n"  // 0
      "body $2 -1 -1 $-1 $3 $-1 $-1 F #\n"     // 1
      "string_attrib $-1 -1 $-1 $-1 $1 @2 #$ #\n"  // 2
      "lump $-1 -1 -1 $-1 $-1 $-1 $1 F #\n"    // 3
      "body $-1 -1 -1 $-1 $-1 $-1 $-1 F #\n";  // 4
  const auto solids = solidsOf("20800 5 3 0\n" + head + records + "End-of-ASM-data\n");
  ASSERT_EQ(solids.size(), 2u);
  EXPECT_EQ(solids[0], (std::vector<std::string>{
                           "20800 4 2 0", "@4 prod @4 acis @4 date", "1 1e-06 1e-10",
                           "asmheader $-1 -1 @12 221.0.0.1871 #",
                           "body $2 -1 -1 $-1 $3 $-1 $-1 F #",
                           "string_attrib $-1 -1 $-1 $-1 $1 @2 #$ #",
                           "lump $-1 -1 -1 $-1 $-1 $-1 $1 F #", "End-of-ASM-data"}));
  EXPECT_EQ(solids[1], (std::vector<std::string>{
                           "20800 2 2 0", "@4 prod @4 acis @4 date", "1 1e-06 1e-10",
                           "asmheader $-1 -1 @12 221.0.0.1871 #",
                           "body $-1 -1 -1 $-1 $-1 $-1 $-1 F #", "End-of-ASM-data"}));
  EXPECT_EQ(solidsOf("20800 0 0 0\n" + head + records + "End-of-ACIS-data\n")[1].back(),
            "End-of-ACIS-data");
  // Counting the bodies alone is a count that disagrees with the file.
  expectRefused("20800 5 2 0\n" + head + records, "announces 2 top-level records");
}

// A history section is not carried: each solid ends with the file's end marker after the body's
// records, its header flag 0. A section without its end, or records after it, are refused.
TEST(SatFileTest, HistorySectionIsLeftOutAndTheEndMarkerKept) {
  const std::string head = "700 5 1 1\n@4 prod @4 acis @4 date\n1 1e-06 1e-10\n";
  const std::string records = "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $-1 $0 #\n";
  const std::string history =
      "Begin-of-ACIS-History-Data\n"
      "history_stream $-1 4 3 $1 $2 1 @5 a b#c #\n"
      "delta_state $-1 3 3 2 $3 $1 $1 $-1 F #\n"
      "bulletin_board $-1 2 $5 $-1 #\n"
      "End-of-ACIS-History-Section\n";
  EXPECT_EQ(solidsOf(head + records + history + "End-of-ACIS-data\n")[0],
            (std::vector<std::string>{"700 2 1 0", "@4 prod @4 acis @4 date", "1 1e-06 1e-10",
                                      "body $-1 -1 $-1 $1 $-1 $-1 #",
                                      "lump $-1 -1 $-1 $-1 $-1 $0 #", "End-of-ACIS-data"}));
  const struct {
    std::string tail;
    const char* reason;
  } bad[] = {
      {"Begin-of-ACIS-History-Data\nhistory_stream $-1 4 #\n", "history section is not ended"},
      {"Begin-of-ACIS-History-Data\nhistory_stream $-1 4", "not ended by '#'"},
      {history + "point $-1 0 0 0 #\nEnd-of-ACIS-data\n", "line 11 holds \"point\" after the history"},
  };
  for (const auto& c : bad) expectRefused(head + records + c.tail, c.reason);
}

// Bytes that go into no solid are not looked at: a DOS end-of-file byte or NUL padding after the
// end marker, a code page 1252 letter in a history string. The solids are those of the file
// without them; the same bytes among the records are refused.
TEST(SatFileTest, BytesAfterTheDataAndInTheHistoryAreNotCarried) {
  const std::string head = "700 2 1 0\n@4 prod @4 acis @4 date\n1 1e-06 1e-10\n";
  const std::string records = "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1 $-1 $-1 $0 #\n";
  const std::string history =
      "Begin-of-ACIS-History-Data\nhistory_stream $-1 4 3 $1 $2 1 @5 Gr\xFC\xDF" "e #\n"
      "End-of-ACIS-History-Section\n";
  const auto clean = solidsOf(head + records + "End-of-ACIS-data\n");
  ASSERT_EQ(clean.size(), 1u);
  const std::string withBytes[] = {
      head + records + "End-of-ACIS-data\n\x1A",
      head + records + "End-of-ACIS-data\r\n\x1A",
      head + records + "End-of-ACIS-data\x1A",
      head + records + "End-of-ACIS-data\n" + std::string(300, '\0'),
      head + records + history + "End-of-ACIS-data\n",
  };
  for (const std::string& text : withBytes) EXPECT_EQ(solidsOf(text), clean) << text;
  expectRefused(head + records + "\x1A\nEnd-of-ACIS-data\n", "line 6 holds the byte 0x1A");
  expectRefused(head + records + std::string(3, '\0'), "line 6 holds the byte 0x00");
  expectRefused(head + "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 @5 Gr\xFC\xDF" "e $0 #\n",
                "line 5 holds the byte 0xFC");
}

// A file whose lines end with a CR alone reads as with LF: the same solids, the same line
// numbers in a refusal. In a file of LF line ends a CR inside a line stays a byte of that line.
TEST(SatFileTest, LinesEndedByCrAloneReadAsLf) {
  const std::string lf =
      "700 2 1 0\n@4 prod @4 acis @4 date\n1 1e-06 1e-10\n"
      "body $-1 -1 $-1 $1 $-1 $-1 #\nlump $-1 -1 $-1\n $-1 $-1 $0 #\nEnd-of-ACIS-data\n";
  std::string cr = lf, mixed = lf;
  std::replace(cr.begin(), cr.end(), '\n', '\r');
  mixed.replace(mixed.find('\n'), 1, "\r");  // a CR LF pair or a LF ends a line there too
  mixed.insert(mixed.rfind('\n'), "\r");
  const auto solids = solidsOf(lf);
  EXPECT_EQ(solidsOf(cr), solids);
  EXPECT_EQ(solidsOf(mixed), solids);
  expectRefused("700 0 1 0\r@4 prod @4 acis @4 date\r1 1e-06 1e-10\rbody $-1 #\r\x7F #\r",
                "line 5 holds the byte 0x7F");
  expectRefused("700 0 1 0\r@4 prod\r1 1e-06 1e-10\r", "too short");
}

// Before version 700 strings are a length and the text, so a record's '#' is the one that ends
// its line: a '#' inside a string neither ends nor shifts a record. A '#' inside a line that no
// such string can hold, or a record that starts with no type name, leaves the reading open.
TEST(SatFileTest, OldFilesEndRecordsAtTheLineEnd) {
  const std::string head = "400 0 1 0\n4 prod 4 acis 4 date\n1 1e-06 1e-10\n";
  const auto solids = solidsOf(head +
                               "body $1 $2 $-1 $-1 #\n"
                               "eye_refinement $-1 5 grid  1 3 tri 1 4 su#f 0 #\n"
                               "lump $-1 $-1 $3 $0 #\n"
                               "shell $-1 $-1 $-1 $-1 $-1 $2 #\n"
                               "End-of-ACIS-data\n");
  ASSERT_EQ(solids.size(), 1u);
  EXPECT_EQ(solids[0], (std::vector<std::string>{
                           "400 4 1 0", "4 prod 4 acis 4 date", "1 1e-06 1e-10",
                           "body $1 $2 $-1 $-1 #",
                           "eye_refinement $-1 5 grid  1 3 tri 1 4 su#f 0 #",
                           "lump $-1 $-1 $3 $0 #", "shell $-1 $-1 $-1 $-1 $-1 $2 #",
                           "End-of-ACIS-data"}));
  const struct {
    const char* records;
    const char* reason;
  } open[] = {
      {"body $-1 $1 $-1 $-1 # lump $-1 $-1 $-1 $0 #\n", "line 4 holds a '#' inside the line"},
      {"body $-1 $1 #\nname_attrib $-1 5 abcd#\n$0 #\n", "line 6 starts a record with \"$0\""},
      {"body $-1 $1 #\nname_attrib $-1 2 ab# $0 #\n", "line 5 holds a '#' inside the line"},
  };
  for (const auto& c : open) expectRefused(head + c.records, c.reason);
}

TEST(LineTypeFileTest, ReadsSimpleDefinitionsAndNamesTheRest) {
  LineTypeFile f;
  f.parse(";; comment\n*DASHED,Dashed __ __\nA,12.0,-6.0\n"
          "*dot , Dot\r\nA, 0, -3\n"
          "*GAS,Gas line\nA,12,-5,[\"GAS\",STANDARD,S=2.5],-5\n"
          "*BROKEN,no pattern\n*BAD,bad\nB,1,-1\n*WORSE,x\nA,1,zwei\n");
  std::string why;
  const LineTypeRecord* d = f.find("dashed", why);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->description, "Dashed __ __");
  EXPECT_EQ(d->pattern, (std::vector<double>{12.0, -6.0}));
  const LineTypeRecord* dot = f.find("DOT", why);
  ASSERT_NE(dot, nullptr);
  EXPECT_EQ(dot->pattern, (std::vector<double>{0.0, -3.0}));
  EXPECT_EQ(f.find("GAS", why), nullptr);
  EXPECT_NE(why.find("text or shapes"), std::string::npos);
  EXPECT_EQ(f.find("MISSING", why), nullptr);
  EXPECT_NE(why.find("not defined"), std::string::npos);
  for (const char* name : {"BROKEN", "BAD", "WORSE"}) EXPECT_EQ(f.find(name, why), nullptr) << name;
  EXPECT_EQ(f.problems().size(), 3u);
}

}  // namespace
}  // namespace kxhost
