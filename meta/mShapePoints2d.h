#pragma once
// Internal helpers of the mBase*2dC views: the n-th "POINT" child of a shape node read, written,
// transformed and scaled as the point list view does it (reading creates absent points empty),
// but straight on the nodes: a shape asks one question per call, so a point list view with its
// child cache would be filled and dropped again every time.

#include <cstdint>

#include "meta/mMat3d.h"
#include "meta/mVec2d.h"
#include "meta/metaObjPointList.h"
#include "meta/metaObjRealList.h"
#include "meta/metaObjectVirtualDataBase.h"

inline mVec2dC shapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n, int* found) {
    return metaObjRealListC::vector2dOf(metaObjPointListC::pointNode(shape.node(), n), found);
}

// The first N points in one walk of the shape's children; absent ones are created empty.
template <int N>
void shapePoints2d(const metaObjectVirtualDataBaseC& shape, mVec2dC (&points)[N]) {
    metaTreeC* nodes[N] = {};
    metaObjPointListC::pointNodes(shape.node(), N, nodes);
    for (int i = 0; i < N; ++i) points[i] = metaObjRealListC::vector2dOf(nodes[i]);
}

inline void setShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                            const mVec2dC& p) {
    const double values[2] = {p.x, p.y};
    metaObjRealListC::setRealsOf(metaObjPointListC::pointNode(shape.node(), n), values, 2);
}

inline void transformShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                                  const mMat3dC& m) {
    metaTreeC* point = metaObjPointListC::pointNode(shape.node(), n);
    const mVec2dC p = m.transformPoint(metaObjRealListC::vector2dOf(point));
    const double values[2] = {p.x, p.y};
    metaObjRealListC::setRealsOf(point, values, 2);
}

inline void scaleShapePoint2d(const metaObjectVirtualDataBaseC& shape, std::int64_t n,
                              double factor) {
    metaObjRealListC::scaleOf(metaObjPointListC::pointNode(shape.node(), n), factor);
}
