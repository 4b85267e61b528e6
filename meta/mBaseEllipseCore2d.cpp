#include "meta/mBaseEllipseCore2d.h"

#include "meta/mMat2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/mShapeGeometry2d.h"
#include "meta/mShapePoints2d.h"

mVec2dC mBaseEllipseCore2dC::centre(int* found) const { return shapePoint2d(*this, 0, found); }
void mBaseEllipseCore2dC::setCentre(const mVec2dC& c) const { setShapePoint2d(*this, 0, c); }
double mBaseEllipseCore2dC::radius1(int* found) const { return getAttrReal("RAD1", found); }
double mBaseEllipseCore2dC::radius2(int* found) const { return getAttrReal("RAD2", found); }
void mBaseEllipseCore2dC::setRadius1(double r) const { setAttrReal("RAD1", r); }
void mBaseEllipseCore2dC::setRadius2(double r) const { setAttrReal("RAD2", r); }
double mBaseEllipseCore2dC::angle(int* found) const { return getAttrReal("ANGLE", found); }
void mBaseEllipseCore2dC::setAngle(double degrees) const { setAttrReal("ANGLE", degrees); }

void mBaseEllipseCore2dC::getAxes(mVec2dC& major, mVec2dC& minor) const {
    const mMat2dC rotation = mMat2dC::rotation(angle());
    major = rotation.transform({radius1(), 0.0});
    minor = rotation.transform({0.0, radius2()});
}

mVec2dC mBaseEllipseCore2dC::majorAxisEnd() const {
    mVec2dC major, minor;
    getAxes(major, minor);
    return centre().plus(major);
}

mVec2dC mBaseEllipseCore2dC::minorAxisEnd() const {
    mVec2dC major, minor;
    getAxes(major, minor);
    return centre().plus(minor);
}

double mBaseEllipseCore2dC::radiusRatio() const { return radius1() / radius2(); }

mVec2dC mBaseEllipseCore2dC::pointAt(double tDeg) const {
    return ellipsePoint2d(centre(), radius1(), radius2(), angle(), degToRad(tDeg));
}

int mBaseEllipseCore2dC::scale(double factor) const {
    scaleShapePoint2d(*this, 0, factor);
    setRadius1(radius1() * factor);
    setRadius2(radius2() * factor);
    return 1;
}
