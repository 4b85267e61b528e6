#include "meta/metaTreeReader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "foundation/memManSystem.h"
#include "meta/metaObject.h"
#include "meta/metaObjectRef.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTreeDump.h"
#include "platform/testing/FailingStreamBuffer.h"
#include "platform/testing/TempDir.h"

namespace {

using metatesting::dumpTree;

struct Outcome {
  std::string dump;     // the tree read, "" for none
  std::string message;  // the reader's error, "" for none
  int line = 0;         // of the error
  int column = 0;
};

Outcome readText(const std::string& text) {
  std::istringstream in(text);
  metaTreeReaderC reader;
  reader.setInput(&in);
  metaTreeC* tree = reader.read(0);
  Outcome out;
  out.dump = dumpTree(tree);
  out.message = reader.errorMessage();
  out.line = reader.errorPosition().line;
  out.column = reader.errorPosition().column;
  if (tree) {
    EXPECT_FALSE(reader.hasError());
  }
  delete tree;
  return out;
}

TEST(metaTreeReader, TextsAndTheirTrees) {
  struct Case {
    const char* text;
    const char* dump;
  } cases[] = {
      {"", ""},
      {" \t\r\n,, ", ""},
      {"A { B 1.5 \"x\\\"y\" }", "A { B 1.5 \"x\\\"y\" }"},
      {"A{B}{C}", "A { C B }"},  // a later section goes before the earlier one
      {"A { B } { C D } { }", "A { C D B }"},
      {"A B,C", "A B C"},  // several top-level nodes make a chain
      {"A{B{C{D}}E}F", "A { B { C { D } } E } F"},
      {"1e3 -2 +.5 0.25 7.", "1000 -2 0.5 0.25 7"},
      {"_x.y-z+ WORD9", "_x.y-z+ WORD9"},  // key words may hold every word character
      {"\"a\\nb\\tc\\rd\\\\e\\qf\"", "\"a\\nb\\tc\\rd\\\\eqf\""},
      {"\"two\nlines\"", "\"two\\nlines\""},
      {"\"crlf\r\nkept as lf\"", "\"crlf\\nkept as lf\""},  // a text stream's CR LF
      {"\"\" \"{}\"", "\"\" \"{}\""},
      {"A\"s\"B", "A \"s\" B"},  // no separator needed around a string
      {"\"\xC3\xA4\x01\"", "\"\xC3\xA4\x01\""},  // any byte but 0xFF stands in a string
      // Whatever strtod consumes whole is a number: infinities, NaN, hexadecimal, overflow.
      {"+inf -Infinity +nan 0x1p3 -0x.8 1e999 -1e999", "+inf -inf +nan 8 -0.5 +inf -inf"},
      {"4.9e-324 1e-400 -0 00012 1.e2 .5e-1", "5e-324 0 -0 12 100 0.05"},
      {"9007199254740993 0.1000000000000000055511151231257827", "9007199254740992 0.1"},
  };
  for (const Case& c : cases) {
    const Outcome out = readText(c.text);
    EXPECT_EQ(out.dump, c.dump) << c.text;
    EXPECT_EQ(out.message, "") << c.text;
  }
}

TEST(metaTreeReader, ErrorsWithTheirPositions) {
  const std::string wideIndent = "A {\n" + std::string(100000, ' ') + "B;";
  struct Case {
    const char* text;
    const char* message;
    int line, column;
  } cases[] = {
      {"{ A }", "section without key found", 1, 1},
      {"A { { B } }", "section without key found", 1, 5},
      {"A {\n  B", "section count wrong", 2, 3},
      {"A }", "section count wrong", 1, 3},
      {"A { B } }", "section count wrong", 1, 9},
      {"A = B", "ill seperator char", 1, 3},
      {"A {\n B ; }", "ill seperator char", 2, 4},
      {"2D", "value invalid :2D", 1, 2},
      {"A { - }", "value invalid :-", 1, 5},
      {"A { 1.2.3 }", "value invalid :1.2.3", 1, 9},
      {"\"open", "ill char in string", 1, 5},
      {"A \"x\xFFy\"", "ill char in string", 1, 5},
      {"A { B \xFF }", "section count wrong", 1, 7},
      {"A\r\n\r\n B ;", "ill seperator char", 3, 4},  // CR LF counts as one line break
      {"A\r= B", "ill seperator char", 1, 3},          // a lone CR is a separator
      {"1e", "value invalid :1e", 1, 2},
      {"0x", "value invalid :0x", 1, 2},
      {"A { 1e5x }", "value invalid :1e5x", 1, 8},
      {"\"a\\\"\" } ", "section count wrong", 1, 7},
      {"A\n\xFF B", "eof fail", 2, 1},
      {"A\xFF", "eof fail", 1, 2},  // even as the very last byte
      {"\xFF", "eof fail", 1, 1},
      // A string spanning lines moves the line count on.
      {"A {\n\"one\ntwo\" = }", "ill seperator char", 3, 6},
      // Runs of separators count one column each, also across the reader's input pieces.
      {"A,\t, ,= B", "ill seperator char", 1, 7},
      {"A {\n\t\t B ,,\t; }", "ill seperator char", 2, 9},
      {wideIndent.c_str(), "ill seperator char", 2, 100002},
  };
  for (const Case& c : cases) {
    const Outcome out = readText(c.text);
    EXPECT_EQ(out.dump, "") << c.text;
    EXPECT_EQ(out.message, c.message) << c.text;
    EXPECT_EQ(out.line, c.line) << c.text;
    EXPECT_EQ(out.column, c.column) << c.text;
  }
}

// Positions are held at the largest value they hold rather than wrap: 2^32 + 5 added to line 7
// stays at INT32_MAX, as does any count that reaches it.
TEST(metaTreeReader, PositionCountsSaturate) {
  constexpr std::int32_t top = INT32_MAX;
  struct Case {
    std::int32_t count;
    std::size_t n;
    std::int32_t sum;
  } cases[] = {
      {0, 1, 1},           {41, 1, 42},         {top - 1, 1, top},     {top, 1, top},
      {0, std::size_t(top) - 1, top - 1},       {0, std::size_t(top), top},
      {7, (std::size_t(1) << 32) + 5, top},     {1, SIZE_MAX, top},    {top, 0, top},
  };
  for (const Case& c : cases)
    EXPECT_EQ(metaSaturatedCount(c.count, c.n), c.sum) << c.count << " + " << c.n;
}

// A stream of `blanks` blanks followed by `tail`, made as it is read (nothing is held whole).
class BlankRunBuffer : public std::streambuf {
public:
  BlankRunBuffer(std::uint64_t blanks, std::string tail) : blanks_(blanks), tail_(std::move(tail)) {}

protected:
  std::streamsize xsgetn(char* out, std::streamsize n) override {
    std::streamsize done = 0;
    if (blanks_ > 0) {
      const std::streamsize run = static_cast<std::streamsize>(std::min<std::uint64_t>(blanks_, n));
      std::memset(out, ' ', static_cast<std::size_t>(run));
      blanks_ -= static_cast<std::uint64_t>(run);
      done = run;
    }
    while (done < n && blanks_ == 0 && next_ < tail_.size()) out[done++] = tail_[next_++];
    return done;
  }
  int_type underflow() override {
    char c;
    if (xsgetn(&c, 1) != 1) return traits_type::eof();
    held_ = c;
    setg(&held_, &held_, &held_ + 1);
    return traits_type::to_int_type(c);
  }

private:
  std::uint64_t blanks_;
  std::string tail_;
  std::size_t next_ = 0;
  char held_ = 0;
};

// 2^31 + 53 blanks put a bad byte beyond the largest column: it is reported at INT32_MAX, not at
// a wrapped, negative column. (Line breaks take the same counter, checked above; 2^32 of them
// through the reader would take minutes.)
TEST(metaTreeReader, ColumnsOfAnEndlessLineSaturate) {
  BlankRunBuffer buffer((std::uint64_t(1) << 31) + 53, "A = B");
  std::istream in(&buffer);
  metaTreeReaderC reader;
  reader.setInput(&in);
  EXPECT_EQ(reader.read(0), nullptr);
  EXPECT_EQ(reader.errorPosition().line, 1);
  EXPECT_EQ(reader.errorPosition().column, INT32_MAX);
  EXPECT_STREQ(reader.errorText().text(), "line 1, column 2147483647: ill seperator char");
}

TEST(metaTreeReader, ErrorTextNamesThePosition) {
  std::istringstream in("A {\n B = }");
  metaTreeReaderC reader;
  reader.setInput(&in);
  EXPECT_EQ(reader.read(0), nullptr);
  EXPECT_STREQ(reader.errorText().text(), "line 2, column 4: ill seperator char");
}

TEST(metaTreeReader, NodesCarryTheLineOfTheirToken) {
  std::istringstream in("A {\n  B\n  \"two\nlines\" C\n}");
  metaTreeReaderC reader;
  reader.setInput(&in);
  metaTreeC* tree = reader.read(0);
  ASSERT_NE(tree, nullptr);
  const int expected[] = {2, 4, 4};  // B, the string (complete on line 4), C
  int i = 0;
  EXPECT_EQ(tree->value().position().line, 1);
  for (metaTreeC* n = tree->firstChild(); n; n = n->nextSibling(), ++i) {
    EXPECT_EQ(n->value().position().line, expected[i]) << i;
    EXPECT_EQ(n->value().position().column, 0);
  }
  EXPECT_EQ(i, 3);
  delete tree;
}

TEST(metaTreeReader, NestingHasNoFixedBound) {
  // A million levels, with a reference to the root at the bottom: read with the post-load pass,
  // searched, indexed, copied by the hooked copy, dumped and deleted, all without running out of
  // stack (the sanitizer build checks for leaks as well). Under the address sanitizer, whose
  // frames are larger, 200,000 levels are as far beyond any stack: there the node index's page
  // table, grown one pointer per page, is copied on every growth, so a million levels would take
  // ten minutes and more.
#if defined(__SANITIZE_ADDRESS__)
  constexpr int levels = 200000;
#else
  constexpr int levels = 1000000;
#endif
  std::string text;
  text.reserve(levels * 4 + 32);
  for (int i = 0; i < levels; ++i) text += "A{";
  text += "MOREF { REFTRG { 1 } }";
  text.append(levels, '}');
  std::istringstream in(text);
  metaTreeReaderC reader;
  reader.setInput(&in);
  metaTreeC* tree = reader.read(1);
  ASSERT_NE(tree, nullptr) << reader.errorText().text();
  metaTreeC* ref = metaTreeC::findKey(tree, "MOREF", -1);
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(metaObjectRefC(ref).targetNode(), tree);
  int depth = 0;
  for (const metaTreeC* n = ref; n->parent(); n = n->parent()) ++depth;
  EXPECT_EQ(depth, levels);
  {
    const metaObjectC owner(tree, 1);
    const metaObjectC copy(owner);  // an owning view copies by the hooked copy
    ASSERT_NE(copy.node(), tree);
    metaTreeC* copiedRef = metaTreeC::findKey(copy.node(), "MOREF", -1);
    ASSERT_NE(copiedRef, nullptr);
    EXPECT_EQ(metaObjectRefC(copiedRef).targetNode(), copy.node());
    const std::string dump = dumpTree(copy.node());
    EXPECT_EQ(dump.size(), static_cast<std::size_t>(levels) * 6 + 28);
  }  // both trees are deleted here
  // Unbalanced deep input still fails cleanly.
  EXPECT_EQ(readText(std::string(1000000, '{')).message, "section without key found");
  std::string open;
  for (int i = 0; i < 200000; ++i) open += "A{";
  EXPECT_EQ(readText(open).message, "section count wrong");
}

TEST(metaTreeReader, LongTokensAndLongChainsAreReadWhole) {
  const std::string word(70001, 'W');
  const std::string text(100000, 't');
  const Outcome out = readText("K { " + word + " \"" + text + "\" }");
  EXPECT_EQ(out.dump, "K { " + word + " \"" + text + "\" }");

  std::string many;
  for (int i = 0; i < 100000; ++i) many += "N ";
  std::istringstream in("L { " + many + "}");
  metaTreeReaderC reader;
  reader.setInput(&in);
  metaTreeC* tree = reader.read(0);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->childCount(), 100000);
  delete tree;

