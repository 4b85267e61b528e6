#include "meta/mBaseEllipse2d.h"

#include "meta/mPlaneGeometry.h"
#include "meta/mShapeGeometry2d.h"
#include "meta/metaClassRegistrar.h"

namespace {
metaClassRegistrarC<mBaseEllipse2dC, mBaseShape2dC> ellipseRegistrar(
    mBaseShape2dC::registry(), mBaseEllipse2dC::classKey(), mBaseEllipse2dC::classDepth);
}  // namespace

int mBaseEllipse2dC::transform(const mMat3dC& matrix) const {
    const mVec2dC c = matrix.transformPoint(centre());
    const mVec2dC major = matrix.transformPoint(majorAxisEnd());
    setAngle(vectorAngleDeg({1.0, 0.0}, major.minus(c)));
    setCentre(c);
    return 1;
}

int mBaseEllipse2dC::tessellate(mPointList2dC& points, double step) const {
    return int(tessellateEllipse2d(centre(), radius1(), radius2(), angle(), step, points));
}
