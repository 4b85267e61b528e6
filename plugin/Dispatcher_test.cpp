// The dispatcher and the entry point against the simulated host, in this process: the host's
// session is reset before every test and inspected through its transcript, variables and
// command registry.
#include "plugin/Dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/HostSession.h"
#include "plugin/CommandContext.h"
#include "plugin/CommandTable.h"
#include "plugin/EntryPoint.h"

namespace {

kxhost::HostSession& host() { return kxhost::HostSession::instance(); }

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override { host().reset(); }
  void TearDown() override { host().reset(); }

  static const std::string& transcript() { return host().transcript().text(); }

  static void setMeasurement(int value) {
    std::string error;
    ASSERT_TRUE(host().variables().setFromText("MEASUREMENT", std::to_string(value), error))
        << error;
  }
};

// What a spy command saw while it ran.
struct Observed {
  int runs = 0;
  int echoDuringRun = -1;
  int inchDuringRun = -1;
};
Observed observed;

std::int32_t spyCommand(CommandContext& context) {
  ++observed.runs;
  observed.echoDuringRun = host().variables().cmdecho();
  observed.inchDuringRun = context.inchMode();
  return 1;
}
std::int32_t failingCommand(CommandContext& context) {
  spyCommand(context);
  return -1;
}
std::int32_t throwingCommand(CommandContext& context) {
  spyCommand(context);
  throw std::runtime_error("boom");
}
std::int32_t throwingAnything(CommandContext&) { throw 42; }

const CommandEntry kSpyTable[] = {
    {0, "C:SPY", &spyCommand},
    {1, "C:FAIL", &failingCommand},
    {2, "C:THROW", &throwingCommand},
    {3, "C:THROWINT", &throwingAnything},
};

const std::string kEchoOff = "Command: _cmdecho 0\n";

}  // namespace

// Every outcome of the command, and a code outside the table, ends with the echo switched on
// again; only a negative code leaves the echo alone and runs nothing.
TEST_F(DispatcherTest, EchoIsOffAroundEveryOutcomeAndOnAfterwards) {
  struct Case {
    int code;
    int runs;             // how often the spy ran
    bool touchesEcho;     // "_cmdecho" commands were sent
    bool internalError;   // the catch-all message was printed
  };
  const Case cases[] = {
      {0, 1, true, false},    // done
      {1, 1, true, false},    // failed (-1)
      {2, 1, true, true},     // threw a standard exception
      {3, 0, true, true},     // threw something that is no exception class
      {10, 0, true, false},   // outside the table: no command
      {999, 0, true, false},
      {-1, 0, false, false},  // negative: the invocation ends before the echo
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.code));
    host().reset();
    observed = {};
    CommandContext context;
    runInvocation(context, c.code, kSpyTable);
    EXPECT_EQ(observed.runs, c.runs);
    if (c.runs) {
      EXPECT_EQ(observed.echoDuringRun, 0);
    }
    EXPECT_EQ(host().variables().cmdecho(), 1);
    EXPECT_EQ(transcript().find(kEchoOff) != std::string::npos, c.touchesEcho) << transcript();
    const std::size_t error = transcript().find(kInternalErrorMessage);
    EXPECT_EQ(error != std::string::npos, c.internalError) << transcript();
    if (c.internalError) {
      EXPECT_LT(transcript().find(kEchoOff), error);  // reported while the echo is off
    }
  }
}

TEST_F(DispatcherTest, ImperialDrawingSwitchesToInchMode) {
  for (int measurement : {0, 1}) {
    setMeasurement(measurement);
    observed = {};
    CommandContext context;
    runInvocation(context, 0, kSpyTable);
    EXPECT_EQ(observed.inchDuringRun, measurement == 0 ? 1 : 0) << "MEASUREMENT " << measurement;
  }
}

TEST_F(DispatcherTest, RegistrationStopsAtTheFirstRefusal) {
  ASSERT_EQ(registerCommands(), 1);
  const auto& commands = host().commands();
  const std::vector<std::string> names = {"TROVviewer", "TROVcon",     "TROVass",     "TROVshaft",
                                          "TROVoptions", "TROVopenps2", "TROVviewer3d", "TROVcon3d",
                                          "TROVshaft3d", "TROVass3d"};
  ASSERT_EQ(commands.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_TRUE(sameName(commands[i].first, names[i])) << commands[i].first;  // the host ignores case
    EXPECT_EQ(commands[i].second, int(i));
  }

  host().reset();
  const CommandEntry refused[] = {{0, "C:A", &spyCommand}, {1, "", &spyCommand}, {2, "C:B", &spyCommand}};
  EXPECT_EQ(registerCommands(refused), 0);
  ASSERT_EQ(host().commands().size(), 1u);  // the one before the refusal stays
  EXPECT_TRUE(sameName(host().commands()[0].first, "A"));
}

TEST_F(DispatcherTest, EntryPointHandlesItsThreeMessages) {
  auto& app = host().app();
  EXPECT_EQ(acrxEntryPoint(kInitAppMsg, &app), 0);
  EXPECT_TRUE(app.unlocked);
  EXPECT_TRUE(app.mdiAware);  // the unit tests are built for the 2000 interface

  EXPECT_EQ(acrxEntryPoint(kLoadDwgMsg, &app), 0);
  EXPECT_EQ(host().commands().size(), 10u);
  EXPECT_EQ(acrxEntryPoint(kLoadDwgMsg, &app), 0);  // registers again, no duplicates
  EXPECT_EQ(host().codeOf("TROVcon3d"), 7);
  EXPECT_EQ(host().commands().size(), 10u);

  for (int ignored : {int(kUnloadAppMsg), int(kUnloadDwgMsg), 0, 77}) {
    EXPECT_EQ(acrxEntryPoint(ignored, &app), 0);
  }
  EXPECT_EQ(transcript().find("Command:"), std::string::npos);  // none of them ran anything

  // The invoke message runs the command of the host's current function code: TROVcon3d does
  // nothing and reports nothing, with the echo off and on around it.
  host().beginInvocation(7, "TROVCON3D", {});
  EXPECT_EQ(acrxEntryPoint(kInvkSubrMsg, &app), 0);
  host().endInvocation();
  EXPECT_EQ(transcript(), kEchoOff);
  EXPECT_EQ(host().variables().cmdecho(), 1);
}

TEST_F(DispatcherTest, Connection3dCommandDoesNothingAndSucceeds) {
  CommandContext context;
  EXPECT_EQ(context.runConnection3dCommand(), 1);
  EXPECT_EQ(transcript(), "");
}

TEST(PluginModule, AttachHookStoresTheModuleHandle) {
  // The hook ran at load (for this test program, the main program's handle); only reason 1
  // stores a handle.
  void* before = pluginModuleHandle();
  int marker = 0;
  EXPECT_EQ(pluginModuleMain(&marker, 0, nullptr), 1);
  EXPECT_EQ(pluginModuleHandle(), before);
  EXPECT_EQ(pluginModuleMain(&marker, 1, nullptr), 1);
  EXPECT_EQ(pluginModuleHandle(), &marker);
  pluginModuleMain(before, 1, nullptr);
}