  // An error after a long chain deletes it all (the sanitizer build checks for leaks).
  EXPECT_EQ(readText("L { " + many + "= }").message, "ill seperator char");
}

TEST(metaTreeReader, PostLoadPassResolvesReferencesOnlyWhenAsked) {
  const std::string text = "A { B MOREF { REFTRG { 1 } } MOREF { REFTRG { 2 } } }";
  for (int postLoad : {0, 1}) {
    std::istringstream in(text);
    metaTreeReaderC reader;
    reader.setInput(&in);
    metaTreeC* tree = reader.read(postLoad);
    ASSERT_NE(tree, nullptr);
    const metaObjectRefC toRoot(metaTreeC::findKey(tree->firstChild(), "MOREF", 0));
    const metaObjectRefC toB(toRoot.node()->nextSibling());
    if (postLoad) {
      EXPECT_EQ(toRoot.targetNode(), tree);
      EXPECT_EQ(toB.targetNode(), tree->firstChild());
    } else {
      EXPECT_EQ(toRoot.targetNode(), nullptr);
      EXPECT_EQ(toRoot.targetOrdinal(), 1);
    }
    delete tree;
  }
}

// Allocation number `failAt` (counted from 0) fails; with `failForGood` so does every later one,
// else every other one is served.
long allocationsBeforeFailure = -1;
bool failForGood = false;
memManAllocHook servingAlloc = nullptr;
void* failingAlloc(std::size_t n) {
  if (allocationsBeforeFailure < 0) return failForGood ? nullptr : servingAlloc(n);
  if (allocationsBeforeFailure-- == 0) return nullptr;
  return servingAlloc(n);
}

