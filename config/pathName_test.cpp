#include "config/pathName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/RWZone.h"
#include "foundation/TimeStamp.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/testing/FileText.h"
#include "platform/testing/ScopedDrive.h"
#include "platform/testing/TempDir.h"

namespace fs = std::filesystem;

namespace {

using platform::ScopedDrive;

using kxtesting::readFile;
using kxtesting::writeFile;

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// Enters a folder for one test and goes back to the previous working folder afterwards.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::string& folder) : old_(platform::currentFolder()) {
    EXPECT_TRUE(platform::changeFolder(folder));
  }
  ~ScopedWorkingFolder() { platform::changeFolder(old_); }

 private:
  std::string old_;
};

}  // namespace

// ---- path text

struct TextCase {
  const char* input;
  const char* text;
  bool absolute;
  const char* parent;
  const char* fileName;
  const char* extension;
  const char* drive;  // driveLetter
  const char* server;
  const char* share;
  bool serverOnly;
  bool shareRoot;
};

TEST(pathNameC, TextOperationsTable) {
  const TextCase cases[] = {
      // input                     text                  abs    parent             file       ext    drv  server    share    srvOnly shareRoot
      {"c:\\temp\\", "c:/temp", true, "c:", "temp", "", "c", "", "", false, false},
      {"c:", "c:", true, "", "c:", "", "c", "", "", false, false},
      {"c:x", "c:x", false, "", "c:x", "", "c", "", "", false, false},
      {"C:/a/b.txt", "C:/a/b.txt", true, "C:/a", "b.txt", "txt", "C", "", "", false, false},
      {"/", "/", true, "", "/", "", "", "", "", false, false},
      {"//", "/", true, "", "/", "", "", "", "", false, false},
      {"/a", "/a", true, "/", "a", "", "", "", "", false, false},
      {"a", "a", false, "", "a", "", "", "", "", false, false},
      {"a/b//", "a/b", false, "a", "b", "", "", "", "", false, false},
      {"a.b/c", "a.b/c", false, "a.b", "c", "", "", "", "", false, false},
      {"dir.d/file.CFG", "dir.d/file.CFG", false, "dir.d", "file.CFG", "CFG", "", "", "", false,
       false},
      {"x.tar.gz", "x.tar.gz", false, "", "x.tar.gz", "gz", "", "", "", false, false},
      {"", "", false, "", "", "", "", "", "", false, false},
      {"//server", "//server", true, "/", "server", "", "", "server", "", true, false},
      {"\\\\server\\share", "//server/share", true, "//server", "share", "", "", "server",
       "share", false, true},
      {"//srv/share/dir/f.txt", "//srv/share/dir/f.txt", true, "//srv/share/dir", "f.txt", "txt",
       "", "srv", "share", false, false},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    pathNameC p(c.input);
    EXPECT_EQ(str(p.text()), c.text);
    EXPECT_EQ(p.isAbsolute(), c.absolute);
    EXPECT_EQ(str(p.parent().text()), c.parent);
    EXPECT_EQ(str(p.fileName()), c.fileName);
    EXPECT_EQ(str(p.extension()), c.extension);
    EXPECT_EQ(str(p.driveLetter()), c.drive);
    EXPECT_EQ(p.hasDrive(), *c.drive != 0);
    EXPECT_EQ(str(p.serverName()), c.server);
    EXPECT_EQ(str(p.shareName()), c.share);
    EXPECT_EQ(p.hasShareName(), *c.share != 0);
    EXPECT_EQ(p.isServerOnly(), c.serverOnly);
    EXPECT_EQ(p.isShareRoot(), c.shareRoot);
    EXPECT_EQ(p.isUncPath(), *c.server != 0);
    EXPECT_EQ(p.isDriveRoot(), std::string(c.text).size() == 2 && c.text[1] == ':');
  }
  EXPECT_TRUE(pathNameC("c:").parent().isEmpty());
  EXPECT_TRUE(pathNameC("c:/a").parent().isAbsolute());
  EXPECT_EQ(str(pathNameC("c:/a/b").nativePath()), "c:\\a\\b");
}

