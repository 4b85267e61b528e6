// Compiling and matching are tested apart: the compiler through the program dump, the matcher
// through search results, and both against std::regex on generated patterns.

#include "foundation/PatternRegex.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <regex>
#include <string>

#include "foundation/RWCString.h"
#include "foundation/RWxmsg.h"

namespace {

struct CompileCase {
    const char* pattern;
    int status;
    const char* dump;  // ignored unless status is 0
};

TEST(PatternRegexCompile, ProgramsAndStatuses) {
    const CompileCase cases[] = {
        {"abc", 0, "'a' 'b' 'c' END"},
        {"^.*\\.cfg$", 0, "BOL STAR ANY '.' 'c' 'f' 'g' EOL END"},
        {"^[^.].*", 0, "BOL [\\x00-\\x2d/-\\xff] STAR ANY END"},
        {"a$b", 0, "'a' '$' 'b' END"},             // '$' not last: literal
        {"a^", 0, "'a' '^' END"},                  // '^' not first: literal
        {"^^", 0, "BOL '^' END"},
        {"$", 0, "EOL END"},
        {"a+b?", 0, "PLUS 'a' OPT 'b' END"},
        {"[a-c]*", 0, "STAR [a-c] END"},
        {"[z-a]", 0, "[a-z] END"},                 // a range written high-to-low
        {"[a-]", 0, "[\\x2da] END"},               // '-' before ']' is literal
        {"[-a]", 0, "[\\x2da] END"},
        {"[\\]x]", 0, "[\\x5dx] END"},             // escaped ']' is a member
        {"[\\x41-\\x43]", 0, "[A-C] END"},
        {"[^a]", 0, "[\\x00-`b-\\xff] END"},       // negation inverts all 256 bits
        {"\\x41\\x4", 0, "'A' x04 END"},
        {"\\xg", 0, "'x' 'g' END"},                // \x without a hex digit is the letter
        {"\\101\\0\\777", 0, "'A' x00 xff END"},   // octal, low eight bits
        {"\\^A\\^a\\^?", 0, "x01 x01 xff END"},
        {"\\^", 0, "'^' END"},                     // "\^" at the end reads nothing beyond
        {"\\B\\E\\F\\N\\R\\S\\T", 0, "x08 x1b x0c x0a x0d x20 x09 END"},
        {"\\q\\.\\*", 0, "'q' '.' '*' END"},
        {"a\\", 0, "'a' x5c END"},                 // trailing backslash is a backslash
        {"\\$", 0, "'$' END"},
        {"\xe9+", 0, "PLUS xe9 END"},              // high bytes are characters, not negatives
        {"", 1, nullptr},
        {"*a", 1, nullptr},
        {"+a", 1, nullptr},
        {"?a", 1, nullptr},
        {"[]", 1, nullptr},                        // empty class: never closed
        {"[]a]", 1, nullptr},
        {"[^]", 1, nullptr},
        {"[abc", 1, nullptr},
        {"[a\\]", 1, nullptr},
        {"a**", 3, nullptr},
        {"a*+", 3, nullptr},
        {"^*", 3, nullptr},
        {"^+", 3, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        PatternRegex re(c.pattern);
        EXPECT_EQ(re.isValid(), c.status == 0);
        if (c.status == 0) {
            EXPECT_EQ(re.dumpProgram(), c.dump);
        }
        EXPECT_EQ(re.status(), c.status);
    }
}

TEST(PatternRegexCompile, ProgramCapacity) {
    // 255 elements and the end word fill the 256 words exactly; one more element does not fit.
    EXPECT_EQ(PatternRegex(std::string(255, 'a').c_str()).status(), 0);
    EXPECT_EQ(PatternRegex(std::string(255, 'a').c_str()).programLength(), 256u);
    EXPECT_EQ(PatternRegex(std::string(256, 'a').c_str()).status(), 3);
    // A repetition takes a word of its own.
    EXPECT_EQ(PatternRegex((std::string(254, 'a') + "*").c_str()).status(), 0);
    EXPECT_EQ(PatternRegex((std::string(255, 'a') + "*").c_str()).status(), 3);
    // A class needs its 17 words and the end word.
    EXPECT_EQ(PatternRegex((std::string(238, 'a') + "[x]").c_str()).status(), 0);
    EXPECT_EQ(PatternRegex((std::string(239, 'a') + "[x]").c_str()).status(), 3);
    EXPECT_EQ(PatternRegex("[x]").programLength(), 18u);
    // Many repetitions of classes: the nesting bound of the matcher is the program size.
    std::string classes;
    for (int i = 0; i < 14; ++i) classes += "[ab]*";
    EXPECT_EQ(PatternRegex(classes.c_str()).status(), 0);
    EXPECT_EQ(PatternRegex((classes + "[ab]").c_str()).status(), 3);
}

TEST(PatternRegexCompile, EmbeddedNulIsALiteral) {
    const RWCString pattern("a\0b", 3);
    PatternRegex re(pattern);
    EXPECT_EQ(re.dumpProgram(), "'a' x00 'b' END");
    size_t len = 0;
    EXPECT_EQ(RWCString("xa\0b", 4).indexOfMatch(re, len, 0), 1u);
    EXPECT_EQ(len, 3u);
}

struct MatchCase {
    const char* pattern;
    std::string text;
    size_t start;
    size_t index;   // RW_NPOS for no match
    size_t length;
};

TEST(PatternRegexMatch, FirstMatchAndLength) {
    const size_t no = RW_NPOS;
    const MatchCase cases[] = {
        {"a*", "", 0, 0, 0},
        {"a*", "bbb", 0, 0, 0},             // empty match at the first position
        {"a*", "baaa", 1, 1, 3},
        {"b*", "aaa", 3, 3, 0},             // the end of the text is a position too
        {"b*", "aaa", 4, no, 0},            // start beyond the text
        {"^ab", "xab", 0, no, 0},
        {"^ab", "abab", 0, 0, 2},
        {"^ab", "xxab", 2, 2, 2},           // the start anchor is tried at `start` only
        {"^ab", "xxab", 1, no, 0},
        {"ab$", "abab", 0, 2, 2},
        {"a$b", "a$b", 0, 0, 3},
        {"a^", "ba^", 0, 1, 2},
        {"$", "abc", 0, 3, 0},
        {"^$", "", 0, 0, 0},
        {"^$", "a", 0, no, 0},
        {"a.c", "abc", 0, 0, 3},
        {"a.c", "a\nc", 0, no, 0},          // '.' skips newline
        {"a[^x]c", "a\nc", 0, 0, 3},        // a negated class does not
        {"[^a]", "\n", 0, 0, 1},
        {"[a-]", "x-", 0, 1, 1},
        {"[z-a]+", "09azq", 0, 2, 3},
        {"\\x41", "zA", 0, 1, 1},
        {"\\101", "zA", 0, 1, 1},
        {"\\^A", std::string("z\x01", 2), 0, 1, 1},
        {"\\q", "q", 0, 0, 1},
        {"a*ab", "aaab", 0, 0, 4},          // backtracking gives characters back
        {"a+a", "a", 0, no, 0},
        {"a+a", "aa", 0, 0, 2},
        {"x?x", "x", 0, 0, 1},
        {"ab?c", "ac abc", 0, 0, 2},
        {"ab?c", "abbc abc", 0, 5, 3},
        {".*b", "abab", 0, 0, 4},           // greedy
        {"^.*\\.cfg$", "plinth.cfg", 0, 0, 10},
        {"^.*\\.cfg$", "plinth.cfg.bak", 0, no, 0},
        {"^[^.].*", ".hidden", 0, no, 0},
        {"^[^.].*", "visible", 0, 0, 7},
        {"\xe9+", "caf\xe9\xe9!", 0, 3, 2},  // bytes above 0x7F
        {"[\x80-\xff]", "ascii\xa0", 0, 5, 1},
        {"[^\x80-\xff]+", "\xc3\xa4x", 0, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " / " + c.text + " @" + std::to_string(c.start));
        PatternRegex re(c.pattern);
        ASSERT_EQ(re.status(), 0);
        const RWCString text(c.text.data(), c.text.size());
        size_t len = 99;
        EXPECT_EQ(text.indexOfMatch(re, len, c.start), c.index);
        EXPECT_EQ(len, c.length);
        EXPECT_EQ(text.indexOfMatch(re, c.start), c.index);
        const RWCString matched = text.matchedText(re, c.start);
        const std::string expected = c.index == no ? "" : c.text.substr(c.index, c.length);
        EXPECT_EQ(std::string(matched.data(), matched.length()), expected);
    }
}

TEST(PatternRegexMatch, ZeroLengthMatchesLetCallersAdvance) {
    // A caller that steps one past every empty match visits each position once and ends.
    PatternRegex re("x*");
    const RWCString text("axxb");
    std::vector<std::pair<size_t, size_t>> found;
    size_t start = 0;
    while (start <= text.length()) {
        size_t len = 0;
        const size_t at = text.indexOfMatch(re, len, start);
        if (at == RW_NPOS) break;
        found.emplace_back(at, len);
        start = at + (len == 0 ? 1 : len);
    }
    const std::vector<std::pair<size_t, size_t>> expected = {{0, 0}, {1, 2}, {3, 0}, {4, 0}};
    EXPECT_EQ(found, expected);
}

TEST(PatternRegexMatch, InvalidPatternThrowsEvenAfterStatusIsRead) {
    PatternRegex re("*bad");
    EXPECT_EQ(re.status(), 1);
    EXPECT_EQ(re.status(), 0);  // reading the status resets it ...
    const RWCString text("bad");
    size_t len = 0;
    // ... but the pattern stays unusable: matching a half-built program would read garbage.
    for (int form = 0; form < 3; ++form) {
        try {
            if (form == 0) text.indexOfMatch(re, len, 0);
            if (form == 1) text.indexOfMatch(re);
            if (form == 2) text.matchedText(re);
            ADD_FAILURE() << "no exception, form " << form;
        } catch (const RWInternalErr& e) {
            EXPECT_STREQ(e.text(), "[BADRE] Attempt to use invalid regular expression");
        }
    }
}

TEST(PatternRegexMatch, CopyAndReassign) {
    PatternRegex a("b+");
    PatternRegex b(a);
    PatternRegex c("zzz");
    c = a;
    a = "^q";  // recompiling a leaves its copies alone
    const RWCString text("abbc");
    size_t len = 0;
    EXPECT_EQ(text.indexOfMatch(b, len, 0), 1u);
    EXPECT_EQ(len, 2u);
    EXPECT_EQ(text.indexOfMatch(c, len, 0), 1u);
    EXPECT_EQ(text.indexOfMatch(a, len, 0), RW_NPOS);
    c = c;  // self-assignment keeps the program
    EXPECT_EQ(c.dumpProgram(), "PLUS 'b' END");

    PatternRegex bad("[x");
    PatternRegex badCopy(bad);
    EXPECT_FALSE(badCopy.isValid());
    EXPECT_EQ(badCopy.status(), 1);
    badCopy = RWCString("ok");
    EXPECT_TRUE(badCopy.isValid());
    EXPECT_EQ(badCopy.status(), 0);
}

TEST(PatternRegexMatch, NestedRepetitionsFinish) {
    // Plain backtracking would try about 40^12 splits before failing here.
    std::string pattern;
    for (int i = 0; i < 12; ++i) pattern += "a*";
    pattern += "b";
    PatternRegex re(pattern.c_str());
    const RWCString text(std::string(40, 'a').c_str());
    size_t len = 0;
    EXPECT_EQ(text.indexOfMatch(re, len, 0), RW_NPOS);
    EXPECT_EQ(RWCString((std::string(40, 'a') + "b").c_str()).indexOfMatch(re, len, 0), 0u);
    EXPECT_EQ(len, 41u);
}

// std::regex with ECMAScript grammar searches leftmost-first with greedy backtracking, which for
// this engine's single-character elements gives the same first match and length.
std::string toEcma(const std::string& pattern) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '^' && i == 0) out += '^';
        else if (c == '$' && i + 1 == pattern.size()) out += '$';
        else if (c == '.') out += "[^\\n]";
        else if (c == '*' || c == '+' || c == '?') out += c;
        else if (c == '[') {
            const size_t close = pattern.find(']', i);
            out += pattern.substr(i, close - i + 1);
            i = close;
        } else if (c == '\n') {
            out += "\\n";
        } else if (std::isalnum(static_cast<unsigned char>(c))) {
            out += c;
        } else {
            out += '\\';
            out += c;
        }
    }
    return out;
}

