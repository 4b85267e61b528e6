// RWCString: sharing, the general edit and its aliasing, capacities, searches, comparisons,
// hashes, spans, strip, character access and stream input and output.

#include "foundation/RWCString.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "foundation/RWThrow.h"

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// Every edit must leave a string that shared the body untouched.
TEST(RWCStringCopyOnWrite, EveryEditLeavesTheOtherSharerAlone) {
  struct Case {
    const char* name;
    std::function<void(RWCString&)> edit;
    const char* after;
  };
  const Case cases[] = {
      {"append C string", [](RWCString& s) { s.append("XY"); }, "hello worldXY"},
      {"append string", [](RWCString& s) { s.append(RWCString("!")); }, "hello world!"},
      {"append char", [](RWCString& s) { s += '?'; }, "hello world?"},
      {"insert", [](RWCString& s) { s.insert(5, ","); }, "hello, world"},
      {"replace", [](RWCString& s) { s.replace(0, 5, "howdy"); }, "howdy world"},
      {"remove to end", [](RWCString& s) { s.remove(5); }, "hello"},
      {"remove count", [](RWCString& s) { s.remove(0, 6); }, "world"},
      {"toLower", [](RWCString& s) { s.toUpper(); s.toLower(); }, "hello world"},
      {"toUpper", [](RWCString& s) { s.toUpper(); }, "HELLO WORLD"},
      {"resize down", [](RWCString& s) { s.resize(4); }, "hell"},
      {"resize up", [](RWCString& s) { s.resize(13); }, "hello world  "},
      {"at", [](RWCString& s) { s.at(0) = 'j'; }, "jello world"},
      {"subscript", [](RWCString& s) { s[4] = '0'; }, "hell0 world"},
      {"assign C string", [](RWCString& s) { s = "other"; }, "other"},
      {"assign empty C string", [](RWCString& s) { s = ""; }, ""},
      {"assign null C string", [](RWCString& s) { s = static_cast<const char*>(nullptr); }, ""},
      {"span assign", [](RWCString& s) { s.span(6, 5) = "there"; }, "hello there"},
      {"span toUpper", [](RWCString& s) { s.span(0, 1).toUpper(); }, "Hello world"},
      {"span char", [](RWCString& s) { s.span(6, 5)(0) = 'W'; }, "hello World"},
      {"strip span assign", [](RWCString& s) { s.strip(RWCString::both, 'h') = "J"; }, "hJ"},
      {"reserve", [](RWCString& s) { s.reserve(200); s.append("."); }, "hello world."},
      {"readLine", [](RWCString& s) { std::istringstream in("new\n"); s.readLine(in); }, "new"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RWCString original("hello world");
    RWCString copy(original);
    ASSERT_EQ(copy.data(), original.data());  // shared body
    c.edit(copy);
    EXPECT_EQ(str(copy), c.after);
    EXPECT_EQ(str(original), "hello world");
    EXPECT_EQ(original.body()->extraReferences(), 0u);
  }
}

TEST(RWCStringCopyOnWrite, CopyAndAssignShareTheBody) {
  RWCString a("abc");
  RWCString b(a);
  EXPECT_EQ(a.body()->extraReferences(), 1u);
  RWCString c;
  c = b;
  EXPECT_EQ(a.body()->extraReferences(), 2u);
  c = a;  // already shared: nothing changes
  EXPECT_EQ(a.body()->extraReferences(), 2u);
  { RWCString d(std::move(c)); EXPECT_TRUE(c.isEmpty()); }
  EXPECT_EQ(a.body()->extraReferences(), 1u);
}

TEST(RWCStringCopyOnWrite, CountsStayExactUnderConcurrentCopies) {
  const RWCString shared("shared between threads");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&shared] {
      for (int i = 0; i < 20000; ++i) {
        RWCString a(shared);
        RWCString b;
        b = a;
        b.append("!");  // unshares b only
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(shared.body()->extraReferences(), 0u);
  EXPECT_TRUE(shared == "shared between threads");
}

TEST(RWCStringCopyOnWrite, EmptyStringsShareTheStaticBodyAndNeverWriteIt) {
  RWCString a, b(""), c(static_cast<const char*>(nullptr)), d("abc", 0);
  EXPECT_EQ(a.body(), RWCStringBody::empty());
  EXPECT_EQ(b.body(), RWCStringBody::empty());
  EXPECT_EQ(c.body(), RWCStringBody::empty());
  EXPECT_EQ(d.body(), RWCStringBody::empty());
  a.toUpper();
  a.toLower();
  a.span(0, 0).toUpper();
  a.span(0, 5) = "";
  EXPECT_THROW(a.at(0), RWBoundsErr);
  EXPECT_THROW(a[0] = 'x', RWBoundsErr);
  EXPECT_EQ(RWCStringBody::empty()->length(), 0u);
  EXPECT_EQ(RWCStringBody::empty()->data()[0], '\0');
  EXPECT_EQ(RWCStringBody::empty()->extraReferences(), 0u);
  EXPECT_EQ(static_cast<const RWCString&>(a)[0], '\0');  // reading the terminator is allowed
}

// Edits whose argument lies inside the string being edited.
TEST(RWCStringAliasing, EditsWithTheirOwnTextAsArgument) {
  struct Case {
    const char* name;
    std::function<void(RWCString&)> edit;
    const char* after;
  };
  const Case cases[] = {
      {"append self", [](RWCString& s) { s.append(s); }, "abcdefabcdef"},
      {"append own chars", [](RWCString& s) { s.append(s.data() + 3); }, "abcdefdef"},
      {"insert self", [](RWCString& s) { s.insert(3, s); }, "abcabcdefdef"},
      {"prepend self", [](RWCString& s) { s.prepend(s.data() + 4); }, "efabcdef"},
      {"replace with own tail", [](RWCString& s) { s.replace(0, 2, s.data() + 2); }, "cdefcdef"},
      {"replace with own head", [](RWCString& s) { s.replace(3, 3, s.data(), 5); }, "abcabcde"},
      {"assign own tail", [](RWCString& s) { s = s.data() + 2; }, "cdef"},
      {"assign self", [](RWCString& s) { const RWCString& same = s; s = same; }, "abcdef"},
      {"span from own span", [](RWCString& s) { s.span(0, 2) = s.span(3, 3); }, "defcdef"},
      {"span from self", [](RWCString& s) { s.span(1, 1) = s; }, "aabcdefcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RWCString s("abcdef");
    s.reserve(64);  // room enough that an in-place edit would be tempting
    c.edit(s);
    EXPECT_EQ(str(s), c.after);
    EXPECT_EQ(s.data()[s.length()], '\0');
  }
}

TEST(RWCStringAliasing, AppendingOwnTextRepeatedlyDoubles) {
  RWCString s("ab");
  for (int i = 0; i < 10; ++i) s.append(s);
  EXPECT_EQ(s.length(), 2048u);
  EXPECT_EQ(s.findText("ba"), 1u);
  EXPECT_EQ(s.firstOf("c"), RW_NPOS);
}

TEST(RWCStringCapacity, ConstructionAndRounding) {
  EXPECT_EQ(RWCString("abcdefghijklmnop").capacity(), 16u);  // exactly its length
  RWCString s("abcdefghijklmnop");
  s.append("");  // fits: stays in place
  EXPECT_EQ(s.capacity(), 16u);
  s.append("q");
  EXPECT_EQ(s.capacity(), 31u);
  RWCString t("abcdefghijklmnop");
  RWCString shared(t);
  t.replace(0, 1, "A");  // shared: a new rounded body
  EXPECT_EQ(t.capacity(), 31u);
  EXPECT_EQ(RWCString('x').capacity(), 15u);
  EXPECT_EQ(RWCString(RWCapacity{100}).capacity(), 100u);
  EXPECT_EQ(RWCString(RWCapacity{100}).length(), 0u);

  struct Round {
    std::size_t n, capacity;
  };
  for (Round r : {Round{0, 15}, Round{15, 15}, Round{16, 31}, Round{31, 31}, Round{32, 47},
                  Round{48, 63}, Round{63, 63}, Round{64, 79}})
    EXPECT_EQ(RWCString::roundedCapacity(r.n), r.capacity) << r.n;
  EXPECT_EQ((RWCString("abcdefghijklmnop") + "x").capacity(), 31u);
}

TEST(RWCStringCapacity, ShrinkingPastTheMaximumWasteMakesARoundedBody) {
  RWCString s(RWCString('x', 100));
  ASSERT_EQ(s.capacity(), 111u);
  s.remove(90);  // waste 21 > 15
  EXPECT_EQ(s.capacity(), 95u);
  s.remove(85);  // waste 10: in place
  EXPECT_EQ(s.capacity(), 95u);
  EXPECT_EQ(s.length(), 85u);
}

TEST(RWCStringCapacity, SettersReturnTheOldValue) {
  EXPECT_EQ(RWCString::initialCapacity(7), 15u);
  EXPECT_EQ(RWCString::resizeIncrement(8), 16u);
  EXPECT_EQ(RWCString::maxWaste(3), 15u);
  EXPECT_EQ(RWCString::roundedCapacity(8), 15u);
  EXPECT_EQ(RWCString::roundedCapacity(7), 7u);
  EXPECT_EQ(RWCString('a').capacity(), 7u);
  EXPECT_EQ(RWCString::resizeIncrement(0), 8u);  // 0 would divide by zero: taken as 1
  EXPECT_EQ(RWCString::roundedCapacity(9), 9u);
  EXPECT_EQ(RWCString::initialCapacity(15), 7u);
  EXPECT_EQ(RWCString::resizeIncrement(16), 1u);
  EXPECT_EQ(RWCString::maxWaste(15), 3u);
}

TEST(RWCStringCapacity, StreamGrowthRule) {
  EXPECT_EQ(RWCString::streamGrowth(0), 16u);
  EXPECT_EQ(RWCString::streamGrowth(15), 16u);
  EXPECT_EQ(RWCString::streamGrowth(16), 32u);
  EXPECT_EQ(RWCString::streamGrowth((1u << 30) - 1), (1u << 31) - 2);
  EXPECT_EQ(RWCString::streamGrowth(1u << 30), (1u << 29) + (1u << 31) - 1);
  EXPECT_EQ(RWCString::streamGrowth(0xFFFFFFFCu), 0xFFFFFFFDu);
  try {
    RWCString::streamGrowth(0xFFFFFFFDu);  // no growth left: never loops on the limit
    ADD_FAILURE();
  } catch (const RWBoundsErr& e) {
    EXPECT_STREQ(e.text(), "[GENERIC] Generic error number 33; Buffer may not resize larger than");
  }
  EXPECT_THROW(RWCString::streamGrowth(std::size_t(1) << 33), RWBoundsErr);
}


// A size no body can have is the allocation error, raised before any byte is written: the string
// keeps its text (under the sanitizer build a wrapped size would show as a heap overflow).
TEST(RWCStringCapacity, ImpossibleSizesThrowTheAllocationErrorAndChangeNothing) {
  static const char source[4] = "xyz";  // never read: every size below is refused first
  struct Case {
    const char* name;
    std::function<void(RWCString&)> edit;
  };
  const Case cases[] = {
      {"reserved capacity SIZE_MAX", [](RWCString&) { RWCString r{RWCapacity{SIZE_MAX}}; }},
      {"reserved capacity SIZE_MAX - 8", [](RWCString&) { RWCString r{RWCapacity{SIZE_MAX - 8}}; }},
      {"fill SIZE_MAX - 3", [](RWCString&) { RWCString r('x', SIZE_MAX - 3); }},
      {"fill SIZE_MAX", [](RWCString&) { RWCString r('x', SIZE_MAX); }},
      {"append length past SIZE_MAX", [](RWCString& s) { s.append(source, SIZE_MAX - 1); }},
      {"append chars past SIZE_MAX", [](RWCString& s) { s.append('x', SIZE_MAX - 2); }},
      {"insert length past SIZE_MAX", [](RWCString& s) { s.replace(1, 0, source, SIZE_MAX); }},
      {"replace growing past SIZE_MAX", [](RWCString& s) { s.replace(0, 1, source, SIZE_MAX - 1); }},
      {"resize SIZE_MAX", [](RWCString& s) { s.resize(SIZE_MAX); }},
      {"reserve SIZE_MAX", [](RWCString& s) { s.reserve(SIZE_MAX); }},
  };
  for (const Case& c : cases) {
    RWCString s("abc");
    RWCString sharer(s);
    EXPECT_THROW(c.edit(s), RWxalloc) << c.name;
    EXPECT_EQ(str(s), "abc") << c.name;
    EXPECT_EQ(str(sharer), "abc") << c.name;
  }
  // Rounding itself: the largest size still rounds (15 + 16k), a coarser increment does not fit.
  EXPECT_EQ(RWCString::roundedCapacity(SIZE_MAX), SIZE_MAX);
  const std::size_t old = RWCString::resizeIncrement(1000);
  EXPECT_THROW(RWCString::roundedCapacity(SIZE_MAX - 10), RWxalloc);
  EXPECT_EQ(RWCString::roundedCapacity(16), 1015u);
  RWCString::resizeIncrement(old);
}
TEST(RWCStringNul, EmbeddedNulsAreKeptCountedAndCompared) {
  const RWCString s("ab\0cd", 5);
  EXPECT_EQ(s.length(), 5u);
  EXPECT_EQ(s.capacity(), 5u);
  EXPECT_EQ(s.firstByte('\0'), 2u);
  EXPECT_EQ(s.firstByte('d'), 4u);
  EXPECT_EQ(s.lastByte('\0'), 2u);
  EXPECT_EQ(s.findChar('d'), RW_NPOS);     // strchr stops at the NUL
  EXPECT_EQ(s.findLastChar('b'), 1u);
  EXPECT_EQ(s.findAnyChar("dc"), RW_NPOS);  // strpbrk too
  EXPECT_EQ(s.firstOf("dc"), 3u);           // over the whole length
  EXPECT_EQ(s.findText(RWCString("\0c", 2)), 2u);
  EXPECT_FALSE(s == "ab");
  EXPECT_EQ(s.compare("ab"), 1);
  EXPECT_NE(s, RWCString("ab\0ce", 5));
  EXPECT_EQ(s, RWCString("ab\0cd", 5));
  EXPECT_NE(s.hash(), RWCString("ab").hash());
  RWCString t(s);
  t.append(s);
  EXPECT_EQ(t.length(), 10u);
  EXPECT_EQ(t.lastByte('\0'), 7u);
  std::ostringstream out;
  out << s;
  EXPECT_EQ(out.str(), std::string("ab\0cd", 5));
  EXPECT_EQ(RWCString(s.span(1, 3)).length(), 3u);
  EXPECT_EQ(s.mbLength(), 2);  // counting stops at the NUL
}

TEST(RWCStringCompare, ExactAndIgnoreCaseAgainstBothOverloads) {
  struct Case {
    RWCString a;
    const char* b;
    RWCString::caseCompare cmp;
    int sign;
  };
  const Case cases[] = {
      {"abc", "abc", RWCString::exact, 0},
      {"abc", "abd", RWCString::exact, -1},
      {"abd", "abc", RWCString::exact, 1},
      {"ab", "abc", RWCString::exact, -1},
      {"abc", "ab", RWCString::exact, 1},
      {"", "", RWCString::exact, 0},
      {"", "a", RWCString::exact, -1},
      {"\xE4", "a", RWCString::exact, 1},   // bytes compare unsigned
      {"a", "\xE4", RWCString::exact, -1},
      {"\x80", "\x7F", RWCString::exact, 1},
      {"\xFF", "\xFE", RWCString::exact, 1},
      {"ABC", "abc", RWCString::exact, -1},
      {"ABC", "abc", RWCString::ignoreCase, 0},
      {"ABD", "abc", RWCString::ignoreCase, 1},
      {"Ab", "abc", RWCString::ignoreCase, -1},
      {"_", "A", RWCString::ignoreCase, -1},  // tolower('A') = 'a' > '_'
      {"\xE4", "A", RWCString::ignoreCase, 1},
  };
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a.data()) + " vs " + c.b);
    EXPECT_EQ(c.a.compare(c.b, c.cmp), c.sign);  // the C string form gives exactly -1, 0, 1
    EXPECT_EQ(sign(c.a.compare(RWCString(c.b), c.cmp)), c.sign);
  }
  EXPECT_GT(RWCString("\xE4").compare(RWCString("a")), 0);
  EXPECT_EQ(RWCString("abc").compare(static_cast<const char*>(nullptr)), 1);
}

