#include "config/dirIterator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "foundation/RWxmsg.h"
#include "platform/testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

void touch(const std::string& path) { std::ofstream(path, std::ios::binary) << "x"; }

// A folder holding files and sub-folders whose names probe the filters.
class ListingFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.cfg", "b.cfg", "a.cfg.bak", "acfg", "x.cfg2", ".cfg", "x.txt",
                             "xy.txt", "odd[1]+$^.v", "line\nbreak.cfg"})
      touch(tmp.file(name));
    for (const char* name : {"data", "dump", "sub.cfg", "other"})
      fs::create_directory(tmp.file(name));
  }

  pathNameC folder() const { return pathNameC(RWCString(tmp.path().c_str())); }

  // Names of what `next` yields, marked "/" for folders.
  static std::set<std::string> names(dirIteratorC& it) {
    std::set<std::string> out;
    while (it.next()) {
      pathNameC p = it.current();
      out.insert(str(p.fileName()) + (p.isDirectory() ? "/" : ""));
    }
    return out;
  }

  platform::TempDir tmp;
};

}  // namespace

TEST_F(ListingFixture, EverythingPassesTheCatchAllFilters) {
  dirIteratorC it(dirEntryC(folder(), dirEntryC::directoryEntry));
  std::set<std::string> all = names(it);
  EXPECT_EQ(all.size(), 14u);
  EXPECT_TRUE(all.count("line\nbreak.cfg"));
  EXPECT_TRUE(all.count("sub.cfg/"));
  EXPECT_FALSE(all.count("."));
  EXPECT_FALSE(all.count(".."));
  EXPECT_EQ(it.next(), 0);  // stays at the end
}

