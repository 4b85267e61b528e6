#include "meta/mBaseIntCrv2d.h"

#include "meta/mBaseArc2d.h"
#include "meta/mBaseCircle2d.h"
#include "meta/mBaseLine2d.h"
#include "meta/mShapeGeometry2d.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaObjPointList.h"
#include "meta/metaTree.h"

namespace {
metaClassRegistrarC<mBaseIntCrv2dC, mBaseShape2dC> curveRegistrar(mBaseShape2dC::registry(),
                                                                  mBaseIntCrv2dC::classKey(),
                                                                  mBaseIntCrv2dC::classDepth);

// Calls f(point view) for every "POINT" child in order.
template <class F>
void forEachPoint(const metaObjectVirtualDataBaseC& curve, F f) {
    for (metaTreeC* c = curve.node() ? curve.node()->firstChild() : nullptr; c; c = c->nextSibling())
        if (c->isKey("POINT")) f(metaObjPoint2dC(c, 0));
}
}  // namespace

mBaseIntCrv2dC mBaseIntCrv2dC::create(int owns) {
    return mBaseIntCrv2dC(metaTreeC::createKeyNode(classKey()), owns);
}

std::vector<mVec2dC> mBaseIntCrv2dC::points() const {
    std::vector<mVec2dC> all;
    forEachPoint(*this, [&](const metaObjPoint2dC& p) { all.push_back(p.point()); });
    return all;
}

void mBaseIntCrv2dC::appendPoint(const mVec2dC& p) const {
    if (metaTreeC* point = addChild("POINT", nullptr, 0)) metaObjPoint2dC(point, 0).setPoint(p);
}

int mBaseIntCrv2dC::isClosed() const {
    const std::vector<mVec2dC> all = points();
    return all.size() >= 2 && all.front().equalsWithin(all.back(), 1e-8) ? 1 : 0;
}

int mBaseIntCrv2dC::convertToPrimitives(double tolerance,
                                        const metaObjectVirtualDataBaseC& parent) const {
    if (!isBound() || !parent.isBound()) return 0;
    int made = 0;
    for (const mCurvePiece2dC& piece : approximateCurve2d(points(), tolerance)) {
        metaTreeC* node = nullptr;
        if (piece.kind == 0) {
            const mBaseLine2dC line = mBaseLine2dC::create(0);
            line.setEndPoints(piece.points[0], piece.points[1]);
            node = line.node();
        } else if (piece.kind == 1) {
            const mBaseArc2dC arc = mBaseArc2dC::create(0);
            arc.setPoints(piece.points[0], piece.points[1], piece.points[2]);
            node = arc.node();
        } else {
            const mBaseCircle2dC circle = mBaseCircle2dC::create(0);
            circle.setCentre(piece.centre);
            circle.setRadius(piece.radius);
            node = circle.node();
        }
        parent.appendChild(node, 0);
        ++made;
    }
    return made;
}

int mBaseIntCrv2dC::transform(const mMat3dC& matrix) const {
    forEachPoint(*this, [&](const metaObjPoint2dC& p) { p.setPoint(matrix.transformPoint(p.point())); });
    return 1;
}

int mBaseIntCrv2dC::tessellate(mPointList2dC& out, double) const {
    out.clear();
    forEachPoint(*this, [&](const metaObjPoint2dC& p) { out.append(p.point()); });
    return int(out.count());
}

int mBaseIntCrv2dC::scale(double factor) const {
    forEachPoint(*this, [&](const metaObjPoint2dC& p) { p.scale(factor); });
    return 1;
}

int mBaseIntCrv2dC::approximate(double, double tolerance,
                                const metaObjectVirtualDataBaseC& parent) const {
    return convertToPrimitives(tolerance, parent);
}
