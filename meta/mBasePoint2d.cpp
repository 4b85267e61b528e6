#include "meta/mBasePoint2d.h"

#include "meta/mShapePoints2d.h"
#include "meta/metaClassRegistrar.h"

namespace {
metaClassRegistrarC<mBasePoint2dC, mBaseShape2dC> pointRegistrar(mBaseShape2dC::registry(),
                                                                 mBasePoint2dC::classKey(),
                                                                 mBasePoint2dC::classDepth);
}  // namespace

mVec2dC mBasePoint2dC::point(int* found) const { return shapePoint2d(*this, 0, found); }
void mBasePoint2dC::setPoint(const mVec2dC& p) const { setShapePoint2d(*this, 0, p); }

double mBasePoint2dC::length() const { return 0.0; }

int mBasePoint2dC::getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const {
    c1 = c2 = c3 = c4 = point();
    return 1;
}

int mBasePoint2dC::transform(const mMat3dC& matrix) const {
    transformShapePoint2d(*this, 0, matrix);
    return 1;
}

int mBasePoint2dC::tessellate(mPointList2dC& points, double) const {
    points.clear();
    points.append(point());
    return 1;
}

int mBasePoint2dC::scale(double factor) const {
    scaleShapePoint2d(*this, 0, factor);
    return 1;
}
