#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Path.h"
#include "platform/testing/FileText.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"
#include "platform/testing/Unprivileged.h"

namespace platform {
namespace {

using kxtesting::readFile;
using kxtesting::writeFile;

namespace fs = std::filesystem;

TEST(FileSystemTest, StatusOfFilesFoldersAndLinks) {
  TempDir dir;
  writeFile(dir.file("a.txt"), "hello");
  fs::create_directory(dir.file("sub"));
  fs::create_symlink(dir.file("a.txt"), dir.file("link"));
  ASSERT_TRUE(setFileTimes(dir.file("a.txt"), 1000000000, 900000000));

  FileStatus st;
  ASSERT_TRUE(status(dir.file("a.txt"), st));
  EXPECT_EQ(st.kind, FileKind::File);
  EXPECT_EQ(st.size, 5u);
  EXPECT_EQ(st.modified, 1000000000);
  EXPECT_EQ(st.accessed, 900000000);
  EXPECT_FALSE(st.isLink);

  ASSERT_TRUE(status(dir.file("link"), st));
  EXPECT_EQ(st.kind, FileKind::File);
  EXPECT_TRUE(st.isLink);

  ASSERT_TRUE(status(dir.path() + "\\sub", st));   // either separator
  EXPECT_EQ(st.kind, FileKind::Folder);

  EXPECT_FALSE(status(dir.file("missing"), st));
  EXPECT_EQ(st.kind, FileKind::None);
  EXPECT_TRUE(isFile(dir.file("a.txt")));
  EXPECT_FALSE(isFile(dir.file("sub")));
  EXPECT_TRUE(isFolder(dir.file("sub")));

  // Only one of the two times is changed when only one is given.
  ASSERT_TRUE(setFileTimes(dir.file("a.txt"), std::nullopt, 1200000000));
  ASSERT_TRUE(status(dir.file("a.txt"), st));
  EXPECT_EQ(st.modified, 1000000000);
  EXPECT_EQ(st.accessed, 1200000000);
}

// Only a regular file, or a link to one, is opened; a pipe with no writer, a device or a folder
// gives null at once instead of blocking or reading without end.
TEST(FileSystemTest, OpenRegularFileOpensNothingElse) {
  TempDir dir;
  writeFile(dir.file("part.out"), "DRAWING");
  fs::create_symlink(dir.file("part.out"), dir.file("link.out"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.out").c_str(), 0644), 0);
  fs::create_symlink(dir.file("pipe.out"), dir.file("pipe-link.out"));
  fs::create_symlink("/dev/zero", dir.file("zero.out"));
  fs::create_directory(dir.file("folder.out"));
  fs::create_symlink(dir.file("none"), dir.file("dangling"));
  for (const char* name : {"part.out", "link.out"}) {
    std::FILE* f = openRegularFile(dir.file(name));
    ASSERT_NE(f, nullptr) << name;
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, f), 7u) << name;
    EXPECT_STREQ(text, "DRAWING");
    std::fclose(f);
  }
  for (const char* name :
       {"pipe.out", "pipe-link.out", "zero.out", "folder.out", "missing.out", "dangling"}) {
    EXPECT_EQ(openRegularFile(dir.file(name)), nullptr) << name;
  }
  EXPECT_EQ(openRegularFile("/dev/null"), nullptr);
  EXPECT_EQ(openRegularFile(""), nullptr);
}

// Modes that write open only a regular file as well: a pipe with no reader is neither waited on
// nor written, a device is not opened, and "w" empties a regular file as fopen does.
TEST(FileSystemTest, OpenRegularFileWithWritingModes) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", dir.file("zero"));
  fs::create_directory(dir.file("folder"));
  for (const char* mode : {"rb", "rb+", "wb", "wb+", "ab", "a+"}) {
    for (const char* name : {"pipe", "zero", "folder"})
      EXPECT_EQ(openRegularFile(dir.file(name), mode), nullptr) << name << " " << mode;
  }
  EXPECT_TRUE(fs::is_fifo(dir.file("pipe")));

