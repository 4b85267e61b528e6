// The file readers behind _acisin and _.linetype.

#include "host/LineTypeFile.h"
#include "host/SatFile.h"

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
      {"-0 body $-1 $1 #\n-1 lump $-1 #\n-2 body $-1 $3 #\n", 2},
      // A counted string holding '#' and the word body does not end or start a record.
      {"-0 body $-1 #\n-1 string_attrib @9 a # body  $-1 #\n", 1},
      // A record may run over several lines.
      {"body $-1\n $1 $-1\n #\n", 1},
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
