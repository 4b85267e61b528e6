// Part insertion against the simulated host, in this process: the exchange-file check, the 2D
// insertion with its drag and rotation, and the 3D insertion with its block names. Each test has
// its own temporary folder, configuration and host session; answers are queued as a script would.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <ios>
#include <fstream>
#include <memory>
#include <string>

#include <sys/stat.h>

#include "host/InputQueue.h"
#include "platform/FileSystem.h"
#include "plugin/HostScopes.h"
#include "plugin/testing/PluginTestFixture.h"

namespace {

class InsertionTest : public kxtest::PluginHostTest {
 protected:
  InsertionTest() : PluginHostTest("kestrix-insert") {}
  void SetUp() override {
    PluginHostTest::SetUp();
    std::ofstream(dir.file("plinth.cfg"))
        << "[LineType]\nHidden=Continuous\nCenter=Continuous\nHeavyDashDot=Continuous\n";
    loadContext();
  }

  void answer(const std::string& line) {
    kxhost::Answer a;
    std::string error;
    ASSERT_TRUE(kxhost::InputQueue::parse(line, a, error)) << error;
    host().input().push(a);
  }
  RWCString write(const std::string& name, const std::string& text) {
    std::ofstream(dir.file(name), std::ios::binary) << text;
    return RWCString(dir.file(name).c_str());
  }
};

const char* const kSat =
    "106 1 1 0\n22 kestrix demo catalogue 8 ACIS 1.6 24 Thu Jan 01 00:00:00 1998\n"
    "1 9.9999999999999995e-007 1e-010\n";

}  // namespace

TEST_F(InsertionTest, CheckMetafileLooksAtTheFirstLine) {
  struct Case { const char* text; int result; };
  const Case cases[] = {{"000\n", 0}, {"0001 FIGURE", 0}, {"1000\n", 1}, {"", 1},
                        {"00\n0", 1}, {"FIGURE { }", 1}};
  for (const Case& c : cases)
    EXPECT_EQ(context->checkMetafile(write("x.ps2", c.text)), c.result) << '"' << c.text << '"';
  EXPECT_EQ(context->checkMetafile(RWCString(dir.file("missing.ps2").c_str())), -1);
  EXPECT_FALSE(platform::exists(dir.file("missing.ps2")));
}

TEST_F(InsertionTest, MissingOrEmptyExchangeFileBuildsNothing) {
  EXPECT_EQ(context->insertMetafilePart(RWCString(dir.file("none.ps2").c_str())), -1);
  EXPECT_TRUE(transcriptHas("wurde nicht gefunden!"));
  EXPECT_EQ(context->insertMetafilePart(write("empty.ps2", "000\n")), -1);
  EXPECT_TRUE(transcriptHas("Es wurde kein Teil übergeben!"));
  EXPECT_TRUE(host().database().model().empty());
}

// A folder, and a file whose first read fails with an I/O error, cannot hand over a part: both
// are reported as not found, and every set made is freed and every list released.
TEST_F(InsertionTest, UnreadableExchangeFileIsReportedAsNotFound) {
  std::filesystem::create_directory(dir.file("d.ps2"));
  const RWCString folder(dir.file("d.ps2").c_str());
  EXPECT_EQ(context->checkMetafile(folder), -1);
  // Reading this process's memory image at address 0 fails with EIO.
  EXPECT_EQ(context->checkMetafile(RWCString("/proc/self/mem")), -1);
  const std::size_t lists = host().resultBuffers().liveCount();
  EXPECT_EQ(context->insertMetafilePart(folder), -1);
  EXPECT_TRUE(transcriptHas("\nMetadatei " + dir.file("d.ps2") + " wurde nicht gefunden!\n"))
      << transcript();
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
  EXPECT_EQ(host().resultBuffers().liveCount(), lists);
  EXPECT_TRUE(host().database().model().empty());
}

// Only a regular file is opened: a pipe with no writer or a device at the exchange path is not
// waited on or read without end, but counts as not found, as a folder does.
TEST_F(InsertionTest, PipeOrDeviceAtTheExchangePathCountsAsNotFound) {
  ASSERT_EQ(::mkfifo(dir.file("pipe.ps2").c_str(), 0644), 0);
  std::filesystem::create_symlink("/dev/zero", dir.file("zero.ps2"));
  write("part.ps2", "000\n");
  std::filesystem::create_symlink(dir.file("part.ps2"), dir.file("link.ps2"));
  EXPECT_EQ(context->checkMetafile(RWCString(dir.file("link.ps2").c_str())), 0);
  for (const char* name : {"pipe.ps2", "zero.ps2"}) {
    host().transcript().clear();
    const RWCString path(dir.file(name).c_str());
    EXPECT_EQ(context->checkMetafile(path), -1) << name;
    EXPECT_EQ(context->insertMetafilePart(path), -1) << name;
    EXPECT_TRUE(transcriptHas("\nMetadatei " + dir.file(name) + " wurde nicht gefunden!\n"))
        << transcript();
  }
  EXPECT_TRUE(host().database().model().empty());
}

