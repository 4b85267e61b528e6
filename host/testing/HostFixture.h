#pragma once
// Test support for the host's own tests: a fixture that gives every test a fresh host session
// and a temporary folder, and small helpers that call the host API the way a plug-in does.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "host/HostSession.h"
#include "host/api.h"
#include "platform/testing/TempDir.h"

namespace kxhost::testing {

class HostTest : public ::testing::Test {
protected:
  HostTest() : host(HostSession::instance()) { host.reset(); }
  ~HostTest() override { host.reset(); }

  // Makes an entity from a list built by the caller; releases the list; returns acdbEntMake's
  // result.
  int make(resbuf* list) {
    int rc = acdbEntMake(list);
    acutRelRb(list);
    return rc;
  }

  int makeLine(double x1, double y1, double x2, double y2, const char* layer = "0") {
    ads_point a = {x1, y1, 0.0}, b = {x2, y2, 0.0};
    return make(acutBuildList(RTDXF0, "LINE", 8, layer, 10, a, 11, b, 0));
  }

  std::uint32_t lastHandle() {
    ads_name n;
    EXPECT_EQ(acdbEntLast(n), RTNORM);
    return static_cast<std::uint32_t>(n[0]);
  }

  std::string writeFile(const std::string& name, const std::string& text) {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Queues an answer as the script would write it.
  void answer(const std::string& line) {
    Answer a;
    std::string error;
    ASSERT_TRUE(InputQueue::parse(line, a, error)) << line << ": " << error;
    host.input().push(a);
  }

  bool transcriptHas(const std::string& text) const {
    return host.transcript().text().find(text) != std::string::npos;
  }

  HostSession& host;
  platform::TempDir dir{"kxhost-test"};
};

}  // namespace kxhost::testing
