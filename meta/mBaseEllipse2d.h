#pragma once
// mBaseEllipse2dC: view of a full "ELLIPSE" node (the keys of mBaseEllipseCore2dC). Owns its node
// only when built with owns set.

#include "meta/mBaseEllipseCore2d.h"

class mBaseEllipse2dC : public mBaseEllipseCore2dC {
public:
    static constexpr int classDepth = mBaseEllipseCore2dC::classDepth + 1;
    static const char* classKey() { return "ELLIPSE"; }

    mBaseEllipse2dC() = default;
    explicit mBaseEllipse2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseEllipseCore2dC(node, owns, buildVirtualBase) {}

    // Centre and major axis end transformed; ANGLE from the new axis; RAD1 and RAD2 kept.
    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;
};
