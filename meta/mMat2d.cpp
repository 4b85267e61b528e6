#include "meta/mMat2d.h"

#include <cmath>

#include "meta/mPlaneGeometry.h"

void mMat2dC::setZero() {
    for (double& e : m) e = 0.0;
}

void mMat2dC::setIdentity() {
    setZero();
    m[0] = 1.0;
    m[3] = 1.0;
}

void mMat2dC::setRotation(double degrees) {
    setIdentity();
    const double a = degToRad(degrees);
    m[0] = std::cos(a);
    m[1] = std::sin(a);
    m[2] = -std::sin(a);
    m[3] = std::cos(a);
}

mVec2dC mMat2dC::transform(const mVec2dC& v) const {
    return {m[0] * v.x + m[2] * v.y, m[1] * v.x + m[3] * v.y};
}
