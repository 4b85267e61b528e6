#pragma once
// mBaseArc2dC: view of an "ARC" node: "POINT" 0 the start, "POINT" 1 a point on the arc between
// them (the mid point), "POINT" 2 the end. No radius or angles are stored; centre, radius, angles
// and direction are derived from the three points. Angles in degrees. Owns its node only when
// built with owns set.

#include "meta/mBaseShape2d.h"
#include "meta/mShapeGeometry2d.h"

class mBaseArc2dC : public mBaseShape2dC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;
    static const char* classKey() { return "ARC"; }

    mBaseArc2dC() = default;
    explicit mBaseArc2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}
    static mBaseArc2dC create(int owns);

    mVec2dC startPoint(int* found = nullptr) const;
    mVec2dC midPoint(int* found = nullptr) const;
    mVec2dC endPoint(int* found = nullptr) const;
    void setPoints(const mVec2dC& start, const mVec2dC& mid, const mVec2dC& end) const;

    // Centre of the circle through the three points, radius |start - centre|, start and end
    // angle in [0, 359.9999) and the direction (start, mid, end).
    mArcValues2dC values() const;
    mVec2dC centre() const { return values().centre; }
    double radius() const { return values().radius; }
    int isClockwise() const { return values().clockwise; }
    // Counterclockwise start and end angle in degrees (swapped for a clockwise arc; the end is
    // raised by 360 while not above the start, so equal angles give a full turn).
    void getAngles(double& startDeg, double& endDeg) const;
    // Sweep in degrees (0 for equal angles).
    double sweep() const;

    double length() const override;  // sweep * radius / 180 * pi
    int getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const override;
    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;
    int scale(double factor) const override;
    int getEndPoints(mVec2dC& start, mVec2dC& end) const override;
    int setEndPoints(const mVec2dC& start, const mVec2dC& end) const override;  // mid kept
    int reverse() const override;
};
