#include "meta/mVec3d.h"

#include <cmath>

double mVec3dC::length() const { return std::sqrt(x * x + y * y + z * z); }

void mVec3dC::normalize() {
    const double len = length();
    if (len == 0.0) return;  // a zero vector has no direction; keep it rather than make NaNs
    x /= len;
    y /= len;
    z /= len;
}

int mVec3dC::equalsWithin(const mVec3dC& o, double tolerance) const {
    return (std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance &&
            std::fabs(z - o.z) <= tolerance)
               ? 1
               : 0;
}

void mVec3dC::snapToZero(double threshold) {
    if (std::fabs(x) < threshold) x = 0.0;
    if (std::fabs(y) < threshold) y = 0.0;
    if (std::fabs(z) < threshold) z = 0.0;
}
