// Tests of variable expansion: name parsing, the order of the sources, nested and runaway
// references, the placeholders, persistent variables and the collection of all variables. Every
// test runs on its own registry root, variable tables, Windows and temporary folders and HOME.

#include "config/VariableExpansion.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/VariableTables.h"
#include "foundation/RWTHashDictIterator.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

using platform::RegistryHive;

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

class VariableExpansion : public ::testing::Test {
 protected:
  VariableExpansion()
      : registryEnv_("KESTRIX_REGISTRY", dir_.file("registry")),
        home_("HOME", dir_.file("home")),
        temp_("TMPDIR", dir_.path() + "/tmp//") {
    platform::setRegistryRoot(dir_.file("registry"));
    platform::setWindowsFolder(dir_.file("WINDOWS"));
    resetTables();
  }
  ~VariableExpansion() override {
    resetTables();
    platform::setWindowsFolder("");
    platform::setRegistryRoot("");
  }
  static void resetTables() {
    clearVariables();
    clearFallbackVariables();
    setMachinePathRoot("HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\");
    setUserPathRoot("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\");
  }
  // Gives variable `name` the default value `value` under the user or machine root.
  static void setRegistryVariable(RegistryHive hive, const std::string& name,
                                  const std::string& value) {
    const std::string key = "SOFTWARE\\QUORVEL\\PATH\\" + name;
    ASSERT_TRUE(platform::registryCreateKey(hive, key));
    platform::RegistryValue v;
    v.text = value;
    ASSERT_TRUE(platform::registryWriteValue(hive, key, "", v));
  }
  // Status and result of expandVariablesWithStatus with the registry on.
  static std::pair<int, std::string> expand(const char* text, int registry = 1) {
    int status = 0;
    const RWCString result = expandVariablesWithStatus(text, &status, registry);
    return {status, S(result)};
  }

  platform::TempDir dir_;
  platform::ScopedEnv registryEnv_;
  platform::ScopedEnv home_;
  platform::ScopedEnv temp_;
};

TEST_F(VariableExpansion, NamesEndAtTheStopCharacters) {
  setVariable("U", "c:/u");
  setVariable("Q", "qv");
  setVariable("A", "va");
  setVariable("A.cfg", "dotted");
  setVariable("A$B", "dollar");
  setVariable("A b", "blank");
  struct Case { const char* text; const char* expected; };
  const Case cases[] = {
      {"$U/plinth.cfg", "c:/u/plinth.cfg"},
      {"$(Q)/x", "qv/x"},
      {"$Q)/x", "qv/x"},
      {"$(Q/x", "qv/x"},
      {"$A-B", "va-B"},
      {"$A.cfg", "dotted"},
      {"$A$B", "dollar"},
      {"$A\\b", "va\\b"},
      {"a$(A)b", "avab"},
      {"$A b/c", "blank/c"},
      {"$Q/$U", "qv/c:/u"},
      {"no references", "no references"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(S(expandVariables(c.text)), c.expected) << c.text;
    EXPECT_EQ(expand(c.text), std::make_pair(1, std::string(c.expected))) << c.text;
  }
}

TEST_F(VariableExpansion, AnUnknownNameFailsWithTheBareName) {
  struct Case { const char* text; const char* name; };
  const Case cases[] = {
      {"$NOPE/x %SystemRoot%", "NOPE"},
      {"x$", ""},                      // a '$' at the end looks up the empty name
      {"ok/$(MISSING)/y", "MISSING"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(S(expandVariables(c.text)), c.text);  // unchanged, placeholders included
    EXPECT_EQ(expand(c.text), std::make_pair(-2, std::string(c.name))) << c.text;
  }
}

TEST_F(VariableExpansion, ValuesAreExpandedInFurtherPasses) {
  setVariable("Q", "qv");
  setVariable("N", "$Q/deeper");
  setFallbackVariable("F", "$N/fallback");
  EXPECT_EQ(expand("$F/x"), std::make_pair(1, std::string("qv/deeper/fallback/x")));
  // A chain well inside the pass bound resolves.
  for (int i = 0; i < 20; ++i)
    setVariable(("C" + std::to_string(i)).c_str(), ("$C" + std::to_string(i + 1)).c_str());
  setVariable("C20", "end");
  EXPECT_EQ(expand("$C0"), std::make_pair(1, std::string("end")));
}

TEST_F(VariableExpansion, RunawayReferencesEndWithFailure) {
  setVariable("SELF", "$SELF");
  setVariable("PING", "x/$PONG");
  setVariable("PONG", "$PING");
  setVariable("GROW", "x$GROW");
  // Each level doubles the text: 2^30 copies of the leaf unless the expansion is bounded.
  for (int i = 0; i < 30; ++i) {
    const std::string next = "$E" + std::to_string(i + 1);
    setVariable(("E" + std::to_string(i)).c_str(), (next + "/" + next).c_str());
  }
  setVariable("E30", "leaf");
  for (const char* text : {"$SELF", "a/$PING/b", "$GROW", "$E0", "%SystemRoot%/$SELF"}) {
    EXPECT_EQ(expand(text), std::make_pair(-2, std::string(text))) << text;
    EXPECT_EQ(S(expandVariables(text)), text);
  }
}

TEST_F(VariableExpansion, SourcesAnswerInTheirOrder) {
  // Sources of the name "MyVar" (written in mixed case, so that the environment's exact,
  // upper-case and lower-case tries are three different variables).
  enum Source { Program, User, Machine, EnvExact, EnvUpper, EnvLower, Fallback };
  struct Row {
    std::vector<std::pair<Source, const char*>> present;
    int registry;
    const char* expected;  // null: no source answers
  };
  const std::vector<Row> rows = {
      {{{Program, "p"}, {User, "u"}, {Machine, "m"}, {EnvExact, "e"}, {Fallback, "f"}}, 1, "p"},
      {{{User, "u"}, {Machine, "m"}, {EnvExact, "e"}, {Fallback, "f"}}, 1, "u"},
      {{{User, "u"}, {Machine, "m"}, {EnvExact, "e"}, {Fallback, "f"}}, 0, "e"},
      {{{Machine, "m"}, {EnvExact, "e"}, {EnvUpper, "E"}}, 1, "m"},
      {{{User, ""}, {Machine, "m"}}, 1, "m"},             // an empty registry value is no answer
      {{{User, ""}, {Machine, ""}, {EnvLower, "l"}}, 1, "l"},
      {{{EnvExact, "e"}, {EnvUpper, "E"}, {EnvLower, "l"}}, 1, "e"},
      {{{EnvExact, ""}, {EnvUpper, "E"}}, 1, ""},         // an empty environment value answers
      {{{EnvUpper, "E"}, {EnvLower, "l"}, {Fallback, "f"}}, 1, "E"},
      {{{EnvLower, "l"}, {Fallback, "f"}}, 1, "l"},
      {{{Fallback, "f"}}, 1, "f"},
      {{{Program, ""}, {Fallback, "f"}}, 1, ""},          // a program entry answers even empty
      {{{User, "u"}, {Machine, "m"}}, 0, nullptr},
      {{}, 1, nullptr},
  };
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const Row& row = rows[r];
    resetTables();
    platform::registryDeleteKey(RegistryHive::CurrentUser, "SOFTWARE\\QUORVEL\\PATH\\MyVar");
    platform::registryDeleteKey(RegistryHive::LocalMachine, "SOFTWARE\\QUORVEL\\PATH\\MyVar");
    std::optional<platform::ScopedEnv> exact, upper, lower;
    exact.emplace("MyVar");
    upper.emplace("MYVAR");
    lower.emplace("myvar");
    for (const auto& [source, value] : row.present) {
      switch (source) {
        case Program: setVariable("MyVar", value); break;
        case User: setRegistryVariable(RegistryHive::CurrentUser, "MyVar", value); break;
        case Machine: setRegistryVariable(RegistryHive::LocalMachine, "MyVar", value); break;
        case EnvExact: exact.reset(); exact.emplace("MyVar", value); break;
        case EnvUpper: upper.reset(); upper.emplace("MYVAR", value); break;
        case EnvLower: lower.reset(); lower.emplace("myvar", value); break;
        case Fallback: setFallbackVariable("MyVar", value); break;
      }
    }
    const auto got = expand("[$(MyVar)]", row.registry);
    if (row.expected) {
      EXPECT_EQ(got, std::make_pair(1, "[" + std::string(row.expected) + "]")) << "row " << r;
    } else {
      EXPECT_EQ(got, std::make_pair(-2, std::string("MyVar"))) << "row " << r;
    }
  }
}

TEST_F(VariableExpansion, BuiltInNamesComeBeforeTheFallbackTable) {
  platform::ScopedEnv noOsName("OSNAME"), noOsNameLower("osname"), noOsExt("OSEXT");
  setFallbackVariable("osname", "fallback");
  EXPECT_EQ(expand("$osname/$OsExt"), std::make_pair(1, std::string("x86/exe")));
  {
    platform::ScopedEnv env("OSNAME", "linux");
    EXPECT_EQ(expand("$osname"), std::make_pair(1, std::string("linux")));
  }
  setVariable("OSEXT", "so");
  EXPECT_EQ(expand("$OSEXT"), std::make_pair(1, std::string("so")));
}

TEST_F(VariableExpansion, PlaceholdersAfterTheReferences) {
  const std::string windows = platform::windowsFolder();
  std::string temp = platform::tempFolder();
  while (!temp.empty() && temp.back() == '/') temp.pop_back();
  ASSERT_FALSE(temp.empty());
  setVariable("W", "%SystemRoot%");
  EXPECT_EQ(S(expandVariables("%systemroot%\\x")), windows + "\\x");
  EXPECT_EQ(S(expandVariables("$W/a;%SYSTEMROOT%")), windows + "/a;" + windows);
  const RWCString t = expandVariables("%SystemTemp%");
  EXPECT_EQ(S(t), temp);
  EXPECT_NE(t.data()[t.length() - 1], '/');
  EXPECT_EQ(S(expandVariables("%SystemTemp%/f")), temp + "/f");
}

TEST_F(VariableExpansion, PersistentVariablesGoWhereTheVariableLives) {
  setRegistryVariable(RegistryHive::CurrentUser, "INUSER", "old");
  setRegistryVariable(RegistryHive::LocalMachine, "INUSER", "machine");
  setRegistryVariable(RegistryHive::LocalMachine, "INMACHINE", "");
  EXPECT_EQ(setPersistentVariable("INUSER", "new"), 1);
  EXPECT_EQ(setPersistentVariable("INMACHINE", "m2"), 1);
  EXPECT_EQ(setPersistentVariable("ELSEWHERE", "e"), 1);

  platform::RegistryValue v;
  ASSERT_TRUE(platform::registryReadValue(RegistryHive::CurrentUser,
                                          "SOFTWARE\\QUORVEL\\PATH\\INUSER", "", v));
  EXPECT_EQ(v.text, "new");
  ASSERT_TRUE(platform::registryReadValue(RegistryHive::LocalMachine,
                                          "SOFTWARE\\QUORVEL\\PATH\\INUSER", "", v));
  EXPECT_EQ(v.text, "machine");
  ASSERT_TRUE(platform::registryReadValue(RegistryHive::LocalMachine,
                                          "SOFTWARE\\QUORVEL\\PATH\\INMACHINE", "", v));
  EXPECT_EQ(v.text, "m2");
  ASSERT_TRUE(platform::registryReadValue(RegistryHive::CurrentUser, "Environment", "ELSEWHERE", v));
  EXPECT_EQ(v.text, "e");
  EXPECT_FALSE(platform::registryKeyExists(RegistryHive::CurrentUser,
                                           "SOFTWARE\\QUORVEL\\PATH\\ELSEWHERE"));

  // A store that cannot be written: the failure is reported.
  ASSERT_TRUE(platform::replaceFileContents(dir_.file("plain-file"), "x"));
  platform::setRegistryRoot(dir_.file("plain-file") + "/registry");
  EXPECT_EQ(setPersistentVariable("ELSEWHERE", "e"), -1);
}

TEST_F(VariableExpansion, CollectAllVariablesLetsLaterSourcesWin) {
  platform::ScopedEnv everywhere("EVERYWHERE", "env"), envOnly("KX_ENV_ONLY", "e");
  setFallbackVariable("EVERYWHERE", "fallback");
  setFallbackVariable("FB_ONLY", "f");
  setRegistryVariable(RegistryHive::LocalMachine, "EVERYWHERE", "machine");
  setRegistryVariable(RegistryHive::LocalMachine, "M_ONLY", "m");
  setRegistryVariable(RegistryHive::LocalMachine, "M_EMPTY", "");
  setRegistryVariable(RegistryHive::CurrentUser, "EVERYWHERE", "user");
  setRegistryVariable(RegistryHive::CurrentUser, "U_ONLY", "u");
  setVariable("EVERYWHERE", "program");
  setVariable("P_ONLY", "p");

  RWTHashDict<RWCString, RWCString> all(RWCStringHash);
  collectAllVariables(all);
  auto value = [&](const char* n) -> std::string {
    const RWCString* v = all.findValue(n);
    return v ? S(*v) : "<absent>";
  };
  EXPECT_EQ(value("EVERYWHERE"), "program");
  EXPECT_EQ(value("FB_ONLY"), "f");
  EXPECT_EQ(value("KX_ENV_ONLY"), "e");
  EXPECT_EQ(value("M_ONLY"), "m");
  EXPECT_EQ(value("U_ONLY"), "u");
  EXPECT_EQ(value("P_ONLY"), "p");
  EXPECT_EQ(value("M_EMPTY"), "<absent>");
  EXPECT_EQ(value("OSNAME"), "<absent>");

  clearVariables();
  RWTHashDict<RWCString, RWCString> again(RWCStringHash);
  collectAllVariables(again);
  EXPECT_EQ(S(*again.findValue("EVERYWHERE")), "user");
}

}  // namespace