  EXPECT_EQ(openRegularFile(dir.file("none"), "rb+"), nullptr);
  EXPECT_FALSE(fs::exists(dir.file("none")));
  writeFile(dir.file("kept"), "old");
  std::FILE* f = openRegularFile(dir.file("kept"), "ab");
  ASSERT_NE(f, nullptr);
  std::fputs("+new", f);
  std::fclose(f);
  EXPECT_EQ(readFile(dir.file("kept")), "old+new");
  f = openRegularFile(dir.file("kept"), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("w", f);
  std::fclose(f);
  EXPECT_EQ(readFile(dir.file("kept")), "w");
  f = openRegularFile(dir.file("made"), "wb+");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(fs::is_regular_file(dir.file("made")));
  EXPECT_EQ(openRegularFile(dir.file("kept"), "x"), nullptr) << "no such mode";
}

TEST(FileSystemTest, ReadRegularFileBoundsWhatItReads) {
  TempDir dir;
  writeFile(dir.file("ten"), "0123456789");
  writeFile(dir.file("empty"), "");
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", dir.file("zero"));
  fs::create_directory(dir.file("folder"));
  std::string text = "stale";
  EXPECT_EQ(readRegularFile(dir.file("ten"), text, 10), FileRead::Whole);
  EXPECT_EQ(text, "0123456789");
  EXPECT_EQ(readRegularFile(dir.file("ten"), text, 4), FileRead::TooLarge);
  EXPECT_EQ(text, "0123");
  EXPECT_EQ(readRegularFile(dir.file("ten"), text, 0), FileRead::TooLarge);
  EXPECT_EQ(text, "");
  EXPECT_EQ(readRegularFile(dir.file("empty"), text, 0), FileRead::Whole);
  for (const char* name : {"pipe", "zero", "folder", "none"}) {
    text = "stale";
    EXPECT_EQ(readRegularFile(dir.file(name), text, 1 << 20), FileRead::NotOpened) << name;
    EXPECT_EQ(text, "") << name;
  }
  // More than one read's worth, cut inside the second piece.
  const std::string big(100000, 'x');
  writeFile(dir.file("big"), big);
  EXPECT_EQ(readRegularFile(dir.file("big"), text, 70000), FileRead::TooLarge);
  EXPECT_EQ(text.size(), 70000u);
  EXPECT_EQ(readRegularFile(dir.file("big"), text, UINT64_MAX), FileRead::Whole);
  EXPECT_EQ(text, big);
}

TEST(FileSystemTest, AccessModes) {
  TempDir dir;
  writeFile(dir.file("rw"), "x");
  writeFile(dir.file("ro"), "x");
  fs::permissions(dir.file("ro"), fs::perms::owner_read);
  EXPECT_TRUE(exists(dir.file("rw")));
  EXPECT_TRUE(exists(dir.path()));
  EXPECT_FALSE(exists(dir.file("none")));
  EXPECT_TRUE(isAccessible(dir.file("rw"), kAccessRead | kAccessWrite));
  EXPECT_TRUE(isAccessible(dir.file("ro"), kAccessRead));
  bool privileged = std::ofstream(dir.file("ro"), std::ios::app).is_open();   // root writes anything
  if (!privileged) {
    EXPECT_FALSE(isAccessible(dir.file("ro"), kAccessWrite));
  }
}

TEST(FileSystemTest, MissingOnlyWhenNothingIsThere) {
  TempDir dir;
  writeFile(dir.file("a.txt"), "x");
  fs::create_directory(dir.file("sub"));
  fs::create_symlink(dir.file("gone"), dir.file("dangling"));
  fs::create_symlink(dir.file("loop"), dir.file("loop"));
  EXPECT_TRUE(isMissing(dir.file("none")));
  EXPECT_TRUE(isMissing(dir.file("none/x")));
  EXPECT_TRUE(isMissing(dir.file("a.txt/x")));    // a file is no folder to hold one
  EXPECT_TRUE(isMissing(dir.file("dangling")));
  EXPECT_FALSE(isMissing(dir.file("a.txt")));
  EXPECT_FALSE(isMissing(dir.file("sub")));
  EXPECT_FALSE(isMissing(dir.file("loop")));      // something is there that cannot be opened
}

TEST(FileSystemTest, RemoveRenameAndFolders) {
  TempDir dir;
  writeFile(dir.file("a"), "A");
  writeFile(dir.file("b"), "B");
  EXPECT_FALSE(renamePath(dir.file("a"), dir.file("b")));   // never overwrites
  EXPECT_EQ(readFile(dir.file("b")), "B");
  EXPECT_TRUE(renamePath(dir.file("a"), dir.file("c")));
  EXPECT_FALSE(exists(dir.file("a")));
  EXPECT_EQ(readFile(dir.file("c")), "A");

  EXPECT_TRUE(makeFolder(dir.file("f")));
  EXPECT_FALSE(makeFolder(dir.file("f")));
  EXPECT_FALSE(removeFile(dir.file("f")));   // a folder is not a file
  EXPECT_TRUE(makeFolders(dir.file("x/y/z")));
  EXPECT_TRUE(makeFolders(dir.file("x/y/z")));   // existing: still true
  EXPECT_TRUE(isFolder(dir.file("x/y/z")));
  EXPECT_FALSE(removeFolder(dir.file("x")));   // not empty
  EXPECT_FALSE(makeFolders(dir.file("c/sub")));   // "c" is a file
  EXPECT_TRUE(removeFile(dir.file("c")));
  EXPECT_FALSE(removeFile(dir.file("c")));
  EXPECT_TRUE(removeFolder(dir.file("f")));
}

TEST(FileSystemTest, ListingIsSortedAndTyped) {
  TempDir dir;
  writeFile(dir.file("b.cfg"), "");
  writeFile(dir.file("A.cfg"), "");
  fs::create_directory(dir.file("sub"));
  fs::create_directory_symlink(dir.file("sub"), dir.file("sublink"));
  fs::create_symlink(dir.file("gone"), dir.file("dangling"));
  std::vector<FolderEntry> e;
  ASSERT_TRUE(listFolder(dir.path(), e));
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].name, "A.cfg");
  EXPECT_EQ(e[0].kind, FileKind::File);
  EXPECT_EQ(e[1].name, "b.cfg");
  EXPECT_EQ(e[2].name, "dangling");
  EXPECT_EQ(e[2].kind, FileKind::Other);
  EXPECT_TRUE(e[2].isLink);
  EXPECT_EQ(e[3].name, "sub");
  EXPECT_EQ(e[3].kind, FileKind::Folder);
  EXPECT_FALSE(e[3].isLink);
  EXPECT_EQ(e[4].name, "sublink");
  EXPECT_EQ(e[4].kind, FileKind::Folder);
  EXPECT_TRUE(e[4].isLink);
  EXPECT_FALSE(listFolder(dir.file("none"), e));
  EXPECT_TRUE(e.empty());
}

