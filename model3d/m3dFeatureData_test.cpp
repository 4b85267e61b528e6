#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "meta/metaObjBlob.h"
#include "model3d/m3dFeatGen.h"
#include "model3d/testing/m3dTestTree.h"
#include "platform/FileSystem.h"
#include "platform/testing/FileText.h"
#include "platform/testing/TempDir.h"
#include "platform/testing/Unprivileged.h"

namespace {

using kxtesting::readFile;
using kxtesting::writeFile;

using namespace m3dtesting;

const char* info(const m3dFeatGenC& feature, const char* key) {
  return metaObjectC(feature.findChild("FEATINFO"), 0).getAttrString(key);
}

TEST(m3dFeatureData, FileNameIsTheLastPathPart) {
  struct Case { const char* path, *name; } cases[] = {
      {"C:\\parts\\a.stp", "a.stp"}, {"dir/sub\\x.dat", "sub\\x.dat"}, {"plain.bin", "plain.bin"},
      {"a/b/", ""}, {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    treeP feature = readTree("BASE { }");
    const m3dFeatGenC view(feature.get(), 0);
    EXPECT_EQ(view.importFeatureData("STEP", "214", c.path), 0);  // none of them exists
    EXPECT_STREQ(info(view, "FILENAME"), c.name);
    EXPECT_STREQ(info(view, "FMTNAME"), "STEP");
    EXPECT_STREQ(info(view, "FMTVERSION"), "214");
    ASSERT_TRUE(view.findChild("FEATDATA"));
    EXPECT_EQ(view.findChild("FEATDATA")->firstChild(), nullptr);  // new and empty
  }
}

TEST(m3dFeatureData, RoundTripKeepsEveryByte) {
  platform::TempDir dir;
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>((i * 37) & 0xFF);
  bytes += std::string(5, '\0');
  writeFile(dir.file("in.bin"), bytes);

  // The old data is replaced, not added to.
  treeP feature = readTree("BASE { FEATDATA { SIZE { 3 } CODE { 0 } DATA { \"abcd\" } } }");
  const m3dFeatGenC view(feature.get(), 0);
  ASSERT_EQ(view.importFeatureData("F", "1", dir.file("in.bin").c_str()), 1);
  EXPECT_EQ(metaObjBlobC(view.findChild("FEATDATA"), 0).getSize(), 1005);
  EXPECT_EQ(feature->childCount(), 2);

  ASSERT_EQ(view.exportFeatureData(dir.file("out.bin").c_str()), 1);
  EXPECT_EQ(readFile(dir.file("out.bin")), bytes);
}

// An export over a file its user may not write fails and leaves that file, bytes and mode, though
// the folder is writable. Run as a user the mode applies to.
TEST(m3dFeatureData, ExportLeavesAProtectedFileAsItIs) {
  namespace fs = std::filesystem;
  platform::TempDir dir;
  writeFile(dir.file("in.bin"), "feature bytes");
  writeFile(dir.file("out.bin"), "kept");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(dir.file("out.bin"), readOnly);
  fs::permissions(dir.path(), fs::perms::all);
  treeP feature = readTree("BASE { }");
  const m3dFeatGenC view(feature.get(), 0);
  ASSERT_EQ(view.importFeatureData("F", "1", dir.file("in.bin").c_str()), 1);
  const platform::UnprivilegedRun run = platform::runUnprivileged(
      dir.path(), [&] { return std::to_string(view.exportFeatureData(dir.file("out.bin").c_str())); });
  if (!run.ran) GTEST_SKIP() << run.skipped;
  EXPECT_EQ(run.result, "0");
  EXPECT_EQ(readFile(dir.file("out.bin")), "kept");
  EXPECT_EQ(fs::status(dir.file("out.bin")).permissions() & fs::perms::all, readOnly);
}

TEST(m3dFeatureData, EmptyFileStoresNothingToExport) {
  platform::TempDir dir;
  writeFile(dir.file("empty"), "");
  treeP feature = readTree("CUT { }");
  const m3dFeatGenC view(feature.get(), 0);
  EXPECT_EQ(view.importFeatureData("F", "1", dir.file("empty").c_str()), 1);
  EXPECT_EQ(metaObjBlobC(view.findChild("FEATDATA"), 0).getSize(), 0);
  EXPECT_EQ(view.exportFeatureData(dir.file("out").c_str()), 0);
  EXPECT_FALSE(platform::exists(dir.file("out")));
}

TEST(m3dFeatureData, BadSourcesAndDamagedRecordsFailCleanly) {
  platform::TempDir dir;
  treeP feature = readTree("BASE { }");
  const m3dFeatGenC view(feature.get(), 0);
  EXPECT_EQ(view.importFeatureData("F", "1", dir.path().c_str()), 0);  // a folder
  EXPECT_EQ(view.importFeatureData("F", "1", nullptr), 0);
  EXPECT_EQ(m3dFeatGenC().importFeatureData("F", "1", dir.path().c_str()), 0);

  // A "SIZE" far beyond what "DATA" can hold, and a negative one: nothing is written.
  for (const char* record : {"BASE { FEATDATA { SIZE { 1e15 } CODE { 0 } DATA { \"abcd\" } } }",
                             "BASE { FEATDATA { SIZE { -4 } CODE { 0 } DATA { \"abcd\" } } }",
                             "BASE { FEATDATA { SIZE { 4 } CODE { 0 } DATA { \"ab\" } } }"}) {
    SCOPED_TRACE(record);
    treeP damaged = readTree(record);
    EXPECT_EQ(m3dFeatGenC(damaged.get(), 0).exportFeatureData(dir.file("x").c_str()), 0);
    EXPECT_FALSE(platform::exists(dir.file("x")));
  }

  // An export into a missing folder fails and leaves nothing behind.
  writeFile(dir.file("in"), "data");
  ASSERT_EQ(view.importFeatureData("F", "1", dir.file("in").c_str()), 1);
  EXPECT_EQ(view.exportFeatureData(dir.file("no/such/out").c_str()), 0);
}

}  // namespace
