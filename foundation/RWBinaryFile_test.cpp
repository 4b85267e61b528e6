#include "foundation/RWBinaryFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/testing/TempDir.h"
#include "platform/testing/Unprivileged.h"

namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(RWBinaryFile, NullModeCreatesAMissingFileAndKeepsAnExistingOne) {
  platform::TempDir dir;
  const std::string path = dir.file("new.bin");
  {
    RWBinaryFile f(path.c_str());
    ASSERT_TRUE(f.isOpen());
    EXPECT_STREQ(f.openMode(), "wb+");
    EXPECT_TRUE(f.isEmpty());
    EXPECT_EQ(f.write(42), 1);
    EXPECT_FALSE(f.isEmpty());
  }
  RWBinaryFile again(path.c_str());  // "rb+": the contents stay
  EXPECT_STREQ(again.openMode(), "rb+");
  int v = 0;
  EXPECT_EQ(again.read(v), 1);
  EXPECT_EQ(v, 42);
  EXPECT_STREQ(again.fileName(), path.c_str());
}

TEST(RWBinaryFile, ValuesRoundTripWithFixedSizes) {
  platform::TempDir dir;
  const std::string path = dir.file("values.bin");
  {
    RWBinaryFile f(path.c_str(), "wb");
    ASSERT_TRUE(f.isOpen());
    EXPECT_EQ(f.write('x'), 1);
    EXPECT_EQ(f.write(static_cast<short>(-2)), 1);
    EXPECT_EQ(f.write(-3L), 1);
    EXPECT_EQ(f.write(4000000000UL), 1);
    EXPECT_EQ(f.write(1.5f), 1);
    EXPECT_EQ(f.write(2.25), 1);
    const double arr[3] = {1, 2, 3};
    EXPECT_EQ(f.writeArray(arr, 3), 1);
    EXPECT_EQ(f.writeString("abc"), 1);
  }
  // 1 + 2 + 4 + 4 + 4 + 8 + 24 + 4: long and unsigned long take 4 bytes on every machine.
  EXPECT_EQ(contents(path).size(), 51u);

  RWBinaryFile f(path.c_str(), "rb");
  char c = 0;
  short s = 0;
  long l = 0;
  unsigned long ul = 0;
  float fl = 0;
  double d = 0;
  f >> c >> s >> l >> ul >> fl >> d;
  EXPECT_EQ(c, 'x');
  EXPECT_EQ(s, -2);
  EXPECT_EQ(l, -3L);
  EXPECT_EQ(ul, 4000000000UL);
  EXPECT_EQ(fl, 1.5f);
  EXPECT_EQ(d, 2.25);
  double arr[3] = {};
  EXPECT_EQ(f.readArray(arr, 3), 1);
  EXPECT_EQ(arr[2], 3.0);
  char text[8];
  EXPECT_EQ(f.readString(text, sizeof text), 1);
  EXPECT_STREQ(text, "abc");
  EXPECT_FALSE(f.atEnd());
  int none = 7;
  EXPECT_EQ(f.read(none), 0);  // nothing left: failure, value unchanged
  EXPECT_EQ(none, 7);
  EXPECT_TRUE(f.atEnd());
}

TEST(RWBinaryFile, LongsBeyondFourBytesAreRefusedWhole) {
  platform::TempDir dir;
  const std::string path = dir.file("long.bin");
  RWBinaryFile f(path.c_str(), "wb+");
  const long values[2] = {1, 1L << 40};
  EXPECT_EQ(f.write(1L << 40), 0);
  EXPECT_EQ(f.writeArray(values, 2), 0);
  EXPECT_EQ(f.write(static_cast<unsigned long>(UINT32_MAX) + 1), 0);
  EXPECT_TRUE(f.isEmpty());  // no part of a refused array reached the file
}

TEST(RWBinaryFile, ReadStringStopsAtItsCapacity) {
  platform::TempDir dir;
  const std::string path = dir.file("s.bin");
  std::ofstream(path, std::ios::binary) << "abcdefgh";
  RWBinaryFile f(path.c_str(), "rb");
  char small[4];
  EXPECT_EQ(f.readString(small, sizeof small), 1);
  EXPECT_STREQ(small, "abc");
  char rest[16];
  EXPECT_EQ(f.readString(rest, sizeof rest), 1);  // up to the end of the file
  EXPECT_STREQ(rest, "defgh");
  EXPECT_EQ(f.readString(rest, 0), 0);
}

TEST(RWBinaryFile, PointerExtractionAllocates) {
  platform::TempDir dir;
  const std::string path = dir.file("p.bin");
  {
    RWBinaryFile f(path.c_str(), "wb");
    f.write(9.5);
  }
  RWBinaryFile f(path.c_str(), "rb");
  double* p = nullptr;
  f >> p;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(*p, 9.5);
  delete p;
}

