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
    const double first = startAngle(), last = endAngle();
    const mVec2dC c = matrix.transformPoint(centre());
    const mVec2dC major = matrix.transformPoint(majorAxisEnd());
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
    // The arc runs counterclockwise from ANGLE1 to ANGLE2, round the turn when ANGLE1 is the
    // larger. The start's parameter is taken from its transformed point and the sweep is kept as
    // it was: the two end points of a full turn coincide, so the end's parameter cannot be read
    // back from its point. A mirroring matrix reverses the direction, so the old end becomes the
    // new start.
    const double sweep = first > last ? last - first + 360.0 : last - first;
    const bool mirrored = matrix.at(0, 0) * matrix.at(1, 1) - matrix.at(1, 0) * matrix.at(0, 1) < 0.0;
    const double a1 = parameterOf(matrix.transformPoint(pointAt(mirrored ? last : first)));
    double a2 = a1 + sweep;
    if (sweep < 360.0 && a2 >= 360.0) a2 -= 360.0;
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
