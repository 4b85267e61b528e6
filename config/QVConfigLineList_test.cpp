#include "config/QVConfigLineList.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/testing/FileText.h"
#include "platform/testing/TempDir.h"

namespace {

using kxtesting::readFile;
using kxtesting::writeFile;

QVConfigLineList listOf(const std::vector<std::string>& lines, bool ignoreCase = true) {
  QVConfigLineList list(ignoreCase);
  for (const std::string& l : lines) list.appendLine(RWCString(l.data(), l.size()));
  return list;
}

std::vector<std::string> linesOf(const QVConfigLineList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.count(); ++i)
    out.emplace_back(list.line(i).data(), list.line(i).length());
  return out;
}

std::string textOf(const QVConfigLineList& list) {
  RWCString t = list.text();
  return std::string(t.data(), t.length());
}

struct LineCase {
  const char* line;
  int kind;
  const char* name;   // block name or key
  const char* value;
};

TEST(QVConfigLineList, ClassifiesLines) {
  const LineCase cases[] = {
      {"[Options]", QVConfigLineList::kHeader, "Options", ""},
      {" \t[ Layer ] trailing", QVConfigLineList::kHeader, "Layer", ""},
      {"[a=b]", QVConfigLineList::kHeader, "a=b", ""},     // header test comes first
      {"x]y[", QVConfigLineList::kComment, "", ""},        // no '=' and not a header
      {"[open", QVConfigLineList::kComment, "", ""},       // '[' without ']'
      {"][x]", QVConfigLineList::kComment, "", ""},        // ']' before '[': no header
      {"", QVConfigLineList::kComment, "", ""},
      {"   ", QVConfigLineList::kComment, "", ""},
      {";k=v", QVConfigLineList::kComment, "", ""},
      {"*k=v", QVConfigLineList::kComment, "", ""},
      {"!k=v", QVConfigLineList::kComment, "", ""},
      {"#k=v", QVConfigLineList::kComment, "", ""},
      {" ;k=v", QVConfigLineList::kItem, ";k", "v"},      // column 0 only
      {"  key \t=  value  ", QVConfigLineList::kItem, "key", "value"},
      {"a=b=c", QVConfigLineList::kItem, "a", "b=c"},
      {"=v", QVConfigLineList::kItem, "", "v"},
      {"k=", QVConfigLineList::kItem, "k", ""},
  };
  for (const LineCase& c : cases) {
    std::string line = c.line;
    QVConfigLineList list = listOf({line});
    RWCString name, value;
    EXPECT_EQ(list.classifyLine(0, name, value), c.kind) << line;
    if (c.kind != QVConfigLineList::kComment) EXPECT_EQ(name, c.name) << line;
    if (c.kind == QVConfigLineList::kItem) EXPECT_EQ(value, c.value) << line;
  }
}

TEST(QVConfigLineList, ComparesNames) {
  EXPECT_EQ(QVConfigLineList::compareNames("Layer", "layer \t", true), 0);
  EXPECT_NE(QVConfigLineList::compareNames("Layer", "layer", false), 0);
  EXPECT_EQ(QVConfigLineList::compareNames("Layer  ", "Layer", false), 0);
  EXPECT_NE(QVConfigLineList::compareNames(" Layer", "Layer", true), 0);  // only trailing
  EXPECT_LT(QVConfigLineList::compareNames("a", "\xe4", true), 0);        // bytes unsigned
  EXPECT_TRUE(QVConfigLineList::isDefaultBlock("<DEFAULT>"));
}

TEST(QVConfigLineList, FirstItemOfNewBlockAddsFourLinesAndSavesThree) {
  QVConfigLineList list;
  EXPECT_EQ(list.setItem("B", "k", "v"), 1);
  EXPECT_EQ(linesOf(list), (std::vector<std::string>{"", "[B]", "k=v", ""}));
  EXPECT_EQ(textOf(list), "\n[B]\nk=v\n");
}

