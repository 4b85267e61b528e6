#pragma once
// m2dInsertPointC: a figure's "INSERTPOINT" record: the insertion point ("POINT", through
// pointObj; a list that does not hold exactly two numbers reads as (0, 0)) and the "ROTATION" in
// degrees. Owns its node only when built with owns set.

#include "meta/m2d/m2dBaseObj.h"

class m2dInsertPointC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;

    m2dInsertPointC() = default;
    explicit m2dInsertPointC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    mVec2dC point(int* found = nullptr) const { return pointObj().point(found); }
    double rotation(int* found = nullptr) const { return getAttrReal("ROTATION", found); }
};
