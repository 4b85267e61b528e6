#include "config/dirEntry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/FileSystem.h"
#include "platform/testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string str(const pathNameC& p) {
  RWCString t = p.text();
  return std::string(t.data(), t.length());
}

}  // namespace

TEST(dirEntryC, SplitsAFullPath) {
  struct Case {
    const char* full;
    const char* directory;
    const char* name;
    const char* fullPath;
  } cases[] = {
      {"a/b", "a", "b", "a/b"},
      {"/a", "/", "a", "/a"},
      {"/a/b/c", "/a/b", "c", "/a/b/c"},
      {"c:/x", "c:", "x", "c:/x"},
      {"a", "", "a", "a"},
      {"/", "", "/", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.full);
    dirEntryC e{pathNameC(c.full)};
    EXPECT_EQ(str(e.directory()), c.directory);
    EXPECT_EQ(str(e.name()), c.name);
    EXPECT_EQ(str(e.fullPath()), c.fullPath);
    EXPECT_EQ(e.kind(), dirEntryC::unknownEntry);
  }
  // An absolute name stands for itself.
  EXPECT_EQ(str(dirEntryC(pathNameC("/dir"), pathNameC("/other")).fullPath()), "/other");
}

TEST(dirEntryC, ExistsCreateRemoveByKind) {
  platform::TempDir tmp;
  pathNameC folder(RWCString(tmp.path().c_str()));
  dirEntryC file(folder, pathNameC("f.txt"), dirEntryC::fileEntry);
  dirEntryC dir(folder, pathNameC("d"), dirEntryC::directoryEntry);
  dirEntryC unknown(folder, pathNameC("f.txt"));

  EXPECT_EQ(file.exists(), 0);
  EXPECT_EQ(file.create(), 1);
  EXPECT_EQ(file.exists(), 1);
  EXPECT_EQ(unknown.exists(), 0);
  EXPECT_EQ(unknown.create(), 0);
  EXPECT_EQ(unknown.remove(), 0);
  // The same name tested as a folder is not there.
  EXPECT_EQ(dirEntryC(folder, pathNameC("f.txt"), dirEntryC::directoryEntry).exists(), 0);

  // Creating an existing file keeps its contents.
  std::ofstream(tmp.file("f.txt"), std::ios::binary) << "kept";
  EXPECT_EQ(file.create(), 1);
  std::ifstream in(tmp.file("f.txt"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "kept");

  EXPECT_EQ(dir.create(), 1);
  EXPECT_EQ(dir.exists(), 1);
  EXPECT_EQ(dir.create(), 0);  // one mkdir: an existing folder is not made again
  EXPECT_EQ(dir.remove(), 1);
  EXPECT_FALSE(fs::exists(tmp.file("d")));
  EXPECT_EQ(file.remove(), 1);
  EXPECT_FALSE(fs::exists(tmp.file("f.txt")));
  EXPECT_EQ(file.remove(), 0);

  EXPECT_EQ(dirEntryC(pathNameC("q:")).exists(), 1);  // a drive root, whatever the kind
}

TEST(dirEntryC, CurrentDirectoryEntry) {
  platform::TempDir tmp;
  std::string old = platform::currentFolder();
  ASSERT_TRUE(platform::changeFolder(tmp.path()));
  dirEntryC here = dirEntryC::currentDirectoryEntry();
  std::string real = fs::canonical(tmp.path()).string();
  EXPECT_EQ(here.kind(), dirEntryC::directoryEntry);
  EXPECT_EQ(str(here.fullPath()), real);
  EXPECT_EQ(str(here.name()), fs::path(real).filename().string());
  EXPECT_TRUE(here.fullPath().isAbsolute());
  EXPECT_EQ(here.exists(), 1);
  platform::changeFolder(old);
}