TEST(QVConfigLineList, SetItemReplacesInsertsAndAddsOccurrences) {
  QVConfigLineList list =
      listOf({"top=1", "", "; c", "[A]", "k = 1", "; note", "k=2", "", "[B]", "x=1"});
  EXPECT_EQ(list.setItem("a", "K", "9", 1), 1);        // second k, names ignore case
  EXPECT_EQ(list.line(6), "K=9");
  EXPECT_EQ(list.setItem("A", "new", "n"), 1);         // after the last item, not at the end
  EXPECT_EQ(list.line(7), "new=n");
  EXPECT_EQ(list.setItem("A", "k", "3", 5), 1);        // n beyond the occurrences: a new line
  EXPECT_EQ(list.line(8), "k=3");
  EXPECT_EQ(list.setItem("<default>", "top", "2"), 1);
  EXPECT_EQ(list.line(0), "top=2");
  EXPECT_EQ(list.itemValue("B", "x"), "1");
  EXPECT_EQ(list.itemValue("A", "k", 1), "9");
  EXPECT_EQ(list.itemValue("A", "missing"), "");
  EXPECT_EQ(list.itemValue("Nope", "k"), "");
}

TEST(QVConfigLineList, NewDefaultItemGoesToLineZero) {
  QVConfigLineList list = listOf({"; head", "[A]", "k=1"});
  list.setItem("<default>", "d", "1");
  EXPECT_EQ(list.line(0), "d=1");
  EXPECT_EQ(list.line(1), "; head");
}

TEST(QVConfigLineList, SavesAtMostThreeEmptyLinesAndNoTrailingOnes) {
  QVConfigLineList list = listOf({"a=1", "", "", "", "", "", "b=2", " ", "", ""});
  EXPECT_EQ(textOf(list), "a=1\n\n\n\nb=2\n \n");
}

TEST(QVConfigLineList, ReadsLinesAndLineEnds) {
  struct Case {
    std::string in;
    std::vector<std::string> lines;
    bool crlf;
  };
  const Case cases[] = {
      {"a=1\nb=2\n", {"a=1", "b=2", ""}, false},
      {"a=1\r\nb=2", {"a=1", "b=2"}, true},
      {"", {""}, false},
      {"x\r\r\n\n", {"x", "", ""}, true},
      {std::string("k=a\0b\n", 6), {std::string("k=a\0b", 5), ""}, false},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.in);
    QVConfigLineList list;
    EXPECT_EQ(list.readStream(in), 1);
    EXPECT_EQ(linesOf(list), c.lines);
    EXPECT_EQ(list.crlf(), c.crlf);
  }
}

TEST(QVConfigLineList, EditsBlocks) {
  const std::vector<std::string> file = {"d=1", "[A]", "a=1", "; keep", "", "[B]", "b=1", "[C]"};
  {
    QVConfigLineList list = listOf(file);
    list.renameBlock("a", "Z");
    EXPECT_EQ(linesOf(list), (std::vector<std::string>{"d=1", "[Z]", "a=1", "; keep", "", "[B]",
                                                       "b=1", "[C]"}));
  }
  {
    QVConfigLineList list = listOf(file);
    list.commentOutBlock("A");
    EXPECT_EQ(linesOf(list), (std::vector<std::string>{"d=1", "; [A]", "; a=1", "; keep", "",
                                                       "[B]", "b=1", "[C]"}));
  }
  {
    QVConfigLineList list = listOf(file);
    list.removeBlock("B");
    EXPECT_EQ(linesOf(list),
              (std::vector<std::string>{"d=1", "[A]", "a=1", "; keep", "", "[C]"}));
  }
  {
    // The default block has no header: removing it must keep the next block's header.
    QVConfigLineList list = listOf(file);
    list.removeBlock("<default>");
    EXPECT_EQ(list.line(0), "[A]");
    EXPECT_EQ(list.count(), file.size() - 1);
  }
  {
    QVConfigLineList list = listOf(file);
    EXPECT_EQ(list.insertBlockAfter("N", "A"), 1);
    EXPECT_EQ(linesOf(list), (std::vector<std::string>{"d=1", "[A]", "a=1", "", "[N]", "",
                                                       "; keep", "", "[B]", "b=1", "[C]"}));
    EXPECT_EQ(list.insertBlockAfter("N", "A"), -1);
    EXPECT_EQ(list.insertBlockAfter("M", "C"), 1);  // no items: right after its header
    EXPECT_EQ(list.line(list.count() - 3), "");
    EXPECT_EQ(list.line(list.count() - 2), "[M]");
    EXPECT_EQ(list.appendBlock("b"), -1);
    EXPECT_EQ(list.appendBlock("E"), 1);
    EXPECT_EQ(list.line(list.count() - 1), "[E]");
  }
  {
    // Edits of missing blocks change nothing.
    QVConfigLineList list = listOf(file);
    EXPECT_EQ(list.removeItem("X", "a"), 1);
    EXPECT_EQ(list.removeBlock("X"), 1);
    EXPECT_EQ(list.renameBlock("X", "Y"), 1);
    EXPECT_EQ(list.commentOutBlock("X"), 1);
    EXPECT_EQ(linesOf(list), file);
  }
}

