// The DXF writer's text values: written in the file's code page (1252), characters it lacks as
// \U+XXXX in texts and as '_' in table names; whatever bytes an MTEXT holds, every value stays on
// its own line, and MTEXT control sequences pass through.
#include "host/DxfWriter.h"

#include <string>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

class DxfWriterTest : public HostTest {
protected:
  // The value of the first group `code` after `marker` in the written file.
  static std::string valueAfter(const std::string& file, const std::string& marker, const char* code) {
    for (char c : file) EXPECT_TRUE(c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 32);
    const std::size_t at = file.find(marker);
    EXPECT_NE(at, std::string::npos) << marker;
    const std::size_t group = file.find(std::string("\n") + code + "\n", at);
    EXPECT_NE(group, std::string::npos);
    const std::size_t start = group + std::string(code).size() + 2;
    return file.substr(start, file.find('\n', start) - start);
  }
  std::string written() { return DxfWriter(host.database(), host.variables()).text(); }

  std::string mtextValue(const std::string& text) {
    ads_point at = {1.0, 2.0, 0.0};
    EXPECT_EQ(make(acutBuildList(RTDXF0, "MTEXT", 8, "0", 10, at, 40, 2.5, 1, text.c_str(), 0)), RTNORM);
    return valueAfter(written(), "\nAcDbMText\n", "  1");
  }
  std::string textValue(const std::string& text) {
    ads_point at = {1.0, 2.0, 0.0};
    EXPECT_EQ(make(acutBuildList(RTDXF0, "TEXT", 8, "0", 10, at, 40, 2.5, 1, text.c_str(), 0)), RTNORM);
    return valueAfter(written(), "\nAcDbText\n", "  1");
  }
};

TEST_F(DxfWriterTest, MTextBackslashBeforeALineEndOrControlByteIsALiteralBackslash) {
  const struct {
    std::string text, written;
  } cases[] = {
      {"a\\\nb", "a\\\\\\Pb"},              // backslash, then the line end as a paragraph
      {"a\\\rb", "a\\\\ b"},                // a CR becomes a blank like any control character
      {"a\\\x01", "a\\\\ "},
      {"\\\xC3\xA4", "\\\\\xE4"},            // the following character is encoded as any other
      {"\\\xFF", "\\\\\xFF"},
      {"x\\Py \\\\ \\~", "x\\Py \\\\ \\~"},  // control sequences stay as they are
  };
  for (const auto& c : cases) {
    host.reset();
    EXPECT_EQ(mtextValue(c.text), c.written) << c.text;
  }
}

TEST_F(DxfWriterTest, TextIsWrittenInTheCodePageAndOtherCharactersAsUnicodeEscapes) {
  const struct {
    std::string text, written;
  } cases[] = {
      {"Ma\xC3\x9F \xC3\x84\xC3\xB6", "Ma\xDF \xC4\xF6"},       // Latin-1 letters: one byte each
      {"\xE2\x82\xAC \xE2\x80\x94 \xC5\x93", "\x80 \x97 \x9C"},  // the code page's 0x80..0x9F
      {"\xE4\xB8\xAD\xCE\xA9", "\\U+4E2D\\U+03A9"},            // not in the code page
      {"\xC2\x81", "\\U+0081"},                                // a C1 control it lacks
      {"L\xE4t", "L\xE4t"},                                     // not UTF-8: taken as Latin-1
  };
  for (const auto& c : cases) {
    host.reset();
    EXPECT_EQ(textValue(c.text), c.written) << c.text;
  }
}

TEST_F(DxfWriterTest, TableNamesNeverHoldUnicodeEscapes) {
  const std::string layer = "L\xC3\xA4yer-\xE4\xB8\xAD\xE2\x82\xAC";
  ASSERT_EQ(makeLine(0, 0, 1, 1, layer.c_str()), RTNORM);
  const std::string file = written();
  EXPECT_NE(file.find("\nAcDbLayerTableRecord\n  2\nL\xE4yer-_\x80\n"), std::string::npos);
  EXPECT_NE(file.find("\n  8\nL\xE4yer-_\x80\n"), std::string::npos);   // the line's layer
  EXPECT_EQ(file.find("U+"), std::string::npos);
}

}  // namespace
}  // namespace kxhost::testing
