#include "meta/m2d/m2dDxfSettings.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {
// Truncation toward zero that saturates instead of overflowing.
std::int64_t truncated(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (v <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}
}  // namespace

void m2dDxfSettingsC::rescale(double factor) const {
    setInsertX(truncated(insertX() * factor));
    setInsertY(truncated(insertY() * factor));
}