// A drawing without a figure (the first word alone, or an empty item list) is no part: it is
// said so, no point or angle is asked for and nothing is built.
TEST_F(InsertionTest, DeviationDrawingWithoutAFigureIsNoPart) {
  const std::size_t blocks = host().database().blocks().size();
  for (const char* text : {"DRAWING", "DRAWING { }", "DRAWING { DRAWINGITEMS { } }"}) {
    host().transcript().clear();
    EXPECT_EQ(context->insertMetafilePart(write("x.ps2", text)), -1) << text;
    EXPECT_TRUE(transcriptHas("\nEs wurde kein Teil übergeben!\n")) << transcript();
    EXPECT_FALSE(transcriptHas("Einfügepunkt")) << transcript();
    EXPECT_FALSE(transcriptHas("Drehwinkel")) << transcript();
    EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
  }
  EXPECT_TRUE(host().database().model().empty());
  EXPECT_EQ(host().database().blocks().size(), blocks);
}

// The scopes give the set and the list back when an exception leaves them.
TEST_F(InsertionTest, ScopesFreeWhatTheyHoldWhenAnExceptionPasses) {
  const std::size_t lists = host().resultBuffers().liveCount();
  try {
    SelectionSetScope set;
    ASSERT_TRUE(set.make());
    const ResultListScope list(hostcall::buildList(RTSTR, "x", 0));
    ASSERT_NE(list.get(), nullptr);
    EXPECT_EQ(host().selectionSets().openIds().size(), 1u);
    throw std::ios_base::failure("read error");
  } catch (const std::ios_base::failure&) {
  }
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
  EXPECT_EQ(host().resultBuffers().liveCount(), lists);
}

// The INSERT is dragged to the picked point and turned about it by the given angle; every set
// made on the way is freed.
TEST_F(InsertionTest, PartIsDraggedAndTurnedAboutThePickedPoint) {
  answer("point 100,50");
  answer("angle 30");
  const RWCString part = write("p.ps2",
                               "FIGURE { NAME { \"P\" } ANSICHTNO { -1 } INSERTPOINT { POINT { 10 0 }"
                               " ROTATION { 0 } } FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } } }");
  ASSERT_EQ(context->insertMetafilePart(part), 1);
  ASSERT_EQ(host().database().model().size(), 1u);
  const kxhost::Entity& insert = host().database().model()[0];
  // (10, 0) moved by (100, 50), then turned by 30 degrees about (100, 50).
  EXPECT_NEAR(insert.find(10)->v[0], 100 + 10 * std::cos(M_PI / 6), 1e-9);
  EXPECT_NEAR(insert.find(10)->v[1], 50 + 10 * std::sin(M_PI / 6), 1e-9);
  EXPECT_NEAR(insert.find(50)->v[0], M_PI / 6, 1e-9);
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
}

// A cancelled drag leaves the part where it was built; a declined angle leaves it unturned.
TEST_F(InsertionTest, CancelledDragAndAngleLeaveThePartInPlace) {
  answer("cancel");
  answer("cancel");
  const RWCString part = write("p.ps2",
                               "FIGURE { NAME { \"P\" } INSERTPOINT { POINT { 10 5 } ROTATION { 0 } }"
                               " FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } } }");
  ASSERT_EQ(context->insertMetafilePart(part), 1);
  const kxhost::Entity& insert = host().database().model()[0];
  EXPECT_DOUBLE_EQ(insert.find(10)->v[0], 10.0);
  EXPECT_DOUBLE_EQ(insert.find(10)->v[1], 5.0);
  EXPECT_DOUBLE_EQ(insert.find(50)->v[0], 0.0);
}

// Three imports make "TROVSOL", "TROVSOL0" and "TROVSOL1", each of only what its import created;
// a missing SAT file does nothing and answers 0.
TEST_F(InsertionTest, SolidsBecomeUniquelyNamedBlocks) {
  EXPECT_EQ(context->insertSatPart(RWCString(dir.file("none.sat").c_str())), 0);
  const RWCString sat = write("part.sat", std::string(kSat) + "body $-1 $-1 $-1 $-1 #\nEnd-of-ACIS-data\n");
  for (int i = 0; i < 3; ++i) {
    answer("point " + std::to_string(10 * i) + ",0");
    EXPECT_EQ(context->insertSatPart(sat), 1);
  }
  for (const char* name : {"TROVSOL", "TROVSOL0", "TROVSOL1"}) {
    const kxhost::BlockRecord* b = host().database().findBlock(name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->entities.size(), 1u) << name;
  }
  const auto& model = host().database().model();
  ASSERT_EQ(model.size(), 3u);
  EXPECT_DOUBLE_EQ(model[2].find(10)->v[0], 20.0);
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
}

// An import that creates nothing makes no block of what was there before.
TEST_F(InsertionTest, EmptyImportMakesNoBlock) {
  answer("point 0,0");
  const RWCString bad = write("bad.sat", "not a sat file\n");
  EXPECT_EQ(context->insertSatPart(bad), 1);
  EXPECT_EQ(host().database().findBlock("TROVSOL"), nullptr);
  EXPECT_EQ(host().selectionSets().openIds().size(), 0u);
}
