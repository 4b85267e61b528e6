// Tests of the number and text helpers.

#include "config/TextUtilities.h"

#include <gtest/gtest.h>

#include <clocale>
#include <climits>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "foundation/PatternRegex.h"
#include "platform/Process.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

std::vector<std::string> V(const RWTValOrderedVector<RWCString>& v) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < v.count(); ++i) out.push_back(S(v[i]));
  return out;
}

RWTValOrderedVector<RWCString> R(const std::vector<std::string>& v) {
  RWTValOrderedVector<RWCString> out(64);
  for (const std::string& s : v) out.append(RWCString(s.data(), s.size()));
  return out;
}

TEST(CompareDoubles, RelativeAndAbsoluteTolerance) {
  struct Case { double a, b; int expected; };
  const Case cases[] = {
      {0, 1e-9, 0},          {0, 2e-8, -1},           {0, -2e-8, 1},
      {1000, 1000.009, 0},   {1000, 1000.011, -1},    {1000, 999.989, 1},
      {-1000, -1000.009, 0}, {-1000, -1000.011, 1},   {5, 5, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(compareDoubles(c.a, c.b), c.expected) << c.a << " vs " << c.b;
  EXPECT_EQ(compareDoublesWithin(1, 1.5, 0.5), 0);
  EXPECT_EQ(compareDoublesWithin(1, 1.6, 0.5), -1);
  EXPECT_EQ(compareDoublesWithin(2, 1, 0.5), 1);
}

TEST(LenientAtof, Table) {
  struct Case { const char* text; const char* decimals; double value; bool ok; };
  const Case cases[] = {
      {"12,5", nullptr, 12.5, true},    {" -1e3x", nullptr, -1000, true},
      {"+5", nullptr, 0, false},        {"3.25", nullptr, 3.25, true},
      {"-.5", nullptr, -0.5, true},     {"1e", nullptr, 1, true},
      {"7 8", nullptr, 7, true},        {"1;5", ";", 1.5, true},
      {"1.5", ",", 1, true},            {"0", nullptr, 0, true},
      // Nothing numeric was read: no success.
      {"-", nullptr, 0, false},         {"e", nullptr, 0, false},
      {"   ", nullptr, 0, false},       {"", nullptr, 0, false},
      {"--1", nullptr, 0, false},       {"- 1", nullptr, 0, false},
      {"x12", nullptr, 0, false},       {",", nullptr, 0, false},
  };
  for (const Case& c : cases) {
    bool ok = !c.ok;
    EXPECT_DOUBLE_EQ(lenientAtof(c.text, c.decimals, &ok), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
  bool ok = true;
  EXPECT_EQ(lenientAtof(nullptr, nullptr, &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(lenientAtof("4,5"), 4.5);  // no flag asked for
}

TEST(AtofClassic, BehavesLikeTheCRunTimeInTheCLocale) {
  std::vector<std::string> texts = {
      "1.5",    "  -2.25e2xyz", "+3",  ".5",  "5.",  "1e400", "-1e400", "1e-400", "0x1p4", "0x",
      "inf",    "-nan",         "1e+", "  ",  "abc", "4e-320", "1.7976931348623157e308",
      // A 'p' without a digit after its one optional sign is no exponent.
      "0x5p+-9", "0x1p", "0x1.8p-", "0x1P+3", "0x.8p1x", "0xAp+-0"};
  // Beyond the range of any floating type through the digits themselves: the place of the first
  // non-zero digit decides between overflow and underflow, whatever the exponent's sign.
  const std::string zeros5000(5000, '0'), zeros6000(6000, '0');
  for (const std::string& t :
       {"0." + zeros5000 + "1", "-0." + zeros5000 + "1", "1" + zeros6000 + "e-10",
        "-1" + zeros6000 + "e-10", "0." + zeros5000 + "1e4990", "1" + zeros6000 + "e-6010",
        "0." + zeros5000 + "1e99999999999999999999", "1" + zeros6000 + "e-99999999999999999999",
        "0x0." + zeros5000 + "1p-10", "0x1" + zeros5000 + "p-100", "0x0." + zeros5000 + "1p20050",
        "0" + zeros6000 + "1e-330", zeros5000 + "1." + zeros5000 + "x"}) {
    texts.push_back(t);
  }
  for (const std::string& text : texts) {
    const char* t = text.c_str();
    char* expectedEnd = nullptr;
    const double expected = std::strtod(t, &expectedEnd);  // the tests run in the "C" locale
    const double got = atofClassic(t);
    const char* end = nullptr;
    const double again = strtodClassic(t, &end);
    EXPECT_TRUE(again == got || (std::isnan(again) && std::isnan(got))) << text.substr(0, 40);
    EXPECT_EQ(end - t, expectedEnd - t) << text.substr(0, 40);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(got)) << text.substr(0, 40);
    } else {
      EXPECT_EQ(got, expected) << text.substr(0, 40) << " (" << text.size() << " characters)";
      EXPECT_EQ(std::signbit(got), std::signbit(expected)) << text.substr(0, 40);
    }
  }
  EXPECT_EQ(atofClassic(("0." + zeros5000 + "1").c_str()), 0.0);
  EXPECT_EQ(atofClassic(("1" + zeros6000 + "e-10").c_str()), HUGE_VAL);
  EXPECT_EQ(atofClassic(nullptr), 0.0);
}

TEST(AtoiClassic, ClampsInsteadOfOverflowing) {
  EXPECT_EQ(atoiClassic(" -42x"), -42);
  EXPECT_EQ(atoiClassic("+7"), 7);
  EXPECT_EQ(atoiClassic("x"), 0);
  EXPECT_EQ(atoiClassic("99999999999999999999"), INT_MAX);
  EXPECT_EQ(atoiClassic("-2147483648"), INT_MIN);
  EXPECT_EQ(atoiClassic("-99999999999"), INT_MIN);
}

TEST(FormatDouble, Table) {
  struct Case { double value; int decimals; char point; const char* expected; };
  const Case cases[] = {
      {2.5, 2, ',', "2,50"},       {2.5, 0, '.', "2"},          {3.5, 0, '.', "4"},
      {-0.125, 2, '.', "-0.12"},   {1234.5678, 3, '.', "1234.568"},
      {3.14159, -1, '.', "3.141590"}, {-0.0, 1, '.', "-0.0"},   {7, 0, ',', "7"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(formatDouble(c.value, c.decimals, c.point)), c.expected) << c.value;
}

TEST(FormatDouble, MatchesPrintfEvenBeyondA64ByteBuffer) {
  std::mt19937_64 rng(7);
  std::vector<double> values = {1e300, -1.7976931348623157e308, 5e-324, 0.1, 1.0 / 3, 123456789.5};
  for (int i = 0; i < 200; ++i)
    values.push_back(std::ldexp(static_cast<double>(rng() % 1000000) - 500000.0,
                                static_cast<int>(rng() % 60) - 30));
  for (double v : values) {
    for (int decimals : {0, 1, 2, 6, 17, 80}) {
      std::vector<char> buffer(512 + decimals);
      std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, v);
      EXPECT_EQ(S(formatDouble(v, decimals, '.')), buffer.data()) << v << " " << decimals;
    }
  }
  EXPECT_EQ(formatDouble(1e300, 0).length(), 301u);
  EXPECT_TRUE(formatDouble(1, 1101).isEmpty());  // refused, not truncated
}

// Switches LC_NUMERIC to a locale whose decimal point is a comma; when the machine has none
// installed, one is compiled into `dir` (/usr/bin/localedef; a process start searches no PATH) and
// found through LOCPATH.
bool useCommaLocale(const platform::TempDir& dir, std::optional<platform::ScopedEnv>& locPath) {
  auto tryNames = [] {
    for (const char* n : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
      if (std::setlocale(LC_NUMERIC, n) && *std::localeconv()->decimal_point == ',') return true;
    return false;
  };
  if (tryNames()) return true;
  bool started = false;
  const platform::ProcessHandle h =
      platform::startProcess("/usr/bin/localedef -i de_DE -f UTF-8 " + dir.file("de_DE.UTF-8"),
                             started);
  if (!started) return false;
  std::uint32_t code = platform::kStillActive;
  while (platform::processExitCode(h, code) && code == platform::kStillActive)
    platform::sleepMilliseconds(20);
  platform::closeProcess(h);
  locPath.emplace("LOCPATH", dir.path());
  return tryNames();
}

TEST(Numbers, IndependentOfTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  platform::TempDir dir;
  std::optional<platform::ScopedEnv> locPath;
  if (!useCommaLocale(dir, locPath)) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma can be had on this machine";
  }
  ASSERT_EQ(std::strtod("0.5", nullptr), 0.0);  // the C run-time now stops at the '.'
  EXPECT_EQ(lenientAtof("12.5"), 12.5);
  EXPECT_EQ(atofClassic("0.25"), 0.25);
  EXPECT_EQ(S(formatDouble(2.5, 2, '.')), "2.50");
  const RWTValOrderedVector<double> values = splitDoubles("1.5;2.25", ';');
  EXPECT_EQ(values[1], 2.25);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(IsNumberAndIsYes, Table) {
  const std::map<std::string, bool> numbers = {
      {"12", true},   {" 12 ", true},  {"-1.5", true},  {"+.5", true},  {"+", true},
      {"-", true},    {".", true},     {"1.2.3", false}, {"1-2", false}, {"", false},
      {"  ", false},  {"\t1", false},  {"1e5", false},  {"--1", false}, {"12a", false},
  };
  for (const auto& [text, expected] : numbers) EXPECT_EQ(isNumber(text.c_str()), expected) << text;
  const std::map<std::string, bool> yes = {
      {"ja", true},     {"Yes", true}, {"1", true},  {"YES", true}, {"JA", true},
      {"true", false},  {"0", false},  {"", false},  {"yes ", false}, {"y", false},
  };
  for (const auto& [text, expected] : yes) EXPECT_EQ(isYes(text.c_str()), expected) << text;
}

TEST(ReplaceAll, Table) {
  struct Case { const char* text; const char* pattern; const char* by; int ignoreCase;
                std::size_t start; const char* expected; };
  const Case cases[] = {
      {"aaa", "a", "aa", 0, 0, "aaaaaa"},          // no endless loop
      {"abc", "", "X", 0, 0, "XaXbXc"},            // an empty pattern advances
      {"abc", "", "", 0, 0, "abc"},
      {"", "", "X", 0, 0, ""},
      {"Hello hello", "HELLO", "x", 1, 0, "x x"},
      {"Hello hello", "HELLO", "x", 0, 0, "Hello hello"},
      {"abab", "ab", "b", 0, 1, "abb"},
      {"abc", "b", "x", 0, 9, "abc"},              // start beyond the text
      {"%SYSTEMROOT%\\x", "%SystemRoot%", "C:/win", 1, 0, "C:/win\\x"},
      {"a.b.c", ".", "", 0, 0, "abc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(replaceAll(c.text, c.pattern, c.by, c.ignoreCase, c.start)), c.expected)
        << c.text << " / " << c.pattern;
}

TEST(ReplaceAllMatches, EmptyMatchesAdvanceAndBadPatternsChangeNothing) {
  EXPECT_EQ(S(replaceAllMatches("bcb", PatternRegex("a*"), "-")), "-b-c-b");
  EXPECT_EQ(S(replaceAllMatches("bcb", PatternRegex("a*"), "")), "bcb");
  EXPECT_EQ(S(replaceAllMatches("aab", PatternRegex("a+"), "x")), "xb");
  EXPECT_EQ(S(replaceAllMatches("a1b22c", PatternRegex("[0-9]+"), "#")), "a#b#c");
  EXPECT_EQ(S(replaceAllMatches("a1b2", PatternRegex("[0-9]"), "#", 2)), "a1b#");
  EXPECT_EQ(S(replaceAllMatches("aaa", PatternRegex("*a"), "x")), "aaa");
}

TEST(SplitFields, Table) {
  struct Case { const char* text; char sep; char quote; bool skip;
                std::vector<std::string> expected; };
  const Case cases[] = {
      {"a, \"b,c\" ,,d,", ',', '"', false, {"a", "b,c", "", "d"}},
      {"a, \"b,c\" ,,d,", ',', '"', true, {"a", "b,c", "d"}},
      {"", ',', '"', false, {}},
      {",a", ',', '"', false, {"", "a"}},
      {"a,", ',', '"', false, {"a"}},
      {"\"\"", ',', '"', false, {""}},
      {"\"\",x", ',', '"', false, {"", "x"}},
      {"\"x\"\"y\"", ',', '"', false, {"x\"y"}},
      {" a b ,\tc\t", ',', '"', false, {"a b", "c"}},
      {"\" a \"", ',', '"', false, {" a "}},            // quoted blanks stay
      {"\"a\" b", ',', '"', false, {"ab"}},             // blanks after a quoted part drop
      {"a\"b", ',', '"', false, {"a\"b"}},              // a quote inside a field is text
      {"\"a,b", ',', '"', false, {"a,b"}},              // unterminated quote runs to the end
      {"\"a,b\"", ',', '\0', false, {"\"a", "b\""}},    // no quoting
      {"1;2;;3", ';', '"', true, {"1", "2", "3"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(V(splitFields(c.text, c.sep, c.quote, c.skip)), c.expected) << c.text;
}

TEST(JoinFields, QuotesAndDoublesAndRoundTrips) {
  EXPECT_EQ(S(joinFields(R({"a", "x\"y"}), ',', '"')), "\"a\",\"x\"\"y\"");
  EXPECT_EQ(S(joinFields(R({"a", "b"}), ';', '\0')), "a;b");
  EXPECT_EQ(S(joinFields(R({}), ',', '"')), "");
  const std::vector<std::vector<std::string>> lists = {
      {"a", "b,c", "", "d"}, {""}, {" lead", "trail ", "\"", "\"\"", ",,"}, {"x", ""}, {}};
  for (const auto& fields : lists)
    EXPECT_EQ(V(splitFields(joinFields(R(fields), ',', '"'), ',', '"', false)), fields);
}

TEST(SplitNumbers, IntsAndDoubles) {
  const RWTValOrderedVector<int> ints = splitInts("1, 2,,x,99999999999", ',');
  ASSERT_EQ(ints.count(), 5u);
  const int expectedInts[] = {1, 2, 0, 0, INT_MAX};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(ints[i], expectedInts[i]);
  const RWTValOrderedVector<double> doubles = splitDoubles("1.5; 2e3 ;\"-4\";", ';');
  ASSERT_EQ(doubles.count(), 3u);
  EXPECT_EQ(doubles[0], 1.5);
  EXPECT_EQ(doubles[1], 2000);
  EXPECT_EQ(doubles[2], -4);
}

TEST(CopyCString, CopiesAndKeepsNull) {
  EXPECT_EQ(copyCString(nullptr), nullptr);
  const char text[] = "abc";
  char* copy = copyCString(text);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, text);
  EXPECT_STREQ(copy, "abc");
  delete[] copy;
}

TEST(SplitArguments, Table) {
  struct Case { const char* text; std::vector<std::string> words; };
  const Case cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"a b", {"a", "b"}},
      {"-poke \"pconset=    1, 12.0,  0.0,   -1\"  -o x",
       {"-poke", "pconset=    1, 12.0,  0.0,   -1", "-o", "x"}},
      {"\"a b\"c", {"a b", "c"}},          // a quoted word ends at its closing quote
      {"\"open x", {"open x"}},
      {"a\"b c\"", {"a\"b", "c\""}},       // a quote inside a word is text
      {"\"\" x", {"", "x"}},
      {"a\tb", {"a", "b"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> expected = {""};
    expected.insert(expected.end(), c.words.begin(), c.words.end());
    EXPECT_EQ(V(splitArguments(c.text)), expected) << c.text;
    EXPECT_EQ(countArguments(c.text), static_cast<int>(expected.size())) << c.text;
  }
}

TEST(IsInList, Table) {
  struct Case { const char* text; const char* list; bool ignoreCase; bool expected; };
  const Case cases[] = {
      {"de", "en;de ;fr", false, true},  {"DE", "en;de ;fr", false, false},
      {"DE", "en;de ;fr", true, true},   {"fr", "en;fr\r\n", false, true},
      {"", "a;;b", false, true},         {"x", "", false, false},
      {"de", " de;en", false, false},    // only trailing blanks are stripped
      {"e", "en", false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isInList(c.text, c.list, c.ignoreCase), c.expected) << c.text << " in " << c.list;
}

// Wildcard edit distance by plain recursion: '*' absorbs any run for free, '?' one character.
int referenceDistance(const std::string& t, const std::string& p) {
  std::map<std::pair<std::size_t, std::size_t>, int> memo;
  std::function<int(std::size_t, std::size_t)> d = [&](std::size_t i, std::size_t j) -> int {
    if (j == 0) return static_cast<int>(i);  // text left over, no pattern
    auto key = std::make_pair(i, j);
    if (auto it = memo.find(key); it != memo.end()) return it->second;
    const char c = p[j - 1];
    int best;
    if (c == '*') {
      best = d(i, j - 1);
      if (i > 0) best = std::min({best, d(i - 1, j), d(i - 1, j - 1)});
    } else {
      best = d(i, j - 1) + 1;
      if (i > 0) {
        const int sub = (c == '?' || std::toupper(c) == std::toupper(t[i - 1])) ? 0 : 1;
        best = std::min({best, d(i - 1, j - 1) + sub, d(i - 1, j) + 1});
      }
    }
    return memo[key] = best;
  };
  return d(t.size(), p.size());
}

TEST(WildcardDistance, Table) {
  struct Case { const char* text; const char* pattern; int limit; int expected; };
  const Case cases[] = {
      {"ABC", "*", 0, 0},     {"ABC", "*", 99, 0},   {"abc", "abd", 5, 1},
      {"abc", "x", 0, 1024},  {"abc", "ABC", 0, 0},  {"abc", "a*", 0, 0},
      {"abc", "?b?", 0, 0},   {"abc", "a?", 5, 1},   {"", "", 0, 0},
      {"abc", "", 5, 3},      {"abc", "", 2, 1024},  {"", "abc", 5, 3},
      {"abc", "abd", 0, 1024},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wildcardDistance(c.text, c.pattern, c.limit), c.expected)
        << c.text << " ~ " << c.pattern << " within " << c.limit;
}

TEST(WildcardDistance, AgreesWithARecursiveReference) {
  std::mt19937 rng(11);
  auto word = [&](const char* alphabet, std::size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[rng() % std::char_traits<char>::length(alphabet)];
    return s;
  };
  for (int i = 0; i < 2000; ++i) {
    const std::string t = word("abAB", 7);
    const std::string p = word("ab*?", 6);
    const int limit = static_cast<int>(rng() % 6);
    const int reference = referenceDistance(t, p);
    EXPECT_EQ(wildcardDistance(t.c_str(), p.c_str(), limit), reference > limit ? 1024 : reference)
        << t << " ~ " << p << " within " << limit;
  }
}

TEST(WildcardDistance, LongInputsAreCutTo1023Characters) {
  const std::string t(3000, 'a');
  const std::string p = std::string(1023, 'a') + std::string(500, 'b');
  EXPECT_EQ(wildcardDistance(t.c_str(), p.c_str(), 10), 0);
}

}  // namespace
