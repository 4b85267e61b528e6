// The catalogue commands and the launcher against the simulated host, in this process. The
// launcher is a stand-in shell script that records the arguments it was started with (one
// "[argument]" each), whether the old exchange files were still there, and, after a pause, that
// it ended; the launcher settings, the user configuration and the exchange files live in a
// temporary folder of each test, with its own variable tables and registry root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "plugin/testing/PluginTestFixture.h"

namespace fs = std::filesystem;

namespace {

using kxtest::readFile;

class CatalogueCommandsTest : public kxtest::PluginHostTest {
 protected:
  CatalogueCommandsTest() : PluginHostTest("kestrix-catalogue") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    setVariable("STANDINS", standins.c_str());
    fs::create_directories(standins);
    // Catalogue programs: only their existence matters, the launcher does not run them.
    std::ofstream(standins + "/viewer") << "viewer\n";
    std::ofstream(standins + "/viewer 3d") << "viewer 3d\n";
  }

  // A launcher stand-in at path that records into record and ends after pauseSeconds.
  void writeLauncher(const std::string& path, const char* pauseSeconds) {
    std::ofstream out(path);
    out << "#!/bin/sh\n"
        << "for a in \"$0\" \"$@\"; do printf '[%s]' \"$a\" >> '" << record << "'; done\n"
        << "echo >> '" << record << "'\n"
        << "for f in '" << metafile << "' '" << satfile << "'; do\n"
        << "  if [ -e \"$f\" ]; then echo \"old $f\" >> '" << record << "'; fi\n"
        << "done\n"
        << "sleep " << pauseSeconds << "\n"
        << "echo ended >> '" << record << "'\n";
    out.close();
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }

  // Writes trovsol.cfg, plinth.cfg (all pen classes on layer 0 with CONTINUOUS unless extra
  // settings say otherwise) and old exchange files, and loads a context as the dispatcher does.
  CommandContext& configure(const std::string& launcherSettings,
                            const std::string& hiddenLineType = "Continuous") {
    std::ofstream(dir.file("trovsol.cfg")) << launcherSettings;
    std::ofstream(dir.file("plinth.cfg"))
        << "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=" << hiddenLineType
        << "\nCenter=Continuous\nHeavyDashDot=Continuous\n"
        << "[XCHG2D]\nMetaFileName=" << metafile << "\n"
        << "[XCHG3D]\nSATFileName=" << satfile << "\nSATVersion=7.0\n";
    std::ofstream(metafile) << "old part\n";
    std::ofstream(satfile) << "old part\n";
    return loadContext();
  }

  // A folder whose name holds a blank: paths with blanks must still start the right programs.
  const std::string standins = dir.file("stand ins");
  const std::string record = dir.file("launches.txt");
  const std::string metafile = dir.file("plinth.out");
  std::string satfile = dir.file("acadxchg.sat");
};

}  // namespace

// The viewer command removes the old exchange file, starts the launcher with the program and the
// exchange arguments, waits until the launcher has ended while draining the host's messages
// (pausing between polls rather than spinning), and then reaches the insertion, which this
// build does not have.
TEST_F(CatalogueCommandsTest, ViewerStartsTheLauncherAndWaitsForItsEnd) {
  writeLauncher(standins + "/trovstart", "1.5");
  CommandContext& ctx = configure(
      "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVviewer]\nEXE=$STANDINS/viewer\n");

  EXPECT_EQ(ctx.runViewerCommand(), -1);

  EXPECT_EQ(readFile(record), "[" + standins + "/trovstart][-pview][" + standins +
                                  "/viewer][-server][TrovViewer][-topic][TrovViewer][-poke]"
                                  "[RECEIVERCADID=Autocad.2d][-fm][METAV2][-o][" +
                                  metafile + "]\n"
                                  "old " + satfile + "\n"
                                  "ended\n");
  // The stand-in writes no exchange file, so the insertion reports it missing.
  EXPECT_TRUE(transcriptHas("\nMetadatei " + metafile + " wurde nicht gefunden!")) << transcript();
  EXPECT_FALSE(transcriptHas("ALERT")) << transcript();
  // The launcher ran for 1.5 s after the first second's sleep: the wait drained the host's
  // messages after every poll, with a pause between polls (a spinning wait drains many
  // thousands of times in that time).
  EXPECT_GE(host().drainCount(), 2u);
  EXPECT_LE(host().drainCount(), 200u);
}

// A 3D command puts the SAT version and file on the line; a program block written in lower case
// with only EXE3D serves it; a long exchange file name reaches the program whole; the command
// ends as done although the insertion failed.
TEST_F(CatalogueCommandsTest, Viewer3dPassesTheSatExchangeAndEndsDone) {
  writeLauncher(standins + "/trovstart", "0");
  const std::string longName = dir.file(std::string(5000, 'n') + ".sat");
  CommandContext& ctx = configure(
      "[trovstart]\nexe=$STANDINS/trovstart\n[trovviewer]\nEXE=\nEXE3D=$STANDINS/viewer 3d\n");
  EXPECT_EQ(ctx.runViewer3dCommand(), 1);
  EXPECT_EQ(readFile(record), "[" + standins + "/trovstart][-pview][" + standins +
                                  "/viewer 3d][-server][TrovViewer][-topic][TrovViewer][-poke]"
                                  "[RECEIVERCADID=Autocad.3d][-fm][sat][-poke]"
                                  "[FormatVersion=7.0][-o][" +
                                  satfile + "]\nold " + metafile + "\nended\n");

  fs::remove(record);
  satfile = longName;
  CommandContext& longCtx = configure(
      "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVassembly]\nEXE=$STANDINS/viewer\n");
  EXPECT_EQ(longCtx.runAssembly3dCommand(), 1);
  const std::string recorded = readFile(record);
  EXPECT_NE(recorded.find("[-server][TrovAssembly][-topic][TrovAssembly][-poke]"),
            std::string::npos)
      << recorded;
  EXPECT_NE(recorded.find("[-o][" + longName + "]\n"), std::string::npos);
}

