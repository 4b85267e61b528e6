// The nearest-sample search shared by the NURBS caches.

#include "model3d/nurbDataCache.h"

#include <cmath>
#include <limits>

void nurbNearestSample(const pagedArrayC<mVec3dC>& samples, const mVec3dC& point, double& distance,
                       std::int64_t& index, double tolerance) {
  // From infinity, so the first sample always takes the lead, however far away it lies.
  double best = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const mVec3dC& s = samples[i];
    const double dx = s.x - point.x;
    double d2 = dx * dx;
    if (d2 > best) continue;
    const double dy = s.y - point.y;
    d2 += dy * dy;
    if (d2 > best) continue;
    const double dz = s.z - point.z;
    d2 += dz * dz;
    if (d2 > best) continue;
    best = d2;
    index = static_cast<std::int64_t>(i);
    if (d2 < tolerance) break;
  }
  distance = best == 0.0 ? 0.0 : std::sqrt(best);
}
