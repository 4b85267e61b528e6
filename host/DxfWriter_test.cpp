// The DXF writer's text in the drawing's code page (1252): letters the code page has are single
// bytes, other characters take the \U+XXXX form in texts and '_' in table names, which cannot
// hold a backslash, without two records of one table ending up with the same name.

#include "host/DxfWriter.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

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
      // A caret in the file's form: '^' and the character after it would read as a control
      // character.
      {"Fl\xC3\xA4" "che 12 mm^2, Toleranz 10^-3", "Fl\xE4" "che 12 mm^ 2, Toleranz 10^ -3"},
      {"^^ ^", "^ ^  ^ "},
  };
  for (const Case& c : cases) text("0", c.given);
  const std::string dxf = file();
  EXPECT_TRUE(holds(dxf, "$DWGCODEPAGE\n  3\nANSI_1252"));
  for (const Case& c : cases) EXPECT_TRUE(holds(dxf, "  1\n" + c.written)) << c.written;
}

// Readers take names and descriptions as they stand, so a caret there stays as it is.
TEST_F(DxfCodePageTest, CaretsInNamesStayAsTheyAre) {
  layer("mm^2");
  text("mm^2", "x");
  ads_name set;
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, set), RTNORM);
  ads_name last;
  ASSERT_EQ(acdbEntLast(last), RTNORM);
  ASSERT_EQ(acedSSAdd(last, set, set), RTNORM);
  const ads_point base = {0.0, 0.0, 0.0};
  ASSERT_EQ(acedCommand(RTSTR, "_.BLOCK", RTSTR, "B^2", RTPOINT, base, RTPICKS, set, RTSTR, "",
                        RTNONE),
            RTNORM);
  acedSSFree(set);
  const std::string dxf = file();
  for (const char* line : {"  2\nmm^2", "  8\nmm^2", "  2\nB^2", "  3\nB^2"})
    EXPECT_TRUE(holds(dxf, line)) << line;
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