TEST(FileSystemTest, CopyNeverDestroysItsSource) {
  TempDir dir;
  std::string big(300000, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  writeFile(dir.file("src"), big);
  EXPECT_TRUE(copyFile(dir.file("src"), dir.file("dst")));
  EXPECT_EQ(readFile(dir.file("dst")), big);
  writeFile(dir.file("dst"), "old and longer than the new one");
  writeFile(dir.file("small"), "new");
  EXPECT_TRUE(copyFile(dir.file("small"), dir.file("dst")));
  EXPECT_EQ(readFile(dir.file("dst")), "new");

  // The same file under other names: refused, left whole.
  fs::create_hard_link(dir.file("src"), dir.file("hard"));
  fs::create_symlink(dir.file("src"), dir.file("soft"));
  EXPECT_FALSE(copyFile(dir.file("src"), dir.file("src")));
  EXPECT_FALSE(copyFile(dir.file("src"), dir.file("hard")));
  EXPECT_FALSE(copyFile(dir.file("soft"), dir.file("src")));
  EXPECT_EQ(readFile(dir.file("src")), big);
  EXPECT_TRUE(sameFile(dir.file("src"), dir.file("hard")));
  EXPECT_TRUE(sameFile(dir.file("soft"), dir.file("./src")));
  EXPECT_FALSE(sameFile(dir.file("src"), dir.file("small")));
  EXPECT_FALSE(sameFile(dir.file("src"), dir.file("missing")));

  EXPECT_FALSE(copyFile(dir.file("missing"), dir.file("x")));
  EXPECT_FALSE(exists(dir.file("x")));
  EXPECT_FALSE(copyFile(dir.path(), dir.file("x")));   // a folder is no file
  // A pipe with no writer is not waited on, a device is not read without end.
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", dir.file("zero"));
  EXPECT_FALSE(copyFile(dir.file("pipe"), dir.file("x")));
  EXPECT_FALSE(copyFile(dir.file("zero"), dir.file("x")));
  EXPECT_FALSE(exists(dir.file("x")));
}

TEST(FileSystemTest, WorkingTempAndWindowsFolders) {
  TempDir dir;
  std::string old = currentFolder();
  ASSERT_FALSE(old.empty());
  ASSERT_TRUE(changeFolder(dir.path()));
  EXPECT_EQ(fs::path(currentFolder()), fs::canonical(dir.path()));
  ASSERT_TRUE(changeFolder(old));
  EXPECT_FALSE(changeFolder(dir.file("none")));

  {
    ScopedEnv tmp("TMPDIR", "/var/tmp/x//");
    EXPECT_EQ(tempFolder(), "/var/tmp/x");
  }
  {
    ScopedEnv tmp("TMPDIR", "");
    EXPECT_EQ(tempFolder(), "/tmp");
  }

  std::string def = windowsFolder();
  EXPECT_EQ(fs::path(def).filename(), "windows");
  setWindowsFolder("c:\\WINDOWS\\");
  EXPECT_EQ(windowsFolder(), "c:\\WINDOWS");
  setWindowsFolder("");
  EXPECT_EQ(windowsFolder(), def);
}

// ---- atomic replacement ---------------------------------------------------------------------

ReplaceStep gFailAt;
bool failAtStep(ReplaceStep step) { return step == gFailAt; }

class ReplaceTest : public ::testing::Test {
protected:
  void TearDown() override { setReplaceFaultHook(nullptr); }
  std::vector<std::string> names() {
    std::vector<FolderEntry> e;
    listFolder(dir.path(), e);
    std::vector<std::string> n;
    for (auto& x : e) n.push_back(x.name);
    return n;
  }
  TempDir dir;
};

TEST_F(ReplaceTest, WritesNewAndReplacesOld) {
  std::string file = dir.file("plinth.cfg");
  ASSERT_TRUE(replaceFileContents(file, "first"));
  EXPECT_EQ(readFile(file), "first");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(replaceFileContents(file, std::string("se\0cond", 7)));
  EXPECT_EQ(readFile(file), std::string("se\0cond", 7));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(names(), std::vector<std::string>{"plinth.cfg"});   // no temporary file left
}

TEST_F(ReplaceTest, AFailureAtAnyStepLeavesTheOldFileWhole) {
  std::string file = dir.file("plinth.cfg");
  writeFile(file, "old contents");
  for (ReplaceStep step : {ReplaceStep::CreateTemp, ReplaceStep::Write, ReplaceStep::Flush,
                           ReplaceStep::Close, ReplaceStep::Rename}) {
    gFailAt = step;
    setReplaceFaultHook(&failAtStep);
    std::string error;
    EXPECT_FALSE(replaceFileContents(file, "new contents", &error)) << int(step);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(file), "old contents") << int(step);
    EXPECT_EQ(names(), std::vector<std::string>{"plinth.cfg"}) << int(step);
  }
  setReplaceFaultHook(nullptr);
  EXPECT_TRUE(replaceFileContents(file, "new contents"));
  EXPECT_EQ(readFile(file), "new contents");
}

