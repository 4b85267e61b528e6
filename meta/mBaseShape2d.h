#pragma once
// mBaseShape2dC: base view of the 2D analytic shapes (line, arc, circle, ellipse, elliptical arc,
// interpolated curve, point) shared by the 2D drawing's shapes and the 3D sketch elements. It
// owns its node only when built with owns set.
//
// The nine geometry operations are virtual. The base bodies look up the prototype registered in
// the shape registry under the key of the bound node and, when there is one other than this very
// object, bind it to the node for the one call and forward to it; otherwise they give the
// no-prototype result (length 0.0, box 0 with the corners unwritten, transform / tessellate /
// getEndPoints / setEndPoints / reverse 0, scale 1, approximate the default road: tessellate,
// then split the polygon into "LINE", "ARC" and "CIRCLE" pieces).

#include <cstdint>

#include "meta/mMat3d.h"
#include "meta/mPointList2d.h"
#include "meta/mVec2d.h"
#include "meta/metaClassRegistry.h"
#include "meta/metaObject.h"

class mBaseShape2dC : public metaObjectC {
public:
    static constexpr int classDepth = metaObjectC::classDepth + 1;

    mBaseShape2dC() = default;
    explicit mBaseShape2dC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjectC(node, owns, buildVirtualBase) {}
    ~mBaseShape2dC() override = default;

    // Length of the shape in drawing units.
    virtual double length() const;
    // Four corners of a box that encloses the shape, in order round the box; 1 when written, 0
    // when the shape has no box (the corners are then left as they were).
    virtual int getBoundingBox(mVec2dC& c1, mVec2dC& c2, mVec2dC& c3, mVec2dC& c4) const;
    // Applies the homogeneous 2D transform; 1 when done.
    virtual int transform(const mMat3dC& matrix) const;
    // Clears `points`, appends points along the shape and returns their number. Step in
    // radians; 0 means pi/36 (5 degrees).
    virtual int tessellate(mPointList2dC& points, double step) const;
    // Multiplies coordinates and lengths by `factor` about the origin; 1 when done.
    virtual int scale(double factor) const;
    // Appends "LINE", "ARC" and "CIRCLE" nodes that replace the shape, for output, as the last
    // children of the parent's node; returns their number. Step in radians, tolerance in
    // drawing units.
    virtual int approximate(double step, double tolerance,
                            const metaObjectVirtualDataBaseC& parent) const;
    // 1 when the shape has end points (written to start and end).
    virtual int getEndPoints(mVec2dC& start, mVec2dC& end) const;
    virtual int setEndPoints(const mVec2dC& start, const mVec2dC& end) const;
    // Swaps the shape's direction; 1 when done.
    virtual int reverse() const;

    // The 2D shape registry (null until the first registration). Keys: "CIRCLE", "LINE", "ARC",
    // "ICRV2D", "ELLIPSE", "ELLIPSEARC", "SPOINT" and the 3D centre line's "CENTER"; entries are
    // stored as the address of their mBaseShape2dC part.
    static metaClassRegistryC*& registry();
    // The prototype registered for `key`; null when none.
    static mBaseShape2dC* findPrototype(const char* key);

protected:
    // The prototype for the bound node's key when it is not this object; else null.
    mBaseShape2dC* forwardTarget() const;
    // The default approximation: tessellate with `step`, split the polygon within `tolerance`
    // under the parent.
    int approximateByTessellation(double step, double tolerance,
                                  const metaObjectVirtualDataBaseC& parent) const;
};
