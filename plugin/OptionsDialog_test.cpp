// The options dialog against the simulated host, driven by queued dialog actions as a user would
// drive it, with the sample installation's dialog file. Each test has its own user configuration
// and definition files in a temporary folder, its own variable tables and registry root; what
// the dialog saved is read back from the file with a fresh configuration object.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/QVConfig.h"
#include "config/VariableTables.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"
#include "plugin/OptionsDialog.h"
#include "platform/FileSystem.h"
#include "platform/testing/FailingStreamBuffer.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

kxhost::HostSession& host() { return kxhost::HostSession::instance(); }

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kSampleDialogs =
    fs::path(__FILE__).parent_path().parent_path().string() + "/examples/setup/kestrix.dcl";

const char* const kLineTypes =
    "[CONTINUOUS]\ndefault=Continuous\n"
    "[VERDECKT]\ndefault=Verdeckt\nenglish=Hidden\n"
    "[MITTE]\ndefault=Mitte\nenglish=Center\n";

// Two definitions whose display names differ only in letter case: the later one is current.
const char* const kColours =
    "[1]\ndefault=red\ngerman=rot\n"
    "[3]\ndefault=green\n"
    "[8]\ndefault=grey\n"
    "[9]\ndefault=Grey\n";

const char* const kUserConfig =
    "; the user's own comment\n"
    "[Options]\nInchAllowed=0\nAcadLin=mine.lin\n"
    "[Layer]\nSolidHeavy=KONTUR\nHidden=VERDECKT\nCosm=KOSM\n"
    "[LineType]\nHidden=Verdeckt\nHatch=Dashed\n"
    "[LineColor]\nCenter=red\n"
    "[XCHG3D]\nSATVersion=1.6\n"
    "[BYNAME]\nBYBLOCK=VONBLOCK\n";

constexpr int kHiddenLayer = kSetLayerFirst + static_cast<int>(kPenHidden);

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host().reset();
    clearVariables();
    clearFallbackVariables();
    fs::create_directories(dir.file("setup"));
    fs::create_directories(dir.file("user"));
    setVariable("QUORVEL_SETUP", dir.file("setup").c_str());
    setVariable("QUORVEL_USER", dir.file("user").c_str());
    setVariable("QUORVEL_LANGUAGE", "english");
    fs::copy_file(kSampleDialogs, dir.file("setup/kestrix.dcl"));
    std::ofstream(dir.file("setup/dxflinetypes.def")) << kLineTypes;
    std::ofstream(dir.file("setup/dxflinecolors.def")) << kColours;
  }
  void TearDown() override {
    clearVariables();
    clearFallbackVariables();
    host().reset();
  }

  // Writes the user configuration and loads a context as the dispatcher does.
  CommandContext& load(const std::string& userConfig = kUserConfig) {
    std::ofstream(userFile(), std::ios::binary) << userConfig;
    context.loadUserConfig();
    context.loadLineTypeAndColourDefinitions();
    context.buildPenClassTables();
    return context;
  }

  // Queues dialog actions as a script writes them ("tile KEY TEXT", "press KEY", "cancel").
  void act(std::initializer_list<const char*> lines) {
    for (const char* line : lines) {
      kxhost::Answer a;
      std::string error;
      ASSERT_TRUE(kxhost::InputQueue::parse(line, a, error)) << line << ": " << error;
      host().input().push(a);
    }
  }

  // Runs the dialog on the queued actions; every action must have been used and the host must
  // have refused nothing.
  void run() {
    EXPECT_EQ(context.runOptionsDialog(), 1);
    EXPECT_TRUE(host().input().empty()) << transcript();
    std::istringstream lines(transcript());
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("host: ", 0) != 0) continue;
      const bool opens = line.size() > 6 && line.compare(line.size() - 6, 6, " opens") == 0;
      EXPECT_TRUE(opens) << "refused by the host: " << line;
    }
  }

  // A value of the saved file, read back by a fresh configuration.
  std::string saved(const char* block, const char* key) {
    QVConfig file(RWCString(userFile().c_str()), true);
    QVConfigItem* item = file.findItem(key, block);
    return item ? str(item->value().asText()) : "(missing)";
  }

  // How often the transcript holds the text.
  static std::size_t occurrences(const std::string& text) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = transcript().find(text, at)) != std::string::npos; ++at) ++n;
    return n;
  }

  std::string userFile() { return dir.file("user/plinth.cfg"); }
  static const std::string& transcript() { return host().transcript().text(); }

  platform::TempDir dir{"kestrix-options"};
  platform::ScopedEnv registry{"KESTRIX_REGISTRY", dir.file("registry")};
  CommandContext context;
};

}  // namespace

