#include "meta/mVec2d.h"

#include <cmath>

double mVec2dC::length() const { return std::sqrt(x * x + y * y); }

void mVec2dC::normalize() {
    const double len = length();
    if (len == 0.0) return;  // a zero vector has no direction; keep it rather than make NaNs
    x /= len;
    y /= len;
}

int mVec2dC::equalsWithin(const mVec2dC& o, double tolerance) const {
    return (std::fabs(x - o.x) <= tolerance && std::fabs(y - o.y) <= tolerance) ? 1 : 0;
}

void mVec2dC::snapToZero(double threshold) {
    if (std::fabs(x) < threshold) x = 0.0;
    if (std::fabs(y) < threshold) y = 0.0;
}
