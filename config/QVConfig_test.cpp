#include "config/QVConfig.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <string>

#include "platform/FileSystem.h"
#include "platform/testing/FailingStreamBuffer.h"
#include "platform/testing/FileText.h"
#include "platform/testing/TempDir.h"
#include "platform/testing/Unprivileged.h"

namespace {

using kxtesting::readFile;
using kxtesting::writeFile;

// The fixtures folder beside this source file.
std::string testData(const char* name) {
  std::string here = __FILE__;
  return here.substr(0, here.find_last_of('/')) + "/testdata/" + name;
}

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// Saves a configuration to a string through its output stream.
std::string savedText(QVConfig& config) {
  std::stringstream out;
  config.setOutputStream(&out);
  EXPECT_EQ(config.save(), 0);
  config.setOutputStream(nullptr);
  return out.str();
}

// Counts the change notifications a configuration sends.
class ChangeCounter : public ReferingObject {
 public:
  void receiveNotification(const NotificationEvent& event, void*) override {
    if (dynamic_cast<const NotificationEventConfigChanged*>(&event)) ++changes;
  }
  int changes = 0;
};

TEST(QVConfig, LoadCodes) {
  platform::TempDir dir;
  QVConfig config(true);
  EXPECT_EQ(config.loadFile(""), -1);
  EXPECT_EQ(config.loadFile(dir.file("missing.cfg").c_str()), 0);
  writeFile(dir.file("a.cfg"), "[A]\nk=v\n");
  EXPECT_EQ(config.loadFile(dir.file("a.cfg").c_str()), 1);
  EXPECT_EQ(config.findItem("K", "a")->value().asText(), "v");
  QVConfig fromName(RWCString(dir.file("a.cfg").c_str()), true);
  EXPECT_TRUE(fromName.hasItem("k", "A"));
}

TEST(QVConfig, FileWithoutHeadersGoesToDefaultAndNewBlocksAreAppended) {
  std::istringstream in("a=1\n; note\nb = 2\n");
  QVConfig config(&in, nullptr, true);
  ASSERT_EQ(config.blockNames().count(), 1u);
  EXPECT_EQ(config.blockNames()[0], "<default>");
  EXPECT_EQ(config.findItem("b", "<default>")->value().asText(), "2");
  config.valueOrDefault("k", "New", "x");
  // The file's final line break gave an empty last line; the new header adds one more.
  EXPECT_EQ(savedText(config), "a=1\n; note\nb = 2\n\n\n[New]\nk=x\n");
  config.valueOrDefault("b", "<default>");  // marks the item set: its line is rewritten
  EXPECT_EQ(savedText(config), "a=1\n; note\nb=2\n\n\n[New]\nk=x\n");
}

TEST(QVConfig, RepeatedKeyKeepsLastValueAndWritesItEverywhere) {
  std::istringstream in("[A]\nk=1\nx=0\nk=2\n");
  QVConfig config(&in, nullptr, true);
  EXPECT_EQ(config.findItem("k", "A")->value().asText(), "2");
  EXPECT_EQ(savedText(config), "[A]\nk=2\nx=0\nk=2\n");
}

TEST(QVConfig, EditOfDuplicateKeyOrBlockSurvivesTheNextLoad) {
  platform::TempDir dir;
  const std::string path = dir.file("d.cfg");
  writeFile(path, "[A]\nk=1\nk=2\n[B]\n[a]\nk=3\nj=1\n");
  {
    QVConfig config(RWCString(path.c_str()), true);
    config.valueOrDefault("k", "A").setText("edited");
    ASSERT_EQ(config.save(), 0);
  }
  QVConfig again(RWCString(path.c_str()), true);
  EXPECT_EQ(again.findItem("k", "A")->value().asText(), "edited");
  EXPECT_EQ(readFile(path), "[A]\nk=edited\nk=edited\n[B]\n[a]\nk=edited\nj=1\n");

  // Removing a key or a block takes every occurrence, so no duplicate brings it back.
  again.removeItem("k", "a");
  ASSERT_EQ(again.save(), 0);
  QVConfig third(RWCString(path.c_str()), true);
  EXPECT_FALSE(third.hasItem("k", "A"));
  third.removeBlock("A");
  ASSERT_EQ(third.save(), 0);
  EXPECT_EQ(readFile(path), "[B]\n");
}

TEST(QVConfig, NamesIgnoreCaseWhenAsked) {
  std::istringstream in("[layer]\nSolidHeavy=L1\n[LAYER]\nhidden=L2\n");
  QVConfig config(&in, nullptr, true);
  EXPECT_EQ(config.blockNames().count(), 1u);
  EXPECT_EQ(config.valueOrDefault("SOLIDHEAVY", "Layer").asText(), "L1");
  EXPECT_EQ(config.valueOrDefault("Hidden", "layer").asText(), "L2");
  EXPECT_TRUE(config.hasItem("solidheavy \t", "LaYeR"));

  std::istringstream exact("[layer]\nKey=1\nkey=2\n[LAYER]\n");
  QVConfig caseSensitive(&exact, nullptr, false);
  EXPECT_EQ(caseSensitive.blockNames().count(), 2u);
  EXPECT_EQ(caseSensitive.findItem("Key", "layer")->value().asText(), "1");
  EXPECT_EQ(caseSensitive.findItem("key", "layer")->value().asText(), "2");
  EXPECT_EQ(caseSensitive.findItem("KEY", "layer"), nullptr);
  EXPECT_EQ(caseSensitive.findItem("Key", "Layer"), nullptr);
  caseSensitive.setSortedLookupOnly(true);
  EXPECT_NE(caseSensitive.findItem("key", "layer"), nullptr);  // the equal range is searched
  EXPECT_EQ(caseSensitive.findItem("key  ", "layer"), nullptr);  // no linear fallback
  caseSensitive.setSortedLookupOnly(false);
  EXPECT_NE(caseSensitive.findItem("key  ", "layer"), nullptr);
}

TEST(QVConfig, RegistersSettingsAgainstAFileWithValues) {
  platform::TempDir dir;
  const std::string path = dir.file("plinth.cfg");
  writeFile(path, "; user\n[options]\ninchallowed = 0\n");
  QVConfig config(RWCString(path.c_str()), true);
  EXPECT_EQ(config.registerSetting(1, "InchAllowed", "Options", "1"), 1);
  EXPECT_EQ(config.registerSetting(2, "AcadLin", "Options", "acad.lin"), 1);
  EXPECT_EQ(config.valueById(1).asText(), "0");         // the file's value is kept
  EXPECT_EQ(config.valueById(2).asText(), "acad.lin");  // a missing one takes its default
  EXPECT_TRUE(config.valueById(1).isSet());
  ASSERT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(path), "; user\n[options]\ninchallowed=0\nAcadLin=acad.lin\n");
}