// Reads `in` with allocation number `failAt` failing (and every later one with `forGood`).
metaTreeC* readFailingAt(metaTreeReaderC& reader, std::istream& in, long failAt, bool forGood,
                         int postLoad) {
  reader.setInput(&in);
  allocationsBeforeFailure = failAt;
  failForGood = forGood;
  servingAlloc = memManSetAllocHook(failingAlloc);
  metaTreeC* tree = nullptr;
  EXPECT_NO_THROW(tree = reader.read(postLoad)) << failAt << " " << forGood;
  memManSetAllocHook(servingAlloc);
  return tree;
}

// Whichever node or text the memory runs out for, in nested and repeated sections, the reader
// answers "out of memory" and frees every node it had read (they all hang in one tree by then).
// When no memory comes back at all, not even for the message, the read still ends with the error
// flag set and nothing thrown.
TEST(metaTreeReader, MemoryRunningOutAnywhereFreesWhatWasRead) {
  const std::string text = "A { B { C D } { E } F { G \"s\" 1 } } H { I }";
  const long users = memManUserCount();
  for (bool forGood : {false, true}) {
    bool completed = false;
    for (long failAt = 0; failAt < 200 && !completed; ++failAt) {
      {
        std::istringstream in(text);
        metaTreeReaderC reader;
        metaTreeC* tree = readFailingAt(reader, in, failAt, forGood, 0);
        if (tree) {
          EXPECT_EQ(dumpTree(tree), "A { B { E C D } F { G \"s\" 1 } } H { I }");
          completed = true;
          delete tree;
        } else {
          EXPECT_TRUE(reader.hasError()) << failAt << " " << forGood;
          if (!forGood) { EXPECT_STREQ(reader.errorMessage(), "out of memory") << failAt; }
        }
      }
      EXPECT_EQ(memManUserCount(), users) << failAt << " " << forGood;
    }
    EXPECT_TRUE(completed) << forGood;
  }
}

