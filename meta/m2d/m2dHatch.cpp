#include "meta/m2d/m2dHatch.h"

void m2dHatchC::scale(double factor) const {
    setDistance(distance() * factor);
    const m2dHatchLineListC lines = lineList();
    const std::int64_t n = lines.count();
    for (std::int64_t i = 0; i < n; ++i) lines.item(i).scale(factor);
}