TEST(QVConfig, RegistersSettingsWithoutAFile) {
  static const QVConfigSetting table[] = {
      {"InchAllowed", "Options", "1"},
      {"SolidHeavy", "Layer", "0"},
      {"Cosm", "Layer", nullptr},
      {nullptr, nullptr, nullptr},
  };
  platform::TempDir dir;
  QVConfig config(true);
  EXPECT_EQ(config.loadFile(dir.file("none.cfg").c_str()), 0);
  EXPECT_EQ(config.registerSettings(table), 1);
  EXPECT_EQ(config.valueById(0).asText(), "1");
  EXPECT_EQ(config.valueById(1).asText(), "0");
  EXPECT_EQ(config.valueById(2).asText(), "");
  EXPECT_FALSE(config.isRegistered(3));
  EXPECT_EQ(config.valueById(3).asText(), "");
  EXPECT_FALSE(config.valueById(3).isSet());

  // Registering again: the key stays, the default fills only an empty value.
  config.registerSetting(2, "Other", "Else", "cosm");
  EXPECT_EQ(config.valueById(2).asText(), "cosm");
  config.registerSetting(1, "x", "y", "L");
  EXPECT_EQ(config.valueById(1).asText(), "0");
  EXPECT_EQ(config.findItem("SolidHeavy", "Layer")->defaultText(), "L");
  EXPECT_FALSE(config.hasBlock("y"));

  ASSERT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(dir.file("none.cfg")),
            "\n[Options]\nInchAllowed=1\n\n\n[Layer]\nSolidHeavy=0\nCosm=cosm\n");

  RWTValOrderedVector<RWCString> values = config.valuesById(0, 2);
  ASSERT_EQ(values.count(), 3u);
  EXPECT_EQ(values[2], "cosm");
  RWTValOrderedVector<RWCString> edits;
  edits.append("a");
  edits.append("b");
  config.setValuesById(1, edits);
  EXPECT_EQ(config.valueById(2).asText(), "b");
}

