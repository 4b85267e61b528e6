#pragma once
// Test instrument: a feature registered under "TESTAXES" in the feature registry that reports
// the segments written in its "SEGS" child (six reals each: start and end) as its axes.
// Header-only; the registration is one inline object shared by every test file.

#include <cstdint>

#include "meta/metaClassRegistrar.h"
#include "meta/metaObjRealList.h"
#include "model3d/m3dFeatGen.h"

namespace m3dtesting {

class testAxesFeatureC : public m3dFeatGenC {
public:
  int collectFeatureAxes(m3dAxisPoolC& pool) override {
    const realArrayC v = metaObjRealListC(findOrAddChild("SEGS"), 0).getReals();
    for (std::int64_t i = 0; i + 5 < v.count(); i += 6) {
      *pool.appendSlot() = m3dAxisSegmentC{{v.at(i), v.at(i + 1), v.at(i + 2)},
                                           {v.at(i + 3), v.at(i + 4), v.at(i + 5)}, 0, 0};
    }
    return static_cast<int>(pool.size());
  }
};

inline metaClassRegistrarC<testAxesFeatureC, m3dFeatGenC> registerTestAxes(
    m3dFeatureRegistry, "TESTAXES", m3dGeomOpDepth + 1);

}  // namespace m3dtesting