TEST_F(ListingFixture, WildcardFilters) {
  struct Case {
    const char* fileFilter;
    const char* directoryFilter;
    std::set<std::string> expected;
  } cases[] = {
      {"*.cfg", "d*", {".cfg", "a.cfg", "b.cfg", "line\nbreak.cfg", "data/", "dump/"}},
      {"?.txt", "d?t?", {"x.txt", "data/"}},
      {"x*", "*.cfg", {"x.cfg2", "x.txt", "xy.txt", "sub.cfg/"}},
      {"odd[1]+$^.v", "", {"odd[1]+$^.v"}},  // every other character stands for itself
      {"*", "*", {}},                         // filled in below: everything
      {"a.cfg", "zzz", {"a.cfg"}},
      {"*.*", "nomatch", {".cfg", "a.cfg", "b.cfg", "a.cfg.bak", "x.cfg2", "x.txt", "xy.txt",
                          "odd[1]+$^.v", "line\nbreak.cfg"}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(std::string(c.fileFilter) + " | " + c.directoryFilter);
    dirIteratorC it(folder(), PatternRegex("x"), PatternRegex("x"));
    it.setFileFilter(c.fileFilter);
    it.setDirectoryFilter(c.directoryFilter);
    std::set<std::string> got = names(it);
    if (c.expected.empty()) {
      EXPECT_EQ(got.size(), 14u);
    } else {
      EXPECT_EQ(got, c.expected);
    }
  }
}

TEST_F(ListingFixture, PatternFiltersMustMatchTheWholeName) {
  // The first match of "a" in "a.cfg" covers only part of the name.
  dirIteratorC partial(folder(), PatternRegex("a"), PatternRegex("da"));
  EXPECT_TRUE(names(partial).empty());

  dirIteratorC whole(folder(), PatternRegex("[ab]\\.cfg"), PatternRegex("d...?"));
  EXPECT_EQ(names(whole), (std::set<std::string>{"a.cfg", "b.cfg", "data/", "dump/"}));
}

TEST_F(ListingFixture, NextFileNextDirectoryAndCurrentEntry) {
  dirIteratorC it(folder(), PatternRegex(".*"), PatternRegex(".*"));
  std::set<std::string> files, folders;
  while (it.nextFile()) {
    EXPECT_EQ(it.currentEntry().kind(), dirEntryC::fileEntry);
    EXPECT_EQ(it.currentEntry().exists(), 1);
    files.insert(str(it.current().fileName()));
  }
  it.rewind();
  while (it.nextDirectory()) {
    dirEntryC entry = it.currentEntry();
    EXPECT_EQ(entry.kind(), dirEntryC::directoryEntry);
    EXPECT_EQ(str(entry.fullPath().text()), str(it.current().text()));
    folders.insert(str(entry.name().text()));
  }
  EXPECT_EQ(files.size(), 9u);  // ".*" does not pass the name holding a newline
  EXPECT_EQ(folders, (std::set<std::string>{"data", "dump", "sub.cfg", "other"}));
}

TEST_F(ListingFixture, RewindTakesAFreshSnapshot) {
  dirIteratorC it(folder(), PatternRegex("new.*"), PatternRegex("none"));
  EXPECT_EQ(it.next(), 0);
  touch(tmp.file("new.one"));
  EXPECT_EQ(it.next(), 0);
  it.rewind();
  EXPECT_EQ(it.next(), 1);
  EXPECT_EQ(str(it.current().text()), tmp.file("new.one"));
  EXPECT_TRUE(it.current().isFile());
  it.close();
  it.rewind();  // a closed listing stays closed
  EXPECT_EQ(it.next(), 0);
}

TEST_F(ListingFixture, BadPatternRaisesWhenFirstUsed) {
  dirIteratorC it(folder(), PatternRegex("*a"), PatternRegex(".*"));
  EXPECT_THROW(
      {
        while (it.next()) {
        }
      },
      RWInternalErr);
}

TEST(dirIteratorC, EmptyAndMissingFolders) {
  platform::TempDir tmp;
  fs::create_directory(tmp.file("empty"));
  dirIteratorC empty(pathNameC(RWCString(tmp.file("empty").c_str())), PatternRegex(".*"),
                     PatternRegex(".*"));
  EXPECT_TRUE(empty.isOpen());
  EXPECT_EQ(empty.next(), 0);

  dirIteratorC missing(pathNameC(RWCString(tmp.file("none").c_str())), PatternRegex(".*"),
                       PatternRegex(".*"));
  EXPECT_FALSE(missing.isOpen());
  EXPECT_EQ(missing.next(), 0);
}

TEST(dirIteratorC, WildcardPatternsAlwaysCompile) {
  for (const char* w : {"", "*", "?", "*.*", "a\\b", "[", "]", "^x", "x$", "+", "\\101", "-"}) {
    PatternRegex pattern(dirIteratorC::wildcardPattern(w));
    EXPECT_TRUE(pattern.isValid()) << w;
  }
  // A backslash or an octal-looking run is literal too.
  RWCString name("\\101");
  std::size_t length = 0;
  EXPECT_EQ(name.indexOfMatch(PatternRegex(dirIteratorC::wildcardPattern("\\101")), length, 0),
            0u);
  EXPECT_EQ(length, 4u);
}

namespace {

// Independent wildcard matcher: '*' any run, '?' any one character, the rest literal.
bool wildcardMatches(const std::string& w, std::size_t wi, const std::string& n, std::size_t ni) {
  if (wi == w.size()) return ni == n.size();
  if (w[wi] == '*')
    return wildcardMatches(w, wi + 1, n, ni) ||
           (ni < n.size() && wildcardMatches(w, wi, n, ni + 1));
  return ni < n.size() && (w[wi] == '?' || w[wi] == n[ni]) &&
         wildcardMatches(w, wi + 1, n, ni + 1);
}

}  // namespace

TEST(dirIteratorC, WildcardPatternsAgreeWithAPlainMatcher) {
  const std::string alphabet = "ab.*?[]^$+\\n1";
  std::mt19937 random(12345);  // fixed seed: the same cases every run
  auto pick = [&](std::size_t maxLength, bool wildcard) {
    std::string out;
    std::size_t length = random() % (maxLength + 1);
    for (std::size_t i = 0; i < length; ++i) {
      char c = alphabet[random() % alphabet.size()];
      if (!wildcard && (c == '*' || c == '?')) c = 'a';
      out += c == 'n' ? '\n' : c;
    }
    return out;
  };
  for (int round = 0; round < 3000; ++round) {
    std::string w = pick(6, true), n = pick(7, false);
    if (n.empty()) continue;  // listed names are never empty
    PatternRegex pattern(dirIteratorC::wildcardPattern(RWCString(w.c_str())));
    RWCString name(n.c_str());
    std::size_t length = 0;
    std::size_t at = name.indexOfMatch(pattern, length, 0);
    bool passes = at == 0 && length == name.length();
    ASSERT_EQ(passes, wildcardMatches(w, 0, n, 0)) << "wildcard '" << w << "' name '" << n << "'";
  }
}
