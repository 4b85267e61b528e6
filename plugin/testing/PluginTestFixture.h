#pragma once
// Header-only fixture for plug-in tests that run against the simulated host in this process: each
// test gets a fresh host session, empty variable tables, its own temporary folder (which is also
// the user and setup folder) and its own registry root. The fixture owns the command context it
// loads and drops it before the host is reset.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "config/VariableTables.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace kxtest {

// The whole content of a file, or "" when it cannot be read.
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A curve of three lines from (10, -30) through (20, -30) and (20, -10) to (10, 0), then once
// round the circle of radius 10 about (0, 0) in steps of 10 degrees back to (10, 0): it splits
// into three LINE pieces and a CIRCLE piece. The points are written to 6 decimals.
inline std::string leadInCircleCurve() {
  std::string curve = "ICRV2D { POINT { 10 -30 } POINT { 20 -30 } POINT { 20 -10 } POINT { 10 0 }";
  for (int i = 1; i <= 36; ++i) {
    const double a = i * 10.0 * 3.141592653589793 / 180.0;
    curve += " POINT { " + std::to_string(10 * std::cos(a)) + " " +
             std::to_string(10 * std::sin(a)) + " }";
  }
  return curve + " }";
}

class PluginHostTest : public ::testing::Test {
 protected:
  // tempPrefix names the temporary folder, so that a leftover folder tells which test made it.
  explicit PluginHostTest(std::string_view tempPrefix) : dir(tempPrefix) {}

  void SetUp() override {
    host().reset();
    clearVariables();
    clearFallbackVariables();
    setVariable("QUORVEL_USER", dir.path().c_str());
    setVariable("QUORVEL_SETUP", dir.path().c_str());
  }
  void TearDown() override {
    context.reset();
    clearVariables();
    clearFallbackVariables();
    host().reset();
  }

  // Loads a context from the configuration now in the folder, the way the dispatcher does.
  CommandContext& loadContext() {
    context = std::make_unique<CommandContext>();
    context->loadUserConfig();
    context->loadLineTypeAndColourDefinitions();
    context->buildPenClassTables();
    return *context;
  }

  static kxhost::HostSession& host() { return kxhost::HostSession::instance(); }
  static const std::string& transcript() { return host().transcript().text(); }
  static bool transcriptHas(const std::string& text) {
    return transcript().find(text) != std::string::npos;
  }

  platform::TempDir dir;
  platform::ScopedEnv registry{"KESTRIX_REGISTRY", dir.file("registry")};
  std::unique_ptr<CommandContext> context;
};

}  // namespace kxtest
