#include "tools/trovstart/LauncherCommandLine.h"

#include <gtest/gtest.h>

#include "platform/Process.h"

// The launcher's quoting must be undone exactly by the platform's Windows-rule splitting, or the
// catalogue program would see other arguments than the plug-in passed.
TEST(LauncherCommandLine, JoinedArgumentsSplitBackExactly) {
  const std::vector<std::vector<std::string>> cases = {
      {"/opt/demo/viewer", "-server", "TrovViewer", "-o", "c:\\plinth.out"},
      {"/opt/with blank/prog", "-poke", "pconset=    1, 12.0,  0.0,   -1"},
      {"prog", ""},                                // an empty argument survives
      {"prog", "say \"hi\"", "a\\\"b"},           // embedded quotes, backslash before a quote
      {"prog", "c:\\dir with blank\\", "x\\\\"},  // trailing backslashes inside quotes
      {"prog", "\t", "\"", "\\"},
  };
  for (const auto& arguments : cases) {
    const std::string line = joinCommandLine(arguments);
    EXPECT_EQ(platform::splitCommandLine(line), arguments) << line;
  }
}

TEST(LauncherCommandLine, PlainArgumentsStayUnquoted) {
  EXPECT_EQ(joinCommandLine({"a", "-fm", "METAV2"}), "a -fm METAV2");
  EXPECT_EQ(quoteCommandLineArgument(""), "\"\"");
}

TEST(LauncherCommandLine, ParsesPviewAndRefusesOtherLines) {
  std::vector<std::string> program;
  std::string error;
  ASSERT_TRUE(parseLauncherArguments({"-pview", "prog", "-server", "X"}, program, error));
  EXPECT_EQ(program, (std::vector<std::string>{"prog", "-server", "X"}));
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{}, {"prog"}, {"-pview"}, {"-pview", ""}, {"-view", "prog"}}) {
    EXPECT_FALSE(parseLauncherArguments(bad, program, error));
    EXPECT_FALSE(error.empty());
  }
}