TEST(RWCStringCompare, Equality) {
  EXPECT_TRUE(RWCString("abc") == "abc");
  EXPECT_FALSE(RWCString("abc") == "ab");
  EXPECT_FALSE(RWCString("ab") == "abc");
  EXPECT_TRUE(RWCString() == static_cast<const char*>(nullptr));
  EXPECT_TRUE("abc" == RWCString("abc"));
  EXPECT_TRUE(RWCString("x") != RWCString("y"));
  EXPECT_TRUE(RWCString("a") < RWCString("b"));
}

TEST(RWCStringHash, ExactAndCaseFoldedValues) {
  // Values worked out independently from the hash's definition.
  struct Case {
    RWCString s;
    std::uint32_t exact, folded;
  };
  const Case cases[] = {
      {RWCString(), 0x0, 0x0},
      {"a", 0x41, 0x61},
      {"abcd", 0x646362e1, 0x618024},
      {"a\xE4", 0xffffffa4, 0xc4},  // a high byte sets every bit above it
      {"hello world", 0x5f064038, 0x81fe2fb7},
      {RWCString("\x80\0\xFF", 3), 0xffffff9f, 0x380ff},
      {"Abc", 0x416203, 0x8c03},
      {"aBC", 0x614223, 0x8c03},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(str(c.s));
    EXPECT_EQ(c.s.hash(), c.exact);
    EXPECT_EQ(RWCStringHash(c.s), c.exact);
    EXPECT_EQ(c.s.hash(RWCString::ignoreCase), c.folded);
  }
}