TEST(QVConfig, ReloadKeepsRegisteredSettingsAndNotifies) {
  platform::TempDir dir;
  const std::string path = dir.file("r.cfg");
  writeFile(path, "[Options]\nInchAllowed=0\n");
  QVConfig config(RWCString(path.c_str()), true);
  config.registerSetting(1, "InchAllowed", "Options", "1");
  config.registerSetting(2, "AcadLin", "Options", "acad.lin");
  ChangeCounter counter;
  config.addReceiver(&counter);
  writeFile(path, "[Options]\nInchAllowed=yes\n");
  EXPECT_EQ(config.reload(), 1);
  EXPECT_EQ(counter.changes, 1);
  EXPECT_TRUE(config.isRegistered(2));
  EXPECT_EQ(config.valueById(1).asText(), "yes");
  EXPECT_EQ(config.valueById(2).asText(), "acad.lin");

  std::remove(path.c_str());
  EXPECT_EQ(config.reload(), -1);
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(config.valueById(1).asText(), "1");  // defaults again, still registered

  QVConfig nowhere(true);
  EXPECT_EQ(nowhere.reload(), -1);
}

TEST(QVConfig, SaveCodes) {
  QVConfig config(true);
  config.valueOrDefault("k", "A", "v");
  EXPECT_EQ(config.save(), -1);  // neither file nor stream

  platform::TempDir dir;
  config.setFileName((dir.path() + "/no/folder/x.cfg").c_str());
  EXPECT_EQ(config.save(), -1);
  config.setFileName(dir.file("x.cfg").c_str());
  EXPECT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(dir.file("x.cfg")), "\n[A]\nk=v\n");
}

bool failRename(platform::ReplaceStep step) { return step == platform::ReplaceStep::Rename; }

TEST(QVConfig, InterruptedSaveReportsFailureAndKeepsTheFile) {
  platform::TempDir dir;
  const std::string path = dir.file("x.cfg");
  writeFile(path, "[A]\nk=1\n");
  QVConfig config(RWCString(path.c_str()), true);
  config.valueOrDefault("k", "A").setText("2");
  platform::ReplaceFaultHook previous = platform::setReplaceFaultHook(failRename);
  const int r = config.save();
  platform::setReplaceFaultHook(previous);
  EXPECT_EQ(r, -1);
  EXPECT_NE(std::string(config.saveError().data()).find(path), std::string::npos)
      << config.saveError().data();
  EXPECT_EQ(readFile(path), "[A]\nk=1\n");
  EXPECT_EQ(config.save(), 0);  // the edit is still there for the next try
  EXPECT_TRUE(config.saveError().isEmpty());
  EXPECT_EQ(readFile(path), "[A]\nk=2\n");
}

// An item or block that cannot be written is left out of the save, which reports -1; every other
// change is written all the same.
TEST(QVConfig, UnwritableItemIsLeftOutAndTheRestIsSaved) {
  platform::TempDir dir;
  const std::string path = dir.file("x.cfg");
  struct Case {
    const char* block;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"A", "a=b", "v"}, {"A", ";k", "v"}, {"B]", "k", "v"}, {"A", "[q", "v]"}, {"A", " k", "v"},
  };
  for (const Case& c : cases) {
    writeFile(path, "[A]\nk=1\n");
    QVConfig config(RWCString(path.c_str()), true);
    config.valueOrDefault("k", "A").setText("2");
    config.valueOrDefault(c.key, c.block).setText(c.value);
    EXPECT_EQ(config.save(), -1) << c.key;
    EXPECT_FALSE(config.saveError().isEmpty());
    EXPECT_EQ(readFile(path), "[A]\nk=2\n") << c.key;
  }
}

