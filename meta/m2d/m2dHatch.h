#pragma once
// m2dHatchC: one "M2DHATCH" record of a figure: its boundary loops, the direction "ANGLE" (degrees)
// and spacing "DISTANCE" (drawing units) of its lines, and the pattern lines. Reading an absent
// attribute creates it empty. Owns its node only when built with owns set.

#include <cstdint>

#include "meta/m2d/m2dBaseObj.h"
#include "meta/m2d/m2dHatchLineList.h"
#include "meta/m2d/m2dHatchLoopList.h"

class m2dHatchC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;
    static const char* classKey() { return "M2DHATCH"; }

    m2dHatchC() = default;
    explicit m2dHatchC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    // The "M2DHATCHLOOPS" child (created when absent), not owning.
    m2dHatchLoopListC loopList() const { return m2dHatchLoopListC(findOrAddChild("M2DHATCHLOOPS"), 0); }
    double angle(int* found = nullptr) const { return getAttrReal("ANGLE", found); }
    double distance(int* found = nullptr) const { return getAttrReal("DISTANCE", found); }
    void setDistance(double d) const { setAttrReal("DISTANCE", d); }

    // The "M2DHATCHLINES" child (created when absent), not owning.
    m2dHatchLineListC lineList() const { return m2dHatchLineListC(findOrAddChild("M2DHATCHLINES"), 0); }
    std::int64_t lineCount() const { return lineList().count(); }
    m2dLineC line(std::int64_t n) const { return lineList().item(n); }

    // "DISTANCE" and every pattern line scaled by `factor`; loops are left alone (their targets
    // are figure items).
    void scale(double factor) const;
};