TEST(RWBinaryFile, PositioningAndErase) {
  platform::TempDir dir;
  const std::string path = dir.file("e.bin");
  RWBinaryFile f(path.c_str(), "wb+");
  f.write(1);
  f.write(2);
  EXPECT_EQ(f.offset(), 8);
  EXPECT_TRUE(f.seekTo(4));
  int v = 0;
  EXPECT_EQ(f.read(v), 1);
  EXPECT_EQ(v, 2);
  EXPECT_TRUE(f.seekToEnd());
  EXPECT_EQ(f.offset(), 8);
  EXPECT_EQ(f.erase(), 1);
  EXPECT_TRUE(f.isOpen());
  EXPECT_TRUE(f.isEmpty());
  EXPECT_EQ(contents(path), "");
}

// A file its user may not write is not erased, though its folder would let it be deleted: the
// erase fails and the file keeps its bytes and its mode. Run as a user the mode applies to.
TEST(RWBinaryFile, EraseRefusesAFileItsUserMayNotWrite) {
  namespace fs = std::filesystem;
  platform::TempDir dir;
  const std::string path = dir.file("precious.bin");
  std::ofstream(path, std::ios::binary) << "precious";
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(path, readOnly);
  fs::permissions(dir.path(), fs::perms::all);
  const platform::UnprivilegedRun run = platform::runUnprivileged(dir.path(), [&] {
    RWBinaryFile f(path.c_str(), "rb");
    const bool opened = f.isOpen();
    return std::to_string(opened) + std::to_string(f.erase());
  });
  if (!run.ran) GTEST_SKIP() << run.skipped;
  EXPECT_EQ(run.result, "10");
  EXPECT_EQ(contents(path), "precious");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, readOnly);
}

TEST(RWBinaryFile, ExistsAndFailedOpens) {
  platform::TempDir dir;
  EXPECT_EQ(RWBinaryFile::exists(dir.path().c_str()), 1);  // a folder counts
  EXPECT_EQ(RWBinaryFile::exists(dir.file("none").c_str()), 0);
  EXPECT_EQ(RWBinaryFile::exists(nullptr), 0);

  RWBinaryFile missing(dir.file("none").c_str(), "rb");
  EXPECT_FALSE(missing.isOpen());
  int v = 0;
  EXPECT_EQ(missing.read(v), 0);
  EXPECT_EQ(missing.write(v), 0);
  EXPECT_EQ(missing.offset(), -1);
  EXPECT_EQ(missing.exists(), 0);
  EXPECT_EQ(missing.erase(), 0);  // nothing to delete

  // A pipe or a device is neither waited on nor created over, in any mode.
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero"));
  for (const char* name : {"pipe", "zero"}) {
    for (const char* mode : {"rb", "wb", static_cast<const char*>(nullptr)}) {
      RWBinaryFile f(dir.file(name).c_str(), mode);
      EXPECT_FALSE(f.isOpen()) << name << " " << (mode ? mode : "null");
    }
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("zero")));
}

// isEmpty answers for the open file, not for whatever its name names now.
TEST(RWBinaryFile, IsEmptyAsksTheOpenFileNotItsName) {
  platform::TempDir dir;
  const std::string full = dir.file("full.bin");
  const std::string empty = dir.file("empty.bin");
  std::ofstream(full, std::ios::binary) << "four";
  std::ofstream(empty, std::ios::binary).close();
  RWBinaryFile f(full.c_str(), "rb");
  RWBinaryFile e(empty.c_str(), "rb");
  ASSERT_TRUE(f.isOpen() && e.isOpen());
  // Swap the two names under the open files.
  const std::string swap = dir.file("swap.bin");
  ASSERT_TRUE(platform::renamePath(full, swap));
  ASSERT_TRUE(platform::renamePath(empty, full));
  ASSERT_TRUE(platform::renamePath(swap, empty));
  EXPECT_FALSE(f.isEmpty());
  EXPECT_TRUE(e.isEmpty());
  // A file moved away, its name gone.
  ASSERT_TRUE(platform::removeFile(full));
  EXPECT_TRUE(e.isEmpty());
  ASSERT_TRUE(platform::removeFile(empty));
  EXPECT_FALSE(f.isEmpty());
}

TEST(RWBinaryFile, IsEmptyOfARelativeNameAfterAFolderChange) {
  platform::TempDir dir;
  ASSERT_TRUE(platform::makeFolder(dir.file("a")) && platform::makeFolder(dir.file("b")));
  std::ofstream(dir.file("a/rel.bin"), std::ios::binary) << "data";
  std::ofstream(dir.file("b/rel.bin"), std::ios::binary).close();
  const std::string home = platform::currentFolder();
  ASSERT_TRUE(platform::changeFolder(dir.file("a")));
  {
    RWBinaryFile f("rel.bin", "rb");
    const bool open = f.isOpen();
    const bool entered = platform::changeFolder(dir.file("b"));
    const bool emptyThere = f.isEmpty();
    ASSERT_TRUE(platform::changeFolder(home));
    ASSERT_TRUE(open && entered);
    EXPECT_FALSE(emptyThere);
  }
}