TEST(QVConfig, KeyStartingWithABracketLoadsChangesAndSaves) {
  platform::TempDir dir;
  const std::string path = dir.file("x.cfg");
  writeFile(path, "[A]\n[x=1\nk=1\n");
  QVConfig config(RWCString(path.c_str()), true);
  ASSERT_TRUE(config.hasItem("[x", "A"));
  config.valueOrDefault("[x", "A").setText("2");
  config.valueOrDefault("k", "A").setText("3");
  EXPECT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(path), "[A]\n[x=2\nk=3\n");
  // A value that would turn the line into a header is refused when it is set.
  config.selectBlock("A");
  EXPECT_EQ(config.setKeyText("[x", "3]"), kConfigUnwritable);
  EXPECT_EQ(config.valueOrDefault("[x", "A").asText(), "2");
}

TEST(QVConfig, SettersRefuseLineBreaks) {
  platform::TempDir dir;
  const std::string path = dir.file("x.cfg");
  writeFile(path, "[A]\nk=1\nj=1\n");
  QVConfig config(RWCString(path.c_str()), true);
  EXPECT_FALSE(config.valueOrDefault("k", "A").setText("a\rb"));
  EXPECT_FALSE(config.valueOrDefault("k", "A").setText(RWCString("a\nb")));
  EXPECT_FALSE(config.valueOrDefault("k", "A").append("\n"));
  EXPECT_EQ(config.valueOrDefault("k", "A").asText(), "1");
  config.selectBlock("A");
  EXPECT_EQ(config.setKeyText("j", "x\ny"), kConfigUnwritable);
  EXPECT_EQ(config.setKeyText("j\n", "x"), kConfigUnwritable);
  EXPECT_EQ(config.setKeyText("j", "2"), 1);
  EXPECT_EQ(config.appendText("3\r"), kConfigUnwritable);
  EXPECT_EQ(config.appendInt(4), 1);
  EXPECT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(path), "[A]\nk=1\nj=2,4\n");
}

TEST(QVConfig, FailedReadIsNeverSavedOverTheFile) {
  platform::TempDir dir;
  const std::string path = dir.file("keep.cfg");
  const std::string whole = "[A]\nk=1\n[B]\nj=2\n";
  writeFile(path, whole);

  platform::FailingStreamBuffer buffer("[A]\nk=1\n[B");
  std::istream in(&buffer);
  QVConfig config(true);
  EXPECT_EQ(config.loadStream(in), -2);
  config.setFileName(path.c_str());
  config.valueOrDefault("k", "A").setText("2");
  EXPECT_EQ(config.save(), -1);
  EXPECT_EQ(readFile(path), whole);

  // saveMerged reads the file whole again and may then save.
  EXPECT_EQ(config.saveMerged(), 1);
  EXPECT_EQ(readFile(path), "[A]\nk=2\n[B]\nj=2\n");
}

