#pragma once
// mBaseEllipseArc2dC: view of an "ELLIPSEARC" node: the ellipse's keys plus "ANGLE1" and "ANGLE2",
// the start and end parameter in degrees (the point at t is centre + rotation(ANGLE) (RAD1 cos t,
// RAD2 sin t)). Owns its node only when built with owns set.

#include "meta/mBaseEllipseCore2d.h"

class mBaseEllipseArc2dC : public mBaseEllipseCore2dC {
public:
    static constexpr int classDepth = mBaseEllipseCore2dC::classDepth + 1;
    static const char* classKey() { return "ELLIPSEARC"; }

    mBaseEllipseArc2dC() = default;
    explicit mBaseEllipseArc2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseEllipseCore2dC(node, owns, buildVirtualBase) {}

    double startAngle(int* found = nullptr) const;  // "ANGLE1", degrees
    double endAngle(int* found = nullptr) const;    // "ANGLE2", degrees
    void setStartAngle(double degrees) const;
    void setEndAngle(double degrees) const;

    // Centre, major axis end and start point transformed; ANGLE and ANGLE1 derived anew from
    // them, ANGLE2 from ANGLE1 and the arc's sweep, which is kept (a full turn stays one); RAD1
    // and RAD2 kept.
    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;
};
