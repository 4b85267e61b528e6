#pragma once
// mMat3dC: 3x3 matrix of doubles stored column by column (element (r, c) at r + 3 c), used as the
// homogeneous 2D transform: a point (x, y) is taken as (x, y, 1); the translation lies in
// elements 6 and 7. Applied to column vectors: p' = M p. A plain value type.

#include "meta/mVec2d.h"
#include "meta/mVec3d.h"

struct mMat3dC {
    double m[9] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};

    void setZero();
    void setIdentity();
    // Identity, then a counterclockwise rotation by `degrees` in the upper-left 2x2 block.
    void setRotation(double degrees);
    // Identity, then elements 6, 7 := (x, y).
    void setTranslation(const mVec2dC& offset);
    static mMat3dC identity() { mMat3dC r; r.setIdentity(); return r; }
    static mMat3dC rotation(double degrees) { mMat3dC r; r.setRotation(degrees); return r; }
    static mMat3dC translation(const mVec2dC& offset) { mMat3dC r; r.setTranslation(offset); return r; }

    double entry(int i) const { return m[i]; }
    double at(int column, int row) const { return m[3 * column + row]; }

    // This times other (apply `other` first, then this).
    mMat3dC multiply(const mMat3dC& other) const;
    // M (x, y, 1), first two values.
    mVec2dC transformPoint(const mVec2dC& p) const;
    // M v for a full 3-vector.
    mVec3dC transform(const mVec3dC& v) const;
};
