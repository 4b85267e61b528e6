#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CodePageTest, TextComesBackAsUtf8) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"plain", "plain"},
      {"Einf\xC3\xBCgepunkt w\xC3\xA4hlen:", "Einf\xC3\xBCgepunkt w\xC3\xA4hlen:"},   // UTF-8 as it is
      {"Einf\xFCgepunkt w\xE4hlen:", "Einf\xC3\xBCgepunkt w\xC3\xA4hlen:"},          // code page
      {"Gr\xFC\xDF" "e \x80 \x9F", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xC5\xB8"},  // ü ß € Ÿ
      {"\x81", "\xC2\x81"},                                  // undefined: the C1 control
      {"\xC3", "\xC3\x83"},                                  // a sequence cut at the end
      {"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},                  // an overlong form is two letters
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},      // a surrogate is no character
      {"\xF0\x9F\x98\x80 \xE4", "\xF0\x9F\x98\x80 \xC3\xA4"},  // both in one text
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(utf8Text(c.in), c.out) << c.in;
}

TEST(CodePageTest, CodePointsOfBothReadings) {
  std::size_t i = 0;
  const std::string s = "\xC3\xA4\xE4\x80";
  EXPECT_EQ(nextCodePoint(s, i), 0xE4u);
  EXPECT_EQ(i, 2u);
  EXPECT_EQ(nextCodePoint(s, i), 0xE4u);
  EXPECT_EQ(nextCodePoint(s, i), 0x20ACu);
  EXPECT_EQ(i, s.size());
  EXPECT_EQ(cp1252CodePoint(0x8D), 0x8Du);
  EXPECT_EQ(cp1252CodePoint(0x9E), 0x17Eu);
}

}  // namespace
}  // namespace platform
