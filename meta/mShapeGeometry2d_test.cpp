// The shapes' plane arithmetic: arc values, sweep and box, tessellation against the parametric
// form, and the curve approximation's classification.

#include <gtest/gtest.h>

#include <cmath>

#include "meta/mPlaneGeometry.h"
#include "meta/mShapeGeometry2d.h"

namespace {

mVec2dC onCircle(mVec2dC c, double r, double deg) {
    return {c.x + r * std::cos(degToRad(deg)), c.y + r * std::sin(degToRad(deg))};
}

TEST(ArcValues, DirectionSweepAndAngles) {
    struct Case { mVec2dC s, m, e; int cw; double sweep, start, end; } cases[] = {
        {{1, 0}, {0, 1}, {-1, 0}, 0, 180, 0, 180},
        {{-1, 0}, {0, 1}, {1, 0}, 1, 180, 0, 180},
        // counterclockwise across the +x axis: 300 deg -> 60 deg through 0
        {onCircle({2, 3}, 4, 300), onCircle({2, 3}, 4, 0), onCircle({2, 3}, 4, 60), 0, 120, 300, 420},
        // clockwise three-quarter turn from 90 down through 0 to 180
        {onCircle({0, 0}, 2, 90), onCircle({0, 0}, 2, 315), onCircle({0, 0}, 2, 180), 1, 270, 180, 450},
    };
    for (const auto& c : cases) {
        const mArcValues2dC a = arcValues2d(c.s, c.m, c.e);
        EXPECT_EQ(a.clockwise, c.cw);
        EXPECT_NEAR(arcSweep2d(a), c.sweep, 1e-9);
        double s, e;
        arcAngles2d(a, s, e);
        EXPECT_NEAR(s, c.start, 1e-9);
        EXPECT_NEAR(e, c.end, 1e-9);
    }
    const mArcValues2dC half = arcValues2d({1, 0}, {0, 1}, {-1, 0});
    EXPECT_NEAR(half.centre.x, 0, 1e-15);
    EXPECT_NEAR(half.radius, 1, 1e-15);
}

// Every tessellated point of the arc lies inside the arc's box (checked in the box's own frame).
TEST(ArcBox, EnclosesTheArc) {
    const mVec2dC c{5, -1};
    for (double startDeg : {0.0, 40.0, 200.0}) {
        for (double sweep : {30.0, 100.0, 179.0, 260.0, 350.0}) {
            const mVec2dC S = onCircle(c, 3, startDeg), M = onCircle(c, 3, startDeg + sweep / 2),
                          E = onCircle(c, 3, startDeg + sweep);
            mVec2dC k[4];
            arcBox2d(S, M, E, k);
            const mVec2dC ax = k[0].minus(k[1]), ay = k[1].minus(k[2]);
            mPointList2dC pts;
            tessellateArc2d(S, M, E, degToRad(1), pts);
            for (const mVec2dC& p : pts.points()) {
                const double u = p.minus(k[1]).dot(ax) / ax.dot(ax);
                const double v = p.minus(k[2]).dot(ay) / ay.dot(ay);
                EXPECT_GE(u, -1e-9) << startDeg << " " << sweep;
                EXPECT_LE(u, 1 + 1e-9) << startDeg << " " << sweep;
                EXPECT_GE(v, -1e-9) << startDeg << " " << sweep;
                EXPECT_LE(v, 1 + 1e-9) << startDeg << " " << sweep;
            }
        }
    }
}

TEST(Tessellation, CircleEveryFiveDegreesClosedAtTwoPi) {
    mPointList2dC pts;
    const std::int64_t n = tessellateCircle2d({1, 2}, 3, 0.0, pts);
    ASSERT_EQ(n, pts.count());
    ASSERT_EQ(n, 73);
    for (std::int64_t k = 0; k < 72; ++k) {
        const mVec2dC w = onCircle({1, 2}, 3, 5.0 * double(k));
        EXPECT_NEAR(pts.at(k).x, w.x, 1e-12);
        EXPECT_NEAR(pts.at(k).y, w.y, 1e-12);
    }
    EXPECT_NEAR(pts.at(n - 1).x, pts.at(0).x, 1e-12);
    EXPECT_NEAR(pts.at(n - 1).y, pts.at(0).y, 1e-12);
}

TEST(Tessellation, ArcEndsOnItsEndPointInItsDirection) {
    // clockwise from 90 to 0 degrees: the points run from the end (0 deg) to the start
    mPointList2dC pts;
    const std::int64_t n = tessellateArc2d({0, 1}, onCircle({0, 0}, 1, 45), {1, 0}, degToRad(10), pts);
    EXPECT_EQ(n, 10);  // 0, 10, ..., 80, then the end at 90 even though the steps land on it
    EXPECT_NEAR(pts.at(0).x, 1, 1e-12);
    EXPECT_NEAR(pts.at(n - 1).y, 1, 1e-12);
    for (const mVec2dC& p : pts.points()) EXPECT_NEAR(p.length(), 1, 1e-12);
}

TEST(Tessellation, EllipseAndEllipticArcMatchParametricForm) {
    const mVec2dC c{2, -1};
    mPointList2dC pts;
    tessellateEllipse2d(c, 4, 1, 30, degToRad(15), pts);
    EXPECT_EQ(pts.count(), 25);
    for (std::int64_t k = 0; k < pts.count(); ++k) {
        // undo the rotation and check the implicit equation
        const mVec2dC d = pts.at(k).minus(c);
        const double a = degToRad(-30);
        const double x = d.x * std::cos(a) - d.y * std::sin(a), y = d.x * std::sin(a) + d.y * std::cos(a);
        EXPECT_NEAR(x * x / 16 + y * y, 1.0, 1e-12);
    }
    // start parameter above the end: the start is taken one turn lower (300 -> -60 .. 30)
    tessellateEllipseArc2d(c, 4, 1, 0, 300, 30, degToRad(10), pts);
    EXPECT_EQ(pts.count(), 10);
    const mVec2dC first = ellipsePoint2d(c, 4, 1, 0, degToRad(300));
    const mVec2dC last = ellipsePoint2d(c, 4, 1, 0, degToRad(30));
    EXPECT_NEAR(pts.at(0).x, first.x, 1e-12);
    EXPECT_NEAR(pts.at(9).y, last.y, 1e-12);
}

TEST(Tessellation, NegativeOrTinyStepsStayBounded) {
    mPointList2dC pts;
    EXPECT_EQ(tessellateCircle2d({0, 0}, 1, -1.0, pts), tessellateCircle2d({0, 0}, 1, 0.0, pts));
    EXPECT_LE(tessellateCircle2d({0, 0}, 1, 1e-300, pts), kMaxTessellationPoints + 2);
}

TEST(CurveApproximation, ClosedCircleBecomesOneCircle) {
    std::vector<mVec2dC> P;
    for (int d = 0; d < 360; d += 10) P.push_back(onCircle({3, 4}, 2, d));
    P.push_back(P.front());
    const auto pieces = approximateCurve2d(P, 0.001);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].kind, 2);
    EXPECT_NEAR(pieces[0].centre.x, 3, 1e-9);
    EXPECT_NEAR(pieces[0].centre.y, 4, 1e-9);
    EXPECT_NEAR(pieces[0].radius, 2, 1e-9);
}