TEST(QVConfigLineList, ListsNamesAndKeys) {
  QVConfigLineList list =
      listOf({"d=1", "[config_a]", "DESC=x", "k2=2", "; c", "[Other]", "[config_B]", "z=1"});
  RWTValOrderedVector<RWCString> names;
  list.blockNames(names);
  ASSERT_EQ(names.count(), 3u);
  EXPECT_EQ(names[2], "config_B");
  RWTValOrderedVector<RWCString> prefixed;
  list.blockNamesWithPrefix("config_", prefixed);
  EXPECT_EQ(prefixed.count(), 2u);
  RWTValOrderedVector<RWCString> keys;
  list.keysWithPrefix("CONFIG_A", "k", keys);
  ASSERT_EQ(keys.count(), 1u);
  EXPECT_EQ(keys[0], "k2");
  RWTValOrderedVector<QVConfigLineList::KeyValuePair> pairs;
  list.keyValuePairs("<default>", pairs);
  ASSERT_EQ(pairs.count(), 1u);
  EXPECT_EQ(pairs[0].first, "d");

  char** array = list.keyArray("config_a");
  ASSERT_NE(array, nullptr);
  EXPECT_STREQ(array[0], "DESC");
  EXPECT_STREQ(array[1], "k2");
  EXPECT_EQ(array[2], nullptr);
  QVConfigLineList::freeNameArray(array);
  EXPECT_EQ(list.keyArray("Other"), nullptr);

  char* value = list.itemValueCopy("config_a", "desc");
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, "x");
  delete[] value;
  EXPECT_EQ(list.itemValueCopy("config_a", "none"), nullptr);
}

TEST(QVConfigLineList, WalksRepeatedKeys) {
  QVConfigLineList list = listOf({"[A]", "p=1", "q=0", "p=2", "[B]", "p=3"});
  int position = -1;
  EXPECT_EQ(list.nextItemValue("A", "p", position), "1");
  EXPECT_EQ(position, 1);
  EXPECT_EQ(list.nextItemValue("A", "p", position), "2");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(list.nextItemValue("A", "p", position), "");  // stops at the next header
  EXPECT_EQ(position, -1);
}

// Keys the format can hold are written, and each line reads back as the item it was made from.
TEST(QVConfigLineList, WritesEveryKeyThatReadsBackAsItself) {
  struct Case {
    const char* key;
    const char* value;
    const char* line;
  } cases[] = {
      {"", "v", "=v"},        {"[x", "w", "[x=w"},    {"k ", "v", "k =v"},  {"k", "", "k="},
      {"a;b", "c=d", "a;b=c=d"}, {"x[", "]", "x[=]"}, {"", "", "="},
  };
  for (const Case& c : cases) {
    QVConfigLineList list = listOf({"[A]", "old=1"});
    EXPECT_EQ(list.setItem("A", c.key, c.value), 1) << c.line;
    EXPECT_EQ(linesOf(list), (std::vector<std::string>{"[A]", "old=1", c.line}));
    RWCString key, value;
    EXPECT_EQ(list.classifyLine(2, key, value), QVConfigLineList::kItem) << c.line;
    EXPECT_EQ(QVConfigLineList::compareNames(key, c.key, false), 0) << c.line;
    EXPECT_EQ(value, c.value) << c.line;
    // Found again as the same item: the next set replaces it.
    EXPECT_EQ(list.setItem("A", c.key, "again"), 1);
    EXPECT_EQ(list.count(), 3u) << c.line;
  }
}

