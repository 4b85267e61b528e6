#include "meta/mBaseCircle2d.h"

#include "meta/mPlaneGeometry.h"
#include "meta/mShapeGeometry2d.h"
#include "meta/mShapePoints2d.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {
metaClassRegistrarC<mBaseCircle2dC, mBaseShape2dC> circleRegistrar(mBaseShape2dC::registry(),
                                                                   mBaseCircle2dC::classKey(),
                                                                   mBaseCircle2dC::classDepth);
}  // namespace

mBaseCircle2dC mBaseCircle2dC::create(int owns) {
    return mBaseCircle2dC(metaTreeC::createKeyNode(classKey()), owns);
}

mVec2dC mBaseCircle2dC::centre(int* found) const { return shapePoint2d(*this, 0, found); }
void mBaseCircle2dC::setCentre(const mVec2dC& c) const { setShapePoint2d(*this, 0, c); }
double mBaseCircle2dC::radius(int* found) const { return getAttrReal("RAD", found); }
void mBaseCircle2dC::setRadius(double r) const { setAttrReal("RAD", r); }

double mBaseCircle2dC::length() const {
    const double r = radius();
    return (r + r) * kMetaPi;
}

int mBaseCircle2dC::getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const {
    const mVec2dC c = centre();
    const double r = radius();
    c1.set(c.x - r, c.y + r);
    c2.set(c.x + r, c.y + r);
    c3.set(c.x + r, c.y - r);
    c4.set(c.x - r, c.y - r);
    return 1;
}

int mBaseCircle2dC::transform(const mMat3dC& matrix) const {
    transformShapePoint2d(*this, 0, matrix);
    return 1;
}

int mBaseCircle2dC::tessellate(mPointList2dC& points, double step) const {
    return int(tessellateCircle2d(centre(), radius(), step, points));
}

int mBaseCircle2dC::scale(double factor) const {
    scaleShapePoint2d(*this, 0, factor);
    setRadius(radius() * factor);
    return 1;
}
