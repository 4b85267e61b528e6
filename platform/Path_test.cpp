#include "platform/Path.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace platform {
namespace {

class PathTest : public ::testing::Test {
protected:
  void SetUp() override {
    loadDrives("c=/srv/cad;D:=/mnt/d/;//Server/Share=/mnt/share;e=/");
  }
  void TearDown() override { clearDrives(); }
};

TEST_F(PathTest, MapsProgramPaths) {
  struct Case {
    const char* program;
    bool ok;
    const char* native;
  } cases[] = {
      {"c:/x/y.cfg", true, "/srv/cad/x/y.cfg"},
      {"C:\\x\\y.cfg", true, "/srv/cad/x/y.cfg"},
      {"c:x", true, "/srv/cad/x"},
      {"c:", true, "/srv/cad"},
      {"c:/", true, "/srv/cad/"},
      {"d:/a", true, "/mnt/d/a"},
      {"e:/a", true, "/a"},
      {"e:", true, "/"},
      {"e:/", true, "/"},
      {"//server/share/a/b", true, "/mnt/share/a/b"},
      {"\\\\SERVER\\SHARE\\a", true, "/mnt/share/a"},
      {"//server/share", true, "/mnt/share"},
      {"c:/a/../../../etc/passwd", true, "/srv/cad/etc/passwd"},
      {"c:\\..\\..", true, "/srv/cad"},
      {"c:/a/./b/../c", true, "/srv/cad/a/c"},
      {"/usr/lib", true, "/usr/lib"},
      {"rel\\dir\\f", true, "rel/dir/f"},
      {"..\\up", true, "../up"},
      {"f:/unmapped", false, ""},
      {"f:plinth.out", false, ""},
      {"c:\\", true, "/srv/cad/"},
      {"//other/share/x", false, ""},
      {"//server", false, ""},
      {"//server/", false, ""},
      {"", false, ""},
      {"1:/x", true, "1:/x"},   // not a drive letter: an ordinary relative name
  };
  for (const Case& c : cases) {
    std::string native = "stale";
    EXPECT_EQ(osPath(c.program, native), c.ok) << c.program;
    EXPECT_EQ(native, c.native) << c.program;
    EXPECT_EQ(osPath(c.program), c.native) << c.program;
  }
}

TEST_F(PathTest, InputMayBeTheOutput) {
  std::string s = "c:\\x\\y";
  ASSERT_TRUE(osPath(s, s));
  EXPECT_EQ(s, "/srv/cad/x/y");
  s = "rel\\x";
  ASSERT_TRUE(osPath(s, s));
  EXPECT_EQ(s, "rel/x");
}

TEST_F(PathTest, UnmappedDriveCreatesNothingInTheWorkingFolder) {
  TempDir dir;
  std::string old = currentFolder();
  ASSERT_TRUE(changeFolder(dir.path()));
  EXPECT_FALSE(replaceFileContents("q:\\plinth.out", "x"));
  EXPECT_FALSE(makeFolder("q:\\sub"));
  EXPECT_FALSE(exists("q:\\plinth.out"));
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(listFolder(".", entries));
  EXPECT_TRUE(entries.empty());
  ASSERT_TRUE(changeFolder(old));
}

TEST_F(PathTest, ProgramPathIsTheReverseWithTheLongestRoot) {
  ASSERT_TRUE(removeDrive("e"));   // "/" would hold every absolute path
  ASSERT_TRUE(setDrive("g", "/srv/cad/deep"));
  EXPECT_EQ(programPath("/srv/cad/x"), "c:/x");
  EXPECT_EQ(programPath("/srv/cad"), "c:/");
  EXPECT_EQ(programPath("/srv/cad/deep/y"), "g:/y");
  EXPECT_EQ(programPath("/srv/cadx/y"), "/srv/cadx/y");   // a longer folder name is not inside
  EXPECT_EQ(programPath("/mnt/share/p"), "//Server/Share/p");
  EXPECT_EQ(programPath("relative/x"), "relative/x");
}

TEST_F(PathTest, UniversalNamesOfNetworkDrives) {
  ASSERT_TRUE(setDrive("n", "/mnt/share"));
  ASSERT_TRUE(setDrive("s", "/mnt/share/sub/dir"));
  ASSERT_TRUE(setDrive("x", "/mnt/sharex"));
  struct Case {
    const char* path;
    bool ok;
    const char* universal;
  } cases[] = {
      {"n:\\a\\b.cfg", true, "//Server/Share/a/b.cfg"},
      {"N:/", true, "//Server/Share/"},
      {"s:/f", true, "//Server/Share/sub/dir/f"},
      {"s:/../../f", true, "//Server/Share/sub/dir/f"},
      {"c:/a", false, ""},      // a local drive
      {"x:/a", false, ""},      // a folder that only starts like the share's
      {"q:/a", false, ""},      // unmapped
      {"//server/share/a", false, ""},
      {"/mnt/share/a", false, ""},
  };
  for (const Case& c : cases) {
    std::string u = "stale";
    EXPECT_EQ(universalName(c.path, u), c.ok) << c.path;
    EXPECT_EQ(u, c.universal) << c.path;
  }
}

TEST_F(PathTest, SetAndRemoveEntries) {
  EXPECT_FALSE(setDrive("cc", "/x"));
  EXPECT_FALSE(setDrive("c", ""));
  EXPECT_FALSE(setDrive("c", "relative"));
  EXPECT_FALSE(setDrive("//server", "/x"));
  EXPECT_FALSE(setDrive("//a/b/c", "/x"));
  EXPECT_EQ(osPath("c:/x"), "/srv/cad/x");   // the failed calls changed nothing
  ASSERT_TRUE(setDrive("C:", "/other/"));
  EXPECT_EQ(osPath("c:/x"), "/other/x");
  EXPECT_TRUE(removeDrive("c"));
  EXPECT_FALSE(removeDrive("c"));
  EXPECT_EQ(osPath("c:/x"), "");
}

TEST_F(PathTest, TableFromTheEnvironmentSkipsMalformedEntries) {
  ScopedEnv env("KESTRIX_DRIVES", "x=/one;bad;=/two;yy=/three;;//s/t=/four;z=rel");
  EXPECT_EQ(loadDrivesFromEnvironment(), 2);
  EXPECT_EQ(osPath("x:/a"), "/one/a");
  EXPECT_EQ(osPath("//S/T/a"), "/four/a");
  EXPECT_EQ(osPath("c:/a"), "");   // the earlier table is replaced
  EXPECT_EQ(osPath("z:/a"), "");
}

}  // namespace
}  // namespace platform
