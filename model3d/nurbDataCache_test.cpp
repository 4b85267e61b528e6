#include "model3d/nurbDataCache.h"

#include <gtest/gtest.h>

#include "meta/metaTree.h"
#include "model3d/nurbBoundingBox.h"
#include "model3d/nurbCurve.h"

namespace {

pagedArrayC<mVec3dC> pool(std::initializer_list<mVec3dC> points) {
  pagedArrayC<mVec3dC> p(3);
  for (const mVec3dC& x : points) p.append(x);
  return p;
}

TEST(nurbNearestSample, LaterOfEqualDistancesWinsAndExactHitStops) {
  const auto samples = pool({{1, 0, 0}, {-1, 0, 0}, {0, 5, 0}});
  std::int64_t index = -1;
  double distance = 0;
  nurbNearestSample(samples, {0, 0, 0}, distance, index, 1e-10);
  EXPECT_EQ(index, 1);
  EXPECT_DOUBLE_EQ(distance, 1.0);

  // The first exact hit ends the search: the later, equally exact sample is not reached.
  const auto exact = pool({{3, 3, 3}, {0, 0, 0}, {0, 0, 0}});
  nurbNearestSample(exact, {0, 0, 0}, distance, index, 1e-10);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(distance, 0.0);
}

// However far away the samples lie, the nearest is found.
TEST(nurbNearestSample, DeviationFarSamplesAreFound) {
  std::int64_t index = 42;
  double distance = 0;
  nurbNearestSample(pool({{1e6, 0, 0}, {0, -2e6, 0}, {0, 0, 3e6}}), {0, 0, 0}, distance, index, 1e-10);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(distance, 1e6);
  nurbNearestSample(pool({{0, 0, 3e6}, {0, -2e6, 0}}), {0, 0, 0}, distance, index, 1e-10);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(distance, 2e6);
}

TEST(nurbBoundingBox, OfPointsAndOverlap) {
  const nurbBoundingBoxC empty = nurbBoundingBoxC::ofPoints(pool({}));
  EXPECT_EQ(empty.valid, 1);
  EXPECT_EQ(empty.minimum.x, 1e10);
  EXPECT_EQ(empty.maximum.z, -1e10);

  const nurbBoundingBoxC a = nurbBoundingBoxC::ofPoints(pool({{0, 0, 0}, {1, 2, 0}, {-1, 1, 0}}));
  EXPECT_EQ(a.minimum.x, -1);
  EXPECT_EQ(a.maximum.y, 2);
  // Flat in z at 0 and at 5e-7: within 1e-6 they still overlap; at 1e-3 they do not.
  const nurbBoundingBoxC near = nurbBoundingBoxC::ofPoints(pool({{0, 0, 5e-7}, {1, 1, 5e-7}}));
  const nurbBoundingBoxC far = nurbBoundingBoxC::ofPoints(pool({{0, 0, 1e-3}, {1, 1, 1e-3}}));
  EXPECT_EQ(a.overlaps(near, 0.0), 1);
  EXPECT_EQ(a.overlaps(far, 0.0), 0);
  // A relative tolerance widens the test by f times the larger extent.
  const nurbBoundingBoxC right = nurbBoundingBoxC::ofPoints(pool({{1.05, 0, 0}, {2, 1, 0}}));
  EXPECT_EQ(a.overlaps(right, 0.01), 0);
  EXPECT_EQ(a.overlaps(right, 0.03), 1);  // t = 0.03 * 2 = 0.06 > 0.05
}

TEST(nurbCurveDataCache, RebuiltAfterEveryChangeOfItsOwner) {
  nurbCurveC c;
  c.makeLine({0, 0, 0}, {1, 0, 0});
  EXPECT_EQ(c.boundingBox().maximum.x, 1);
  c.cache().samples(c);
  EXPECT_EQ(c.cache().sampleCount(), 4);

  c.setControlPoint(1, {3, 0, 0, 1});
  EXPECT_EQ(c.cache().sampleCount(), 0);
  EXPECT_EQ(c.boundingBox().maximum.x, 3);
  c.cache().samples(c);
  EXPECT_DOUBLE_EQ(c.cache().samples(c)[3].x, 3);

  const double knots[] = {0, 0, 2, 2};
  c.setKnots(knots, 4);
  EXPECT_EQ(c.cache().box().valid, 0);
  c.setDegree(1);
  EXPECT_EQ(c.cache().sampleCount(), 0);

  // A copy carries the filled cache as it is.
  c.boundingBox();
  c.cache().samples(c);
  const nurbCurveC copy = c;
  EXPECT_EQ(copy.cache().box().valid, 1);
  EXPECT_EQ(copy.cache().sampleCount(), 4);
}

TEST(nurbCurveDataCache, DroppedWhenTheTreeGenerationMoves) {
  nurbCurveC c;
  c.makeLine({0, 0, 0}, {1, 0, 0});
  c.boundingBox();
  c.cache().samples(c);
  metaTreeC::bumpGeneration();
  // Read through the cache's own entry points, which check the stamp first.
  EXPECT_EQ(c.cache().samples(c).size(), 4u);  // refilled
  EXPECT_EQ(c.cache().box().valid, 0);          // the box was dropped with the samples
  EXPECT_EQ(c.boundingBox().valid, 1);
}

}  // namespace
