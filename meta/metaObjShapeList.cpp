#include "meta/metaObjShapeList.h"

#include <algorithm>

#include "meta/mBaseShape2d.h"
#include "meta/metaTree.h"

namespace {

// Calls f(child node) for every child of the list. The shape operations edit only the children's
// own subtrees, never the list's chain, so walking the chain directly is safe.
template <class F>
void forEachChild(const metaObjectVirtualDataBaseC& list, F f) {
    for (metaTreeC* c = list.node() ? list.node()->firstChild() : nullptr; c; c = c->nextSibling())
        f(c);
}

}  // namespace

void metaObjShapeListC::transformShapes(const mMat3dC& matrix) const {
    forEachChild(*this, [&](metaTreeC* c) { mBaseShape2dC(c, 0).transform(matrix); });
}

void metaObjShapeListC::rotate(double degrees) const { transformShapes(mMat3dC::rotation(degrees)); }

void metaObjShapeListC::translate(const mVec2dC& offset) const {
    transformShapes(mMat3dC::translation(offset));
}

void metaObjShapeListC::scaleShapes(double factor) const {
    if (factor == 0.0) return;
    forEachChild(*this, [&](metaTreeC* c) { mBaseShape2dC(c, 0).scale(factor); });
}

int metaObjShapeListC::getBoundingBox(mVec2dC& lowerLeft, mVec2dC& upperRight) const {
    lowerLeft.set(1e10, 1e10);
    upperRight.set(-1e10, -1e10);
    int any = 0;
    forEachChild(*this, [&](metaTreeC* c) {
        const mBaseShape2dC shape(c, 0);
        if (!shape.isKeyNode() || !mBaseShape2dC::findPrototype(shape.keyName())) return;
        mVec2dC k[4];
        // Only a box that was written counts: a shape without one leaves its corners unset.
        if (!shape.getBoundingBox(k[0], k[1], k[2], k[3])) return;
        any = 1;
        for (const mVec2dC& p : k) {
            lowerLeft.set(std::min(lowerLeft.x, p.x), std::min(lowerLeft.y, p.y));
            upperRight.set(std::max(upperRight.x, p.x), std::max(upperRight.y, p.y));
        }
    });
    return any;
}

int metaObjShapeListC::approximateShapes(int mode, const std::vector<std::string>& keys,
                                         double step, double tolerance,
                                         const metaObjectVirtualDataBaseC& parent) const {
    if (!parent.isBound()) return 0;
    // The children are taken before any output is made, so a parent that is the list itself
    // (or lies inside it) cannot make the walk run on over its own output.
    std::vector<metaTreeC*> children;
    forEachChild(*this, [&](metaTreeC* c) { children.push_back(c); });
    int made = 0;
    std::for_each(children.begin(), children.end(), [&](metaTreeC* c) {
        const mBaseShape2dC shape(c, 0);
        const char* key = shape.keyName();
        const bool listed = std::find(keys.begin(), keys.end(), key) != keys.end();
        if ((listed && mode == 0) || (!listed && mode == 1))
            made += shape.approximate(step, tolerance, parent);
        else
            parent.appendChild(c, 1);
    });
    return made;
}
