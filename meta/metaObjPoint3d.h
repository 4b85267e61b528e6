#pragma once
// metaObjPoint3dC: a 3D point view on a "POINT3D" key node whose three real children are x, y and
// z. It owns its node only when built with owns set.

#include "meta/metaObjRealList.h"

class metaObjPoint3dC : public metaObjRealListC {
public:
    static constexpr int classDepth = metaObjRealListC::classDepth + 1;
    static const char* classKey() { return "POINT3D"; }

    metaObjPoint3dC() = default;
    explicit metaObjPoint3dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjRealListC(node, owns, buildVirtualBase) {}

    // The point; the zero vector with found 0 unless the node has exactly three children.
    mVec3dC point(int* found = nullptr) const { return vector3d(found); }
    // Replaces the children by the three reals x, y, z.
    void setPoint(const mVec3dC& p) const { setVector3d(p); }
};