// A file that is there but cannot be opened (its mode, a loop of links) or may not be written is
// never replaced: every save fails, and the file keeps its bytes and its mode; a missing file is
// created. Run as a user the modes apply to.
TEST(QVConfig, AFileItsUserCannotReadOrWriteIsNeverReplaced) {
  namespace fs = std::filesystem;
  const std::string whole = "; mine\n[A]\nk=1\n[B]\nj=2\n";
  enum Kind { kMode000, kMode444, kLoop, kMissing };
  struct Case {
    Kind kind;
    const char* expected;   // <F> stands for the file
  } const cases[] = {
      {kMode000, "load 0 save -1 merged -2 lines -2: the file could not be read, so it is not "
                 "written over"},
      {kMode444, "load 1 save -1 merged -2 lines -2: replace <F>: Permission denied"},
      {kLoop, "load 0 save -1 merged -2 lines -2: the file could not be read, so it is not "
              "written over"},
      {kMissing, "load 0 save 0 merged 1 lines 1: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    platform::TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const std::string path = dir.file("plinth.cfg");
    if (c.kind == kLoop) {
      fs::create_symlink("plinth.cfg", path);
    } else if (c.kind != kMissing) {
      writeFile(path, whole);
      fs::permissions(path, c.kind == kMode000 ? fs::perms::none
                                               : fs::perms::owner_read | fs::perms::group_read |
                                                     fs::perms::others_read);
    }
    const platform::UnprivilegedRun run = platform::runUnprivileged(dir.path(), [&] {
      QVConfig config(true);
      const int load = config.loadFile(path.c_str());
      config.valueOrDefault("k", "A").setText("2");
      const int save = config.save();
      const std::string why = str(config.saveError());
      const int merged = config.saveMerged();
      const int lines = saveConfigLines(config.lines(), path.c_str());
      return "load " + std::to_string(load) + " save " + std::to_string(save) + " merged " +
             std::to_string(merged) + " lines " + std::to_string(lines) + ": " + why;
    });
    if (!run.ran) GTEST_SKIP() << run.skipped;
    std::string expected = c.expected;
    if (const std::size_t at = expected.find("<F>"); at != std::string::npos)
      expected.replace(at, 3, path);
    EXPECT_EQ(run.result, expected);
    if (c.kind == kLoop) {
      EXPECT_TRUE(fs::is_symlink(path));
      EXPECT_EQ(fs::read_symlink(path), "plinth.cfg");
    } else if (c.kind == kMissing) {
      EXPECT_EQ(readFile(path), "\n[A]\nk=2\n");
    } else {
      EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
                c.kind == kMode000 ? fs::perms::none
                                   : fs::perms::owner_read | fs::perms::group_read |
                                         fs::perms::others_read);
      fs::permissions(path, fs::perms::owner_read, fs::perm_options::add);
      EXPECT_EQ(readFile(path), whole);
    }
  }
}

TEST(QVConfig, SaveToTheStreamItWasReadFromOverwrites) {
  std::stringstream io("; comment\n[A]\nk=long value here\nlast=1\n");
  QVConfig config(&io, &io, true);
  config.valueOrDefault("k", "A").setText("x");
  ASSERT_EQ(config.save(), 0);
  EXPECT_EQ(io.str(), "; comment\n[A]\nk=x\nlast=1\n");
  ASSERT_EQ(config.save(), 0);  // and again, after the write moved the position
  EXPECT_EQ(io.str(), "; comment\n[A]\nk=x\nlast=1\n");
}

TEST(QVConfig, SaveMergedKeepsLinesChangedByOthers) {
  platform::TempDir dir;
  const std::string path = dir.file("m.cfg");
  writeFile(path, "[A]\nk=1\n");
  QVConfig config(RWCString(path.c_str()), true);
  config.valueOrDefault("k", "A").setText("mine");
  writeFile(path, "; added by someone\n[A]\nk=1\n[Other]\no=1\n");
  EXPECT_EQ(config.saveMerged(), 1);
  EXPECT_EQ(readFile(path), "; added by someone\n[A]\nk=mine\n[Other]\no=1\n");

  std::stringstream io("[A]\nk=1\n");
  QVConfig streamed(&io, &io, true);
  streamed.valueOrDefault("j", "A").setText("2");
  EXPECT_EQ(streamed.saveMerged(), 1);
  EXPECT_EQ(io.str(), "[A]\nk=1\nj=2\n");
}

