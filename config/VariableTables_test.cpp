// Tests of the variable tables and the registry roots.

#include "config/VariableTables.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

class VariableTables : public ::testing::Test {
 protected:
  VariableTables() { reset(); }
  ~VariableTables() override { reset(); }
  static void reset() {
    clearVariables();
    clearFallbackVariables();
    setMachinePathRoot("HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\");
    setUserPathRoot("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\");
  }
};

TEST_F(VariableTables, SetReplacesTheValueAndKeepsTheFlag) {
  setVariable("A", "1", 5);
  setVariable("B", "2");
  setVariable("A", "3", 0);
  EXPECT_EQ(programVariables().count(), 2u);
  EXPECT_EQ(S(variableValue("A")), "3");
  EXPECT_EQ(variableFlag("A"), 5);
  EXPECT_EQ(variableFlag("B"), 0);
  EXPECT_EQ(S(variableValue("a")), "");  // names compare exactly
  EXPECT_EQ(variableFlag("missing"), 0);
  RWCString value("untouched");
  EXPECT_FALSE(findVariable("missing", value));
  EXPECT_EQ(S(value), "untouched");
  setVariable("E", "");
  EXPECT_TRUE(findVariable("E", value));  // an entry with an empty value still exists
  EXPECT_EQ(S(value), "");
}

TEST_F(VariableTables, EntriesAreEqualByExactName) {
  EXPECT_EQ(_QVEnvironClass("N", "x", 1), _QVEnvironClass("N", "y", 0));
  EXPECT_FALSE(_QVEnvironClass("N", "x") == _QVEnvironClass("n", "x"));
}

TEST_F(VariableTables, ClearEmptiesAndReshapes) {
  for (int i = 0; i < 100; ++i) setVariable(("V" + std::to_string(i)).c_str(), "x");
  EXPECT_EQ(programVariables().capacity(), 128u);
  clearVariables();
  EXPECT_EQ(programVariables().count(), 0u);
  EXPECT_EQ(programVariables().capacity(), 64u);
}

TEST_F(VariableTables, FallbackTableIsSeparate) {
  setFallbackVariable("QUORVEL_PROGRAMDRIVE", "d:");
  setFallbackVariable("QUORVEL_PROGRAMDRIVE", "e:");
  RWCString value;
  EXPECT_TRUE(findFallbackVariable("QUORVEL_PROGRAMDRIVE", value));
  EXPECT_EQ(S(value), "e:");
  EXPECT_EQ(fallbackVariables().count(), 1u);
  EXPECT_FALSE(findVariable("QUORVEL_PROGRAMDRIVE", value));
  clearFallbackVariables();
  EXPECT_FALSE(findFallbackVariable("QUORVEL_PROGRAMDRIVE", value));
}

TEST_F(VariableTables, FlaggedEntriesInTableOrder) {
  struct Collect : FlaggedVariableReceiver {
    void receiveVariable(const _QVEnvironClass& e) override {
      seen.emplace_back(S(e.name), e.flag);
      setVariable("added-while-walking", "x", 1);  // the walk is not disturbed
    }
    std::vector<std::pair<std::string, int>> seen;
  } collect;
  setVariable("one", "1", 1);
  setVariable("zero", "0", 0);
  setVariable("two", "2", 2);
  forEachFlaggedVariable(collect);
  const std::vector<std::pair<std::string, int>> expected = {{"one", 1}, {"two", 2}};
  EXPECT_EQ(collect.seen, expected);
}

TEST_F(VariableTables, RootSettersRefuseWhatDoesNotFit) {
  EXPECT_EQ(S(machinePathRoot()), "HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\");
  EXPECT_EQ(S(userPathRoot()), "HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\");
  const std::string fits(255, 'r');
  EXPECT_EQ(setUserPathRoot(fits.c_str()), 1);
  EXPECT_EQ(S(userPathRoot()), fits);
  const std::string tooLong(256, 's');
  EXPECT_EQ(setUserPathRoot(tooLong.c_str()), -1);
  EXPECT_EQ(S(userPathRoot()), fits);
  EXPECT_EQ(setMachinePathRoot(nullptr), -1);
  EXPECT_EQ(setMachinePathRoot("HKEY_USERS\\X\\"), 1);
  EXPECT_EQ(S(machinePathRoot()), "HKEY_USERS\\X\\");
}

}  // namespace