TEST(CurveApproximation, CollinearRunsAndShortCurves) {
    auto line = [](int n) {
        std::vector<mVec2dC> P;
        for (int k = 0; k < n; ++k) P.push_back({double(k), 0});
        return P;
    };
    EXPECT_TRUE(approximateCurve2d(line(0), 0.01).empty());
    EXPECT_TRUE(approximateCurve2d(line(1), 0.01).empty());
    const auto three = approximateCurve2d(line(3), 0.01);
    ASSERT_EQ(three.size(), 2u);
    const auto five = approximateCurve2d(line(5), 0.01);
    ASSERT_EQ(five.size(), 3u);
    const double want[3][2] = {{0, 2}, {2, 3}, {3, 4}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(five[k].kind, 0);
        EXPECT_EQ(five[k].points[0].x, want[k][0]);
        EXPECT_EQ(five[k].points[1].x, want[k][1]);
    }
}

TEST(CurveApproximation, ArcThenLineStaysWithinTolerance) {
    std::vector<mVec2dC> P;
    for (int d = 0; d <= 90; d += 10) P.push_back(onCircle({0, 0}, 5, d));
    P.push_back({-3, 5});
    P.push_back({-6, 5});
    const auto pieces = approximateCurve2d(P, 0.001);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces[0].kind, 1);
    // the arc starts at the first point and ends at 90 degrees; its mid point is on the circle
    EXPECT_NEAR(pieces[0].points[0].x, 5, 1e-12);
    EXPECT_NEAR(pieces[0].points[2].y, 5, 1e-12);
    EXPECT_NEAR(pieces[0].points[1].length(), 5, 1e-12);
    EXPECT_EQ(pieces.back().kind, 0);
    EXPECT_NEAR(pieces.back().points[1].x, -6, 1e-12);
    // pieces join end to start
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        const mVec2dC& prevEnd = pieces[k - 1].points[pieces[k - 1].kind == 0 ? 1 : 2];
        EXPECT_TRUE(prevEnd.equalsWithin(pieces[k].points[0], 1e-12));
    }
}

