#pragma once
// m2dHatchLoopC: one boundary loop "M2DHATCHLOOP" of a hatch. Owns its node only when built with
// owns set.

#include "meta/m2d/m2dBaseObj.h"
#include "meta/m2d/m2dHatchLoopRefList.h"

class m2dHatchLoopC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;
    static const char* classKey() { return "M2DHATCHLOOP"; }

    m2dHatchLoopC() = default;
    explicit m2dHatchLoopC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    // The "M2DHATCHLOOPSHREFS" child (created when absent) as a list view, not owning.
    m2dHatchLoopRefListC shapeRefList() const {
        return m2dHatchLoopRefListC(findOrAddChild("M2DHATCHLOOPSHREFS"), 0);
    }
};
