#pragma once
// mBaseCircle2dC: view of a "CIRCLE" node: "POINT" the centre, "RAD" the radius. Owns its node
// only when built with owns set.

#include "meta/mBaseShape2d.h"

class mBaseCircle2dC : public mBaseShape2dC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;
    static const char* classKey() { return "CIRCLE"; }

    mBaseCircle2dC() = default;
    explicit mBaseCircle2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}
    static mBaseCircle2dC create(int owns);

    mVec2dC centre(int* found = nullptr) const;
    void setCentre(const mVec2dC& c) const;
    double radius(int* found = nullptr) const;  // "RAD"
    void setRadius(double r) const;

    double length() const override;  // (RAD + RAD) * pi
    int getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const override;
    int transform(const mMat3dC& matrix) const override;  // the centre; RAD kept
    int tessellate(mPointList2dC& points, double step) const override;
    int scale(double factor) const override;
};
