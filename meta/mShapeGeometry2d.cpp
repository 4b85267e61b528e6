#include "meta/mShapeGeometry2d.h"

#include <cmath>
#include <iterator>
#include <list>

#include "meta/mMat2d.h"
#include "meta/mPlaneGeometry.h"

mArcValues2dC arcValues2d(const mVec2dC& S, const mVec2dC& M, const mVec2dC& E) {
    mArcValues2dC a;
    a.centre = circleCentre2d(S, M, E);
    a.radius = S.minus(a.centre).length();
    const mVec2dC xAxis(1.0, 0.0);
    a.startAngle = vectorAngleDeg(xAxis, S.minus(a.centre));
    a.midAngle = vectorAngleDeg(xAxis, M.minus(a.centre));
    a.endAngle = vectorAngleDeg(xAxis, E.minus(a.centre));
    const double a1 = a.startAngle, a2 = a.midAngle, a3 = a.endAngle;
    if (a2 > a1)
        a.clockwise = (a1 <= a3 && a3 <= a2) ? 1 : 0;
    else
        a.clockwise = (a2 >= a3 || a1 <= a3) ? 1 : 0;
    return a;
}

double arcSweep2d(const mArcValues2dC& arc) {
    double s = arc.startAngle, e = arc.endAngle;
    if (arc.clockwise) std::swap(s, e);
    while (e < s) e += 360.0;
    return e - s;
}

void arcAngles2d(const mArcValues2dC& arc, double& startDeg, double& endDeg) {
    double s = arc.startAngle, e = arc.endAngle;
    if (arc.clockwise) std::swap(s, e);
    while (e <= s) e += 360.0;
    startDeg = s;
    endDeg = e;
}

void arcBox2d(const mVec2dC& Sin, const mVec2dC& M, const mVec2dC& Ein, mVec2dC corners[4]) {
    const mArcValues2dC arc = arcValues2d(Sin, M, Ein);
    const mVec2dC& c = arc.centre;
    const double R = arc.radius;
    mVec2dC S = Sin, E = Ein;
    if (E.minus(S).perpendicular().dot(M.minus(c)) < 0.0) std::swap(S, E);
    const mVec2dC u = E.minus(S).unit();
    const mVec2dC n = u.perpendicular();
    if (S.minus(c).dot(M.minus(c)) < 0.0) {
        const double d = pointLineDistance2d(c, S, E);
        corners[0] = c.plus(u.times(R)).plus(n.times(R));
        corners[1] = c.minus(u.times(R)).plus(n.times(R));
        corners[2] = c.minus(u.times(R)).minus(n.times(d));
        corners[3] = c.plus(u.times(R)).minus(n.times(d));
    } else {
        const double h = E.minus(S).length() / 2.0;
        corners[0] = c.plus(u.times(h)).plus(n.times(R));
        corners[1] = c.minus(u.times(h)).plus(n.times(R));
        corners[2] = S;
        corners[3] = E;
    }
}

double tessellationStep(double stepRadians) {
    if (!(stepRadians > 0.0)) return kMetaPi / 36.0;  // 0, negative and NaN
    const double smallest = 2.0 * kMetaPi / double(kMaxTessellationPoints);
    return stepRadians < smallest ? smallest : stepRadians;
}

mVec2dC ellipsePoint2d(const mVec2dC& c, double r1, double r2, double angleDeg, double t) {
    return c.plus(mMat2dC::rotation(angleDeg).transform({r1 * std::cos(t), r2 * std::sin(t)}));
}

namespace {

// Points from t0 in steps while t < t1, then always the point at t1, so the polygon reaches the
// shape's end even when the steps land on t1 exactly. A step landing within kEndSlack of t1 is
// left out: it would only repeat the end point. Parameters read from a file may be huge or not
// finite: no points for a non-finite range, and never more than kMaxTessellationPoints steps
// (a step too small to move t on would otherwise never end).
constexpr double kEndSlack = 1e-12;

template <class PointAt>
std::int64_t sweepPoints(double t0, double t1, double step, mPointList2dC& out, PointAt pointAt) {
    out.clear();
    if (!std::isfinite(t0) || !std::isfinite(t1)) return 0;
    if ((t1 - t0) / step > double(kMaxTessellationPoints)) step = (t1 - t0) / double(kMaxTessellationPoints);
    std::int64_t steps = 0;
    for (double t = t0; t < t1 - kEndSlack && steps < kMaxTessellationPoints; t += step, ++steps)
        out.append(pointAt(t));
    out.append(pointAt(t1));
    return out.count();
}

}  // namespace

std::int64_t tessellateArc2d(const mVec2dC& S, const mVec2dC& M, const mVec2dC& E, double step,
                             mPointList2dC& out) {
    const mArcValues2dC arc = arcValues2d(S, M, E);
    double t0 = degToRad(arc.startAngle), t1 = degToRad(arc.endAngle);
    if (arc.clockwise) std::swap(t0, t1);
    if (t1 < t0) t1 += 2.0 * kMetaPi;
    const mVec2dC c = arc.centre;
    const double R = arc.radius;
    return sweepPoints(t0, t1, tessellationStep(step), out, [&](double t) {
        return mVec2dC(c.x + R * std::cos(t), c.y + R * std::sin(t));
    });
}

