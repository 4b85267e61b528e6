#pragma once
// m2dShapeBaseC: common base of every 2D shape view of a figure's items and of the hatch loop's
// reference entry; no data and no virtual operations of its own. Owns its node only when built
// with owns set.

#include "meta/m2d/m2dBaseObj.h"

class m2dShapeBaseC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;

    m2dShapeBaseC() = default;
    explicit m2dShapeBaseC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}
};
