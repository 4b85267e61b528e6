// Loading plug-in modules and playing scripts against them, with the test modules built beside
// the tests (one per release, one without the SDK's static part).

#include "host/PluginModule.h"
#include "host/ScriptRunner.h"
#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

std::string modulePath(const char* name) { return std::string(KXHOST_TEST_MODULE_DIR) + "/" + name; }

class ModuleTest : public HostTest {};

TEST_F(ModuleTest, LoadsAModuleOfItsReleaseAndHandsItTheApplicationRecord) {
  PluginModule m(host);
  std::string error;
  ASSERT_TRUE(m.load(modulePath("libkxhosttest2000.so"), kHostApiVersion2000, error)) << error;
  EXPECT_EQ(m.send(kInitAppMsg), 0);
  EXPECT_TRUE(host.app().unlocked);
  EXPECT_TRUE(host.app().mdiAware);
  EXPECT_EQ(m.send(kLoadDwgMsg), 0);
  EXPECT_EQ(host.codeOf("C:TDRAW"), 1);
  EXPECT_EQ(host.codeOf("tdraw"), 1);
}

TEST_F(ModuleTest, R14ModuleUnlocksWithoutMultiDocumentDeclaration) {
  PluginModule m(host);
  std::string error;
  ASSERT_TRUE(m.load(modulePath("libkxhosttestr14.so"), kHostApiVersionR14, error)) << error;
  m.send(kInitAppMsg);
  EXPECT_TRUE(host.app().unlocked);
  EXPECT_FALSE(host.app().mdiAware);
}

TEST_F(ModuleTest, RefusesModulesItCannotServeWithAClearMessage) {
  std::string notALibrary = writeFile("libfake.so", "not a shared library\n");
  struct Case {
    std::string path;
    int version;
    const char* why;
  } cases[] = {
      {modulePath("libkxhosttestr14.so"), kHostApiVersion2000,
       "is built for the R14 interface (API version 14); this host runs release 2000"},
      {modulePath("libkxhosttest2000.so"), kHostApiVersionR14,
       "is built for the 2000 interface (API version 15); this host runs release R14"},
      {modulePath("libkxhosttestnosdk.so"), kHostApiVersion2000,
       "lacks the export acrxGetApiVersion: it was not linked with the host SDK"},
      {dir.file("libnothere.so"), kHostApiVersion2000, "does not exist"},
      {notALibrary, kHostApiVersion2000, "cannot load plug-in module"},
  };
  for (const Case& c : cases) {
    PluginModule m(host);
    std::string error;
    EXPECT_FALSE(m.load(c.path, c.version, error)) << c.path;
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
    EXPECT_FALSE(m.loaded());
  }
}

class ScriptTest : public HostTest {
protected:
  // Parses and runs a script against the 2000 test module, with the messages a host sends.
  bool play(const std::string& script, std::string& error) {
    ScriptRunner runner(host);
    if (!runner.parse(script, error)) return false;
    PluginModule m(host);
    if (!m.load(modulePath("libkxhosttest2000.so"), kHostApiVersion2000, error)) return false;
    m.send(kInitAppMsg);
    m.send(kLoadDwgMsg);
    bool ok = runner.run(m, error);
    m.send(kUnloadDwgMsg);
    m.send(kUnloadAppMsg);
    return ok;
  }
};

TEST_F(ScriptTest, LinesTheHostDoesNotUnderstandStopTheScriptWithTheirNumber) {
  struct Case {
    const char* script;
    const char* why;
  } cases[] = {
      {"command TPING\nfrobnicate 3\n", "line 2: not understood"},
      {"# comment\n\ncommand TASK\nint 1.5\n", "line 4: '1.5' is no integer"},
      {"point 1,2\n", "line 1: an answer must follow its command line"},
      {"line 0,0 1\n", "line 1: '1' is no point"},
      {"command\n", "line 1: 'command' needs a command name"},
      {"command TPING \"open\n", "line 1: a quoted word is not closed"},
      {"circle 0,0 r\n", "line 1: 'r' is no number"},
      {"command TPING\nline 0,0 1,1\nenter\n", "line 3: an answer must follow its command line"},
  };
  for (const Case& c : cases) {
    ScriptRunner runner(host);
    std::string error;
    EXPECT_FALSE(runner.parse(c.script, error)) << c.script;
    EXPECT_NE(error.find(c.why), std::string::npos) << c.script << " -> " << error;
  }
}

TEST_F(ScriptTest, LinesOfOnlyControlBlanksAreBlankLines) {
  // A vertical tab, a form feed or a lone CR, alone or among blanks, makes no word.
  const char* blankLines[] = {"\v", "\f", "\r\r", " \v\t\f ", "\r \r", "\f# comment"};
  for (const char* blank : blankLines) {
    ScriptRunner runner(host);
    std::string error;
    std::string script = std::string("command TPING\n") + blank + "\nint 1\n";
    ASSERT_TRUE(runner.parse(script, error)) << error;
    EXPECT_EQ(runner.lineCount(), 2u);
  }
  std::string error;
  ASSERT_TRUE(play("command\fTASK\v\nint\f7\r\r\n", error)) << error;
  EXPECT_NE(host.transcript().text().find("ask rc 5100 value 7"), std::string::npos)
      << host.transcript().text();
}