TEST(pathNameC, JoinAndRelativeParts) {
  struct Case {
    const char* a;
    const char* b;
    const char* joined;
    const char* relative;  // a relative to b
  } cases[] = {
      {"a", "/b", "/b", "a"},
      {"/", "b", "/b", "/"},
      {"", "b", "b", ""},
      {"a/b/c", "a", "a/b/c/a", "b/c"},
      {"a", "a", "a/a", ""},
      {"ab/c", "a", "ab/c/a", "ab/c"},  // no partial component match
      {"/x/y", "/", "/", "x/y"},        // below the root
      {"/", "/", "/", ""},
      {"c:/a/b", "c:", "c:", "a/b"},
      {"c:/a", "b", "c:/a/b", "c:/a"},  // exactly one is absolute
      // The part below a base is never absolute: the root is "//" before a //server path, and a
      // rest that would read as absolute leaves the path as it is.
      {"//srv/share", "/", "/", "srv/share"},
      {"//b", "/", "/", "b"},
      {"///a", "/", "/", "///a"},       // its rest '/a' is absolute
      {"/D:", "/", "/", "/D:"},         // 'D:' is a drive
      {"/D:/x", "/", "/", "/D:/x"},
      {"/D:x", "/", "/", "D:x"},        // 'D:x' is relative
      {"a//b", "a", "a//b/a", "a//b"},  // '/b' is absolute
      {"//srv/share/x", "//srv", "//srv", "share/x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " | " + c.b);
    EXPECT_EQ(str(pathNameC(c.a).join(pathNameC(c.b)).text()), c.joined);
    EXPECT_EQ(str(pathNameC(c.a).relativeTo(pathNameC(c.b)).text()), c.relative);
  }
}

TEST(pathNameC, ExtensionDriveAndCaseEdits) {
  struct Case {
    const char* path;
    const char* extension;
    const char* result;
  } cases[] = {
      {"x.cfg", "txt", "x.txt"},
      {"x.cfg", "", "x"},
      {"a.b/c", "txt", "a.b/c.txt"},
      {"dir/x.tar.gz", "zip", "dir/x.tar.zip"},
  };
  for (const Case& c : cases) {
    pathNameC p(c.path);
    p.setExtension(c.extension);
    EXPECT_EQ(str(p.text()), c.result) << c.path;
  }

  pathNameC rooted("/data/x");
  EXPECT_EQ(rooted.setDrive("d"), 1);
  EXPECT_EQ(str(rooted.text()), "d:/data/x");
  EXPECT_TRUE(rooted.isAbsolute());
  EXPECT_EQ(rooted.setDrive("Q"), 1);
  EXPECT_EQ(str(rooted.text()), "Q:/data/x");
  pathNameC relative("data/x");
  EXPECT_EQ(relative.setDrive("d"), 0);
  EXPECT_EQ(str(relative.text()), "data/x");
  EXPECT_EQ(pathNameC("").setDrive("d"), 0);

  pathNameC mixed("C:/Dir/File");
  EXPECT_TRUE(mixed.equalsIgnoreCase(pathNameC("c:/dir/file")));
  EXPECT_FALSE(mixed == pathNameC("c:/dir/file"));
  EXPECT_FALSE(mixed.equalsIgnoreCase(pathNameC("c:/dir/file2")));
  mixed.toLower();
  EXPECT_TRUE(mixed == pathNameC("c:/dir/file"));
}

// ---- status

TEST(pathNameC, StatusOfFilesFoldersAndMissingPaths) {
  platform::TempDir tmp;
  writeFile(tmp.file("f.txt"), "hello");
  fs::permissions(tmp.file("f.txt"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directory(tmp.file("d"));

  // A 0600 file is readable and writable by its owner: the answer comes from access(), not from
  // bits of the mode word.
  pathNameC file(RWCString(tmp.file("f.txt").c_str()));
  EXPECT_TRUE(file.exists());
  EXPECT_TRUE(file.isFile());
  EXPECT_FALSE(file.isDirectory());
  EXPECT_TRUE(file.isReadable());
  EXPECT_TRUE(file.isWritable());
  EXPECT_EQ(file.size(), 5);

  pathNameC folder(RWCString(tmp.file("d").c_str()));
  EXPECT_TRUE(folder.exists());
  EXPECT_TRUE(folder.isDirectory());
  EXPECT_FALSE(folder.isFile());
  EXPECT_EQ(folder.size(), -1);

  pathNameC missing(RWCString(tmp.file("none").c_str()));
  EXPECT_FALSE(missing.exists());
  EXPECT_FALSE(missing.isFile());
  EXPECT_FALSE(missing.isDirectory());
  EXPECT_EQ(missing.size(), -1);
  EXPECT_EQ(missing.statusWord() & (pathNameC::statusCurrentFlag | pathNameC::typeCurrentFlag),
            pathNameC::statusCurrentFlag | pathNameC::typeCurrentFlag);

  // The answer is kept until a refresh is asked for.
  writeFile(tmp.file("none"), "");
  EXPECT_FALSE(missing.exists());
  EXPECT_TRUE(missing.exists(1));
  EXPECT_TRUE(missing.isFile());
}

TEST(pathNameC, DriveRootIsAnExistingFolderWithoutLookingAtIt) {
  // 'q:' is mapped nowhere, so any look at the file system would fail.
  pathNameC root("q:");
  EXPECT_TRUE(root.exists());
  EXPECT_TRUE(root.isDirectory());
  EXPECT_FALSE(root.isFile());
  EXPECT_TRUE(root.isReadable());
  EXPECT_TRUE(root.isWritable());
  EXPECT_FALSE(pathNameC("q:/x").exists());
}

TEST(pathNameC, DrivesAndSharesGoThroughTheDriveTable) {
  platform::TempDir tmp;
  writeFile(tmp.file("f.txt"), "abc");
  ScopedDrive drive("w", tmp.path());
  ScopedDrive share("//pathsrv/pathshare", tmp.path());
  EXPECT_TRUE(pathNameC("w:/f.txt").isFile());
  EXPECT_TRUE(pathNameC("W:\\f.txt").isFile());
  EXPECT_EQ(pathNameC("w:/f.txt").size(), 3);
  EXPECT_TRUE(pathNameC("//pathsrv/pathshare/f.txt").isFile());
  EXPECT_TRUE(pathNameC("//pathsrv/pathshare").isDirectory());
  EXPECT_FALSE(pathNameC("//othersrv/pathshare/f.txt").exists());
}

// ---- times

TEST(pathNameC, FileTimesRoundTrip) {
  platform::TempDir tmp;
  writeFile(tmp.file("f"), "x");
  pathNameC file(RWCString(tmp.file("f").c_str()));

  // 2015-06-15 12:30:45 local: a time of day far from any daylight-saving change.
  TimeStamp written(CalendarDate(15, 6, 2015), 12, 30, 45, RWZone::localZone());
  ASSERT_TRUE(written.isValid());
  EXPECT_EQ(file.setModificationTime(written), 1);
  TimeStamp read;
  EXPECT_EQ(file.modificationTime(read), 1);
  EXPECT_EQ(read, written);

  TimeStamp accessed = written + 86400 * 3 + 7;
  EXPECT_EQ(file.setAccessTime(accessed), 1);
  EXPECT_EQ(file.accessTime(read), 1);
  EXPECT_EQ(read, accessed);
  // Setting one time leaves the other alone.
  EXPECT_EQ(file.modificationTime(read), 1);
  EXPECT_EQ(read, written);

  // Cross-check against the file system's own clock: the stamp stands for the same moment
  // whenever the local zone keeps no daylight saving.
  platform::FileStatus st;
  ASSERT_TRUE(platform::status(tmp.file("f"), st));
  if (!RWZone::localZone().observesDaylight()) {
    EXPECT_EQ(TimeStamp::fromUnixTime(st.modified), written);
  }

  pathNameC missing(RWCString(tmp.file("none").c_str()));
  EXPECT_EQ(missing.modificationTime(read), 0);
  EXPECT_EQ(missing.setModificationTime(written), 0);
  EXPECT_EQ(file.setModificationTime(TimeStamp()), 0);
}

// ---- making, creating, removing, renaming

TEST(pathNameC, MakeDirectory) {
  platform::TempDir tmp;
  pathNameC deep(RWCString((tmp.path() + "/a/b/c").c_str()));
  EXPECT_EQ(deep.makeDirectory(0), 0);  // parents missing
  EXPECT_EQ(deep.makeDirectory(1), 1);
  EXPECT_TRUE(fs::is_directory(tmp.file("a/b/c")));
  EXPECT_TRUE(deep.isDirectory());
  EXPECT_EQ(deep.makeDirectory(0), 1);  // exists already

  writeFile(tmp.file("plain"), "");
  EXPECT_EQ(pathNameC(RWCString(tmp.file("plain").c_str())).makeDirectory(1), 0);
  EXPECT_EQ(pathNameC(RWCString(tmp.file("plain/sub").c_str())).makeDirectory(1), 0);
  EXPECT_EQ(pathNameC("").makeDirectory(1), 0);
  EXPECT_EQ(pathNameC("q:").makeDirectory(0), 1);      // a drive root counts as made
  EXPECT_EQ(pathNameC("q:/new").makeDirectory(1), 0);  // unmapped: nothing is made anywhere
}

TEST(pathNameC, RelativePathsWhoseTopFolderIsMissing) {
  platform::TempDir tmp;
  ScopedWorkingFolder here(tmp.path());
  pathNameC folder("x/y/z");
  EXPECT_EQ(folder.makeDirectory(1), 1);
  EXPECT_TRUE(fs::is_directory(tmp.file("x/y/z")));
  pathNameC single("solo");
  EXPECT_EQ(single.makeDirectory(1), 1);
  EXPECT_TRUE(fs::is_directory(tmp.file("solo")));

  pathNameC file("r/s/t.txt");
  EXPECT_EQ(file.createFile(1), 1);
  EXPECT_TRUE(fs::is_regular_file(tmp.file("r/s/t.txt")));
  EXPECT_EQ(pathNameC("u.txt").createFile(1), 1);
  EXPECT_TRUE(fs::is_regular_file(tmp.file("u.txt")));
}

TEST(pathNameC, CreateFileNeverTruncates) {
  platform::TempDir tmp;
  pathNameC file(RWCString(tmp.file("keep.txt").c_str()));
  EXPECT_FALSE(file.exists());  // the cached answer is now "missing"
  writeFile(tmp.file("keep.txt"), "contents");
  EXPECT_EQ(file.createFile(0), 1);
  EXPECT_EQ(readFile(tmp.file("keep.txt")), "contents");
  EXPECT_EQ(file.createFile(0), 1);
  EXPECT_EQ(readFile(tmp.file("keep.txt")), "contents");

  pathNameC fresh(RWCString(tmp.file("p/q/new.txt").c_str()));
  EXPECT_EQ(fresh.createFile(0), 0);  // no parents made
  EXPECT_EQ(fresh.createFile(1), 1);
  EXPECT_TRUE(fs::is_regular_file(tmp.file("p/q/new.txt")));
  EXPECT_EQ(fs::file_size(tmp.file("p/q/new.txt")), 0u);
  EXPECT_EQ(pathNameC(RWCString(tmp.path().c_str())).createFile(0), 0);  // a folder
}

TEST(pathNameC, RemoveFilesFoldersAndTrees) {
  platform::TempDir tmp;
  fs::create_directories(tmp.file("t/a/b"));
  writeFile(tmp.file("t/top.txt"), "1");
  writeFile(tmp.file("t/a/mid.txt"), "2");
  writeFile(tmp.file("t/a/b/low.txt"), "3");
  writeFile(tmp.file("t/a/b/line\nbreak"), "4");  // a name that '.' would not match

  pathNameC tree(RWCString(tmp.file("t").c_str()));
  EXPECT_EQ(tree.remove(0), 0);  // not empty
  EXPECT_TRUE(fs::exists(tmp.file("t/top.txt")));

  pathNameC low(RWCString(tmp.file("t/a/b/low.txt").c_str()));
  EXPECT_EQ(low.remove(0), 1);
  EXPECT_FALSE(fs::exists(tmp.file("t/a/b/low.txt")));
  EXPECT_FALSE(low.exists(1));
  EXPECT_EQ(low.remove(0), 0);  // gone already

  EXPECT_EQ(tree.remove(1), 1);
  EXPECT_FALSE(fs::exists(tmp.file("t")));
}

TEST(pathNameC, RemoveFilesKeepsTheFolders) {
  platform::TempDir tmp;
  fs::create_directories(tmp.file("t/a/b"));
  writeFile(tmp.file("t/top.txt"), "1");
  writeFile(tmp.file("t/a/mid.txt"), "2");
  writeFile(tmp.file("t/a/b/low.txt"), "3");
  pathNameC tree(RWCString(tmp.file("t").c_str()));

  EXPECT_EQ(tree.removeFiles(0), 1);
  EXPECT_FALSE(fs::exists(tmp.file("t/top.txt")));
  EXPECT_TRUE(fs::exists(tmp.file("t/a/mid.txt")));

  EXPECT_EQ(tree.removeFiles(1), 1);
  EXPECT_FALSE(fs::exists(tmp.file("t/a/mid.txt")));
  EXPECT_FALSE(fs::exists(tmp.file("t/a/b/low.txt")));
  EXPECT_TRUE(fs::is_directory(tmp.file("t/a/b")));

  writeFile(tmp.file("single"), "x");
  EXPECT_EQ(pathNameC(RWCString(tmp.file("single").c_str())).removeFiles(0), 1);
  EXPECT_FALSE(fs::exists(tmp.file("single")));
  EXPECT_EQ(pathNameC(RWCString(tmp.file("none").c_str())).removeFiles(1), 0);
}

TEST(pathNameC, RecursiveRemovalNeverFollowsLinks) {
  platform::TempDir tmp;
  fs::create_directories(tmp.file("outside/inner"));
  writeFile(tmp.file("outside/precious.txt"), "keep");
  writeFile(tmp.file("outside/inner/deep.txt"), "keep");
  fs::create_directories(tmp.file("tree/sub"));
  writeFile(tmp.file("tree/own.txt"), "mine");
  fs::create_directory_symlink(tmp.file("outside"), tmp.file("tree/sub/to-outside"));
  fs::create_symlink(tmp.file("outside/precious.txt"), tmp.file("tree/to-file"));
  fs::create_symlink(tmp.file("nowhere"), tmp.file("tree/dangling"));
  fs::create_directory_symlink(tmp.file("outside"), tmp.file("link-to-outside"));

  pathNameC tree(RWCString(tmp.file("tree").c_str()));
  EXPECT_EQ(tree.removeFiles(1), 1);
  EXPECT_TRUE(fs::exists(tmp.file("outside/precious.txt")));
  EXPECT_TRUE(fs::exists(tmp.file("outside/inner/deep.txt")));
  EXPECT_FALSE(fs::exists(tmp.file("tree/own.txt")));

  EXPECT_EQ(tree.remove(1), 1);
  EXPECT_FALSE(fs::exists(fs::symlink_status(tmp.file("tree"))));
  EXPECT_TRUE(fs::exists(tmp.file("outside/precious.txt")));
  EXPECT_TRUE(fs::exists(tmp.file("outside/inner/deep.txt")));

  // A link named as the tree itself is removed, not what it points to.
  pathNameC link(RWCString(tmp.file("link-to-outside").c_str()));
  EXPECT_EQ(link.remove(1), 1);
  EXPECT_FALSE(fs::exists(fs::symlink_status(tmp.file("link-to-outside"))));
  EXPECT_TRUE(fs::exists(tmp.file("outside/inner/deep.txt")));
}

TEST(pathNameC, RenameTo) {
  platform::TempDir tmp;
  writeFile(tmp.file("a"), "A");
  writeFile(tmp.file("b"), "B");
  pathNameC a(RWCString(tmp.file("a").c_str()));
  EXPECT_EQ(a.renameTo(pathNameC(RWCString(tmp.file("b").c_str()))), 0);  // nothing overwritten
  EXPECT_EQ(readFile(tmp.file("b")), "B");
  EXPECT_EQ(a.renameTo(pathNameC(RWCString(tmp.file("c").c_str()))), 1);
  EXPECT_EQ(readFile(tmp.file("c")), "A");
  EXPECT_FALSE(a.exists());
}
