// The drawing's bookkeeping under changes: entities found by handle wherever they live after
// erasures and block definitions in the middle of the drawing, the walk in drawing order, and
// selection sets that lose the entities leaving the drawing while their other members keep order.

#include <vector>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

class DrawingTest : public HostTest {
protected:
  // Makes `n` lines; the i-th runs from (i, 0) to (i, 1). Returns their handles.
  std::vector<std::uint32_t> lines(int n) {
    std::vector<std::uint32_t> made;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(makeLine(i, 0, i, 1), RTNORM);
      made.push_back(lastHandle());
    }
    return made;
  }

  static void name(std::uint32_t handle, ads_name out) { Database::nameOf(handle, out); }

  // The x of the start point of the entity, read back through acdbEntGet; -1 when it is gone.
  double startX(std::uint32_t handle) {
    ads_name n;
    name(handle, n);
    resbuf* list = acdbEntGet(n);
    if (!list) return -1.0;
    double x = -1.0;
    for (resbuf* r = list; r; r = r->rbnext)
      if (r->restype == 10) x = r->resval.rpoint[0];
    acutRelRb(list);
    return x;
  }

  std::vector<std::uint32_t> walk() {
    std::vector<std::uint32_t> seen;
    ads_name n;
    for (int rc = acdbEntNext(nullptr, n); rc == RTNORM; rc = acdbEntNext(n, n))
      seen.push_back(static_cast<std::uint32_t>(n[0]));
    return seen;
  }

  std::vector<std::uint32_t> members(const ads_name set) {
    std::vector<std::uint32_t> out;
    std::int32_t len = 0;
    EXPECT_EQ(acedSSLength(set, &len), RTNORM);
    for (std::int32_t i = 0; i < len; ++i) {
      ads_name e;
      EXPECT_EQ(acedSSName(set, i, e), RTNORM);
      out.push_back(static_cast<std::uint32_t>(e[0]));
    }
    return out;
  }

  int block(const char* blockName, const ads_name set) {
    ads_point base = {0, 0, 0};
    return acedCommand(RTSTR, "_.BLOCK", RTSTR, blockName, RTPOINT, base, RTPICKS, set, RTSTR, "",
                       RTNONE);
  }
};

TEST_F(DrawingTest, EntitiesAreFoundAndWalkedInOrderAfterErasuresInTheMiddle) {
  std::vector<std::uint32_t> h = lines(6);
  ads_name n;
  name(h[1], n);
  ASSERT_EQ(acdbEntDel(n), RTNORM);
  name(h[4], n);
  ASSERT_EQ(acdbEntDel(n), RTNORM);
  EXPECT_EQ(acdbEntDel(n), RTERROR) << "erased twice";
  EXPECT_EQ(walk(), (std::vector<std::uint32_t>{h[0], h[2], h[3], h[5]}));
  EXPECT_EQ(startX(h[1]), -1.0);
  EXPECT_EQ(startX(h[4]), -1.0);
  for (int i : {0, 2, 3, 5}) EXPECT_EQ(startX(h[i]), i) << "line " << i;
  name(h[4], n);
  EXPECT_EQ(acdbEntNext(n, n), RTERROR) << "a walk cannot continue from an erased entity";
  EXPECT_EQ(lastHandle(), h[5]);
}

TEST_F(DrawingTest, ABlockOfScatteredMembersKeepsDrawingOrderAndEverySetLosesThem) {
  std::vector<std::uint32_t> h = lines(8);
  // The part, chosen out of order, and a second set that shares two of its members.
  ads_name part, other, e;
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, part), RTNORM);
  for (int i : {6, 2, 3}) {
    name(h[i], e);
    ASSERT_EQ(acedSSAdd(e, part, part), RTNORM);
  }
  ASSERT_EQ(acedSSAdd(nullptr, nullptr, other), RTNORM);
  for (int i : {7, 3, 0, 6, 5}) {
    name(h[i], e);
    ASSERT_EQ(acedSSAdd(e, other, other), RTNORM);
  }
  ASSERT_EQ(block("Part", part), RTNORM) << host.transcript().text();

  const BlockRecord* b = host.database().findBlock("PART");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->entities.size(), 3u);
  EXPECT_EQ(b->entities[0].handle, h[2]);
  EXPECT_EQ(b->entities[1].handle, h[3]);
  EXPECT_EQ(b->entities[2].handle, h[6]);
  EXPECT_EQ(walk(), (std::vector<std::uint32_t>{h[0], h[1], h[4], h[5], h[7]}));
  EXPECT_TRUE(members(part).empty());
  EXPECT_EQ(members(other), (std::vector<std::uint32_t>{h[7], h[0], h[5]}))
      << "the members that stayed keep the order they were added in";

  // Every entity is still found by its handle where it now lives; a walk from a block's entity
  // goes on inside the block; only the drawing's own entities can join a set.
  for (int i = 0; i < 8; ++i) EXPECT_EQ(startX(h[i]), i) << "line " << i;
  name(h[3], e);
  ASSERT_EQ(acdbEntNext(e, e), RTNORM);
  EXPECT_EQ(static_cast<std::uint32_t>(e[0]), h[6]);
  EXPECT_EQ(acdbEntNext(e, e), RTERROR) << "the block's last entity";
  name(h[3], e);
  EXPECT_EQ(acedSSAdd(e, other, other), RTERROR);
  name(h[5], e);
  ASSERT_EQ(acdbEntNext(e, e), RTNORM);
  EXPECT_EQ(static_cast<std::uint32_t>(e[0]), h[7]);

  // A second block from what is left; the first keeps its entities.
  ASSERT_EQ(block("second", other), RTNORM);
  EXPECT_EQ(walk(), (std::vector<std::uint32_t>{h[1], h[4]}));
  ASSERT_NE(host.database().findBlock("Second"), nullptr);
  EXPECT_EQ(host.database().findBlock("Second")->entities.front().handle, h[0]);
  EXPECT_EQ(host.database().findBlock("part")->entities.size(), 3u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(startX(h[i]), i) << "line " << i;
  EXPECT_EQ(acedSSFree(part), RTNORM);
  EXPECT_EQ(acedSSFree(other), RTNORM);
}

TEST_F(DrawingTest, PolylineVerticesAreFoundInTheDrawingAndInABlock) {
  lines(2);
  ads_point p = {0, 0, 0};
  ASSERT_EQ(make(acutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 0, 0)), RTNORM);
  std::uint32_t polyline = host.database().handleSeed() - 1;
  for (double x : {3.0, 4.0, 5.0}) {
    p[0] = x;
    ASSERT_EQ(make(acutBuildList(RTDXF0, "VERTEX", 10, p, 0)), RTNORM);
  }
  ASSERT_EQ(make(acutBuildList(RTDXF0, "SEQEND", 0)), RTNORM);
  std::vector<std::uint32_t> after = lines(1);
  EXPECT_EQ(startX(polyline + 2), 4.0) << "the second vertex";

  ads_name set, e;
  name(polyline, e);
  ASSERT_EQ(acedSSAdd(e, nullptr, set), RTNORM);
  ASSERT_EQ(block("POLY", set), RTNORM);
  EXPECT_EQ(startX(polyline + 1), 3.0);
  EXPECT_EQ(startX(polyline + 3), 5.0);
  EXPECT_EQ(startX(after[0]), 0.0) << "the line after the polyline moved up";
  EXPECT_EQ(lastHandle(), after[0]);
  EXPECT_EQ(acedSSFree(set), RTNORM);
}

}  // namespace
}  // namespace kxhost::testing