TEST_F(ReplaceTest, ALinkStaysALink) {
  fs::create_directory(dir.file("real"));
  writeFile(dir.file("real/target"), "old");
  fs::create_symlink("real/target", dir.file("link"));
  ASSERT_TRUE(replaceFileContents(dir.file("link"), "new"));
  EXPECT_TRUE(fs::is_symlink(dir.file("link")));
  EXPECT_EQ(readFile(dir.file("real/target")), "new");
}

// A file its user may not write stays as it is, bytes and mode, though the folder would let a
// rename replace it; so does the destination of a copy. Run as a user the mode applies to.
TEST_F(ReplaceTest, RefusesAFileItsUserMayNotWrite) {
  const std::string file = dir.file("plinth.cfg");
  writeFile(file, "old contents");
  writeFile(dir.file("source"), "copied");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.path(), fs::perms::all);
  const UnprivilegedRun run = runUnprivileged(dir.path(), [&] {
    std::string error;
    const bool replaced = replaceFileContents(file, "new contents", &error);
    const bool copied = copyFile(dir.file("source"), file);
    return std::to_string(replaced) + std::to_string(copied) + " " + error;
  });
  if (!run.ran) GTEST_SKIP() << run.skipped;
  EXPECT_EQ(run.result, "00 replace " + file + ": Permission denied");
  EXPECT_EQ(readFile(file), "old contents");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(names(), (std::vector<std::string>{"plinth.cfg", "source"}));   // no temporary left
}

