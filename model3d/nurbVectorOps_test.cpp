#include "model3d/nurbVectorOps.h"

#include <gtest/gtest.h>

namespace {

TEST(nurbVectorOps, ProjectedDividesUnlessTheWeightIsZeroOrOne) {
  struct Case {
    mVec4dC in;
    mVec3dC out;
  } cases[] = {{{2, 4, 6, 2}, {1, 2, 3}}, {{2, 4, 6, 0}, {2, 4, 6}}, {{2, 4, 6, 1}, {2, 4, 6}},
               {{-1, 0.5, 3, 0.5}, {-2, 1, 6}}};
  for (const Case& c : cases) {
    const mVec3dC p = projected(c.in);
    EXPECT_DOUBLE_EQ(p.x, c.out.x);
    EXPECT_DOUBLE_EQ(p.y, c.out.y);
    EXPECT_DOUBLE_EQ(p.z, c.out.z);
  }
}

TEST(nurbVectorOps, Solve2x2) {
  mVec2dC x(7, 7);
  EXPECT_EQ(solve2x2(mMat2dC::identity(), {3, 4}, x, 1e-5), 1);
  EXPECT_DOUBLE_EQ(x.x, 3);
  EXPECT_DOUBLE_EQ(x.y, 4);

  // [[1, 2], [2, 4]] is singular for any tolerance; x stays as it was.
  mMat2dC singular;
  singular.m[0] = 1, singular.m[1] = 2, singular.m[2] = 2, singular.m[3] = 4;
  x = {7, 7};
  for (double tol : {1e-12, 1e-5, 1.0}) EXPECT_EQ(solve2x2(singular, {1, 1}, x, tol), 0);
  EXPECT_DOUBLE_EQ(x.x, 7);

  // [[2, 1], [1, 3]] (column-major m0 m1 m2 m3 = 2 1 1 3) against an independent solution.
  mMat2dC M;
  M.m[0] = 2, M.m[1] = 1, M.m[2] = 1, M.m[3] = 3;
  EXPECT_EQ(solve2x2(M, {5, 10}, x, 1e-5), 1);
  EXPECT_NEAR(2 * x.x + 1 * x.y, 5, 1e-12);
  EXPECT_NEAR(1 * x.x + 3 * x.y, 10, 1e-12);

  // A component of 1e-6 falls below the tolerance and becomes 0.
  EXPECT_EQ(solve2x2(mMat2dC::identity(), {1e-6, 2}, x, 1e-5), 1);
  EXPECT_EQ(x.x, 0.0);
  EXPECT_DOUBLE_EQ(x.y, 2);
}

TEST(nurbVectorOps, FromValuesKeepsStoredOrderAndTransposesOnRequest) {
  double v[16];
  for (int i = 0; i < 16; ++i) v[i] = i;
  const mMat4dC m = fromValues(v, 0);
  const mMat4dC t = fromValues(v, 1);
  for (int c = 0; c < 4; ++c) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(m.m[4 * c + r], 4 * c + r);
      EXPECT_EQ(t.m[4 * c + r], 4 * r + c);
    }
  }
}

TEST(nurbVectorOps, ClosestPointOnLine) {
  // Line 1 the x axis, line 2 parallel to y through (3, 5, 2): nearest point (3, 0, 2).
  mVec3dC out(9, 9, 9);
  ASSERT_EQ(closestPointOnLine({0, 0, 0}, {1, 0, 0}, {3, 5, 2}, {0, 2, 0}, out), 1);
  EXPECT_NEAR(out.x, 3, 1e-12);
  EXPECT_NEAR(out.y, 0, 1e-12);
  EXPECT_NEAR(out.z, 2, 1e-12);
  out = {9, 9, 9};
  EXPECT_EQ(closestPointOnLine({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-2, 0, 0}, out), 0);
  EXPECT_EQ(out.x, 9);
}

TEST(nurbVectorOps, PoolShortcuts) {
  pagedArrayC<mVec3dC> pool = makePool<mVec3dC>();
  EXPECT_EQ(pool.shift(), 3);
  EXPECT_EQ(lastPoint3d(pool), nullptr);
  mVec3dC* first = appendPoint3d(pool, {1, 2, 3});
  for (int i = 0; i < 8; ++i) appendPoint3d(pool, {0, 0, double(i)});
  EXPECT_EQ(first, pool.element(0));  // addresses survive growth
  EXPECT_EQ(first->y, 2);
  EXPECT_EQ(lastPoint3d(pool)->z, 7);
  realArrayC a(5);
  EXPECT_EQ(fill(a, 2.5), 5);
  EXPECT_EQ(a.at(4), 2.5);
}

}  // namespace
