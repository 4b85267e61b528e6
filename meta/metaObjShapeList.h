#pragma once
// metaObjShapeListC: a list view whose children are shapes ("FIGURITEMS", "COSSHAPES"); every
// operation views each child as mBaseShape2dC, so it reaches the class registered for the child's
// key and leaves children of other keys (texts, attributes) alone. Owns its node only when built
// with owns set.

#include <string>
#include <vector>

#include "meta/mMat3d.h"
#include "meta/mVec2d.h"
#include "meta/metaObjListContainer.h"

class metaObjShapeListC : public metaObjListContainerC {
public:
    static constexpr int classDepth = metaObjListContainerC::classDepth + 1;

    metaObjShapeListC() = default;
    explicit metaObjShapeListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjListContainerC(node, owns, buildVirtualBase) {}

    void transformShapes(const mMat3dC& matrix) const;
    // Rotation about the origin, counterclockwise, in degrees.
    void rotate(double degrees) const;
    void translate(const mVec2dC& offset) const;
    // Nothing for factor 0; else every child scaled.
    void scaleShapes(double factor) const;
    // Starts from (1e10, 1e10) and (-1e10, -1e10) and widens both, coordinate by coordinate, by
    // the box corners of every child that has a box. Returns 1 when some child had one, else 0.
    int getBoundingBox(mVec2dC& lowerLeft, mVec2dC& upperRight) const;
    // A child is selected when (its key is in `keys` and mode is 0) or (its key is not in `keys`
    // and mode is 1). A selected child's approximation goes under the parent and its count is
    // added to the result; any other child is deep-copied whole under the parent (not counted).
    int approximateShapes(int mode, const std::vector<std::string>& keys, double step,
                          double tolerance, const metaObjectVirtualDataBaseC& parent) const;
};