// The post-load pass makes nodes too (a reference's resolved target): when the memory runs out
// there, the read ends with "out of memory" and frees the tree, rather than throwing and leaking
// it.
TEST(metaTreeReader, MemoryRunningOutInThePostLoadPassFreesTheTree) {
  const std::string text = "A { MOREF { X } }";  // the pass adds the reference's target
  const long users = memManUserCount();
  bool failedInPass = false;
  bool completed = false;
  for (long failAt = 0; failAt < 200 && !completed; ++failAt) {
    {
      std::istringstream in(text);
      metaTreeReaderC reader;
      metaTreeC* tree = readFailingAt(reader, in, failAt, false, 1);
      const bool parsed = reader.depth() == 0 && reader.tokenKind() == 0;  // the whole text read
      if (tree) {
        completed = true;
        delete tree;
      } else {
        EXPECT_STREQ(reader.errorMessage(), "out of memory") << failAt;
        failedInPass = failedInPass || parsed;
      }
    }
    EXPECT_EQ(memManUserCount(), users) << failAt;
  }
  EXPECT_TRUE(completed);
  EXPECT_TRUE(failedInPass);  // some failure fell into the pass, after the whole text was read
}

TEST(metaTreeReader, ReaderStateIsResetForEachInput) {
  metaTreeReaderC reader;
  EXPECT_EQ(reader.read(0), nullptr);  // no input
  std::istringstream bad("A\n\n= B");
  reader.setInput(&bad);
  EXPECT_EQ(reader.read(0), nullptr);
  EXPECT_EQ(reader.line(), 3);
  EXPECT_EQ(reader.read(0), nullptr);  // the input was released by the read
  std::istringstream good("A { B }");
  reader.setInput(&good);
  metaTreeC* tree = reader.read(0);
  ASSERT_NE(tree, nullptr);
  EXPECT_FALSE(reader.hasError());
  EXPECT_STREQ(reader.errorMessage(), "");
  EXPECT_EQ(reader.line(), 1);
  EXPECT_EQ(reader.depth(), 0);
  delete tree;
}

