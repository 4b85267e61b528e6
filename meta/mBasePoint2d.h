#pragma once
// mBasePoint2dC: view of an "SPOINT" node whose "POINT" child (its first) is the point. Owns its
// node only when built with owns set.

#include "meta/mBaseShape2d.h"

class mBasePoint2dC : public mBaseShape2dC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;
    static const char* classKey() { return "SPOINT"; }

    mBasePoint2dC() = default;
    explicit mBasePoint2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}

    mVec2dC point(int* found = nullptr) const;
    void setPoint(const mVec2dC& p) const;

    double length() const override;  // 0.0
    int getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const override;
    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;  // the point
    int scale(double factor) const override;
};
