#pragma once
// m2dHatchListC: a figure's "M2DHATCHES" list: its "M2DHATCH" children in order. Owns its node only
// when built with owns set.

#include <cstdint>

#include "meta/m2d/m2dHatch.h"
#include "meta/metaObjKeyContainerTemplate.h"

class m2dHatchListC : public metaObjKeyContainerTemplateC<m2dHatchC> {
public:
    m2dHatchListC() = default;
    explicit m2dHatchListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjKeyContainerTemplateC<m2dHatchC>(node, owns, buildVirtualBase) {}

    // Sets "HATCHIDX" of every boundary shape that a hatch's loops refer to to that hatch's
    // 0-based position in the list (a shape shared by several hatches keeps the last). Returns the
    // number of hatches.
    std::int64_t numberHatches() const;
};
