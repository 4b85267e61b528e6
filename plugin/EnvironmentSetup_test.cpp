#include "plugin/EnvironmentSetup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/VariableTables.h"
#include "foundation/RWCString.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Path.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/ScopedDrive.h"
#include "platform/testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

using platform::ScopedDrive;

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// Stands for a loaded module: only its address is used, as the key of a file-name override.
int fakeModule;
void* const kModule = &fakeModule;

void writeFile(const std::string& path, const std::string& data) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

bool hasVariable(const char* name) {
  RWCString value;
  return findVariable(name, value);
}

std::string variable(const char* name) { return str(variableValue(name)); }

std::string programDrive() {
  RWCString value;
  EXPECT_TRUE(findFallbackVariable("QUORVEL_PROGRAMDRIVE", value));
  return str(value);
}

class EnvironmentSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    clearVariables();
    clearFallbackVariables();
  }
  void TearDown() override {
    platform::clearModuleFileNameOverride(kModule);
    clearVariables();
    clearFallbackVariables();
  }

  // The module lives in root/a/b/c.
  void placeModule() { platform::setModuleFileNameOverride(kModule, tmp.file("a/b/c/kestrix.so")); }

  platform::TempDir tmp;
};

}  // namespace

TEST_F(EnvironmentSetup, SearchesTheModuleFolderItsParentAndGrandparentOnly) {
  struct Case {
    const char* folder;  // below the temporary root
    bool found;
  } cases[] = {{"a/b/c", true}, {"a/b", true}, {"a", true}, {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    SetUp();
    std::string file = *c.folder ? tmp.file(std::string(c.folder) + "/start.env")
                                 : tmp.file("start.env");
    writeFile(file, "[ENVIRONS]\nQUORVEL_TEST=here\n");
    fs::create_directories(tmp.file("a/b/c"));
    placeModule();
    setupEnvironment(kModule);
    EXPECT_EQ(hasVariable("QUORVEL_TEST"), c.found);
    if (c.found) EXPECT_EQ(variable("QUORVEL_TEST"), "here");
    fs::remove(file);
  }
}

TEST_F(EnvironmentSetup, NearestFileHidesTheOnesAbove) {
  writeFile(tmp.file("a/b/c/start.env"), "[ENVIRONS]\nX=module folder\n");
  writeFile(tmp.file("a/b/start.env"), "[ENVIRONS]\nX=parent\nY=parent\n");
  placeModule();
  setupEnvironment(kModule);
  EXPECT_EQ(variable("X"), "module folder");
  EXPECT_FALSE(hasVariable("Y"));  // the hidden file is not read at all
}

TEST_F(EnvironmentSetup, AFolderNamedStartEnvIsSkipped) {
  fs::create_directories(tmp.file("a/b/c/start.env"));
  writeFile(tmp.file("a/b/start.env"), "[ENVIRONS]\nX=parent\n");
  placeModule();
  setupEnvironment(kModule);
  EXPECT_EQ(variable("X"), "parent");
}

TEST_F(EnvironmentSetup, EntriesOfEnvironsOnlyWithTheirFolderFilledIn) {
  writeFile(tmp.file("a/b/c/start.env"),
            "; comment\n"
            "TOP=outside any block\n"
            "[Other]\n"
            "NOT_MINE=1\n"
            "[environs]\n"
            "QUORVEL=%DirOfThisFile%/quorvel\n"
            "LOWER=%dirofthisfile%\n"
            "UPPER=%DIROFTHISFILE%/a;%DirOfThisFile%/b\n"
            "Raw=$QUORVEL/kept as written\n");
  placeModule();
  setupEnvironment(kModule);
  const std::string folder = tmp.file("a/b/c");
  EXPECT_EQ(variable("QUORVEL"), folder + "/quorvel");
  EXPECT_EQ(variable("LOWER"), folder);
  EXPECT_EQ(variable("UPPER"), folder + "/a;" + folder + "/b");
  EXPECT_EQ(variable("Raw"), "$QUORVEL/kept as written");  // not expanded, name's case kept
  EXPECT_FALSE(hasVariable("TOP"));
  EXPECT_FALSE(hasVariable("NOT_MINE"));
  EXPECT_EQ(variableFlag("QUORVEL"), 0);
  EXPECT_EQ(programDrive(), "");  // a POSIX path has no drive
}

TEST_F(EnvironmentSetup, TheProcessEnvironmentIsNotChanged) {
  platform::ScopedEnv unset("QUORVEL_ENV_PROBE");
  writeFile(tmp.file("a/b/c/start.env"), "[ENVIRONS]\nQUORVEL_ENV_PROBE=value\n");
  placeModule();
  setupEnvironment(kModule);
  EXPECT_EQ(variable("QUORVEL_ENV_PROBE"), "value");
  EXPECT_EQ(std::getenv("QUORVEL_ENV_PROBE"), nullptr);
  EXPECT_EQ(std::getenv("QUORVEL_PROGRAMDRIVE"), nullptr);
}

TEST_F(EnvironmentSetup, ALaterRunTakesTheEditedValues) {
  writeFile(tmp.file("a/b/c/start.env"), "[ENVIRONS]\nX=first\n");
  placeModule();
  setupEnvironment(kModule);
  EXPECT_EQ(variable("X"), "first");
  writeFile(tmp.file("a/b/c/start.env"), "[ENVIRONS]\nX=second\n");
  setupEnvironment(kModule);
  EXPECT_EQ(variable("X"), "second");
  EXPECT_EQ(programVariables().entries(), 1u);
}

TEST_F(EnvironmentSetup, ModuleOnADriveLetter) {
  // Drive v: is the temporary folder; the module sits three levels below its root.
  ScopedDrive drive("v", tmp.path());
  writeFile(tmp.file("start.env"), "[ENVIRONS]\nROOT=drive root\n");
  fs::create_directories(tmp.file("one/two/three"));
  platform::setModuleFileNameOverride(kModule, "V:\\one\\two\\three\\kestrix.dll");

  setupEnvironment(kModule);
  EXPECT_EQ(programDrive(), "V:");
  EXPECT_FALSE(hasVariable("ROOT"));  // the drive's root is above the grandparent

  writeFile(tmp.file("one/start.env"), "[ENVIRONS]\nQUORVEL=%DirOfThisFile%/q\n");
  setupEnvironment(kModule);
  EXPECT_EQ(variable("QUORVEL"), "V:/one/q");
}

TEST_F(EnvironmentSetup, ModuleOnANetworkShare) {
  ScopedDrive share("//envsrv/tools", tmp.path());
  writeFile(tmp.file("bin/start.env"), "[ENVIRONS]\nQUORVEL=%DirOfThisFile%/../q\n");
  platform::setModuleFileNameOverride(kModule, "\\\\envsrv\\tools\\bin\\kestrix.dll");
  setupEnvironment(kModule);
  EXPECT_EQ(programDrive(), "//envsrv/tools");
  EXPECT_EQ(variable("QUORVEL"), "//envsrv/tools/bin/../q");
}

TEST_F(EnvironmentSetup, AModuleWithoutAFolderNeverReadsTheWorkingFolder) {
  writeFile(tmp.file("start.env"), "[ENVIRONS]\nX=working folder\n");
  std::string old = platform::currentFolder();
  ASSERT_TRUE(platform::changeFolder(tmp.path()));
  platform::setModuleFileNameOverride(kModule, "kestrix.so");
  setupEnvironment(kModule);
  platform::clearModuleFileNameOverride(kModule);
  static int unknownModule;
  setupEnvironment(&unknownModule);  // no file name at all
  platform::changeFolder(old);
  EXPECT_FALSE(hasVariable("X"));
  EXPECT_EQ(programDrive(), "");
}

TEST_F(EnvironmentSetup, TheBuildTreesStartEnvPointsAtTheSamples) {
  // The test program lies in the build tree's bin folder, beside the deliverables and the
  // start.env written for them.
  std::string bin = fs::path(platform::moduleFileName(nullptr)).parent_path().string();
  ASSERT_TRUE(fs::is_regular_file(bin + "/start.env")) << bin;
  platform::setModuleFileNameOverride(kModule, bin + "/libkestrix2000.so");
  setupEnvironment(kModule);
  for (const char* name : {"QUORVEL", "QUORVEL_SETUP", "QUORVEL_USER"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(hasVariable(name));
    EXPECT_TRUE(fs::is_directory(variable(name)));
  }
  EXPECT_TRUE(fs::is_regular_file(variable("QUORVEL_SETUP") + "/trovsol.cfg"));
  EXPECT_EQ(variable("QUORVEL_BIN"), bin);
}