// An exchange file name holding blanks, or text that looks like further options, reaches the
// program as the one argument after "-o"; a name without blanks, tabs or quotes stays as it is.
TEST_F(CatalogueCommandsTest, ExchangeFileNamesAreOneArgumentEach) {
  writeLauncher(standins + "/trovstart", "0");
  const std::string metaName = dir.file("my parts.out");
  const std::string satName = dir.file("x.sat -o c:\\other.out \"q\"");
  const std::string settings =
      "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVviewer]\nEXE=$STANDINS/viewer\n";
  std::ofstream(dir.file("trovsol.cfg")) << settings;
  std::ofstream(dir.file("plinth.cfg"))
      << "[LineType]\nSolidHeavy=Continuous\nSolidLight=Continuous\nHidden=Continuous\n"
      << "Center=Continuous\nHeavyDashDot=Continuous\n"
      << "[XCHG2D]\nMetaFileName=" << metaName << "\n"
      << "[XCHG3D]\nSATFileName=" << satName << "\n";
  CommandContext& ctx = loadContext();
  EXPECT_EQ(ctx.runViewerCommand(), -1);
  EXPECT_EQ(ctx.runViewer3dCommand(), 1);
  const std::string recorded = readFile(record);
  EXPECT_NE(recorded.find("[METAV2][-o][" + metaName + "]\n"), std::string::npos) << recorded;
  EXPECT_NE(recorded.find("[FormatVersion=1.6][-o][" + satName + "]\n"), std::string::npos)
      << recorded;
}

// Each way the launch can fail has its own alert and ends a 2D command with -1 and a 3D command
// with 1, before anything is started.
TEST_F(CatalogueCommandsTest, LaunchFailuresAlertAndNothingStarts) {
  std::ofstream(standins + "/not-executable") << "plain text\n";
  writeLauncher(standins + "/trovstart", "0");
  struct Case {
    const char* label;
    std::string settings;  // empty: no trovsol.cfg at all
    std::string alert;
  };
  const std::string launcher = standins + "/trovstart";
  const Case cases[] = {
      {"no settings file", "", "ALERT: Programm TROVstart () wurde nicht gefunden!\n"},
      {"launcher missing", "[TROVstart]\nEXE=$STANDINS/nothing\n[TROVshaft]\nEXE=$STANDINS/viewer\n",
       "ALERT: Programm TROVstart (" + standins + "/nothing) wurde nicht gefunden!\n"},
      {"program not configured", "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVshaft]\nEXE3D=\n",
       "ALERT: Programm  wurde nicht gefunden!\n"},
      {"program missing", "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVshaft]\nEXE=$STANDINS/gone\n",
       "ALERT: Programm " + standins + "/gone wurde nicht gefunden!\n"},
      {"launcher cannot start",
       "[TROVstart]\nEXE=$STANDINS/not-executable\n[TROVshaft]\nEXE=$STANDINS/viewer\n",
       "ALERT: Programm " + standins + "/not-executable konnte nicht gestartet werden!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    host().reset();
    CommandContext& ctx = configure(c.settings);
    if (c.settings.empty()) fs::remove(dir.file("trovsol.cfg"));
    EXPECT_EQ(ctx.runShaftCommand(), -1);
    EXPECT_EQ(ctx.runShaft3dCommand(), 1);
    // Once for each command, and nothing else was shown.
    const std::string text = transcript();
    EXPECT_EQ(text, c.alert + c.alert);
    EXPECT_FALSE(fs::exists(record));
    EXPECT_EQ(host().drainCount(), 0u);
  }
}

// A missing line type stops a 2D command before the exchange step: nothing is launched and the
// old exchange file stays.
TEST_F(CatalogueCommandsTest, MissingLineTypeStopsTheCommandBeforeTheLaunch) {
  writeLauncher(standins + "/trovstart", "0");
  CommandContext& ctx = configure(
      "[TROVstart]\nEXE=$STANDINS/trovstart\n[TROVassembly]\nEXE=$STANDINS/viewer\n",
      "Gibtsnicht");
  EXPECT_EQ(ctx.runAssemblyCommand(), -1);
  EXPECT_TRUE(transcriptHas("ALERT: Linienstil Gibtsnicht existiert nicht!")) << transcript();
  EXPECT_FALSE(fs::exists(record));
  EXPECT_TRUE(fs::exists(metafile));
}

TEST_F(CatalogueCommandsTest, Connection3dDoesNothing) {
  CommandContext& ctx = configure("");
  EXPECT_EQ(ctx.runConnection3dCommand(), 1);
  EXPECT_EQ(transcript(), "");
  EXPECT_TRUE(fs::exists(satfile));
}