// Accept stores the text of every tile that has a setting and saves the whole file; the settings
// that are not on the dialog (1, 2, the hatch line type) and the user's comments stay.
TEST_F(OptionsDialogTest, AcceptStoresEveryTileAndSavesTheFile) {
  // A file name longer than the tile buffer comes back whole.
  const std::string longName = "c:\\" + std::string(300, 'n') + ".sat";
  load(std::string(kUserConfig) + "[XCHG3D]\nSATFileName=" + longName + "\n");
  act({"tile layer_hidden HID2", "tile lcolor_center 3", "tile SATVERSION 7.0",
       "tile METAXCHGNAME c:\\parts\\out.ps2", "tile ltype_hatch Dotted", "tile layer_cosm",
       "press accept"});
  run();

  struct Row {
    const char* block;
    const char* key;
    std::string value;
  };
  const Row rows[] = {
      {"Layer", "Hidden", "HID2"},           {"LineColor", "Center", "3"},
      {"XCHG3D", "SATVersion", "7.0"},        {"XCHG2D", "MetaFileName", "c:\\parts\\out.ps2"},
      {"Layer", "Cosm", ""},                  {"Layer", "SolidHeavy", "KONTUR"},
      {"LineType", "Hidden", "Verdeckt"},     {"LineType", "Center", "Mitte"},
      {"LineColor", "Hatch", "7"},            {"XCHG3D", "SATFileName", longName},
      // not on the dialog
      {"LineType", "Hatch", "Dashed"},        {"Options", "InchAllowed", "0"},
      {"Options", "AcadLin", "mine.lin"},     {"BYNAME", "BYBLOCK", "VONBLOCK"},
  };
  for (const Row& r : rows) EXPECT_EQ(saved(r.block, r.key), r.value) << r.block << "/" << r.key;
  EXPECT_EQ(readFile(userFile()).rfind("; the user's own comment\n", 0), 0u);
  EXPECT_EQ(str(context.valueById(kHiddenLayer).asText()), "HID2");
}

TEST_F(OptionsDialogTest, CancelLeavesTheSettingsAndTheFileAsTheyWere) {
  load();
  const std::string before = readFile(userFile());
  for (const char* end : {"cancel", static_cast<const char*>(nullptr)}) {   // or no more actions
    act({"tile layer_hidden HID2", "tile lcolor_center 3"});
    if (end) act({end});
    EXPECT_EQ(context.runOptionsDialog(), 1);
    EXPECT_EQ(readFile(userFile()), before);
    EXPECT_EQ(str(context.valueById(kHiddenLayer).asText()), "VERDECKT");
  }
}

