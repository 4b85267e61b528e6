#include "meta/mBaseEllipseArc2d.h"

#include "meta/mMat2d.h"
#include "meta/mPlaneGeometry.h"
#include "meta/mShapeGeometry2d.h"
#include "meta/metaClassRegistrar.h"

namespace {
metaClassRegistrarC<mBaseEllipseArc2dC, mBaseShape2dC> ellipseArcRegistrar(
    mBaseShape2dC::registry(), mBaseEllipseArc2dC::classKey(), mBaseEllipseArc2dC::classDepth);
}  // namespace

double mBaseEllipseArc2dC::startAngle(int* found) const { return getAttrReal("ANGLE1", found); }
double mBaseEllipseArc2dC::endAngle(int* found) const { return getAttrReal("ANGLE2", found); }
void mBaseEllipseArc2dC::setStartAngle(double degrees) const { setAttrReal("ANGLE1", degrees); }
void mBaseEllipseArc2dC::setEndAngle(double degrees) const { setAttrReal("ANGLE2", degrees); }

int mBaseEllipseArc2dC::transform(const mMat3dC& matrix) const {
    const double r1 = radius1(), r2 = radius2();
    const mVec2dC c = matrix.transformPoint(centre());
    const mVec2dC major = matrix.transformPoint(majorAxisEnd());
    const mVec2dC start = matrix.transformPoint(pointAt(startAngle()));
    const mVec2dC end = matrix.transformPoint(pointAt(endAngle()));
    const double newAngle = vectorAngleDeg({1.0, 0.0}, major.minus(c));
    const mMat2dC back = mMat2dC::rotation(-newAngle);
    // The parameter of a transformed end point: undo the new rotation and the radii. A zero
    // radius leaves its coordinate as it is rather than dividing by zero.
    auto parameterOf = [&](const mVec2dC& p) {
        mVec2dC v = back.transform(p.minus(c));
        if (r1 != 0.0) v.x /= r1;
        if (r2 != 0.0) v.y /= r2;
        return vectorAngleDeg({1.0, 0.0}, v);
    };
    const double a1 = parameterOf(start), a2 = parameterOf(end);
    setAngle(newAngle);
    setCentre(c);
    setStartAngle(a1);
    setEndAngle(a2);
    return 1;
}

int mBaseEllipseArc2dC::tessellate(mPointList2dC& points, double step) const {
    return int(tessellateEllipseArc2d(centre(), radius1(), radius2(), angle(), startAngle(),
                                      endAngle(), step, points));
}