namespace kxhost::testing {
namespace {

// The values of the "50" and "51" groups of the file's first HATCH, in order.
std::vector<double> hatchEdgeAngles(const std::string& dxf) {
  std::vector<std::string> lines;
  std::istringstream in(dxf);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<double> out;
  std::size_t k = 0;
  while (k + 1 < lines.size() && !(lines[k] == "  0" && lines[k + 1] == "HATCH")) k += 2;
  for (k += 2; k + 1 < lines.size() && lines[k] != "  0"; k += 2)
    if (lines[k] == " 50" || lines[k] == " 51") out.push_back(std::stod(lines[k + 1]));
  return out;
}

TEST_F(HostTest, HatchEllipseEdgesAreWrittenAsGeometricAngles) {
  // A half ellipse of ratio 14/26 from parameter 200 to 340 degrees, closed by a line, and a
  // whole ellipse. tan(angle) = ratio * tan(parameter): 200 -> 191.0885112 (tan 20 = 0.3639702,
  // times 0.5384615 is 0.1959840, atan 11.0885112), 340 -> 348.9114888; 0 and 360 stay.
  const double kPi = 3.141592653589793, ratio = 14.0 / 26.0;
  ads_point zero = {0, 0, 0}, z = {0, 0, 1}, centre = {0, 0, 0}, axis = {26, 0, 0};
  const double t0 = 200.0 / 180.0 * kPi, t1 = 340.0 / 180.0 * kPi;
  ads_point p = {26 * std::cos(t1), 14 * std::sin(t1), 0}, q = {26 * std::cos(t0), 14 * std::sin(t0), 0};
  resbuf* list = acutBuildList(
      RTDXF0, "HATCH", 100, "AcDbEntity", 8, "0", 100, "AcDbHatch", 10, zero, 210, z, 2, "SOLID",
      70, 1, 71, 0, 91, 2, 92, 1, 93, 2, 72, 3, 10, centre, 11, axis, 40, ratio, 50, t0, 51, t1, 73,
      1, 72, 1, 10, p, 11, q, 97, 0, 92, 1, 93, 1, 72, 3, 10, centre, 11, axis, 40, ratio, 50, 0.0,
      51, 2 * kPi, 73, 1, 97, 0, 75, 0, 76, 1, 98, 0, 0);
  ASSERT_EQ(acdbEntMake(list), RTNORM);
  acutRelRb(list);
  const std::vector<double> angles =
      hatchEdgeAngles(DxfWriter(host.database(), host.variables()).text());
  const double expected[] = {191.0885112, 348.9114888, 0.0, 360.0};
  ASSERT_EQ(angles.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(angles[k], expected[k], 1e-6) << k;
}

// A solid's text line by line as a reader takes it from the file: a group 1 starts a line, the
// group 3 entries after it continue it; each character c but the blank is 159 - c, "^ " a caret.
std::vector<std::string> solidLines(const std::string& dxf) {
  std::vector<std::string> lines;
  std::istringstream in(dxf.substr(dxf.find("AcDbModelerGeometry")));
  std::string code, value;
  std::getline(in, value);
  while (std::getline(in, code) && std::getline(in, value) && code != "  0") {
    if (code != "  1" && code != "  3") continue;
    if (value.size() > 255) lines.push_back("a group of " + std::to_string(value.size()));
    std::string plain;
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      plain += c == ' ' ? ' ' : static_cast<char>(159 - static_cast<unsigned char>(c));
      if (c == '^') ++i;  // the blank of "^ "
    }
    if (code == "  1") lines.push_back(plain);
    else if (!lines.empty()) lines.back() += plain;
  }
  return lines;
}

// Lines beyond 255 characters go in one group 1 and the group 3 entries after it, pieces that
// never part a "^ " pair (an 'A' of the text); lines given as 1 + 3 in the entity stay one line.
TEST_F(HostTest, SolidTextLinesReadBackWhole) {
  const std::string attrib = "string_attrib $-1 $-1 $0 @600 " + std::string(600, 'z') + " #";
  const std::string caret = std::string(254, 'b') + "AA" + std::string(300, 'A') + " trailing  ";
  resbuf* list = acutBuildList(RTDXF0, "3DSOLID", 70, 1, 1, "700 0 1 0", 1,
                               "body $-1 $1 $-1 $-1 #", 1, attrib.c_str(), 1, "", 1,
                               caret.c_str(), 1, "joined ", 3, "from two", 1, "~@_^ #", 0);
  ASSERT_EQ(acdbEntMake(list), RTNORM) << host.transcript().text();
  acutRelRb(list);
  const std::string dxf = DxfWriter(host.database(), host.variables()).text();
  EXPECT_EQ(solidLines(dxf), (std::vector<std::string>{"700 0 1 0", "body $-1 $1 $-1 $-1 #",
                                                       attrib, "", caret, "joined from two",
                                                       "~@_^ #"}));
}

// The groups 3 and 1 of each MTEXT of the file, in order, as "3:value" and "1:value".
std::vector<std::vector<std::string>> mtextPieces(const std::string& dxf) {
  std::vector<std::string> lines;
  std::istringstream in(dxf);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<std::vector<std::string>> out;
  bool inside = false;
  for (std::size_t k = 0; k + 1 < lines.size(); k += 2) {
    const int code = std::stoi(lines[k]);
    if (code == 0) {
      inside = lines[k + 1] == "MTEXT";
      if (inside) out.emplace_back();
    } else if (inside && (code == 1 || code == 3)) {
      out.back().push_back(std::to_string(code) + ":" + lines[k + 1]);
    }
  }
  return out;
}

// A text goes into the file in pieces of at most 250 characters, each full one in a group 3 and
// the last in the group 1; a line break (\P), a control sequence, a character in the \U+XXXX
// form and a caret in its form "^ " stay in one piece. A text the entity holds in pieces is one
// text, even where an escape starts in one piece and ends in the next.
TEST_F(HostTest, MTextIsWrittenInPiecesThatKeepEscapesWhole) {
  struct Case {
    std::string head;   // group 3 of the entity, none when empty
    std::string text;   // group 1
    std::vector<std::string> written;
  };
  const std::string a249(249, 'a');
  const Case cases[] = {
      {"", "", {"1:"}},
      {"", std::string(250, 'a'), {"1:" + std::string(250, 'a')}},
      {"", std::string(251, 'a'), {"3:" + std::string(250, 'a'), "1:a"}},
      {"", a249 + "\nb", {"3:" + a249, "1:\\Pb"}},
      {"", std::string(248, 'a') + "\\~x", {"3:" + std::string(248, 'a') + "\\~", "1:x"}},
      {"", a249 + "\\~", {"3:" + a249, "1:\\~"}},
      {"", a249 + "\xE2\x98\x83", {"3:" + a249, "1:\\U+2603"}},
      {a249 + "\\", "Pz", {"3:" + a249, "1:\\Pz"}},
      // A caret is "^ ", after a backslash too, never parted from its blank.
      {"", a249 + "^2", {"3:" + a249, "1:^ 2"}},
      {"", std::string(248, 'a') + "\\^2", {"3:" + std::string(248, 'a'), "1:\\^ 2"}},
  };
  const ads_point at = {0.0, 0.0, 0.0};
  for (const Case& c : cases) {
    resbuf* list =
        c.head.empty()
            ? acutBuildList(RTDXF0, "MTEXT", 10, at, 40, 2.5, 1, c.text.c_str(), 0)
            : acutBuildList(RTDXF0, "MTEXT", 10, at, 40, 2.5, 3, c.head.c_str(), 1, c.text.c_str(), 0);
    ASSERT_EQ(acdbEntMake(list), RTNORM) << host.transcript().text();
    acutRelRb(list);
  }
  const auto written = mtextPieces(DxfWriter(host.database(), host.variables()).text());
  ASSERT_EQ(written.size(), std::size(cases));
  for (std::size_t k = 0; k < written.size(); ++k) EXPECT_EQ(written[k], cases[k].written) << k;
}

}  // namespace
}  // namespace kxhost::testing