// A configuration stored under a name comes back into the dialog's tiles; the user still has to
// accept the main dialog for it to become the settings.
TEST_F(OptionsDialogTest, AStoredConfigurationIsSavedAndLoadedBack) {
  load();
  act({"tile layer_hidden STORED", "tile lcolor_hatch 5", "tile SATVERSION 9.9",
       "press save", "tile cfgname Werk A", "press accept",
       "tile layer_hidden OTHER", "tile lcolor_hatch 1",
       "press load", "tile cfglist 0", "press accept",
       "press accept"});
  run();
  EXPECT_EQ(saved("config_Werk A", "DESC"), "Werk A");
  EXPECT_EQ(saved("config_Werk A", "LY_Hidden"), "STORED");
  EXPECT_EQ(saved("config_Werk A", "LC_Hatch"), "5");
  EXPECT_EQ(saved("config_Werk A", "LT_Center"), "Mitte");
  EXPECT_EQ(saved("config_Werk A", "LY_Cosm"), "KOSM");
  // Exchange files and SAT version are not part of it, nor the hatch line type.
  EXPECT_EQ(saved("config_Werk A", "LT_Hatch"), "(missing)");
  EXPECT_EQ(saved("config_Werk A", "SATVersion"), "(missing)");
  // Loaded back and accepted: the stored values are the settings now.
  EXPECT_EQ(saved("Layer", "Hidden"), "STORED");
  EXPECT_EQ(saved("LineColor", "Hatch"), "5");
  EXPECT_EQ(saved("XCHG3D", "SATVersion"), "9.9");
}

TEST_F(OptionsDialogTest, SavingUnderAStoredNameReplacesItsValues) {
  load(std::string(kUserConfig) +
       "[CONFIG_werk a]\nDESC=werk a\nLY_Hidden=OLD\nLY_Center=KEPT\nNOTE=mine\n"
       "[config_other]\nDESC=Other\n");
  act({"tile layer_hidden NEW", "tile layer_center MID", "press save", "tile cfgname Werk A",
       "press accept", "cancel"});
  run();
  EXPECT_EQ(saved("config_werk a", "DESC"), "Werk A");
  EXPECT_EQ(saved("config_werk a", "LY_Hidden"), "NEW");
  EXPECT_EQ(saved("config_werk a", "LY_Center"), "MID");
  EXPECT_EQ(saved("config_werk a", "NOTE"), "mine");
  // One block of that name, listed once, in the order of the file.
  const std::string file = readFile(userFile());
  EXPECT_EQ(file.find("config_Werk A]"), std::string::npos) << file;
  const RWTValOrderedVector<RWCString> blocks = storedConfigurationBlocks(context);
  ASSERT_EQ(blocks.count(), 2u);
  EXPECT_EQ(str(blocks[0]), "CONFIG_werk a");
  EXPECT_EQ(str(blocks[1]), "config_other");
  // The stored configuration was saved, the main dialog's edits were cancelled.
  EXPECT_EQ(saved("Layer", "Hidden"), "VERDECKT");
}

TEST_F(OptionsDialogTest, TheLoadListShowsEachTranslatedDescription) {
  load(std::string(kUserConfig) + "[config_a]\nDESC=Werkstatt\n[Configuration]\nDESC=no\n"
                                  "[config_b]\nDESC=Labor\n[config_c]\n");
  std::ofstream(dir.file("kestrix.nls")) << "\"Werkstatt\",\"Workshop\"\n";
  context.readCatalogue(dir.file("kestrix.nls").c_str());
  const RWTValOrderedVector<RWCString> blocks = storedConfigurationBlocks(context);
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < blocks.count(); ++i)
    labels.push_back(str(storedConfigurationLabel(context, blocks[i])));
  EXPECT_EQ(labels, (std::vector<std::string>{"Workshop", "Labor", ""}));
  EXPECT_EQ(context.findItem("DESC", "config_c"), nullptr);   // showing it created nothing
}

// A load dialog accepted with no entry chosen changes nothing (the tile holds no number); a
// chosen entry whose block lacks keys gives those tiles the empty text.
TEST_F(OptionsDialogTest, LoadAcceptsOnlyAChosenEntry) {
  load(std::string(kUserConfig) + "[config_x]\nDESC=x\nLY_Hidden=STORED\n");
  act({"tile layer_hidden MINE", "press load", "press accept", "press accept"});
  run();
  EXPECT_EQ(saved("Layer", "Hidden"), "MINE");
  EXPECT_EQ(saved("Layer", "SolidHeavy"), "KONTUR");

  act({"press load", "tile cfglist 0", "press accept", "press accept"});
  run();
  EXPECT_EQ(saved("Layer", "Hidden"), "STORED");
  EXPECT_EQ(saved("Layer", "SolidHeavy"), "");
  EXPECT_EQ(saved("config_x", "LC_Hatch"), "");   // created empty in memory, then saved
}