TEST(QVConfigLineList, RefusesTextThatWouldReadBackAsOtherLines) {
  struct Case {
    const char* block;
    std::string key;
    std::string value;
  };
  const Case cases[] = {
      {"A", "k", "x\ny=1"},  {"A", "k", "x\r"},   {"A", "a=b", "v"}, {"A", ";k", "v"},
      {"A", "#k", "v"},      {"A", "*k", "v"},    {"A", "!k", "v"},  {"A", " [k]", "v"},
      {"A", " k", "v"},      {"A]x", "k", "v"},   {"A\n[B", "k", "v"}, {"A", "k\nq", "v"},
      {"A", "[k", "v]"},     {"A", "[k]", "v"},   {"A", "\tk", "v"},
  };
  for (const Case& c : cases) {
    QVConfigLineList list = listOf({"[A]", "old=1"});
    EXPECT_EQ(list.setItem(c.block, RWCString(c.key.data(), c.key.size()),
                           RWCString(c.value.data(), c.value.size())),
              kConfigUnwritable)
        << c.block << "/" << c.key << "/" << c.value;
    EXPECT_EQ(linesOf(list), (std::vector<std::string>{"[A]", "old=1"}));
  }
  QVConfigLineList list = listOf({"[A]"});
  EXPECT_EQ(list.ensureBlockHeader("x]"), kConfigUnwritable);
  EXPECT_EQ(list.appendBlock("x]"), kConfigUnwritable);
  EXPECT_EQ(list.renameBlock("A", "]"), kConfigUnwritable);
  EXPECT_EQ(list.insertBlockAfter("a\rb", "A"), kConfigUnwritable);
  EXPECT_EQ(linesOf(list), (std::vector<std::string>{"[A]"}));
}

TEST(QVConfigLineList, WritesEveryOccurrenceOfDuplicates) {
  QVConfigLineList list = listOf({"[A]", "k=1", "k=2", "[B]", "[a]", "K=3", "j=0"});
  EXPECT_EQ(list.setItemEverywhere("A", "k", "9"), 1);
  EXPECT_EQ(linesOf(list),
            (std::vector<std::string>{"[A]", "k=9", "k=9", "[B]", "[a]", "k=9", "j=0"}));
  list.removeItemEverywhere("A", "k");
  EXPECT_EQ(linesOf(list), (std::vector<std::string>{"[A]", "[B]", "[a]", "j=0"}));
  list.removeBlockEverywhere("a");
  EXPECT_EQ(linesOf(list), (std::vector<std::string>{"[B]"}));
}

// ---- files ---------------------------------------------------------------------------------

