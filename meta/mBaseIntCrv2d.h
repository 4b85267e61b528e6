#pragma once
// mBaseIntCrv2dC: view of an "ICRV2D" node: its "POINT" children are the interpolation points in
// order. Its approximation splits the polyline into "LINE", "ARC" and "CIRCLE" pieces within a
// tolerance. Owns its node only when built with owns set.

#include <vector>

#include "meta/mBaseIntCrv.h"
#include "meta/mBaseShape2d.h"

class mBaseIntCrv2dC : public mBaseShape2dC, public mBaseIntCrvC {
public:
    static constexpr int classDepth = mBaseShape2dC::classDepth + 1;
    static const char* classKey() { return "ICRV2D"; }

    mBaseIntCrv2dC() = default;
    explicit mBaseIntCrv2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : mBaseShape2dC(node, owns, buildVirtualBase) {}
    static mBaseIntCrv2dC create(int owns);

    // The points in order (reading creates nothing).
    std::vector<mVec2dC> points() const;
    // Appends a "POINT" child holding p.
    void appendPoint(const mVec2dC& p) const;
    // 1 when the curve has at least two points and the first and last agree within 1e-8 in each
    // coordinate.
    int isClosed() const;

    // Splits the curve within `tolerance` into "LINE", "ARC" and "CIRCLE" nodes appended under
    // the parent's node, in order; returns their number (0 for an unbound view or an unbound
    // parent, and for fewer than two points).
    int convertToPrimitives(double tolerance, const metaObjectVirtualDataBaseC& parent) const;

    int transform(const mMat3dC& matrix) const override;
    int tessellate(mPointList2dC& points, double step) const override;  // the points; step ignored
    int scale(double factor) const override;
    int approximate(double step, double tolerance,
                    const metaObjectVirtualDataBaseC& parent) const override;  // step ignored
};
