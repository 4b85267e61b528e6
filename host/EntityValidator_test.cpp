// What acdbEntMake accepts and refuses, through the API as a plug-in calls it.

#include <cmath>
#include <limits>

#include "host/testing/HostFixture.h"

namespace kxhost::testing {
namespace {

class EntMakeTest : public HostTest {};

struct BadList {
  const char* name;
  resbuf* (*build)();
  const char* why;   // part of the transcript line
};

ads_point P0 = {0.0, 0.0, 0.0};
ads_point P1 = {10.0, 0.0, 0.0};

resbuf* unknownType() { return acutBuildList(RTDXF0, "SPLINE", 10, P0, 0); }
resbuf* noType() { return acutBuildList(8, "0", 10, P0, 11, P1, 0); }
resbuf* lineMissingEnd() { return acutBuildList(RTDXF0, "LINE", 10, P0, 0); }
resbuf* arcMissingAngles() { return acutBuildList(RTDXF0, "ARC", 10, P0, 40, 2.0, 0); }
resbuf* nanPoint() {
  static ads_point bad = {std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0};
  return acutBuildList(RTDXF0, "LINE", 10, bad, 11, P1, 0);
}
resbuf* infiniteRadius() {
  return acutBuildList(RTDXF0, "CIRCLE", 10, P0, 40, std::numeric_limits<double>::infinity(), 0);
}
resbuf* unknownLineType() { return acutBuildList(RTDXF0, "LINE", 6, "DASHED", 10, P0, 11, P1, 0); }
resbuf* vertexOutside() { return acutBuildList(RTDXF0, "VERTEX", 10, P0, 0); }
resbuf* seqendOutside() { return acutBuildList(RTDXF0, "SEQEND", 8, "0", 0); }
resbuf* solidTab() { return acutBuildList(RTDXF0, "3DSOLID", 70, 1, 1, "body\t$-1 #", 0); }
resbuf* solidUmlaut() { return acutBuildList(RTDXF0, "3DSOLID", 70, 1, 1, "x", 3, "Gr\xC3\xBC", 0); }
resbuf* insertUnknownBlock() { return acutBuildList(RTDXF0, "INSERT", 2, "NOPE", 10, P0, 0); }
resbuf* colourOutOfRange() { return acutBuildList(RTDXF0, "LINE", 62, 257, 10, P0, 11, P1, 0); }
resbuf* zeroRadius() { return acutBuildList(RTDXF0, "CIRCLE", 10, P0, 40, 0.0, 0); }
resbuf* ellipseRatio() {
  ads_point axis = {5.0, 0.0, 0.0};
  return acutBuildList(RTDXF0, "ELLIPSE", 10, P0, 11, axis, 40, 1.5, 0);
}
resbuf* ellipseZeroAxis() { return acutBuildList(RTDXF0, "ELLIPSE", 10, P0, 11, P0, 40, 0.5, 0); }
resbuf* badLayerName() { return acutBuildList(RTDXF0, "LINE", 8, "A<B", 10, P0, 11, P1, 0); }
resbuf* twiceGiven() { return acutBuildList(RTDXF0, "LINE", 10, P0, 10, P1, 11, P1, 0); }
resbuf* foreignGroup() { return acutBuildList(RTDXF0, "LINE", 10, P0, 11, P1, 40, 1.0, 0); }
resbuf* textNoHeight() { return acutBuildList(RTDXF0, "MTEXT", 10, P0, 40, -1.0, 1, "x", 0); }
resbuf* unknownStyle() { return acutBuildList(RTDXF0, "TEXT", 10, P0, 40, 1.0, 1, "x", 7, "ROMANS", 0); }

TEST_F(EntMakeTest, RefusesBadListsAndSaysWhy) {
  const BadList cases[] = {
      {"unknown type", unknownType, "unknown entity type \"SPLINE\""},
      {"no type first", noType, "does not start with the entity type"},
      {"missing end point", lineMissingEnd, "required group 11 is missing"},
      {"missing arc angles", arcMissingAngles, "required group 50 is missing"},
      {"NaN", nanPoint, "not a finite number"},
      {"infinity", infiniteRadius, "not a finite number"},
      {"unknown line type", unknownLineType, "line type \"DASHED\" is not loaded"},
      {"VERTEX outside POLYLINE", vertexOutside, "VERTEX outside a POLYLINE"},
      {"SEQEND outside POLYLINE", seqendOutside, "SEQEND outside a POLYLINE"},
      {"INSERT of unknown block", insertUnknownBlock, "INSERT of unknown block \"NOPE\""},
      {"colour 257", colourOutOfRange, "outside 0..256"},
      {"zero radius", zeroRadius, "radius (group 40) must be positive"},
      {"ellipse ratio 1.5", ellipseRatio, "axis ratio"},
      {"ellipse zero axis", ellipseZeroAxis, "major axis"},
      {"bad layer name", badLayerName, "no valid layer name"},
      {"group twice", twiceGiven, "group 10 is given twice"},
      {"foreign group", foreignGroup, "group 40 does not belong to a LINE"},
      {"negative text height", textNoHeight, "text height"},
      {"unknown text style", unknownStyle, "text style \"ROMANS\""},
      {"solid data with a tab", solidTab, "group 1 holds a byte that a 3DSOLID cannot carry"},
      {"solid data with a letter", solidUmlaut, "group 3 holds a byte that a 3DSOLID cannot carry"},
  };
  for (const BadList& c : cases) {
    host.transcript().clear();
    EXPECT_EQ(make(c.build()), RTREJ) << c.name;
    EXPECT_TRUE(transcriptHas(c.why)) << c.name << ": " << host.transcript().text();
  }
  EXPECT_TRUE(host.database().model().empty());
  EXPECT_EQ(host.database().tables().layers().size(), 1u) << "a refused list made a layer";
  ads_name last;
  EXPECT_EQ(acdbEntLast(last), RTERROR);
}

TEST_F(EntMakeTest, AcceptsEveryTypeAndCreatesMissingLayers) {
  ads_point axis = {5.0, 0.0, 0.0};
  EXPECT_EQ(makeLine(0, 0, 1, 1, "NEWLAYER"), RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "ARC", 8, "0", 6, "BYLAYER", 62, 3, 10, P0, 40, 2.0, 50, 0.0,
                               51, 1.5, 0)),
            RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "CIRCLE", 6, "continuous", 10, P0, 40, 1.0, 0)), RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "ELLIPSE", 100, "AcDbEntity", 8, "0", 6, "BYBLOCK", 100,
                               "AcDbEllipse", 62, 256, 10, P0, 11, axis, 40, 0.5, 41, 0.0, 42, 3.0,
                               0)),
            RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "MTEXT", 100, "AcDbEntity", 8, "0", 6, "BYLAYER", 100,
                               "AcDbMText", 10, P0, 40, 2.5, 71, 4, 72, 1, 1, "a\\Pb", 50, 0.5, 0)),
            RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "MTEXT", 10, P0, 40, 2.5, 3, "long ", 3, "text ", 1, "end",
                               0)),
            RTNORM)
      << "group 3 may repeat";
  EXPECT_EQ(make(acutBuildList(RTDXF0, "TEXT", 10, P0, 40, 2.5, 1, "t", 0)), RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "POINT", 10, P1, 0)), RTNORM);
  ASSERT_NE(host.database().tables().findLayer("newlayer"), nullptr);
  EXPECT_EQ(host.database().model().size(), 8u);
}

