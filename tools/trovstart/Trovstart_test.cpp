// The launcher with the demo catalogue programs, run as separate processes with the command
// lines the plug-in builds: the launcher path, " -pview", the program, the server and topic text
// and the exchange arguments, joined exactly as the plug-in joins them. Drive c: is mapped into
// a temporary folder through KESTRIX_DRIVES, which the children inherit.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/Process.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

const std::string kLauncher = KESTRIX_TROVSTART;
const std::string kViewer = KESTRIX_DEMO_VIEWER;
const std::string kShaft = KESTRIX_DEMO_SHAFT;
const std::string kConnect = KESTRIX_DEMO_CONNECT;
const std::string kExchange2d = " -poke RECEIVERCADID=Autocad.2d -fm METAV2 -o c:\\plinth.out";

class LauncherChain : public ::testing::Test {
 protected:
  platform::TempDir drive{"kestrix-trovstart"};
  platform::ScopedEnv drives{"KESTRIX_DRIVES", "c=" + drive.path()};
  platform::ScopedEnv noChoice{"KESTRIX_DEMO_PART"};

  // Runs the command line to its end; the exit code, or -1 when it could not be started.
  static int run(const std::string& commandLine) {
    bool started = false;
    std::string error;
    platform::ProcessHandle process = platform::startProcess(commandLine, started, &error);
    if (!started) {
      ADD_FAILURE() << "cannot start " << commandLine << ": " << error;
      return -1;
    }
    std::uint32_t code = platform::kStillActive;
    while (platform::processExitCode(process, code) && code == platform::kStillActive) {
      platform::sleepMilliseconds(5);
    }
    platform::closeProcess(process);
    return int(code);
  }

  std::string exchangeFile(const std::string& name) const {
    std::ifstream in(drive.file(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static std::string launch(const std::string& program, const std::string& serverTopic,
                            const std::string& exchange) {
    return kLauncher + " -pview" + " " + program + " " + serverTopic + " " + exchange;
  }
};

}  // namespace

TEST_F(LauncherChain, ViewerLeavesItsFirstPart) {
  ASSERT_EQ(run(launch(kViewer, "-server TrovViewer -topic TrovViewer", kExchange2d)), 0);
  const std::string part = exchangeFile("plinth.out");
  EXPECT_EQ(part.rfind("FIGURE {\n  NAME { \"Washer 10.5\" }", 0), 0u) << part;
}

TEST_F(LauncherChain, ConnectionPokeKeepsItsQuotedBlanks) {
  // The connection command's server and topic text begins with its quoted poke.
  const std::string serverTopic =
      " -poke \"pconset=    1, 12.0,  0.0,   -1\" -server TrovCon -topic TrovCon";
  ASSERT_EQ(run(launch(kConnect, serverTopic, kExchange2d)), 0);
  EXPECT_NE(exchangeFile("plinth.out").find("\"Hexagon head screw M8x25\""), std::string::npos);
}

TEST_F(LauncherChain, SatPartInTheRequestedVersion) {
  const std::string exchange =
      " -poke RECEIVERCADID=Autocad.3d -fm sat -poke FormatVersion=1.6 -o c:\\acadxchg.sat";
  ASSERT_EQ(run(launch(kShaft, " -server TrovWel -topic TrovWel", exchange)), 0);
  const std::string sat = exchangeFile("acadxchg.sat");
  EXPECT_EQ(sat.rfind("106 ", 0), 0u) << sat.substr(0, 80);
  EXPECT_NE(sat.find("End-of-ACIS-data"), std::string::npos);
}

TEST_F(LauncherChain, NothingChosenLeavesTheNoPartMarker) {
  platform::ScopedEnv choice{"KESTRIX_DEMO_PART", "none"};
  ASSERT_EQ(run(launch(kViewer, "-server TrovViewer -topic TrovViewer", kExchange2d)), 0);
  EXPECT_EQ(exchangeFile("plinth.out"), "000\n");
}

TEST_F(LauncherChain, FailuresReachTheLaunchersExitCode) {
  // The program's own exit code is handed on: a malformed line (2), an unwritable exchange file
  // on an unmapped drive (1); a program that does not exist cannot be started (1); a launcher
  // line without -pview (2).
  EXPECT_EQ(run(launch(kViewer, "-server", "")), 2);
  EXPECT_EQ(run(launch(kViewer, "-server TrovViewer -topic TrovViewer", "-fm METAV2 -o q:\\x.out")), 1);
  EXPECT_EQ(run(launch(drive.file("no-such-program"), "-server X -topic X", kExchange2d)), 1);
  EXPECT_EQ(run(kLauncher + " " + kViewer), 2);
  EXPECT_EQ(exchangeFile("plinth.out"), "");  // nothing was written on any of these paths
}
