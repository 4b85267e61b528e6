#include "meta/mMat4d.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "meta/mMatrixProduct.h"
#include "meta/mPlaneGeometry.h"

void mMat4dC::setZero() {
    for (double& e : m) e = 0.0;
}

void mMat4dC::setIdentity() {
    setZero();
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

void mMat4dC::setRotationZ(double degrees) {
    setIdentity();
    const double a = degToRad(degrees);
    m[0] = std::cos(a);
    m[1] = std::sin(a);
    m[4] = -std::sin(a);
    m[5] = std::cos(a);
}

void mMat4dC::setTranslation(const mVec3dC& offset) {
    m[12] = offset.x;
    m[13] = offset.y;
    m[14] = offset.z;
}

int mMat4dC::setValues(const double* values, int count) {
    if (!values || count <= 0) return 0;
    const int n = std::min(count, 16);
    std::copy(values, values + n, m);
    return n;
}

mMat4dC mMat4dC::multiply(const mMat4dC& other) const {
    mMat4dC r;
    multiplyMatrices(m, 4, 4, other.m, 4, 4, r.m);
    return r;
}

mVec3dC mMat4dC::transformPoint(const mVec3dC& p) const {
    const mVec4dC r = transform(mVec4dC(p.x, p.y, p.z, 1.0));
    return {r.x, r.y, r.z};
}

mVec4dC mMat4dC::transform(const mVec4dC& v) const {
    mVec4dC r;
    multiplyMatrices(m, 4, 4, v.components(), 1, 4, r.components());
    return r;
}

mMat4dC mMat4dC::transposedRotation() const {
    mMat4dC r = *this;
    std::swap(r.m[1], r.m[4]);
    std::swap(r.m[2], r.m[8]);
    std::swap(r.m[6], r.m[9]);
    return r;
}