TEST(CurveApproximation, RepeatedPointsNeverMakeAnArc) {
    // Coinciding points have no direction: no arc is tried through them however loose the
    // tolerance.
    const std::vector<mVec2dC> P = {{0, 0}, {0, 0}, {0, 0}, {5, 5}};
    const auto pieces = approximateCurve2d(P, 100.0);
    ASSERT_EQ(pieces.size(), 3u);
    for (const auto& piece : pieces) EXPECT_EQ(piece.kind, 0);
}

}  // namespace

namespace {

// Parameters straight from a file: huge, infinite or NaN angles end with a bounded output.
TEST(Tessellation, HostileParametersStayBounded) {
    mPointList2dC pts;
    EXPECT_LE(tessellateEllipseArc2d({0, 0}, 2, 1, 0, 0, 1e300, 0, pts), kMaxTessellationPoints + 1);
    EXPECT_EQ(tessellateEllipseArc2d({0, 0}, 2, 1, 0, 0, INFINITY, 0, pts), 0);
    EXPECT_EQ(tessellateEllipseArc2d({0, 0}, 2, 1, 0, NAN, 10, 0, pts), 0);
    // a start so large that one step does not move it
    EXPECT_LE(tessellateEllipseArc2d({0, 0}, 2, 1, 0, 1e20, 1e20 + 1e6, 0, pts), kMaxTessellationPoints + 1);
}

// A long curve whose points are nearly all removed: the removals cost one step each, and the
// result is checked against the shape it came from.
TEST(CurveApproximation, LongCurvesCollapse) {
    auto arcPoints = [](int count, double sweepDeg) {
        std::vector<mVec2dC> P;
        for (int k = 0; k <= count; ++k) {
            const double a = degToRad(sweepDeg * k / count);
            P.push_back({7 * std::cos(a), 7 * std::sin(a)});
        }
        return P;
    };
    const auto coarse = arcPoints(3000, 170);
    const auto one = approximateCurve2d(coarse, 0.001);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].kind, 1);
    EXPECT_TRUE(one[0].points[2].equalsWithin(coarse.back(), 1e-12));
    EXPECT_NEAR(one[0].points[1].length(), 7, 1e-9);

    // So dense that three neighbours count as collinear: the runs merge into lines that still
    // follow the arc end to end.
    const auto dense = arcPoints(200000, 170);
    const auto lines = approximateCurve2d(dense, 0.001);
    ASSERT_GT(lines.size(), 1u);
    EXPECT_LT(lines.size(), 1000u);
    EXPECT_TRUE(lines.front().points[0].equalsWithin(dense.front(), 0));
    EXPECT_TRUE(lines.back().points[1].equalsWithin(dense.back(), 0));
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].kind, 0);
        EXPECT_NEAR(lines[k].points[1].length(), 7, 1e-9);
        if (k) EXPECT_TRUE(lines[k].points[0].equalsWithin(lines[k - 1].points[1], 0));
    }
}

}  // namespace
