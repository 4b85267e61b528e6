#pragma once
// Internal helpers of the mBase*2dC views: the n-th "POINT" child of a shape node read, written,
// transformed and scaled through the point list view (reading creates absent points empty).

#include <cstdint>

#include "meta/mMat3d.h"
#include "meta/mVec2d.h"
#include "meta/metaObjPointList.h"
#include "meta/metaObjectVirtualDataBase.h"

inline mVec2dC shapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n, int* found) {
    return metaObjPointListC(shape.node(), 0).point(n).point(found);
}

inline void setShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                            const mVec2dC& p) {
    metaObjPointListC(shape.node(), 0).point(n).setPoint(p);
}

inline void transformShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                                  const mMat3dC& m) {
    const metaObjPoint2dC point = metaObjPointListC(shape.node(), 0).point(n);
    point.setPoint(m.transformPoint(point.point()));
}

inline void scaleShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                              double factor) {
    metaObjPointListC(shape.node(), 0).point(n).scale(factor);
}
