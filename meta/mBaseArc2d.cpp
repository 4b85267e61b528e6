#include "meta/mBaseArc2d.h"

#include "meta/mPlaneGeometry.h"
#include "meta/mShapePoints2d.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {
metaClassRegistrarC<mBaseArc2dC, mBaseShape2dC> arcRegistrar(mBaseShape2dC::registry(),
                                                             mBaseArc2dC::classKey(),
                                                             mBaseArc2dC::classDepth);
}  // namespace

mBaseArc2dC mBaseArc2dC::create(int owns) {
    return mBaseArc2dC(metaTreeC::createKeyNode(classKey()), owns);
}

mVec2dC mBaseArc2dC::startPoint(int* found) const { return shapePoint2d(*this, 0, found); }
mVec2dC mBaseArc2dC::midPoint(int* found) const { return shapePoint2d(*this, 1, found); }
mVec2dC mBaseArc2dC::endPoint(int* found) const { return shapePoint2d(*this, 2, found); }

void mBaseArc2dC::setPoints(const mVec2dC& start, const mVec2dC& mid, const mVec2dC& end) const {
    setShapePoint2d(*this, 0, start);
    setShapePoint2d(*this, 1, mid);
    setShapePoint2d(*this, 2, end);
}

mArcValues2dC mBaseArc2dC::values() const {
    mVec2dC p[3];
    shapePoints2d(*this, p);
    return arcValues2d(p[0], p[1], p[2]);
}

void mBaseArc2dC::getAngles(double& startDeg, double& endDeg) const {
    arcAngles2d(values(), startDeg, endDeg);
}

double mBaseArc2dC::sweep() const { return arcSweep2d(values()); }

double mBaseArc2dC::length() const {
    const mArcValues2dC arc = values();
    return arcSweep2d(arc) * arc.radius / 180.0 * kMetaPi;
}

int mBaseArc2dC::getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const {
    mVec2dC p[3];
    shapePoints2d(*this, p);
    mVec2dC corners[4];
    arcBox2d(p[0], p[1], p[2], corners);
    c1 = corners[0];
    c2 = corners[1];
    c3 = corners[2];
    c4 = corners[3];
    return 1;
}

int mBaseArc2dC::transform(const mMat3dC& matrix) const {
    for (int n = 0; n < 3; ++n) transformShapePoint2d(*this, n, matrix);
    return 1;
}

int mBaseArc2dC::tessellate(mPointList2dC& points, double step) const {
    mVec2dC p[3];
    shapePoints2d(*this, p);
    return int(tessellateArc2d(p[0], p[1], p[2], step, points));
}

int mBaseArc2dC::scale(double factor) const {
    for (int n = 0; n < 3; ++n) scaleShapePoint2d(*this, n, factor);
    return 1;
}

int mBaseArc2dC::getEndPoints(mVec2dC& start, mVec2dC& end) const {
    start = startPoint();
    end = endPoint();
    return 1;
}

int mBaseArc2dC::setEndPoints(const mVec2dC& start, const mVec2dC& end) const {
    setShapePoint2d(*this, 0, start);
    setShapePoint2d(*this, 2, end);
    return 1;
}

int mBaseArc2dC::reverse() const {
    const mVec2dC s = startPoint(), e = endPoint();
    return setEndPoints(e, s);
}
