#include "meta/mBaseLine2d.h"

#include <algorithm>

#include "meta/mShapePoints2d.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {
metaClassRegistrarC<mBaseLine2dC, mBaseShape2dC> lineRegistrar(mBaseShape2dC::registry(),
                                                                mBaseLine2dC::classKey(),
                                                                mBaseLine2dC::classDepth);
}  // namespace

mBaseLine2dC mBaseLine2dC::create(int owns) {
    return mBaseLine2dC(metaTreeC::createKeyNode(classKey()), owns);
}

mVec2dC mBaseLine2dC::startPoint(int* found) const { return shapePoint2d(*this, 0, found); }
mVec2dC mBaseLine2dC::endPoint(int* found) const { return shapePoint2d(*this, 1, found); }
void mBaseLine2dC::setStartPoint(const mVec2dC& p) const { setShapePoint2d(*this, 0, p); }
void mBaseLine2dC::setEndPoint(const mVec2dC& p) const { setShapePoint2d(*this, 1, p); }

double mBaseLine2dC::length() const { return endPoint().minus(startPoint()).length(); }

int mBaseLine2dC::getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const {
    const mVec2dC s = startPoint(), e = endPoint();
    const double x0 = std::min(s.x, e.x), x1 = std::max(s.x, e.x);
    const double y0 = std::min(s.y, e.y), y1 = std::max(s.y, e.y);
    c1.set(x0, y1);
    c2.set(x1, y1);
    c3.set(x1, y0);
    c4.set(x0, y0);
    return 1;
}

int mBaseLine2dC::transform(const mMat3dC& matrix) const {
    transformShapePoint2d(*this, 0, matrix);
    transformShapePoint2d(*this, 1, matrix);
    return 1;
}

int mBaseLine2dC::tessellate(mPointList2dC& points, double) const {
    points.clear();
    points.append(startPoint());
    points.append(endPoint());
    return 2;
}

int mBaseLine2dC::scale(double factor) const {
    scaleShapePoint2d(*this, 0, factor);
    scaleShapePoint2d(*this, 1, factor);
    return 1;
}

int mBaseLine2dC::getEndPoints(mVec2dC& start, mVec2dC& end) const {
    start = startPoint();
    end = endPoint();
    return 1;
}

int mBaseLine2dC::setEndPoints(const mVec2dC& start, const mVec2dC& end) const {
    setStartPoint(start);
    setEndPoint(end);
    return 1;
}

int mBaseLine2dC::reverse() const {
    const mVec2dC s = startPoint(), e = endPoint();
    return setEndPoints(e, s);
}