TEST(QVConfig, BlocksAddRemoveRename) {
  std::istringstream in("[A]\na=1\n[B]\nb=1\n");
  QVConfig config(&in, nullptr, true);
  ChangeCounter counter;
  config.addReceiver(&counter);
  EXPECT_EQ(config.addBlock("N", "A"), 1);
  EXPECT_EQ(config.addBlock("n"), 0);
  EXPECT_EQ(config.addBlock("E"), 1);
  EXPECT_EQ(config.renameBlock("B", "C"), 1);
  EXPECT_EQ(config.renameBlock("C", "a"), -1);  // would merge two blocks
  EXPECT_EQ(config.renameBlock("missing", "x"), 0);
  EXPECT_EQ(config.removeBlock("A"), 1);
  EXPECT_EQ(config.removeBlock("A"), 0);
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(savedText(config), "[N]\n\n[C]\nb=1\n\n\n[E]\n");
  RWTValOrderedVector<RWCString> names = config.blockNames();
  ASSERT_EQ(names.count(), 3u);
  EXPECT_EQ(names[0], "C");  // model order: blocks as met, then as created
  EXPECT_EQ(config.blockKeys("c").count(), 1u);
}

TEST(QVConfig, ValueOrDefaultOnMissingBlockCreatesBoth) {
  std::stringstream io("[A]\na=1\n");
  QVConfig config(&io, &io, true);
  EXPECT_EQ(config.valueOrDefault("k", "Z", "dflt").asText(), "dflt");
  EXPECT_EQ(config.valueOrDefault("k", "Z", nullptr).asText(), "dflt");
  ASSERT_EQ(config.save(), 0);
  EXPECT_EQ(io.str(), "[A]\na=1\n\n\n[Z]\nk=dflt\n");
}

TEST(QVConfig, RemovingKeysWhileIteratingVisitsEveryKey) {
  std::istringstream in("[A]\nk1=drop\nk2=keep\nk3=drop\nk4=drop\nk5=keep\n");
  QVConfig config(&in, nullptr, true);
  config.selectBlock("A");
  std::string visited;
  RWCString key;
  for (bool more = config.firstKey(key); more; more = config.nextKey(key)) {
    visited += str(key) + " ";
    RWCString text;
    config.getText(key, text);
    if (text == "drop") config.removeKey(key);
  }
  EXPECT_EQ(visited, "k1 k2 k3 k4 k5 ");
  RWTValOrderedVector<RWCString> keys = config.blockKeys("A");
  ASSERT_EQ(keys.count(), 2u);
  EXPECT_EQ(keys[0], "k2");
  EXPECT_EQ(keys[1], "k5");
}

TEST(QVConfig, RemovingBlocksWhileIteratingVisitsEveryBlock) {
  std::istringstream in("[A]\n[B]\n[C]\n");
  QVConfig config(&in, nullptr, true);
  std::string visited;
  RWCString name;
  for (bool more = config.firstBlock(name); more; more = config.nextBlock(name)) {
    visited += str(name);
    if (name != "C") config.removeBlock(name);
  }
  EXPECT_EQ(visited, "ABC");
  EXPECT_EQ(config.blockNames().count(), 1u);
}

// The typed getters read an element as "%lf" does: hexadecimal numbers included.
TEST(QVConfig, TypedGettersReadNumbersAsScanfDoes) {
  std::istringstream in("[N]\nhex=0x1A\nhexfrac=0x1.8p1\nlist=0x10, -0x1p-1,1e2\n");
  QVConfig config(&in, nullptr, true);
  config.selectBlock("N");
  auto scanned = [](const char* text) {
    double d = 0;
    EXPECT_EQ(std::sscanf(text, "%lf", &d), 1) << text;
    return d;
  };
  double d = 0;
  EXPECT_TRUE(config.getDouble("hex", d));
  EXPECT_EQ(d, 26.0);
  EXPECT_EQ(d, scanned("0x1A"));
  EXPECT_TRUE(config.getDouble("hexfrac", d));
  EXPECT_EQ(d, 3.0);
  EXPECT_EQ(d, scanned("0x1.8p1"));
  EXPECT_TRUE(config.getDouble("list", d));
  EXPECT_EQ(d, 16.0);
  for (const char* element : {"0x10", " -0x1p-1", "1e2"}) {
    EXPECT_TRUE(config.nextDouble(d)) << element;
    EXPECT_EQ(d, scanned(element)) << element;
  }
}