TEST_F(EntMakeTest, PolylineJoinsTheDrawingWithItsSeqend) {
  ads_point v1 = {0, 0, 0}, v2 = {10, 0, 0}, v3 = {10, 10, 0};
  ASSERT_EQ(makeLine(0, 0, 1, 0), RTNORM);
  std::uint32_t before = lastHandle();
  ASSERT_EQ(make(acutBuildList(RTDXF0, "POLYLINE", 66, 1, 70, 1, 10, P0, 0)), RTNORM);
  EXPECT_EQ(lastHandle(), before) << "an open POLYLINE is not yet in the drawing";
  EXPECT_EQ(makeLine(0, 0, 2, 0), RTREJ) << "another entity while the POLYLINE is open";
  for (double* v : {v1, v2, v3})
    ASSERT_EQ(make(acutBuildList(RTDXF0, "VERTEX", 10, v, 42, 0.0, 0)), RTNORM);
  ASSERT_EQ(make(acutBuildList(RTDXF0, "SEQEND", 0)), RTNORM);
  const Entity* poly = host.database().entity(lastHandle());
  ASSERT_NE(poly, nullptr);
  EXPECT_EQ(poly->type, "POLYLINE");
  EXPECT_EQ(poly->subs.size(), 4u);   // three vertices and the SEQEND
  EXPECT_EQ(make(acutBuildList(RTDXF0, "VERTEX", 10, v1, 0)), RTREJ);
}

TEST_F(EntMakeTest, PolylineWithOneVertexIsDiscardedAtSeqend) {
  ASSERT_EQ(make(acutBuildList(RTDXF0, "POLYLINE", 66, 1, 10, P0, 0)), RTNORM);
  ASSERT_EQ(make(acutBuildList(RTDXF0, "VERTEX", 10, P1, 0)), RTNORM);
  EXPECT_EQ(make(acutBuildList(RTDXF0, "SEQEND", 0)), RTREJ);
  EXPECT_TRUE(host.database().model().empty());
  EXPECT_EQ(makeLine(0, 0, 1, 1), RTNORM) << "the discarded POLYLINE no longer blocks";
}