TEST(QVConfigLineList, LoadCodes) {
  platform::TempDir dir;
  QVConfigLineList list = listOf({"stale"});
  EXPECT_EQ(loadConfigLines(list, (dir.path() + "/missing.cfg").c_str()), -3);
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(loadConfigLines(list, dir.path().c_str()), -3);  // a folder is no file
  writeFile(dir.file("a.cfg"), "[A]\r\nk=v\r\n");
  EXPECT_EQ(loadConfigLines(list, dir.file("a.cfg").c_str()), 1);
  EXPECT_EQ(list.itemValue("A", "k"), "v");
  EXPECT_EQ(readValueFromFile(dir.file("a.cfg").c_str(), "a", "K"), "v");
  EXPECT_EQ(readValueFromFile(dir.file("none.cfg").c_str(), "a", "K"), "");
  // A pipe or a device cannot be opened as a settings file, yet something is there.
  ASSERT_EQ(::mkfifo(dir.file("pipe.cfg").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero.cfg"));
  for (const char* name : {"pipe.cfg", "zero.cfg"}) {
    bool missing = true;
    EXPECT_EQ(loadConfigLines(list, dir.file(name).c_str(), &missing), -3) << name;
    EXPECT_FALSE(missing) << name;
  }
  // A file beyond any settings file is a read error, and nothing of it is taken.
  std::string huge = "[A]\nk=v\n";
  huge.resize(16 * 1024 * 1024 + 1, '\n');
  writeFile(dir.file("huge.cfg"), huge);
  EXPECT_EQ(loadConfigLines(list, dir.file("huge.cfg").c_str()), -2);
  EXPECT_EQ(list.count(), 0u);
}

TEST(QVConfigLineList, SaveKeepsCrlfLineEnds) {
  platform::TempDir dir;
  const std::string path = dir.file("a.cfg");
  writeFile(path, "; c\r\n[A]\r\nk=v\r\n");
  QVConfigLineList list;
  ASSERT_EQ(loadConfigLines(list, path.c_str()), 1);
  list.setItem("A", "k", "w");
  ASSERT_EQ(saveConfigLines(list, path.c_str()), 1);
  EXPECT_EQ(readFile(path), "; c\r\n[A]\r\nk=w\r\n");
}

platform::ReplaceStep gFailingStep;
bool failAtStep(platform::ReplaceStep step) { return step == gFailingStep; }

TEST(QVConfigLineList, FailedSaveLeavesTheOldFileWhole) {
  platform::TempDir dir;
  const std::string path = dir.file("a.cfg");
  const std::string old = "; keep me\n[A]\nk=old\n";
  const platform::ReplaceStep steps[] = {platform::ReplaceStep::CreateTemp,
                                         platform::ReplaceStep::Write, platform::ReplaceStep::Flush,
                                         platform::ReplaceStep::Close,
                                         platform::ReplaceStep::Rename};
  for (platform::ReplaceStep step : steps) {
    writeFile(path, old);
    QVConfigLineList list;
    ASSERT_EQ(loadConfigLines(list, path.c_str()), 1);
    list.setItem("A", "k", "new");
    gFailingStep = step;
    platform::ReplaceFaultHook previous = platform::setReplaceFaultHook(failAtStep);
    const int r = saveConfigLines(list, path.c_str());
    platform::setReplaceFaultHook(previous);
    EXPECT_EQ(r, -2) << static_cast<int>(step);
    EXPECT_EQ(readFile(path), old) << static_cast<int>(step);
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(platform::listFolder(dir.path(), entries));
    EXPECT_EQ(entries.size(), 1u) << "temporary file left behind at step " << static_cast<int>(step);
  }
  QVConfigLineList list;
  ASSERT_EQ(loadConfigLines(list, path.c_str()), 1);
  list.setItem("A", "k", "new");
  EXPECT_EQ(saveConfigLines(list, path.c_str()), 1);
  EXPECT_EQ(readFile(path), "; keep me\n[A]\nk=new\n");
  EXPECT_EQ(saveConfigLines(list, (dir.path() + "/no/such/folder/a.cfg").c_str()), -2);
}

}  // namespace

// The batch edit of a save gives the lines that the edits one at a time give.
TEST(QVConfigLineList, BatchOfItemsEqualsTheEditsOneAtATime) {
  const std::vector<std::string> files[] = {
      {},
      {"", ""},
      {"a=1", "; note", "[A]", "k=1", "", "[B]", "[a]", "k=2", "j=1", "[<DEFAULT>]", "d=1", "x=0"},
      {"[A]", "K = 1", "k=2", "", "", "[C]"},
      {"; only a comment"},
      {"[A]", "k=1"},
  };
  using Items = std::vector<QVConfigLineList::ItemText>;
  const std::vector<QVConfigLineList::BlockItems> batch = {
      {"<default>", Items{{"d", "9"}, {"new", "n"}, {"a", "1"}}},
      {"A", Items{{"k", "5"}, {"fresh", ""}, {"fresh2", "z"}, {"bad=key", "v"}}},
      {"New", Items{{"p", "1"}, {"q", "2"}}},
      {"Empty", Items{}},
      {"Bad]", Items{{"p", "1"}}},
      {"Later", Items{{"r", "3"}}},
      {"B", Items{{"j", "7"}, {"[x", "y"}}},
      {"c", Items{{"c1", "1"}}},
  };
  for (const auto& file : files) {
    QVConfigLineList one = listOf(file);
    std::size_t refusedOne = 0;
    for (const auto& b : batch) {
      if (one.ensureBlockHeader(b.name) == kConfigUnwritable) {
        refusedOne += 1 + b.items.size();
        continue;
      }
      for (const auto& item : b.items)
        if (one.setItemEverywhere(b.name, item.key, item.value) != 1) ++refusedOne;
    }
    QVConfigLineList all = listOf(file);
    EXPECT_EQ(all.setItemsEverywhere(batch), refusedOne);
    EXPECT_EQ(linesOf(all), linesOf(one)) << "file of " << file.size() << " lines";
  }
}
