// The DXF writer's text in the drawing's code page (1252): letters the code page has are single
// bytes, other characters take the \U+XXXX form in texts and '_' in table names, which cannot
// hold a backslash, without two records of one table ending up with the same name.

#include "host/DxfWriter.h"

#include <string>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

class DxfCodePageTest : public HostTest {
 protected:
  void layer(const char* name) {
    ASSERT_EQ(acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, name, RTSTR, "", RTNONE), RTNORM)
        << name;
  }
  void text(const char* layerName, const char* value) {
    ads_point at = {0.0, 0.0, 0.0};
    resbuf* list = acutBuildList(RTDXF0, "TEXT", 8, layerName, 10, at, 40, 2.5, 1, value, 0);
    ASSERT_EQ(acdbEntMake(list), RTNORM) << value;
    acutRelRb(list);
  }
  std::string file() { return DxfWriter(host.database(), host.variables()).text(); }
  static bool holds(const std::string& file, const std::string& line) {
    return file.find("\n" + line + "\n") != std::string::npos;
  }
};

TEST_F(DxfCodePageTest, TextsAreWrittenInCodePage1252) {
  struct Case {
    const char* given;
    std::string written;
  };
  const Case cases[] = {
      {"Gr\xC3\xB6\xC3\x9F" "e \xC3\x84\xC3\x96\xC3\x9C", "Gr\xF6\xDF" "e \xC4\xD6\xDC"},  // UTF-8
      {"\xE2\x82\xAC 5 \xE2\x80\x93 6", "\x80 5 \x96 6"},           // the code page's own 0x80..
      {"\xE2\x98\x83 \xCE\xA9", "\\U+2603 \\U+03A9"},               // not in the code page
      {"\xF0\x9F\x98\x80", "\\U+FFFD"},                             // beyond U+FFFF
      {"Ma\xDF \x80", "Ma\xDF \x80"},                               // single code page bytes
      {"a\tb", "a b"},                                              // a control character
  };
  for (const Case& c : cases) text("0", c.given);
  const std::string dxf = file();
  EXPECT_TRUE(holds(dxf, "$DWGCODEPAGE\n  3\nANSI_1252"));
  for (const Case& c : cases) EXPECT_TRUE(holds(dxf, "  1\n" + c.written)) << c.written;
}

TEST_F(DxfCodePageTest, TableNamesNeverHoldTheEscapeForm) {
  layer("KONT\xC3\x9CR");      // KONTÜR
  layer("A\xE2\x98\x83");      // A and a snowman
  layer("A\xE2\x98\x85");      // A and a star: the same name in the code page
  layer("A_");                 // a name the replacement would give, kept as it is
  text("KONT\xC3\x9CR", "x");
  text("A\xE2\x98\x85", "y");
  const std::string dxf = file();
  EXPECT_EQ(dxf.find("\\U+"), std::string::npos);
  for (const char* name : {"KONT\xDCR", "A_", "A__2", "A__3"})
    EXPECT_TRUE(holds(dxf, "  2\n" + std::string(name))) << name;
  EXPECT_TRUE(holds(dxf, "  8\nKONT\xDCR"));
  EXPECT_TRUE(holds(dxf, "  8\nA__3"));
}

}  // namespace
}  // namespace kxhost::testing
