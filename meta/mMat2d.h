#pragma once
// mMat2dC: 2x2 matrix of doubles stored column by column (element (r, c) at r + 2 c), applied to
// column vectors: v' = M v. A plain value type.

#include "meta/mVec2d.h"

struct mMat2dC {
    double m[4] = {0.0, 0.0, 0.0, 0.0};

    void setZero();
    void setIdentity();
    // Counterclockwise rotation by `degrees`: m0 = cos, m1 = sin, m2 = -sin, m3 = cos.
    void setRotation(double degrees);
    static mMat2dC identity() { mMat2dC r; r.setIdentity(); return r; }
    static mMat2dC rotation(double degrees) { mMat2dC r; r.setRotation(degrees); return r; }

    double at(int column, int row) const { return m[2 * column + row]; }
    // M v.
    mVec2dC transform(const mVec2dC& v) const;
};