TEST_F(ReplaceTest, RefusesFoldersAndMissingFolders) {
  fs::create_directory(dir.file("sub"));
  EXPECT_FALSE(replaceFileContents(dir.file("sub"), "x"));
  EXPECT_TRUE(isFolder(dir.file("sub")));
  std::string error;
  EXPECT_FALSE(replaceFileContents(dir.file("none/x"), "x", &error));
  EXPECT_NE(error.find("none"), std::string::npos);
  // A loop of links cannot be looked at: it may stand for a file, and stays as it is.
  fs::create_symlink("loop", dir.file("loop"));
  EXPECT_FALSE(replaceFileContents(dir.file("loop"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.file("loop")));
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

// The pid of a process that has ended.
long deadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return static_cast<long>(child);
}

TEST_F(ReplaceTest, RemovesOnlyStaleTemporariesOfTheSameFile) {
  const std::string file = dir.file("plinth.cfg");
  writeFile(file, "old");
  const std::string dead = std::to_string(deadPid());
  const std::string live = std::to_string(static_cast<long>(::getpid()));
  const std::string stale = ".plinth.cfg.tmp-" + dead + "-0badf00d";
  const std::string running = ".plinth.cfg.tmp-" + live + "-12345678";      // a save in progress
  const std::string other = ".other.cfg.tmp-" + dead + "-0badf00d";         // another file's
  const std::string foreign = ".plinth.cfg.tmp-" + dead + "-notahex1";      // not of the form
  const std::string old = ".plinth.cfg.tmp-0badf00d";                       // no pid in it
  for (const std::string& n : {stale, running, other, foreign, old}) writeFile(dir.file(n), "x");
  // A stale temporary whose lock someone holds is in use: it stays too.
  const std::string held = ".plinth.cfg.tmp-" + dead + "-aaaaaaaa";
  writeFile(dir.file(held), "x");
  const int fd = ::open(dir.file(held).c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);

  ASSERT_TRUE(replaceFileContents(file, "new"));
  EXPECT_EQ(readFile(file), "new");
  std::vector<std::string> expected = {other, foreign, old, running, held, "plinth.cfg"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(), expected);

  ::close(fd);   // its writer is gone now
  removeStaleReplacements(file);
  expected.erase(std::find(expected.begin(), expected.end(), held));
  EXPECT_EQ(names(), expected);
}

}  // namespace
}  // namespace platform