TEST(metaTreeReader, OpensFilesByProgramPath) {
  platform::TempDir dir;
  {
    std::ofstream(dir.file("part.ps2"), std::ios::binary) << "FIGURE {\r\n  NAME { \"x\" }\r\n}\r\n";
  }
  metaTreeReaderC reader;
  ASSERT_EQ(reader.open(dir.file("part.ps2").c_str()), 1);
  metaTreeC* tree = reader.read(0);
  EXPECT_EQ(dumpTree(tree), "FIGURE { NAME { \"x\" } }");
  delete tree;
  EXPECT_EQ(reader.open(dir.file("missing.ps2").c_str()), 0);
  EXPECT_EQ(reader.read(0), nullptr);
  EXPECT_FALSE(reader.hasError());
  EXPECT_EQ(reader.open(nullptr), 0);
  EXPECT_EQ(reader.open(""), 0);
}

TEST(metaTreeReader, InputFailuresAreReadErrors) {
  platform::FailingStreamBuffer failing("A {\n B ");
  std::istream in(&failing);
  metaTreeReaderC reader;
  reader.setInput(&in);
  EXPECT_EQ(reader.read(0), nullptr);
  EXPECT_STREQ(reader.errorMessage(), "read fail");
  EXPECT_EQ(reader.errorPosition().line, 2);

  // A folder, a pipe with no writer and a device are not opened at all: no wait, no endless read.
  platform::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe.ps2").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("/dev/zero", dir.file("zero.ps2").c_str()), 0);
  for (const std::string& name : {dir.path(), dir.file("pipe.ps2"), dir.file("zero.ps2")}) {
    EXPECT_EQ(reader.open(name.c_str()), 0) << name;
    EXPECT_FALSE(loadMetaTreeFile(name.c_str(), 1).isBound()) << name;
  }
}

// Each demo part reads without error, and its dump reads back to the same tree.
TEST(metaTreeReader, DemoPartsReadAndRoundTrip) {
  const std::string here = __FILE__;
  const std::string parts = here.substr(0, here.rfind("/meta/")) + "/examples/parts/";
  const char* names[] = {"bracket", "clamp",  "flange",      "nut",   "plate",
                         "shaft",   "washer", "screw-blind", "nopart"};
  for (const char* name : names) {
    metaTreeReaderC reader;
    ASSERT_EQ(reader.open((parts + name + ".ps2").c_str()), 1) << name;
    metaTreeC* tree = reader.read(0);
    ASSERT_NE(tree, nullptr) << name << ": " << reader.errorText().text();
    const std::string dump = dumpTree(tree);
    EXPECT_EQ(readText(dump).dump, dump) << name;
    delete tree;
  }
}

}  // namespace

namespace {

TEST(loadMetaTreeFile, BoundOnlyForAFileThatReadsWithoutError) {
  platform::TempDir dir;
  std::ofstream(dir.file("good.ps2"), std::ios::binary) << "DRAWING { NAME { \"p\" } } FIGURE";
  std::ofstream(dir.file("bad.ps2"), std::ios::binary) << "DRAWING { NAME { \"p\" }";
  {
    metaObjectC view = loadMetaTreeFile(dir.file("good.ps2").c_str(), 1);
    ASSERT_TRUE(view.isBound());
    EXPECT_TRUE(view.ownsItsNode());
    EXPECT_TRUE(view.hasKey("DRAWING"));
    EXPECT_EQ(dumpTree(view.node()), "DRAWING { NAME { \"p\" } } FIGURE");
  }  // the owning view deletes the tree (the sanitizer build checks)
  EXPECT_FALSE(loadMetaTreeFile(dir.file("bad.ps2").c_str(), 1).isBound());
  EXPECT_FALSE(loadMetaTreeFile(dir.file("missing.ps2").c_str(), 1).isBound());
  EXPECT_FALSE(loadMetaTreeFile(nullptr, 1).isBound());

  metaObjectC shared = loadMetaTreeFile(dir.file("good.ps2").c_str(), 0);
  ASSERT_TRUE(shared.isBound());
  EXPECT_FALSE(shared.ownsItsNode());
  delete shared.node();  // without owns the caller takes the tree over
}

}  // namespace
