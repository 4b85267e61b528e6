#include "model3d/nurbKnotVector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The rule of a usable direction, checked from scratch: p >= 0, at least p + 1 points, count =
// points + p + 1, every knot at or above the one before it, knots[p] < knots[points].
int fitsByDefinition(const nurbKnotVectorC& k, std::int64_t points) {
  const std::int64_t p = k.degree();
  if (p < 0 || points < p + 1 || k.count() != points + p + 1) return 0;
  for (std::int64_t i = 1; i < k.count(); ++i)
    if (!(k.knot(i - 1) <= k.knot(i))) return 0;
  return k.knot(p) < k.knot(points) ? 1 : 0;
}

nurbKnotVectorC direction(int p, std::vector<double> knots) {
  nurbKnotVectorC k;
  k.setDegree(p);
  k.setKnots(knots.data(), static_cast<std::int64_t>(knots.size()));
  return k;
}

TEST(nurbKnotVector, FitsTable) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int p;
    std::vector<double> knots;
    std::int64_t points;
    int fits;
  } cases[] = {
      {3, {0, 0, 0, 0, 0.5, 1, 1, 1, 1}, 5, 1},
      {3, {0, 0, 0, 0, 0.5, 1, 1, 1, 1}, 4, 0},    // count is not points + p + 1
      {3, {0, 0, 0, 0, 0.6, 0.5, 1, 1, 1}, 5, 0},  // one knot below the one before
      {3, {0, 0, 0, 0, nan, 1, 1, 1, 1}, 5, 0},    // NaN is in no order
      {1, {0, 0, 0, 0}, 2, 0},                     // knots[p] = knots[points]: no range
      {0, {0, 1}, 1, 1},
      {-1, {0, 1}, 3, 0},
      {2, {0, 0, 0, 1, 1}, 2, 0},                  // fewer than p + 1 points
  };
  for (const Case& c : cases) {
    const nurbKnotVectorC k = direction(c.p, c.knots);
    EXPECT_EQ(k.fits(c.points), c.fits) << c.p << " " << c.knots.size() << " " << c.points;
    const nurbKnotVectorC copy = k;
    EXPECT_EQ(copy.fits(c.points), c.fits);
  }
}

TEST(nurbKnotVector, FitsFollowsEveryEdit) {
  // Random single-knot edits, appends and resizes; after each the answer equals the rule's.
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-0.5, 1.5);
  nurbKnotVectorC k = direction(2, {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1});
  int usable = 0;
  for (int step = 0; step < 2000; ++step) {
    const std::int64_t n = k.count();
    switch (random() % 9) {
      case 0:
        k.append(k.last() + (random() % 2 ? 0.0 : 0.5));
        break;
      case 1:
        if (n < 30) k.resize(n + 1 + random() % 3);  // new knots are zero
        break;
      case 4: {
        // Back into order, one knot at a time.
        std::vector<double> sorted(k.knots().size());
        for (std::int64_t i = 0; i < n; ++i)
          sorted[static_cast<std::size_t>(i)] = std::isnan(k.knot(i)) ? 0.0 : k.knot(i);
        std::sort(sorted.begin(), sorted.end());
        for (std::int64_t i = 0; i < n; ++i) k.setKnot(i, sorted[static_cast<std::size_t>(i)]);
        break;
      }
      case 2:
        if (n > 4) k.resize(n - 1 - random() % 2);
        break;
      case 3:
        k.setDegree(static_cast<int>(random() % 4));
        break;
      default: {
        // Mostly sorting edits, so that usable vectors keep coming back.
        const std::int64_t i = static_cast<std::int64_t>(random() % static_cast<unsigned>(n));
        double x = value(random);
        if (random() % 3 != 0) {
          const double lo = i > 0 ? k.knot(i - 1) : x - 1;
          const double hi = i + 1 < n ? k.knot(i + 1) : lo + 1;
          x = lo <= hi ? lo + (hi - lo) * 0.5 : x;
        }
        k.setKnot(i, random() % 40 == 0 ? std::numeric_limits<double>::quiet_NaN() : x);
      }
    }
    for (std::int64_t points = k.count() - k.degree() - 2; points <= k.count() - k.degree(); ++points)
    {
      ASSERT_EQ(k.fits(points), fitsByDefinition(k, points)) << "step " << step;
      usable += k.fits(points);
    }
  }
  EXPECT_GT(usable, 200);  // the walk keeps passing through usable vectors
}

}  // namespace