TEST(RWCStringFind, TextSearch) {
  const RWCString s("Hello hello HELLO");
  struct Case {
    const char* pattern;
    std::size_t start;
    RWCString::caseCompare cmp;
    std::size_t found;
  };
  const Case cases[] = {
      {"hello", 0, RWCString::exact, 6},
      {"hello", 7, RWCString::exact, RW_NPOS},
      {"HELLO", 0, RWCString::exact, 12},
      {"hello", 1, RWCString::ignoreCase, 6},
      {"hello", 7, RWCString::ignoreCase, 12},
      {"", 4, RWCString::exact, 4},         // empty pattern matches at start
      {"", 17, RWCString::exact, 17},
      {"", 18, RWCString::exact, RW_NPOS},  // start past the end
      {"LLO", 15, RWCString::exact, RW_NPOS},
      {"LLO", 14, RWCString::exact, 14},
      {"Hello hello HELLO!", 0, RWCString::exact, RW_NPOS},
      {"xyz", 0, RWCString::ignoreCase, RW_NPOS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(s.findText(c.pattern, c.start, c.cmp), c.found);
    // Cross-check the exact mode against std::string::find.
    if (c.cmp == RWCString::exact && c.start <= 17) {
      EXPECT_EQ(s.findText(c.pattern, c.start, c.cmp),
                std::string(s.data()).find(c.pattern, c.start));
    }
  }
  EXPECT_EQ(s.findText(static_cast<const char*>(nullptr), 3), 3u);
  EXPECT_TRUE(s.contains("HELLO"));
  EXPECT_EQ(s.findChar('l'), 2u);
  EXPECT_EQ(s.findLastChar('l'), 9u);
  EXPECT_EQ(s.findChar('z'), RW_NPOS);
  EXPECT_EQ(s.findAnyChar("oe"), 1u);
  EXPECT_EQ(s.firstOf("L "), 5u);
}

TEST(RWCStringQueries, AsciiMultibyteCollate) {
  EXPECT_TRUE(RWCString("plain").isAscii());
  EXPECT_FALSE(RWCString("caf\xE9").isAscii());
  EXPECT_EQ(RWCString("abc").mbLength(), 3);  // "C" locale: one byte each
  EXPECT_EQ(RWCString("abc").collate("abd") < 0, true);
  EXPECT_EQ(RWCString("abc").collate(nullptr) > 0, true);
  EXPECT_EQ(str(RWCString("abc").sortKey()).size() > 0, true);
  EXPECT_EQ(RWCString().sortKey().length(), 0u);
}

TEST(RWCStringEdits, ReplaceInsertRemoveResizeCase) {
  RWCString s("abcdef");
  s.replace(2, 100, "XY");  // count clipped to the end
  EXPECT_EQ(str(s), "abXY");
  s.replace(4, 0, "!");
  EXPECT_EQ(str(s), "abXY!");
  s.replace(1, 2, static_cast<const char*>(nullptr));  // null source: length 0
  EXPECT_EQ(str(s), "aY!");
  s.insert(0, "<").insert(s.length(), ">");
  EXPECT_EQ(str(s), "<aY!>");
  s.remove(1, 2);
  EXPECT_EQ(str(s), "<!>");
  EXPECT_EQ(str(s.upperCopy()), "<!>");
  EXPECT_EQ(str(RWCString("MiXeD").lowerCopy()), "mixed");
  EXPECT_EQ(str(RWCString("MiXeD").upperCopy()), "MIXED");
  RWCString h("\xC4\xE4z");
  h.toUpper();  // "C" locale: bytes above 0x7F stay
  EXPECT_EQ(str(h), "\xC4\xE4Z");
  EXPECT_EQ(str(RWCString("ab") + "cd"), "abcd");
  EXPECT_EQ(str("ab" + RWCString("cd")), "abcd");
  EXPECT_EQ(str(RWCString("ab") + RWCString("cd")), "abcd");
  EXPECT_EQ(str(RWCString('x', 3)), "xxx");
  RWCString grow;
  grow.append('-', 4);
  EXPECT_EQ(str(grow), "----");
}

TEST(RWCStringEdits, PositionPastTheEndIsRefused) {
  RWCString s("abc");
  for (auto edit : std::initializer_list<std::function<void()>>{
           [&] { s.insert(4, "x"); }, [&] { s.replace(4, 0, "x"); }, [&] { s.remove(4); },
           [&] { s.remove(RW_NPOS, 1); }, [&] { s.span(4, 1); }}) {
    EXPECT_THROW(edit(), RWBoundsErr);
    EXPECT_EQ(str(s), "abc");
  }
  try {
    s.insert(5, "x");
  } catch (const RWBoundsErr& e) {
    EXPECT_STREQ(e.text(), "[SUBSTRING] Illegal substring (5, 0) from 3 element RWCString");
  }
  EXPECT_NO_THROW(s.insert(3, "d"));
  EXPECT_EQ(str(s), "abcd");
}

TEST(RWCStringBounds, AtAndSpanAccessMessages) {
  RWCString s("abc");
  const RWCString& cs = s;
  struct Case {
    const char* name;
    std::function<void()> access;
    const char* text;
  };
  const Case cases[] = {
      {"at npos", [&] { s.at(RW_NPOS); },
       "[NPOSINDEX] The value RW_NPOS cannot be used as an index."},
      {"at length", [&] { s.at(3); },
       "[INDEXERR] Illegal Index (3) for collection or string with 3 elements"},
      {"const at", [&] { cs.at(7); },
       "[INDEXERR] Illegal Index (7) for collection or string with 3 elements"},
      {"subscript", [&] { s[3] = 'x'; },
       "[INDEXERR] Illegal Index (3) for collection or string with 3 elements"},
      {"const subscript past the NUL", [&] { (void)cs[4]; },
       "[INDEXERR] Illegal Index (4) for collection or string with 3 elements"},
      {"span access", [&] { s.span(1, 2)(2); },
       "[INDEXERR] Illegal Index (2) for collection or string with 2 elements"},
      {"span npos", [&] { s.span(1, 2)(RW_NPOS); },
       "[NPOSINDEX] The value RW_NPOS cannot be used as an index."},
      {"empty span", [&] { cs.span("zz")(0); },
       "[INDEXERR] Illegal Index (0) for collection or string with 0 elements"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.access();
      ADD_FAILURE() << "no throw";
    } catch (const RWBoundsErr& e) {
      EXPECT_STREQ(e.text(), c.text);
    }
  }
  EXPECT_EQ(str(s), "abc");
  EXPECT_EQ(cs.at(2), 'c');
  EXPECT_EQ(cs[3], '\0');
  EXPECT_EQ(cs.span(1, 2)(1), 'c');
}

TEST(RWCStringSpan, ViewsAssignmentEqualityAndClipping) {
  RWCString s("key = value");
  EXPECT_TRUE(s.span(0, 3) == "key");
  EXPECT_TRUE(s.span(6, 100) == "value");  // the length is clipped to the end
  EXPECT_TRUE(s.span(6, 5) == RWCString("value"));
  EXPECT_FALSE(s.span(0, 3) == "ke");
  EXPECT_FALSE(s.span(0, 3) == "keys");
  EXPECT_TRUE(s.span(11, 0) == "");
  RWCStringSpan missing = s.span("nothing");
  EXPECT_TRUE(missing.isEmptyView());
  EXPECT_TRUE(missing == "");
  EXPECT_TRUE(missing == static_cast<const char*>(nullptr));
  EXPECT_FALSE(missing == "x");
  EXPECT_TRUE(missing == RWCString());
  missing = "ignored";  // assigning to the empty view changes nothing
  EXPECT_EQ(str(s), "key = value");
  RWCStringSpan v = s.span("VALUE", RWCString::ignoreCase);
  EXPECT_EQ(v.start(), 6u);
  v = "42";
  EXPECT_EQ(str(s), "key = 42");
  v.toUpper();
  s.span(0, 3).toUpper();
  EXPECT_EQ(str(s), "KEY = 42");
  s.span(0, 3).toLower();
  EXPECT_EQ(str(s), "key = 42");
  EXPECT_EQ(str(RWCString(s.span(0, 3))), "key");
  EXPECT_EQ(RWCString(s.span(0, 3)).capacity(), 15u);
  EXPECT_TRUE(RWCString(s.span(RW_NPOS, 3)).isEmpty());
  const RWCString cs("abc");
  EXPECT_TRUE(cs.span(1, 1) == "b");
}

TEST(RWCStringSpan, StaleSpanOverAShortenedStringNeverWritesOutOfBounds) {
  RWCString s("abcdefgh");
  RWCStringSpan tail = s.span(4, 4);
  s.remove(2);
  tail.toUpper();  // nothing left to convert
  EXPECT_THROW(tail(0) = 'x', RWBoundsErr);
  EXPECT_EQ(str(s), "ab");
  EXPECT_STREQ(tail.data(), "");
}

TEST(RWCStringStrip, Modes) {
  struct Case {
    const char* text;
    RWCString::stripType mode;
    char c;
    const char* result;
    bool emptyView;
  };
  const Case cases[] = {
      {"  ab  ", RWCString::leading, ' ', "ab  ", false},
      {"  ab  ", RWCString::trailing, ' ', "  ab", false},
      {"  ab  ", RWCString::both, ' ', "ab", false},
      {"xxaxx", RWCString::both, 'x', "a", false},
      {"    ", RWCString::both, ' ', "", true},
      {"    ", RWCString::leading, ' ', "", true},
      {"", RWCString::both, ' ', "", true},
      {"ab", RWCString::both, ' ', "ab", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const RWCString s(c.text);
    const RWCStringSpan sp = s.strip(c.mode, c.c);
    EXPECT_EQ(sp.isEmptyView(), c.emptyView);
    EXPECT_EQ(str(RWCString(sp)), c.result);
  }
  RWCString line("  value  ");
  line = RWCString(line.strip(RWCString::both));
  EXPECT_EQ(str(line), "value");
}

TEST(RWCStringStream, OutputPadding) {
  struct Case {
    int width;
    bool left;
    const char* out;
  };
  for (Case c : {Case{5, false, "***ab"}, Case{5, true, "ab***"}, Case{1, false, "ab"},
                 Case{0, false, "ab"}}) {
    std::ostringstream out;
    out.fill('*');
    if (c.left) out << std::left;
    out.width(c.width);
    out << RWCString("ab");
    EXPECT_EQ(out.str(), c.out);
    EXPECT_EQ(out.width(), 0);
  }
  std::ostringstream bad;
  bad.setstate(std::ios::failbit);
  bad << RWCString("ab");
  EXPECT_EQ(bad.str(), "");
}

TEST(RWCStringStream, ReadLineAndDelimiters) {
  std::istringstream in("  first line\n\nsecond\tpart\nlast");
  RWCString s;
  s.readLine(in);
  EXPECT_EQ(str(s), "first line");
  EXPECT_TRUE(in.good());
  s.readLine(in, false);  // the empty line
  EXPECT_EQ(str(s), "");
  EXPECT_TRUE(in.good());
  s.readToDelim(in, '\t');
  EXPECT_EQ(str(s), "second");
  s.readLine(in);
  EXPECT_EQ(str(s), "part");
  s.readLine(in);
  EXPECT_EQ(str(s), "last");
  EXPECT_TRUE(in.eof());
  EXPECT_FALSE(in.fail());
  s.readLine(in);  // at the end: fail, empty
  EXPECT_TRUE(in.fail());
  EXPECT_TRUE(s.isEmpty());
}

TEST(RWCStringStream, LongLineGrowsAndShrinksToTheRoundedCapacity) {
  const std::string big(1000, 'q');
  std::istringstream in(big + "\nrest");
  RWCString s;
  RWCString keep(s);
  s.readLine(in);
  EXPECT_EQ(s.length(), 1000u);
  EXPECT_EQ(str(s), big);
  EXPECT_EQ(s.capacity(), RWCString::roundedCapacity(1000));
  EXPECT_TRUE(keep.isEmpty());
}

TEST(RWCStringStream, ReadToNulAndWholeStream) {
  std::istringstream in(std::string("one\0two\0", 8));
  RWCString s;
  s.readString(in);
  EXPECT_EQ(str(s), "one");
  s.readString(in);
  EXPECT_EQ(str(s), "two");
  const std::string content = std::string(5000, 'z') + std::string("\0end\n", 5);
  std::istringstream whole(content);
  s.readFile(whole);
  EXPECT_EQ(str(s), content);
  EXPECT_TRUE(whole.eof());
  EXPECT_LE(s.capacity() - s.length(), RWCString::maxWaste());
}

TEST(RWCStringStream, Tokens) {
  std::istringstream in("  alpha\tbeta\n gamma");
  RWCString a, b, c, d;
  in >> a >> b;
  in.width(3);
  in >> c;
  EXPECT_EQ(str(a), "alpha");
  EXPECT_EQ(str(b), "beta");
  EXPECT_EQ(str(c), "gam");
  EXPECT_EQ(in.width(), 0);
  in >> c;
  EXPECT_EQ(str(c), "ma");
  EXPECT_TRUE(in.eof());
  EXPECT_FALSE(in.fail());
  in >> d;
  EXPECT_TRUE(in.fail());
  EXPECT_TRUE(d.isEmpty());
  std::istringstream longer(std::string(100, 'k'));
  longer >> d;
  EXPECT_EQ(d.length(), 100u);
}

}  // namespace