TEST(PatternRegexMatch, AgreesWithStdRegexOnGeneratedPatterns) {
    std::mt19937 rng(20261210);
    const char* atoms[] = {"a", "b", ".", "[ab]", "[^a]", "\n"};
    const char* reps[] = {"", "", "*", "+", "?"};
    const char alphabet[] = "aab\n";
    for (int round = 0; round < 3000; ++round) {
        std::string pattern;
        if (rng() % 4 == 0) pattern += '^';
        const int elements = 1 + static_cast<int>(rng() % 5);
        for (int i = 0; i < elements; ++i) {
            pattern += atoms[rng() % 6];
            pattern += reps[rng() % 5];
        }
        if (rng() % 4 == 0) pattern += '$';
        std::string text;
        const int n = static_cast<int>(rng() % 9);
        for (int i = 0; i < n; ++i) text += alphabet[rng() % 4];

        PatternRegex re(pattern.c_str());
        ASSERT_EQ(re.status(), 0) << pattern;
        size_t len = 0;
        const size_t at = re.index(text.data(), text.size(), len, 0);

        std::smatch m;
        const std::regex ref(toEcma(pattern), std::regex::ECMAScript);
        const bool found = std::regex_search(text, m, ref);
        SCOPED_TRACE("pattern '" + pattern + "' text '" + text + "'");
        ASSERT_EQ(at != RW_NPOS, found);
        if (found) {
            EXPECT_EQ(at, static_cast<size_t>(m.position(0)));
            EXPECT_EQ(len, static_cast<size_t>(m.length(0)));
        }
    }
}

}  // namespace