std::int64_t tessellateCircle2d(const mVec2dC& c, double r, double step, mPointList2dC& out) {
    return sweepPoints(0.0, 2.0 * kMetaPi, tessellationStep(step), out, [&](double t) {
        return mVec2dC(c.x + r * std::cos(t), c.y + r * std::sin(t));
    });
}

std::int64_t tessellateEllipse2d(const mVec2dC& c, double r1, double r2, double angleDeg,
                                 double step, mPointList2dC& out) {
    return sweepPoints(0.0, 2.0 * kMetaPi, tessellationStep(step), out,
                       [&](double t) { return ellipsePoint2d(c, r1, r2, angleDeg, t); });
}

std::int64_t tessellateEllipseArc2d(const mVec2dC& c, double r1, double r2, double angleDeg,
                                    double startDeg, double endDeg, double step,
                                    mPointList2dC& out) {
    double t0 = degToRad(startDeg), t1 = degToRad(endDeg);
    if (t0 > t1) t0 -= 2.0 * kMetaPi;
    if (t1 < t0) t1 += 2.0 * kMetaPi;  // only for start angles beyond a full turn above the end
    return sweepPoints(t0, t1, tessellationStep(step), out,
                       [&](double t) { return ellipsePoint2d(c, r1, r2, angleDeg, t); });
}

namespace {

bool nearlyEqual(const mVec2dC& a, const mVec2dC& b) { return a.equalsWithin(b, 1e-8) != 0; }

// Whether D lies on the circle through A, B, C within the tolerance. Nearly collinear A, B, C
// and coinciding points (no direction) never fit.
bool arcFits(const mVec2dC& A, const mVec2dC& B, const mVec2dC& C, const mVec2dC& D,
             double tolerance) {
    const mVec2dC ab = B.minus(A), ac = C.minus(A);
    if (ab.length() == 0.0 || ac.length() == 0.0) return false;
    if (ab.unit().dot(ac.unit()) > 0.99999999) return false;
    const mVec2dC c = circleCentre2d(A, B, C);
    return std::fabs(D.minus(c).length() - B.minus(c).length()) <= tolerance;
}

}  // namespace

std::vector<mCurvePiece2dC> approximateCurve2d(std::vector<mVec2dC> points, double t) {
    // The working list P: points are removed from its middle on the way, so it is a linked list
    // (each removal one step, however long the curve); `pi` is P[i].
    std::list<mVec2dC> P(points.begin(), points.end());
    std::size_t n = P.size();
    std::vector<int> K;
    std::size_t i = 0;
    auto pi = P.begin();
    for (;;) {
        if (n < i + 4) {
            for (std::size_t k = i; k < n; ++k) K.push_back(0);
            break;
        }
        const auto p1 = std::next(pi);
        const auto p2 = std::next(p1);
        const auto p3 = std::next(p2);
        if (arcFits(*pi, *p1, *p2, *p3, t)) {
            P.erase(p2);  // the arc now ends at the former P[i+3]
            --n;
            bool closed = false;
            while (i + 3 < n) {
                const auto end = std::next(pi, 2);
                const auto j = std::next(end);
                if (nearlyEqual(*j, *pi)) {
                    P.pop_back();
                    --n;
                    K.push_back(2);
                    K.push_back(2);
                    closed = true;
                    break;
                }
                if (!arcFits(*pi, *std::next(pi), *end, *j, t)) break;
                P.erase(end);  // the arc's end moves on to the former P[j]
                --n;
            }
            if (closed) break;
            K.push_back(1);
            K.push_back(1);
            i += 2;
            pi = std::next(pi, 2);
            continue;
        }
        if (!K.empty() && K.back() == 0 && i > 0) {
            const mVec2dC& previous = *std::prev(pi);
            if (p1->minus(*pi).unit().dot(pi->minus(previous).unit()) > 1.0 - t / 100.0) {
                pi = P.erase(pi);  // the previous line is extended to the former P[i+1]
                --n;
                continue;
            }
        }
        K.push_back(0);
        ++i;
        ++pi;
    }
    const std::vector<mVec2dC> kept(P.begin(), P.end());

    std::vector<mCurvePiece2dC> pieces;
    for (std::size_t e = 0; e + 1 < K.size();) {
        mCurvePiece2dC piece;
        piece.kind = K[e];
        if (K[e] == 0) {
            piece.points[0] = kept[e];
            piece.points[1] = kept[e + 1];
            e += 1;
        } else {
            piece.points[0] = kept[e];
            piece.points[1] = kept[e + 1];
            piece.points[2] = kept[e + 2];
            if (K[e] == 2) {
                piece.centre = circleCentre2d(kept[e], kept[e + 1], kept[e + 2]);
                piece.radius = piece.centre.minus(kept[e]).length();
            }
            e += 2;
        }
        pieces.push_back(piece);
    }
    return pieces;
}
