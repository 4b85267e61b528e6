// Tests of the path and file helpers: the path arithmetic in tables, the file-system helpers on
// a temporary folder mapped as drive c.

#include "config/PathHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/VariableTables.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Path.h"
#include "platform/Registry.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

namespace fs = std::filesystem;

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

std::vector<std::string> V(const RWTValOrderedVector<RWCString>& v) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < v.count(); ++i) out.push_back(S(v[i]));
  return out;
}

std::string readAll(const std::string& nativePath) {
  std::ifstream in(nativePath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& nativePath, const std::string& text) {
  std::ofstream(nativePath, std::ios::binary) << text;
}

// Drive c is the temporary folder; no other drive is mapped. Own tables, registry root and HOME.
class PathHelpers : public ::testing::Test {
 protected:
  PathHelpers()
      : drives_("KESTRIX_DRIVES"),
        registryEnv_("KESTRIX_REGISTRY", dir_.file("registry")),
        home_("HOME", dir_.file("home")),
        workingFolder_(platform::currentFolder()) {
    platform::setRegistryRoot(dir_.file("registry"));
    platform::clearDrives();
    platform::setDrive("c", dir_.path());
    clearVariables();
    clearFallbackVariables();
  }
  ~PathHelpers() override {
    platform::changeFolder(workingFolder_);
    platform::clearDrives();
    platform::setRegistryRoot("");
    clearVariables();
  }
  std::string native(const std::string& relative) const { return dir_.file(relative); }

  platform::TempDir dir_;
  platform::ScopedEnv drives_;
  platform::ScopedEnv registryEnv_;
  platform::ScopedEnv home_;
  std::string workingFolder_;
};

TEST(PathText, StripAndSeparators) {
  struct Case { const char* text; int mode; const char* chars; const char* expected; };
  const Case cases[] = {
      {"  ab  ", kStripLeading, " ", "ab  "},  {"  ab  ", kStripTrailing, " ", "  ab"},
      {"  ab  ", kStripBoth, " ", "ab"},       {"xyabyx", kStripBoth, "xy", "ab"},
      {"aaa", kStripBoth, "a", ""},            {"ab", kStripBoth, "", "ab"},
      {"/a/\\", kStripTrailing, "/\\", "/a"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(stripChars(c.text, c.mode, c.chars)), c.expected) << c.text << " " << c.mode;
  EXPECT_EQ(S(toNativeSeparators("a/b\\c/ \n")), "a\\b\\c");
  EXPECT_EQ(S(toSlashSeparators("a\\b/c\\\\ \t")), "a/b/c");
  EXPECT_EQ(S(toSlashSeparators("c:\\")), "c:");
}

TEST(PathText, SplitPath) {
  struct Case { const char* text; std::vector<std::string> parts; };
  const Case cases[] = {
      {"/a/b", {"/a", "b"}},          {"//server/share", {"//server", "share"}},
      {"a\\b/c", {"a", "b", "c"}},    {"a//b", {"a", "", "b"}},
      {"a/", {"a"}},                  {"", {}},
      {"/", {"/"}},                   {"c:/x", {"c:", "x"}},
      {"\\\\srv\\sh", {"\\\\srv", "sh"}},
  };
  for (const Case& c : cases) EXPECT_EQ(V(splitPath(c.text)), c.parts) << c.text;
}

TEST(PathText, ResolveDots) {
  struct Case { const char* text; const char* expected; };
  const Case cases[] = {
      {"/a/./b/../c", "/a/c"},   {"../x", "../x"},           {"a/../../b", "../b"},
      {"/a/../b", "/b"},          // stays absolute
      {"../../x", "../../x"},     // ".." never cancels another ".."
      {"/../x", "/x"},            {"c:/a/../..", "c:/"},      {"c:\\a\\.\\b", "c:/a/b"},
      {"c:x/../y", "c:y"},        {"//srv/share/../x", "//srv/share/x"},
      {"/", "/"},                 {"", ""},                   {"a/b/..", "a"},
      {"a/..", ""},               {"./a/", "a"},              {"a//b", "a/b"},
      // Only two leading separators start a network path; three or more are the root '///'.
      {"///a/b", "///a/b"},       {"////a", "///a"},          {"///x/../y", "///y"},
      {"\\\\\\a\\b", "///a/b"},
      {"///../y", "///y"},        // deviation: nothing lies above this root either
  };
  for (const Case& c : cases) EXPECT_EQ(S(resolveDots(c.text)), c.expected) << c.text;
}

TEST_F(PathHelpers, PartsOfAPath) {
  const std::string cwd = platform::currentFolder();
  struct Case { const char* path; bool useCwd; std::string expected; };
  const Case cases[] = {
      {"c:x", false, "c:/"},        {"c:/x", false, "c:/"},       {"file", false, ""},
      {"file", true, cwd},          {"/file", false, ""},         {"/file", true, cwd},
      {"a/b/c", false, "a/b"},      {"a\\b", false, "a"},         {"//srv/share", false, "//srv"},
      {"x/", false, "x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(directoryPart(c.path, c.useCwd)), c.expected) << c.path;

  struct Name { const char* path; const char* file; const char* extension; };
  const Name names[] = {
      {"a/b.txt", "b.txt", "txt"},  {"c:x", "x", ""},          {"file", "file", ""},
      {"", "", ""},                 {"a/", "", ""},            {"a\\b", "b", ""},
      {"Data.CFG", "Data.CFG", "cfg"}, {"dir.d/file", "file", "d/file"},
      {"file.", "file.", ""},       {"a.tar.GZ", "a.tar.GZ", "gz"},
  };
  for (const Name& n : names) {
    EXPECT_EQ(S(fileNamePart(n.path)), n.file) << n.path;
    EXPECT_EQ(S(fileExtension(n.path)), n.extension) << n.path;
  }
}

TEST_F(PathHelpers, AbsolutePath) {
  setVariable("ABS", "c:/abs");
  setVariable("REL", "rel");
  struct Case { const char* base; const char* name; bool expand; const char* expected; };
  const Case cases[] = {
      {"c:/base", "x/y", false, "c:/base/x/y"},    {"c:\\base\\", "../x", false, "c:/x"},
      {"c:/base", "d:/x", false, "d:/x"},          {"c:/base", "/x", false, "/x"},
      {"c:/base", "\\x", false, "/x"},             {"", "a/./b", false, "a/b"},
      {"c:/base", "$ABS/x", false, "$ABS/x"},      // absolute once expanded, kept as given
      {"c:/base", "$ABS/x", true, "c:/abs/x"},     {"c:/base", "$REL/x", true, "c:/base/rel/x"},
      {"c:/base", "$NOPE/x", true, "c:/base/$NOPE/x"},
      {"", "///srv/x", false, "///srv/x"},         {"c:/base", "////srv/x", false, "///srv/x"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(absolutePath(c.base, c.name, c.expand)), c.expected) << c.base << " + " << c.name;
}

TEST_F(PathHelpers, ComparePathsAndRelativePaths) {
  setVariable("ABS", "c:/abs");
  struct Compare { const char* a; const char* b; int expected; };
  const Compare compares[] = {
      {"c:/a/b", "c:/A", 1},         {"c:/ab", "c:/a", -1},       {"c:/a", "c:/a/b", 2},
      {"C:\\A\\", "c:/a", 0},        {"c:/a/./b/..", "c:/A", 0},  {"/x", "/", 1},
      {"c:/x", "c:/", 1},            {"$ABS/sub", "c:/abs", 1},   {"c:/a", "d:/a", -1},
      // Inside only when the character after b is '/', '\' or ':'.
      {"c:a", "c:", -1},             {"c:\\a", "c:", 1},          {"c:a", "c", 1},
      {"c:", "c:a", -1},
      // Three leading separators are no network path: "///a/b" is not "//a/b" (server a).
      {"///a/b", "//a/b", -1},       {"////a/b", "///a/b", 0},    {"///a/b", "///a", 1},
  };
  for (const Compare& c : compares)
    EXPECT_EQ(comparePaths(c.a, c.b), c.expected) << c.a << " vs " << c.b;

  struct Relative { const char* base; const char* path; const char* expected; int status; };
  const Relative relatives[] = {
      {"c:/base", "c:/Base/sub/f.txt", "sub/f.txt", 1},  {"c:/base", "c:/base", "", 1},
      {"c:\\base\\", "c:/base/f", "f", 1},               {"c:/base/x", "c:/base", "", -1},
      {"c:/other", "c:/base/f", "", -1},                 {"c:/bas", "c:/base/f", "", -1},
      {"$NOPE", "c:/x", "", -1},                         // no success without a base
      {"$ABS", "c:/abs/q", "q", 1},
  };
  for (const Relative& r : relatives) {
    int status = 0;
    EXPECT_EQ(S(relativePath(r.base, r.path, &status)), r.expected) << r.base << " " << r.path;
    EXPECT_EQ(status, r.status) << r.base << " " << r.path;
  }
  int status = 0;
  EXPECT_EQ(S(universalName("c:/x", &status)), "c:/x");
  EXPECT_EQ(status, -1);
}

TEST_F(PathHelpers, UniversalNameOfADriveInsideAShare) {
  // n: stands for a folder inside the share's folder, as a mapped network drive would.
  ASSERT_TRUE(platform::makeFolder(native("share")));
  ASSERT_TRUE(platform::makeFolder(native("share/projects")));
  platform::setDrive("//srv/cad", native("share"));
  platform::setDrive("n", native("share/projects"));
  int status = 0;
  EXPECT_EQ(S(universalName("n:\\a\\b.cfg", &status)), "//srv/cad/projects/a/b.cfg");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(comparePaths("n:/a/b.cfg", "//srv/cad/projects"), 1);
}

TEST_F(PathHelpers, MakeDirectoriesAndCanCreateFile) {
  EXPECT_TRUE(makeDirectories("c:/m/n/o"));
  EXPECT_TRUE(fs::is_directory(native("m/n/o")));
  EXPECT_TRUE(makeDirectories(native("p/q").c_str()));
  EXPECT_FALSE(makeDirectories("q:/unmapped/x"));

  writeFile(native("m/existing.txt"), "x");
  struct Case { const char* path; int expected; };
  const Case cases[] = {
      {"c:/m/existing.txt", 1},  {"c:/m/new.txt", 1},  {"c:/m/a/b/c/new.txt", 1},
      {"", 0},                   {"q:/x/y", 0},        {"c:/m/existing.txt/sub", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(canCreateFile(c.path), c.expected) << c.path;
  // The tests leave nothing behind.
  EXPECT_FALSE(fs::exists(native("m/new.txt")));
  EXPECT_FALSE(fs::exists(native("m/a")));

  fs::permissions(native("m/existing.txt"), fs::perms::owner_read);
  if (!platform::isAccessible(native("m/existing.txt"), platform::kAccessWrite))
    EXPECT_EQ(canCreateFile("c:/m/existing.txt"), 0);
}

TEST_F(PathHelpers, FindInSearchPath) {
  makeDirectories("c:/s1");
  makeDirectories("c:/s2");
  writeFile(native("s1/f.txt"), "1");
  writeFile(native("s2/f.txt"), "2");
  writeFile(native("s2/only2.txt"), "2");
  setVariable("SP", "c:/s1");
  struct Case { const char* name; const char* list; bool expanded; const char* expected; };
  const Case cases[] = {
      {"f.txt", "c:/s0;$SP/;c:/s2", true, "c:/s1/f.txt"},
      {"f.txt", "c:/s0;$SP/;c:/s2", false, "$SP/f.txt"},
      {"only2.txt/", "$NOPE;;c:/s2\\", true, "c:/s2/only2.txt"},
      {"c:/s2/f.txt", "$SP", false, "c:/s2/f.txt"},       // absolute and present
      {"f.txt", "", true, ""},                            // an empty list finds nothing
      {"missing.txt", "c:/s1;c:/s2", true, ""},
      {"", "c:/s0;c:/s2", true, "c:/s2"},                 // no name: the folder itself
  };
  for (const Case& c : cases)
    EXPECT_EQ(S(findInSearchPath(c.name, c.list, c.expanded)), c.expected) << c.name << " in "
                                                                            << c.list;
}

TEST_F(PathHelpers, CopyFileKeepTimes) {
  makeDirectories("c:/d");
  writeFile(native("d/src.txt"), "hello");
  ASSERT_TRUE(platform::setFileTimes("c:/d/src.txt", 1000000000, 1000000000));
  EXPECT_EQ(copyFileKeepTimes("c:/d/copy.txt", "c:\\d\\src.txt"), 1);
  EXPECT_EQ(readAll(native("d/copy.txt")), "hello");
  platform::FileStatus st;
  ASSERT_TRUE(platform::status("c:/d/copy.txt", st));
  EXPECT_EQ(st.modified, 1000000000);

  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  writeFile(native("d/big.bin"), big);
  EXPECT_EQ(copyFileKeepTimes("c:/d/big-copy.bin", "c:/d/big.bin"), 1);
  EXPECT_EQ(readAll(native("d/big-copy.bin")), big);

  EXPECT_EQ(copyFileKeepTimes("c:/d/x.txt", "c:/d/missing.txt"), -2);
  EXPECT_EQ(copyFileKeepTimes("c:/nofolder/x.txt", "c:/d/src.txt"), -3);
  EXPECT_EQ(copyFileKeepTimes("c:/d/x.txt", "q:/unmapped.txt"), -2);
}

TEST_F(PathHelpers, CopyOntoItselfCopiesNothing) {
  makeDirectories("c:/d/sub");
  writeFile(native("d/src.txt"), "precious");
  fs::create_hard_link(native("d/src.txt"), native("d/hard.txt"));
  fs::create_symlink(native("d/src.txt"), native("d/soft.txt"));
  platform::setDrive("e", dir_.path());  // a second drive onto the same folder
  const std::string sameFile[] = {"C:\\D\\SRC.TXT", "c:/d/src.txt/",   "c:/d/hard.txt",
                                  "c:/d/soft.txt",    "e:/d/src.txt",    "c:/d/sub/../src.txt",
                                  native("d/src.txt")};
  for (const std::string& destination : sameFile) {
    EXPECT_EQ(copyFileKeepTimes(destination.c_str(), "c:/d/src.txt"), 0) << destination;
    EXPECT_EQ(readAll(native("d/src.txt")), "precious") << destination;
  }
}

TEST_F(PathHelpers, SizesAndTimes) {
  makeDirectories("c:/t");
  writeFile(native("t/five"), "12345");
  writeFile(native("t/empty"), "");
  EXPECT_EQ(fileSize("c:/t/five"), 5);
  EXPECT_EQ(fileSize("c:/t/empty"), 0);
  EXPECT_EQ(fileSize("c:/t/missing"), -1);
  EXPECT_EQ(fileSize("c:/t"), -1);

  ASSERT_TRUE(platform::setFileTimes("c:/t/five", 100, 100));
  ASSERT_TRUE(platform::setFileTimes("c:/t/empty", 200, 200));
  int status = 0;
  EXPECT_EQ(compareModificationTimes("c:/t/five", "c:/t/empty", &status), -1);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(compareModificationTimes("c:/t/empty", "c:/t/five", &status), 1);
  EXPECT_EQ(compareModificationTimes("c:/t/five", "c:/t/five", &status), 0);
  compareModificationTimes("c:/t/five", "c:/t/missing", &status);
  EXPECT_EQ(status, -1);
}

TEST_F(PathHelpers, WorkingDirectory) {
  makeDirectories("c:/w/inner");
  const std::string inner = fs::canonical(native("w/inner")).string();
  const std::string before = platform::currentFolder();

  int status = 0;
  EXPECT_EQ(S(absoluteDirectory("c:/w/x/../inner/", &status)), inner);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(platform::currentFolder(), before);  // restored
  EXPECT_EQ(S(absoluteDirectory("$NOPE/x", &status)), "NOPE");
  EXPECT_EQ(status, -2);
  EXPECT_EQ(S(absoluteDirectory("c:/w/missing", &status)), "");
  EXPECT_EQ(status, -3);
  EXPECT_EQ(S(absoluteDirectory("/", &status)), "/");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(platform::currentFolder(), before);

  setVariable("W", "c:/w");
  EXPECT_EQ(changeDirectory("$W/inner\\"), 1);
  EXPECT_EQ(S(currentDirectory()), inner);
  EXPECT_EQ(S(directoryPart("file", true)), inner);
  EXPECT_EQ(changeDirectory("$NOPE"), -1);
  EXPECT_EQ(changeDirectory("c:/w/missing"), -1);
  EXPECT_EQ(changeDirectory("q:/x"), -1);
  EXPECT_EQ(S(currentDirectory()), inner);
}

TEST_F(PathHelpers, ModuleFileName) {
  EXPECT_FALSE(moduleFileName().isEmpty());
  const platform::ModuleHandle self =
      platform::moduleOfAddress(reinterpret_cast<const void*>(&moduleFolder));
  platform::setModuleFileNameOverride(self, "c:/cad/bin/kx.dll");
  EXPECT_EQ(S(moduleFolder()), "c:/cad/bin");
  EXPECT_EQ(S(moduleFileName()), "kx.dll");
  platform::setModuleFileNameOverride(self, "//srv/share/kx.dll");
  EXPECT_EQ(S(moduleFolder()), "//srv/share");
  platform::setModuleFileNameOverride(self, "c:/kx.dll");
  EXPECT_EQ(S(moduleFolder()), "c:/");
  platform::clearModuleFileNameOverride(self);
}

}  // namespace
