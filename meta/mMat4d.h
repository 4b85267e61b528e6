#pragma once
// mMat4dC: 4x4 matrix of doubles stored column by column (element (r, c) at r + 4 c), used as the
// homogeneous 3D transform and for the host's selection-set transforms: a point (x, y, z) is
// taken as (x, y, z, 1) and the first three result values are kept; the translation lies in
// elements 12, 13, 14. Applied to column vectors: p' = M p. A plain value type.

#include "meta/mVec3d.h"
#include "meta/mVec4d.h"

struct mMat4dC {
    double m[16] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
                    0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};

    void setZero();
    void setIdentity();
    // Identity, then a counterclockwise rotation about z by `degrees`:
    // elements 0 = cos, 1 = sin, 4 = -sin, 5 = cos.
    void setRotationZ(double degrees);
    // Elements 12, 13, 14 := the point; the rest is left as it is.
    void setTranslation(const mVec3dC& offset);
    static mMat4dC identity() { mMat4dC r; r.setIdentity(); return r; }
    static mMat4dC rotationZ(double degrees) { mMat4dC r; r.setRotationZ(degrees); return r; }

    // Copies min(count, 16) doubles (none for a negative count or a null array); returns how many.
    int setValues(const double* values, int count);
    double entry(int i) const { return m[i]; }
    // Element [4 column + row].
    double at(int column, int row) const { return m[4 * column + row]; }

    // This times other (apply `other` first, then this).
    mMat4dC multiply(const mMat4dC& other) const;
    // M (x, y, z, 1), first three values.
    mVec3dC transformPoint(const mVec3dC& p) const;
    // M v for a full homogeneous vector.
    mVec4dC transform(const mVec4dC& v) const;
    // A copy whose upper-left 3x3 block is transposed, the rest unchanged: the inverse of a
    // rigid transform's rotation.
    mMat4dC transposedRotation() const;
};
