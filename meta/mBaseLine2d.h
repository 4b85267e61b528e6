#pragma once
// mBaseLine2dC: view of a "LINE" node: "POINT" 0 the start, "POINT" 1 the end. Owns its node only
// when built with owns set.

#include "meta/mBaseShape2d.h"

class mBaseLine2dC : public mBaseShape2dC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;
    static const char* classKey() { return "LINE"; }

    mBaseLine2dC() = default;
    explicit mBaseLine2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}
    // A view on a new detached "LINE" node; with owns set the view deletes it.
    static mBaseLine2dC create(int owns);

    // Points read through the point list: absent "POINT" children are created empty.
    mVec2dC startPoint(int* found = nullptr) const;
    mVec2dC endPoint(int* found = nullptr) const;
    void setStartPoint(const mVec2dC& p) const;
    void setEndPoint(const mVec2dC& p) const;

    double length() const override;  // |end - start|
    int getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const override;
    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;  // start, end
    int scale(double factor) const override;
    int getEndPoints(mVec2dC& start, mVec2dC& end) const override;
    int setEndPoints(const mVec2dC& start, const mVec2dC& end) const override;
    int reverse() const override;
};
