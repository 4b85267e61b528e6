#include "meta/mBaseShape2d.h"

#include "meta/mBaseIntCrv2d.h"
#include "meta/metaPrototypeBinding.h"
#include "meta/metaTree.h"

metaClassRegistryC*& mBaseShape2dC::registry() {
    static metaClassRegistryC* shapes = nullptr;  // constant-initialised: safe at any load order
    return shapes;
}

mBaseShape2dC* mBaseShape2dC::findPrototype(const char* key) {
    return metaClassRegistryC::findAs<mBaseShape2dC>(registry(), key);
}

mBaseShape2dC* mBaseShape2dC::forwardTarget() const {
    if (!isKeyNode()) return nullptr;
    mBaseShape2dC* prototype = findPrototype(keyName());
    return prototype == this ? nullptr : prototype;
}

// Each base body: forward to the registered prototype, bound to this node for the one call
// (the binding is restored also when the call throws), else the no-prototype result.
#define KX_FORWARD_OR(call, fallback)                           \
    if (mBaseShape2dC* prototype = forwardTarget()) {           \
        metaPrototypeBindingC binding(*prototype, node());      \
        return prototype->call;                                 \
    }                                                           \
    return fallback

double mBaseShape2dC::length() const { KX_FORWARD_OR(length(), 0.0); }

int mBaseShape2dC::getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const {
    KX_FORWARD_OR(getBoundingBox(c1, c2, c3, c4), 0);
}

int mBaseShape2dC::transform(const mMat3dC& matrix) const { KX_FORWARD_OR(transform(matrix), 0); }

int mBaseShape2dC::tessellate(mPointList2dC& points, double step) const {
    if (mBaseShape2dC* prototype = forwardTarget()) {
        metaPrototypeBindingC binding(*prototype, node());
        return prototype->tessellate(points, step);
    }
    points.clear();
    return 0;
}

int mBaseShape2dC::scale(double factor) const { KX_FORWARD_OR(scale(factor), 1); }

int mBaseShape2dC::approximate(double step, double tolerance,
                               const metaObjectVirtualDataBaseC& parent) const {
    KX_FORWARD_OR(approximate(step, tolerance, parent),
                  approximateByTessellation(step, tolerance, parent));
}

int mBaseShape2dC::getEndPoints(mVec2dC& start, mVec2dC& end) const {
    KX_FORWARD_OR(getEndPoints(start, end), 0);
}

int mBaseShape2dC::setEndPoints(const mVec2dC& start, const mVec2dC& end) const {
    KX_FORWARD_OR(setEndPoints(start, end), 0);
}

int mBaseShape2dC::reverse() const { KX_FORWARD_OR(reverse(), 0); }

#undef KX_FORWARD_OR

int mBaseShape2dC::approximateByTessellation(double step, double tolerance,
                                             const metaObjectVirtualDataBaseC& parent) const {
    mPointList2dC points;
    tessellate(points, step);
    const mBaseIntCrv2dC curve = mBaseIntCrv2dC::create(1);  // deleted with the view
    for (std::int64_t i = 0; i < points.count(); ++i) curve.appendPoint(points.at(i));
    return curve.convertToPrimitives(tolerance, parent);
}
