#pragma once
// m2dShapeAttrC: the "SHAPEATTR" item of a figure's item list; its values select the pen class of
// the shapes that follow it. Owns its node only when built with owns set.

#include "meta/m2d/m2dBaseObj.h"

class m2dShapeAttrC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;
    static const char* classKey() { return "SHAPEATTR"; }
    static int isKindOf(const metaTreeC* node);

    m2dShapeAttrC() = default;
    explicit m2dShapeAttrC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    // "SHAPEWIDTH": line width class, 1 thin, 2 or 3 thick.
    int shapeWidth(int* found = nullptr) const { return getAttrInt("SHAPEWIDTH", found); }
    // "SHAPETYP": 0 solid, 1 hidden, 2 centre line, 4 items not to be drawn.
    int shapeType(int* found = nullptr) const { return getAttrInt("SHAPETYP", found); }
    // "COSMETIC": non-zero puts the following shapes on the cosmetic layer.
    int cosmetic(int* found = nullptr) const { return getAttrInt("COSMETIC", found); }
};