TEST_F(ScriptTest, NoLineOfAnyBytesCrashesTheReader) {
  // Every byte alone, after each line keyword, and as a keyword's value (LF, which ends the
  // line, aside): the reader takes the line or names its number, and shows control bytes
  // escaped.
  const char* keywords[] = {"", "command ", "invoke ", "message ", "line 0,0 ", "circle 0,0 ",
                            "arc 0,0 1 0 ", "set ", "point ", "angle ", "int ", "real ",
                            "enter ", "cancel ", "pick ", "tile ", "tile k ", "press "};
  for (const char* keyword : keywords)
    for (int c = 0; c < 256; ++c)
      for (const char* after : {"", "1", " x"}) {
        if (c == '\n') continue;
        std::string line = std::string(keyword) + static_cast<char>(c) + after;
        ScriptRunner runner(host);
        std::string error;
        if (runner.parse("command TPING\n" + line + "\n", error)) continue;
        EXPECT_EQ(error.compare(0, 8, "line 2: "), 0) << error;
        for (unsigned char e : error) ASSERT_FALSE(e < 0x20 || e == 0x7F) << error;
      }
}

TEST_F(ScriptTest, NumbersMustBeWholeWords) {
  // A NUL byte ends the C text of a word; the word is still no number.
  const std::string cases[] = {std::string("int 5\0" "7", 7), std::string("real 2\0", 7),
                               std::string("point 1,2\0", 10), std::string("pick 1A\0", 8),
                               std::string("circle 0,0 1\0", 13)};
  for (const std::string& line : cases) {
    ScriptRunner runner(host);
    std::string error;
    EXPECT_FALSE(runner.parse("command TPING\n" + line + "\n", error)) << line;
    EXPECT_NE(error.find("\\x00"), std::string::npos) << error;
  }
}

TEST_F(ScriptTest, MessagesComeInOrderAndCommandsGetTheirArguments) {
  std::string error;
  ASSERT_TRUE(play("command TPING one \"two words\"\nmessage 3\ninvoke 42\ncommand c:tdraw\n", error))
      << error;
  const std::string& t = host.transcript().text();
  std::size_t m1 = t.find("message 1"), m3 = t.find("message 3"), m5 = t.find("message 5"),
              again = t.find("message 3", m5), m4 = t.find("message 4"), m2 = t.find("message 2");
  ASSERT_NE(m2, std::string::npos) << t;
  EXPECT_TRUE(m1 < m3 && m3 < m5 && m5 < again && again < m4 && m4 < m2) << t;
  EXPECT_NE(t.find("Command: TPING one two words\n"), std::string::npos) << t;
  EXPECT_NE(t.find("ping [one] [two words]"), std::string::npos) << t;
  EXPECT_NE(t.find("draw 5100"), std::string::npos) << t;
}

TEST_F(ScriptTest, UnknownCommandStopsTheScriptAtItsLine) {
  std::string error;
  EXPECT_FALSE(play("command TDRAW\ncommand NOSUCH\ncommand TDRAW\n", error));
  EXPECT_NE(error.find("line 2: unknown command \"NOSUCH\""), std::string::npos) << error;
  EXPECT_EQ(host.database().model().size(), 1u) << "line 3 did not run";
}

TEST_F(ScriptTest, LeaksUnusedAnswersAndAnswersThatDoNotFitAreReported) {
  std::string error;
  ASSERT_TRUE(play("command TLEAK\ncommand TASK\npoint 1,2\ncommand TASK\nint 4\nint 5\n", error))
      << error;
  const std::string& t = host.transcript().text();
  EXPECT_NE(t.find("host: TLEAK leaked 1 selection set"), std::string::npos) << t;
  EXPECT_NE(t.find("acedGetInt asked for an integer, the script gave 'point 1,2' (line 3)"),
            std::string::npos)
      << t;
  EXPECT_NE(t.find("ask rc -5002"), std::string::npos) << t;
  EXPECT_NE(t.find("ask rc 5100 value 4"), std::string::npos) << t;
  EXPECT_NE(t.find("1 answer(s) left unused by TASK (first: line 6)"), std::string::npos) << t;
  EXPECT_TRUE(host.selectionSets().openIds().empty());
}

TEST_F(ScriptTest, DrawingLinesAndVariables) {
  std::string error;
  ASSERT_TRUE(play("set MEASUREMENT 0\nline 0,0 5,5 WALLS\ncircle 1,1 2\narc 0,0 3 0 90\n", error))
      << error;
  EXPECT_EQ(host.variables().measurement(), 0);
  ASSERT_EQ(host.database().model().size(), 3u);
  EXPECT_EQ(host.database().model()[0].layer(), "WALLS");
  EXPECT_NEAR(host.database().model()[2].find(51)->v[0], 3.141592653589793 / 2, 1e-15);
  EXPECT_FALSE(play("set NOSUCH 1\n", error));
  EXPECT_NE(error.find("line 1: unknown system variable NOSUCH"), std::string::npos) << error;
  EXPECT_FALSE(play("circle 0,0 -1\n", error));
  EXPECT_NE(error.find("line 1: the host refuses the circle"), std::string::npos) << error;
}

}  // namespace
}  // namespace kxhost::testing