TEST_F(EntMakeTest, EntLastAndEntNextWalkMainEntitiesInOrder) {
  ads_name n;
  EXPECT_EQ(acdbEntNext(nullptr, n), RTERROR) << "empty drawing";
  for (int i = 0; i < 3; ++i) ASSERT_EQ(makeLine(i, 0, i, 1), RTNORM);
  std::vector<std::uint32_t> seen;
  for (int rc = acdbEntNext(nullptr, n); rc == RTNORM; rc = acdbEntNext(n, n))
    seen.push_back(static_cast<std::uint32_t>(n[0]));
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen.back(), lastHandle());
  resbuf* got = acdbEntGet(n);
  ASSERT_NE(got, nullptr);
  EXPECT_EQ(got->restype, -1);
  EXPECT_EQ(got->rbnext->restype, 0);
  EXPECT_STREQ(got->rbnext->resval.rstring, "LINE");
  EXPECT_EQ(acutRelRb(got), RTNORM);
  ads_name madeUp = {static_cast<std::int32_t>(seen[0]), 12345};
  EXPECT_EQ(acdbEntGet(madeUp), nullptr);
  EXPECT_EQ(acdbEntNext(madeUp, n), RTERROR);
}

// A hatch of one square loop (four line edges) linked to its four LINE entities.
class HatchTest : public HostTest {
protected:
  void SetUp() override {
    double c[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
      ASSERT_EQ(makeLine(c[i][0], c[i][1], c[i + 1][0], c[i + 1][1]), RTNORM);
      acdbEntLast(lines[i]);
    }
  }

  // The chain of groups: loops, edges, sources and pattern, with the counts given.
  resbuf* hatch(int loopCount, int edgeCount, int sourceCount, int links,
                const std::int32_t* strangeLink = nullptr) {
    ads_point zero = {0, 0, 0}, z = {0, 0, 1};
    resbuf* head = acutBuildList(RTDXF0, "HATCH", 100, "AcDbEntity", 8, "0", 100, "AcDbHatch",
                                 62, 1, 10, zero, 210, z, 2, "_U", 70, 0, 71, 1, 91, loopCount,
                                 92, 1, 93, edgeCount, 0);
    resbuf* tail = head;
    auto append = [&](resbuf* chain) {
      while (tail->rbnext) tail = tail->rbnext;
      tail->rbnext = chain;
    };
    double c[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
      ads_point a = {c[i][0], c[i][1], 0}, b = {c[i + 1][0], c[i + 1][1], 0};
      append(acutBuildList(72, 1, 10, a, 11, b, 0));
    }
    append(acutBuildList(97, sourceCount, 0));
    for (int i = 0; i < links; ++i) append(acutBuildList(330, lines[i], 0));
    if (strangeLink) append(acutBuildList(330, strangeLink, 0));
    append(acutBuildList(75, 0, 76, 1, 52, 0.785, 41, 5.0, 77, 0, 78, 1, 53, 0.785, 43, 0.0, 44,
                         0.0, 45, -3.5, 46, 3.5, 79, 0, 98, 1, 10, zero, 0));
    return head;
  }

  ads_name lines[4];
};

TEST_F(HatchTest, ConsistentHatchIsMadeWithItsLinks) {
  ASSERT_EQ(make(hatch(1, 4, 4, 4)), RTNORM) << host.transcript().text();
  const Entity* h = host.database().entity(lastHandle());
  ASSERT_EQ(h->type, "HATCH");
}

TEST_F(HatchTest, FewerLinksThanAnnouncedAreAccepted) {
  EXPECT_EQ(make(hatch(1, 4, 4, 2)), RTNORM) << host.transcript().text();
}

TEST_F(HatchTest, InconsistentHatchesAreRefused) {
  ads_name nothing = {0x7777, 1};
  struct Case {
    const char* name;
    int loops, edges, sources, links;
    const std::int32_t* strange;
    const char* why;
  } cases[] = {
      {"two loops announced", 2, 4, 4, 4, nullptr, "group 92 (boundary type) expected"},
      {"five edges announced", 1, 5, 4, 4, nullptr, "edge 5"},
      {"three edges announced", 1, 3, 4, 4, nullptr, "group 97 (source count) expected"},
      {"more links than announced", 1, 4, 3, 4, nullptr, "more 330 groups"},
      {"link to nothing", 1, 4, 4, 3, nothing, "names no entity"},
  };
  for (const Case& c : cases) {
    host.transcript().clear();
    EXPECT_EQ(make(hatch(c.loops, c.edges, c.sources, c.links, c.strange)), RTREJ) << c.name;
    EXPECT_TRUE(transcriptHas(c.why)) << c.name << ": " << host.transcript().text();
  }
  EXPECT_EQ(host.database().model().size(), 4u);
}

}  // namespace
}  // namespace kxhost::testing