TEST(QVConfig, CursorTypedAccess) {
  std::istringstream in("[Pen]\nlist=1.5, 2 ,x\nflag=Ja\nnum=42abc\n");
  QVConfig config(&in, nullptr, true);
  EXPECT_TRUE(config.selectBlock("pen"));
  RWCString text;
  config.getText("list", text);
  EXPECT_EQ(text, "1.5, 2 ,x");
  EXPECT_EQ(config.elementCount(), 3);
  double d = 0;
  EXPECT_TRUE(config.nextDouble(d));
  EXPECT_DOUBLE_EQ(d, 1.5);
  int i = 0;
  EXPECT_TRUE(config.nextInt(i));
  EXPECT_EQ(i, 2);
  d = 7;
  EXPECT_FALSE(config.nextDouble(d));  // "x"
  EXPECT_EQ(d, 7);
  EXPECT_FALSE(config.nextDouble(d));  // nothing left
  EXPECT_TRUE(config.getDouble("list", d));
  EXPECT_DOUBLE_EQ(d, 1.5);
  EXPECT_TRUE(config.getInt("num", i));
  EXPECT_EQ(i, 42);
  bool flag = false;
  EXPECT_EQ(config.getBool("flag", flag), 1);
  EXPECT_TRUE(flag);

  // The plain getters leave an empty, set item behind; the guarded ones create nothing.
  EXPECT_FALSE(config.getIntIfPresent("ghost", i));
  EXPECT_FALSE(config.hasKey("ghost"));
  EXPECT_FALSE(config.getInt("ghost", i));
  EXPECT_TRUE(config.hasKey("ghost"));
  EXPECT_TRUE(config.findItem("ghost", "Pen")->value().isSet());
  RWCString element = "unchanged";
  EXPECT_FALSE(config.getElementIfPresent("nope", element));
  EXPECT_EQ(element, "unchanged");
  EXPECT_TRUE(config.getElementIfPresent("list", element));
  EXPECT_EQ(element, "1.5");

  EXPECT_FALSE(config.selectBlock("Fresh"));
  EXPECT_TRUE(config.hasBlock("fresh"));
  config.getText("empty", text);
  EXPECT_EQ(config.elementCount(), 1);
  config.setKeyText("three", "a,b,c");
  config.getText("three", text);
  EXPECT_EQ(config.elementCount(), 3);
}

TEST(QVConfig, CursorSettersWriteTheItem) {
  QVConfig config(true);
  config.selectBlock("S");
  config.setInt("i", 5);
  config.appendInt(6);
  config.appendDouble(0.5);
  config.appendText("t");
  EXPECT_EQ(config.findItem("i", "S")->value().asText(), "5,6,0.500000,t");
  config.setDouble("d", 2.25);
  EXPECT_EQ(config.findItem("d", "S")->value().asText(), "2.250000");
  config.setBool("b", false);
  EXPECT_EQ(config.findItem("b", "S")->value().asText(), "false");
  config.setFormatted("f", "%s-%03d", "x", 7);
  EXPECT_EQ(config.findItem("f", "S")->value().asText(), "x-007");
  config.appendFormatted("%d", 8);
  EXPECT_EQ(config.findItem("f", "S")->value().asText(), "x-007,8");

  // Longer than any fixed buffer.
  const std::string longText(5000, 'q');
  config.setFormatted("long", "%s|%s", longText.c_str(), longText.c_str());
  EXPECT_EQ(config.findItem("long", "S")->value().asText().length(), 10001u);

  config.removeKey("S", "i");
  EXPECT_FALSE(config.hasItem("i", "S"));
  EXPECT_EQ(config.removeKey("NoSuchBlock", "d"), 0);
  EXPECT_TRUE(config.hasItem("d", "S"));
}

bool selectCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name)) return true;
  return false;
}

