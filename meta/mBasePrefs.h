#pragma once
// mBasePrefsC: a preferences record ("FIGUREPREFS", "DRAWINGPREFS", the 3D model's "PARTPREFS"
// and "ASMPREFS") holding the real "UNITBASE", the unit base of the document's lengths. Owns its
// node only when built with owns set.

#include "meta/metaObject.h"

class mBasePrefsC : public metaObjectC {
public:
    static constexpr int classDepth = metaObjectC::classDepth + 1;

    mBasePrefsC() = default;
    explicit mBasePrefsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjectC(node, owns, buildVirtualBase) {}

    // "UNITBASE" as stored (created when absent: 0.0 with found 0).
    double unitBase(int* found = nullptr) const { return getAttrReal("UNITBASE", found); }
    // The unit base to compute with: a stored 0 (also an absent one) counts as 1.0.
    double effectiveUnitBase() const {
        const double u = unitBase();
        return u == 0.0 ? 1.0 : u;
    }
    void setUnitBase(double u) const { setAttrReal("UNITBASE", u); }
};
