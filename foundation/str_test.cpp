#include "foundation/str.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "foundation/memManCheckLeak.h"

namespace {

std::string S(const str& s) { return std::string(s.text(), static_cast<std::size_t>(s.length())); }

TEST(StrTest, EmptyHoldsNoStorageAndEqualsNullAndEmpty) {
  const str none;
  const str onlyNul("");
  const str fromNull(static_cast<const char*>(nullptr));
  for (const str* s : {&none, &onlyNul, &fromNull}) {
    EXPECT_STREQ(s->text(), "");
    EXPECT_EQ(s->length(), 0);
    EXPECT_TRUE(s->isEqual(nullptr));
    EXPECT_TRUE(s->isEqual(""));
    EXPECT_FALSE(s->isEqual("a"));
    EXPECT_TRUE(s->equalsStr(none));
    EXPECT_EQ(s->findChar('a'), -1);
    EXPECT_EQ(s->findText(""), -1);
    EXPECT_EQ(s->findLastChar('a'), -1);
  }
  EXPECT_EQ(memManCheckLeakC().snapshot(), 1) << "only the str holding the NUL has storage";
}

TEST(StrTest, ConstructionFromPartsAndNumbers) {
  const char* text = "keyword value";
  EXPECT_EQ(S(str(text, text + 7)), "keyword");
  EXPECT_EQ(S(str(text + 3, text + 3)), "");
  EXPECT_EQ(S(str(text + 3, text)), "");
  EXPECT_EQ(S(str(0)), "0");
  EXPECT_EQ(S(str(-42)), "-42");
  EXPECT_EQ(S(str(INT_MIN)), "-2147483648");
  str a("abc");
  str b(a);
  b.toUpper();
  EXPECT_EQ(S(a), "abc");
  EXPECT_EQ(S(b), "ABC");
  a.assign(b).toLower();
  EXPECT_EQ(S(a), "abc");
  a.assign(a);
  EXPECT_EQ(S(a), "abc");
}

// A str without storage is null; str("") holds its NUL and is not. isLess: both null 0, only
// this null 1, only the text null 0, else strcmp < 0. isGreater: both null or this null 0, only
// the text null 1, else strcmp > 0.
TEST(StrTest, OrderingPutsNullBeforeTheEmptyText) {
  struct Case {
    const char* self;   // nullptr: a str without storage
    const char* text;
    bool less, greater;
  } cases[] = {
      {nullptr, nullptr, false, false}, {nullptr, "", true, false},  {nullptr, "a", true, false},
      {"", nullptr, false, true},       {"", "", false, false},      {"", "a", true, false},
      {"a", nullptr, false, true},      {"a", "", false, true},      {"a", "b", true, false},
      {"b", "a", false, true},          {"a", "a", false, false},    {"ab", "a", false, true},
  };
  for (const Case& c : cases) {
    const str s(c.self);
    EXPECT_EQ(s.isNull(), c.self == nullptr);
    EXPECT_EQ(s.isLess(c.text), c.less) << (c.self ? c.self : "null") << " < " << (c.text ? c.text : "null");
    EXPECT_EQ(s.isGreater(c.text), c.greater) << (c.self ? c.self : "null") << " > " << (c.text ? c.text : "null");
  }
  // Equality still treats null and "" alike.
  EXPECT_TRUE(str().isEqual(""));
  EXPECT_TRUE(str("").isEqual(nullptr));
}

TEST(StrTest, AppendKeepsOneNulAndReadsItsOwnText) {
  str s;
  s.append("ab");
  s.append('c');
  s.append("xyz", 0);
  s.append(nullptr, 4);
  s.append("defg", 2);
  EXPECT_EQ(S(s), "abcde");
  EXPECT_EQ(s.length(), 5);
  // Growing through several size classes while appending its own text.
  for (int i = 0; i < 8; ++i) s.append(s.text(), s.length());
  EXPECT_EQ(s.length(), 5 * 256);
  EXPECT_EQ(std::strlen(s.text()), 5u * 256u);
  EXPECT_EQ(S(s.substring(1275, 5)), "abcde");
  s.append(s.text() + 3, 1000000);  // clipped to what the str holds
  EXPECT_EQ(s.length(), 5 * 256 * 2 - 3);
  EXPECT_EQ(S(str("ab").concat(str("cd"))), "abcd");
  str self("x");
  EXPECT_EQ(S(self.concat(self)), "xx");
}

TEST(StrTest, SubstringLeftRight) {
  const str s("abcde");
  struct Case {
    long position, count;
    const char* expect;
  } cases[] = {{3, 10, "de"}, {0, 0, ""},  {0, 5, "abcde"}, {1, 3, "bcd"}, {4, 1, "e"},
               {5, 1, ""},    {99, 2, ""}, {-2, 4, "ab"},   {-9, 4, ""},   {2, -1, ""}};
  for (const Case& c : cases)
    EXPECT_EQ(S(s.substring(c.position, c.count)), c.expect) << c.position << "," << c.count;
  EXPECT_EQ(S(s.left(2)), "ab");
  EXPECT_EQ(S(s.right(2)), "de");
  EXPECT_EQ(S(s.right(9)), "abcde");
  EXPECT_EQ(S(str().substring(0, 3)), "");
}

TEST(StrTest, SearchAndCharAt) {
  const str s("a.b.c");
  EXPECT_EQ(s.findChar('.'), 1);
  EXPECT_EQ(s.findLastChar('.'), 3);
  EXPECT_EQ(s.findChar('x'), -1);
  EXPECT_EQ(s.findText("b.c"), 2);
  EXPECT_EQ(s.findText("c."), -1);
  EXPECT_EQ(s.findText(nullptr), -1);
  EXPECT_EQ(s.charAt(4), 'c');
  EXPECT_EQ(s.charAt(5), '\0');
  EXPECT_EQ(s.charAt(-1), '\0');
}

TEST(StrTest, EraseAndInsert) {
  struct Case {
    long position, count;
    const char* expect;
  } erases[] = {{1, 2, "ade"}, {0, 5, ""},     {3, 99, "abc"}, {0, 0, "abcde"},
                {2, -1, "abcde"}, {5, 1, "abcde"}, {-1, 2, "bcde"}};
  for (const Case& c : erases) {
    str s("abcde");
    s.erase(c.position, c.count);
    EXPECT_EQ(S(s), c.expect) << c.position << "," << c.count;
  }
  struct Ins {
    long position;
    const char* expect;
  } inserts[] = {{0, "XYabc"}, {1, "aXYbc"}, {3, "abcXY"}, {99, "abcXY"}, {-3, "XYabc"}};
  for (const Ins& c : inserts) {
    str s("abc");
    s.insert(c.position, "XY");
    EXPECT_EQ(S(s), c.expect) << c.position;
  }
  str s("abc");
  s.insert(1, s.text());
  EXPECT_EQ(S(s), "aabcbc");
}

TEST(StrTest, SetBufferSizeKeepsContentsAndTheNul) {
  str s("abcdef");
  EXPECT_EQ(s.setBufferSize(0), nullptr);
  EXPECT_EQ(s.setBufferSize(-3), nullptr);
  EXPECT_EQ(S(s), "abcdef");
  char* d = s.setBufferSize(64);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(s.length(), 63);
  EXPECT_STREQ(s.text(), "abcdef");  // new bytes are zero, so the text still ends at the old NUL
  std::strcpy(d, "written into the buffer");
  EXPECT_STREQ(s.text(), "written into the buffer");
  s.setBufferSize(4);
  EXPECT_EQ(s.length(), 3);
  EXPECT_STREQ(s.text(), "wri");
}

TEST(StrTest, EscapeAndUnescape) {
  struct Case {
    const char* plain;
    const char* escaped;
  } cases[] = {{"a\tb\"c", "a\\tb\\\"c"},
               {"line\nnext\r", "line\\nnext\\r"},
               {"back\\slash", "back\\\\slash"},
               {"plain", "plain"},
               {"", ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(S(escapeText(c.plain)), c.escaped);
    EXPECT_EQ(S(unescapeText(c.escaped)), c.plain);
  }
  EXPECT_EQ(S(quoteText("say \"hi\"")), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(S(unescapeText("\\x")), "x");
  EXPECT_EQ(S(unescapeText("end\\")), "end\\");
  EXPECT_EQ(S(escapeText(nullptr)), "");
  EXPECT_EQ(S(unescapeText(nullptr)), "");
}

TEST(StrTest, ReplaceAll) {
  struct Case {
    const char* text;
    const char* pattern;
    const char* replacement;
    const char* expect;
  } cases[] = {{"a-b-c", "-", "+", "a+b+c"},  {"aaaa", "aa", "a", "aa"},
               {"xyz", "q", "r", "xyz"},      {"abab", "ab", "", ""},
               {"abc", "", "X", "abc"},       {"abc", nullptr, "X", "abc"},
               {"a.b", ".", nullptr, "ab"},   {"aa", "a", "aa", "aaaa"}};
  for (const Case& c : cases)
    EXPECT_EQ(S(replaceAll(c.text, c.pattern, c.replacement)), c.expect) << c.text;
  EXPECT_EQ(S(replaceAll(nullptr, "a", "b")), "");
}

TEST(StrTest, EveryOperationGivesItsStorageBack) {
  memManCheckLeakC check;
  {
    str s("some text");
    s.append(" more").toUpper();
    str t = s.substring(2, 4).concat(s.right(3));
    t.erase(0, 1).insert(1, "--");
    str u = replaceAll(quoteText(t.text()).text(), "-", "+");
    s = u;
    s = std::move(t);
    str* heap = new str(unescapeText("a\\tb"));
    delete heap;
    s.setBufferSize(2000);
  }
  EXPECT_EQ(check.difference(), 0);
}

}  // namespace
