#include "meta/mPlaneGeometry.h"

#include <algorithm>
#include <cmath>

double vectorAngleDeg(const mVec2dC& a, const mVec2dC& b) {
    // Without a direction there is no angle; acos of NaN would spread into stored angles.
    if (a.length() == 0.0 || b.length() == 0.0) return 0.0;
    mVec2dC u = a.unit();
    mVec2dC v = b.unit();
    u.snapToZero(1e-8);
    v.snapToZero(1e-8);
    const double c = std::clamp(u.dot(v), -1.0, 1.0);
    double angle = std::acos(c);
    if (u.perpendicular().dot(v) < 0.0) angle = 2.0 * kMetaPi - angle;
    double degrees = radToDeg(angle);
    if (degrees >= 359.9999) degrees -= 359.9999;
    return degrees;
}

int lineIntersect2d(const mVec2dC& P1, const mVec2dC& P2, const mVec2dC& Q1, const mVec2dC& Q2,
                    mVec2dC& out) {
    const mVec2dC d1 = P2.minus(P1);
    const mVec2dC d2 = Q2.minus(Q1);
    const mVec2dC w = Q1.minus(P1);
    const double den = d1.x * d2.y - d1.y * d2.x;
    if (den == 0.0) return 0;
    const double t = (w.x * d2.y - w.y * d2.x) / den;
    out = P1.plus(d1.times(t));
    return 1;
}

mVec2dC circleCentre2d(const mVec2dC& A, const mVec2dC& B, const mVec2dC& C) {
    const mVec2dC m1 = A.plus(B).times(0.5);
    const mVec2dC m2 = C.plus(B).times(0.5);
    const mVec2dC n1 = B.minus(A).perpendicular();
    const mVec2dC n2 = B.minus(C).perpendicular();
    mVec2dC centre;  // (0, 0) when the bisectors do not meet
    lineIntersect2d(m1, m1.plus(n1), m2, m2.plus(n2), centre);
    return centre;
}

double pointLineDistance2d(const mVec2dC& P, const mVec2dC& A, const mVec2dC& B) {
    const mVec2dC d = B.minus(A).unit();
    const double t = P.minus(A).dot(d);
    return P.minus(A.plus(d.times(t))).length();
}

int isParallel2d(const mVec2dC& a, const mVec2dC& b) {
    const double la = a.length(), lb = b.length();
    if (la == 0.0 || lb == 0.0) return 0;
    return std::fabs(1.0 - std::fabs(a.dot(b) / (la * lb))) <= 1e-10 ? 1 : 0;
}