// A name that cannot stand in a block header is refused with an alert and the save dialog stays
// open; blanks around a name are dropped, and the empty name is stored as the block "config_".
// The file stays savable throughout.
TEST_F(OptionsDialogTest, ANameThatWouldBreakTheFileIsRefused) {
  load();
  act({"tile layer_hidden H", "press save", "tile cfgname a]b", "press accept",
       "tile cfgname a\rb", "press accept", "tile cfgname \"  Good \t\"", "press accept",
       "press save", "tile cfgname \"  \"", "press accept", "press accept"});
  run();
  EXPECT_EQ(occurrences("ALERT: Ungültige Angaben"), 2u) << transcript();
  EXPECT_EQ(saved("config_Good", "DESC"), "Good");
  EXPECT_EQ(saved("config_", "DESC"), "");
  EXPECT_EQ(saved("config_", "LY_Hidden"), "H");
  EXPECT_EQ(saved("Layer", "Hidden"), "H");
  const std::string file = readFile(userFile());
  EXPECT_NE(file.find("\n[config_]\nDESC=\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("a]b"), std::string::npos);
  EXPECT_EQ(file.find('\r'), std::string::npos);
  EXPECT_EQ(storedConfigurationBlocks(context).count(), 2u);
}

// A tile text holding a line break cannot be a value of the file: accepting the main dialog or
// storing a configuration with it is refused with an alert, nothing is stored, and the dialog
// stays open with the entries so they can be mended.
TEST_F(OptionsDialogTest, AValueWithALineBreakIsRefusedWhenAccepted) {
  load();
  const std::string before = readFile(userFile());
  act({"tile layer_hidden UN\rSICHTBAR", "tile layer_center M", "press accept",
       "press save", "tile cfgname W", "press accept", "cancel",
       "tile layer_hidden UNSICHTBAR", "press accept"});
  run();
  EXPECT_EQ(occurrences("ALERT: Ungültige Angaben\n"), 2u) << transcript();
  EXPECT_EQ(saved("Layer", "Hidden"), "UNSICHTBAR");
  EXPECT_EQ(saved("Layer", "Center"), "M");
  EXPECT_EQ(saved("config_W", "DESC"), "(missing)");
  EXPECT_EQ(readFile(userFile()).find('\r'), std::string::npos);
  EXPECT_NE(readFile(userFile()), before);
}

// A save that fails is reported with the file's name and the reason, the old file stays whole
// and the dialog stays open; accepting again once the cause is gone saves.
TEST_F(OptionsDialogTest, AFailedSaveIsReportedAndTheOldFileStays) {
  load();
  const std::string before = readFile(userFile());
  static bool failRename = true;
  const platform::ReplaceFaultHook previous = platform::setReplaceFaultHook(
      [](platform::ReplaceStep step) { return failRename && step == platform::ReplaceStep::Rename; });
  act({"tile layer_hidden NEU", "press accept", "press save", "tile cfgname W", "press accept",
       "cancel", "cancel"});
  run();
  const std::string reported =
      "ALERT: Die Datei " + userFile() + " konnte nicht gespeichert werden: rename over " +
      userFile() + ": Input/output error\n";
  EXPECT_EQ(occurrences(reported), 2u) << transcript();
  EXPECT_EQ(readFile(userFile()), before);

  // The user folder is gone: the reason is the system's.
  host().reset();
  failRename = false;
  platform::setReplaceFaultHook(previous);
  fs::remove_all(dir.file("user"));
  act({"press accept", "cancel"});
  run();
  EXPECT_NE(transcript().find("ALERT: Die Datei " + userFile() +
                              " konnte nicht gespeichert werden: create temporary file for " +
                              userFile() + ": No such file or directory\n"),
            std::string::npos)
      << transcript();

  host().reset();
  fs::create_directories(dir.file("user"));
  act({"tile layer_hidden NEU", "press accept"});
  run();
  EXPECT_EQ(saved("Layer", "Hidden"), "NEU");
}

// A configuration that was not read whole (a read error part way), or whose file is there but
// could not be opened (a loop of links), is never saved over the file: accepting and storing a
// named configuration each show the alert with the file and the reason, the file stays as it was
// and the dialog stays open.
TEST_F(OptionsDialogTest, AFileNotReadWholeIsNeverSavedOver) {
  struct Case {
    bool readError;   // else a loop of links
    const char* reason;
  } const cases[] = {{true, "sie wurde nicht vollständig gelesen"},
                     {false, "sie konnte nicht gelesen werden"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    host().reset();
    fs::remove(userFile());
    platform::FailingStreamBuffer failing(std::string(kUserConfig).substr(0, 60));
    std::istream in(&failing);
    if (c.readError) {
      load();
      const RWCString name = context.fileName();
      ASSERT_EQ(context.loadStream(in), -2);   // the file's read, failing after its first lines
      context.setFileName(name);
    } else {
      fs::create_symlink("plinth.cfg", userFile());
      context.loadUserConfig();
    }
    act({"tile layer_hidden NEU", "press accept", "press save", "tile cfgname W", "press accept",
         "cancel", "cancel"});
    run();
    const std::string reported = "ALERT: Die Datei " + userFile() +
                                 " konnte nicht gespeichert werden: " + c.reason + "\n";
    EXPECT_EQ(occurrences(reported), 2u) << transcript();
    if (c.readError) {
      EXPECT_EQ(readFile(userFile()), kUserConfig);
    } else {
      EXPECT_TRUE(fs::is_symlink(userFile()));
      EXPECT_EQ(fs::read_symlink(userFile()), "plinth.cfg");
    }
  }
}

// A pick writes the entry's name (the display name of a colour, not its number); the list opens
// on the tile's current text in any letter case, the last entry of that name when several are.
TEST_F(OptionsDialogTest, PicksWriteTheChosenNameIntoTheirTile) {
  load();
  act({"tile lcolor_center RED", "press clbut_center", "press accept",   // current: red
       "tile lcolor_hidden GREY", "press clbut_hidden", "press accept",  // current: the last
       "press clbut_solidheavy", "tile vallist 1", "press accept",       // chosen: green
       "tile lcolor_hatch unknown", "press clbut_hatch", "press accept", // none current
       "press ltbut_hidden", "tile vallist 2", "press accept",
       "tile ltype_solidlight hidden", "press ltbut_solidlight", "press accept",
       "press ltbut_hatch", "tile vallist 0", "press accept",             // only the tile
       "press clbut_solidlight", "cancel",                                // cancelled: unchanged
       "press accept"});
  run();
  EXPECT_EQ(saved("LineColor", "Center"), "red");
  EXPECT_EQ(saved("LineColor", "Hidden"), "Grey");
  EXPECT_EQ(saved("LineColor", "SolidHeavy"), "green");
  EXPECT_EQ(saved("LineColor", "Hatch"), "unknown");
  EXPECT_EQ(saved("LineType", "Hidden"), "Center");
  EXPECT_EQ(saved("LineType", "SolidLight"), "Hidden");
  EXPECT_EQ(saved("LineType", "Hatch"), "Dashed");
  EXPECT_EQ(saved("LineColor", "SolidLight"), "7");
}

TEST_F(OptionsDialogTest, AMissingDialogFileEndsTheCommandAsFailed) {
  load();
  fs::remove(dir.file("setup/kestrix.dcl"));
  EXPECT_EQ(context.runOptionsDialog(), -1);
  EXPECT_NE(transcript().find("ALERT: Datei " + dir.file("setup") + "/kestrix.dcl wurde nicht"),
            std::string::npos)
      << transcript();
}