TEST(QVConfig, FormattedNumbersIgnoreTheLocale) {
  if (!selectCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  QVConfig config(true);
  config.selectBlock("S");
  config.setFormatted("f", "%.2f", 2.5);
  config.setDouble("d", 0.5);
  double d = 0;
  config.setKeyText("r", "1.25");
  const bool read = config.getDouble("r", d);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(config.findItem("f", "S")->value().asText(), "2.50");
  EXPECT_EQ(config.findItem("d", "S")->value().asText(), "0.500000");
  EXPECT_TRUE(read);
  EXPECT_DOUBLE_EQ(d, 1.25);
}

TEST(QVConfig, NumberedAndRecentValues) {
  QVConfig config(true);
  RWTValOrderedVector<RWCString> list;
  list.append("a");
  list.append("b");
  config.setNumberedValues("File", "Recent", 3, list);
  RWTValOrderedVector<RWCString> out;
  config.numberedValues("File", "Recent", 3, out);
  ASSERT_EQ(out.count(), 3u);
  EXPECT_EQ(out[1], "b");
  EXPECT_EQ(out[2], "");

  config.pushRecentValue("File", "Recent", "b", 3);  // moves to the front
  RWTValOrderedVector<RWCString> after;
  config.numberedValues("File", "Recent", 3, after);
  EXPECT_EQ(after[0], "b");
  EXPECT_EQ(after[1], "a");
  EXPECT_EQ(after[2], "");
  config.pushRecentValue("File", "Recent", "c", 2);  // the oldest falls off
  EXPECT_EQ(config.findItem("File1", "Recent")->value().asText(), "c");
  EXPECT_EQ(config.findItem("File2", "Recent")->value().asText(), "b");
  EXPECT_EQ(config.findItem("File3", "Recent")->value().asText(), "");
}

TEST(QVConfig, AutoSaveOnlyWhenAsked) {
  platform::TempDir dir;
  const std::string path = dir.file("auto.cfg");
  writeFile(path, "[A]\nk=1\n");
  {
    QVConfig config(RWCString(path.c_str()), true);
    config.valueOrDefault("k", "A").setText("2");
  }
  EXPECT_EQ(readFile(path), "[A]\nk=1\n");
  {
    QVConfig config(RWCString(path.c_str()), true);
    config.setAutoSave(true);
    config.valueOrDefault("k", "A").setText("3");
  }
  EXPECT_EQ(readFile(path), "[A]\nk=3\n");
}

TEST(QVConfig, TableWordsRejectBadIndexes) {
  EXPECT_EQ(QVConfig::setTableWord(6, "six"), 1);
  EXPECT_EQ(QVConfig::tableWord(6), "six");
  EXPECT_EQ(QVConfig::setTableWord(7, "x"), 0);
  EXPECT_EQ(QVConfig::setTableWord(-1, "x"), 0);
  EXPECT_EQ(QVConfig::tableWord(7), "");
}

// The golden round trip: comments, blank lines, odd spacing, CR LF ends, unknown lines and
// duplicates survive; only the edited lines differ.
TEST(QVConfig, GoldenFileRoundTrip) {
  const std::string source = testData("golden.cfg");
  const std::string expected = testData("golden-edited.cfg");
  platform::TempDir dir;
  const std::string path = dir.file("golden.cfg");
  writeFile(path, readFile(source));
  ASSERT_FALSE(readFile(path).empty());

  QVConfig config(RWCString(path.c_str()), true);
  config.valueOrDefault("SolidHeavy", "LAYER").setText("Heavy Lines");  // spaced original line
  config.valueOrDefault("Repeated", "Layer").setText("3");              // a duplicate key
  config.valueOrDefault("SATVersion", "xchg3d").setText("7.0");        // in a duplicate block
  config.valueOrDefault("Added", "Options").setText("new");            // a new line
  ASSERT_EQ(config.save(), 0);
  EXPECT_EQ(readFile(path), readFile(expected));

  // Saving the reloaded file again changes nothing.
  QVConfig again(RWCString(path.c_str()), true);
  ASSERT_EQ(again.save(), 0);
  EXPECT_EQ(readFile(path), readFile(expected));
}

}  // namespace
