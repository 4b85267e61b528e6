#include "meta/mMat3d.h"

#include <cmath>

#include "meta/mMatrixProduct.h"
#include "meta/mPlaneGeometry.h"

void mMat3dC::setZero() {
    for (double& e : m) e = 0.0;
}

void mMat3dC::setIdentity() {
    setZero();
    m[0] = m[4] = m[8] = 1.0;
}

void mMat3dC::setRotation(double degrees) {
    setIdentity();
    const double a = degToRad(degrees);
    m[0] = std::cos(a);
    m[1] = std::sin(a);
    m[3] = -std::sin(a);
    m[4] = std::cos(a);
}

void mMat3dC::setTranslation(const mVec2dC& offset) {
    setIdentity();
    m[6] = offset.x;
    m[7] = offset.y;
}

mMat3dC mMat3dC::multiply(const mMat3dC& other) const {
    mMat3dC r;
    multiplyMatrices(m, 3, 3, other.m, 3, 3, r.m);
    return r;
}

mVec2dC mMat3dC::transformPoint(const mVec2dC& p) const {
    return {m[0] * p.x + m[3] * p.y + m[6], m[1] * p.x + m[4] * p.y + m[7]};
}

mVec3dC mMat3dC::transform(const mVec3dC& v) const {
    return {m[0] * v.x + m[3] * v.y + m[6] * v.z, m[1] * v.x + m[4] * v.y + m[7] * v.z,
            m[2] * v.x + m[5] * v.y + m[8] * v.z};
}
