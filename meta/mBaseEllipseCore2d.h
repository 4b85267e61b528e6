#pragma once
// mBaseEllipseCore2dC: what ellipses and elliptical arcs share: "POINT" the centre, "RAD1" the
// major radius, "RAD2" the minor radius, "ANGLE" the direction of the major axis in degrees from
// the +x axis. Registered under no key. Owns its node only when built with owns set.

#include "meta/mBaseShape2d.h"

class mBaseEllipseCore2dC : public mBaseShape2dC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;

    mBaseEllipseCore2dC() = default;
    explicit mBaseEllipseCore2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}

    mVec2dC centre(int* found = nullptr) const;
    void setCentre(const mVec2dC& c) const;
    double radius1(int* found = nullptr) const;  // "RAD1"
    double radius2(int* found = nullptr) const;  // "RAD2"
    void setRadius1(double r) const;
    void setRadius2(double r) const;
    double angle(int* found = nullptr) const;    // "ANGLE", degrees
    void setAngle(double degrees) const;

    // centre + rotation(ANGLE) (RAD1, 0) and centre + rotation(ANGLE) (0, RAD2).
    mVec2dC majorAxisEnd() const;
    mVec2dC minorAxisEnd() const;
    // The two axis vectors without the centre.
    void getAxes(mVec2dC& major, mVec2dC& minor) const;
    // RAD1 / RAD2.
    double radiusRatio() const;
    // The point at parameter t (degrees): centre + rotation(ANGLE) (RAD1 cos t, RAD2 sin t).
    mVec2dC pointAt(double tDeg) const;

    int scale(double factor) const override;  // centre, RAD1, RAD2; ANGLE kept
};
