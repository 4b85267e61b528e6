#pragma once
// The arithmetic of the 2D analytic shapes on plain points, shared by the mBase*2dC views: the
// arc's derived values, sweep and box, the point formulas and tessellation of arcs, circles and
// ellipses, and the classification of an interpolated curve into line, arc and circle pieces.
// Angles in degrees unless a name says radians; pi is kMetaPi.

#include <cstdint>
#include <vector>

#include "meta/mPointList2d.h"
#include "meta/mVec2d.h"

// Values derived from an arc's start S, mid point M and end E.
struct mArcValues2dC {
    mVec2dC centre;
    double radius = 0.0;
    double startAngle = 0.0;  // vectorAngleDeg from (1, 0) to S - centre, in [0, 359.9999)
    double midAngle = 0.0;
    double endAngle = 0.0;
    int clockwise = 0;
};
mArcValues2dC arcValues2d(const mVec2dC& S, const mVec2dC& M, const mVec2dC& E);

// Sweep in degrees: start and end (swapped when clockwise), 360 added to the end while it is less
// than the start; 0 for equal angles.
double arcSweep2d(const mArcValues2dC& arc);
// The counterclockwise start and end angle: as the sweep, but 360 is added while the end is less
// than or equal to the start, so equal angles make a full turn.
void arcAngles2d(const mArcValues2dC& arc, double& startDeg, double& endDeg);
// Oriented box round the arc, four corners in order round the box.
void arcBox2d(const mVec2dC& S, const mVec2dC& M, const mVec2dC& E, mVec2dC corners[4]);

// The tessellation step in radians actually used: pi/36 for 0, negative or NaN steps; a step so
// small that a full turn would need more than kMaxTessellationPoints points is widened. A sweep
// over a longer range is also widened to at most that many points, and a non-finite range gives
// no point, so the output stays bounded whatever a file holds.
constexpr std::int64_t kMaxTessellationPoints = 1000000;
double tessellationStep(double stepRadians);

// Point at parameter t (radians) of an ellipse with centre c, radii r1, r2 and major-axis
// direction angleDeg: c + rotation(angleDeg) (r1 cos t, r2 sin t).
mVec2dC ellipsePoint2d(const mVec2dC& c, double r1, double r2, double angleDeg, double t);

// Tessellations; each clears `out` and returns the number of points.
std::int64_t tessellateArc2d(const mVec2dC& S, const mVec2dC& M, const mVec2dC& E, double step,
                             mPointList2dC& out);
std::int64_t tessellateCircle2d(const mVec2dC& c, double r, double step, mPointList2dC& out);
std::int64_t tessellateEllipse2d(const mVec2dC& c, double r1, double r2, double angleDeg,
                                 double step, mPointList2dC& out);
std::int64_t tessellateEllipseArc2d(const mVec2dC& c, double r1, double r2, double angleDeg,
                                    double startDeg, double endDeg, double step,
                                    mPointList2dC& out);

// One output piece of the curve approximation: kind 0 a line points[0]-points[1]; kind 1 an arc
// start points[0], mid points[1], end points[2]; kind 2 a full circle with centre and radius.
struct mCurvePiece2dC {
    int kind = 0;
    mVec2dC points[3];
    mVec2dC centre;
    double radius = 0.0;
};
// Splits the polyline through `points` into line, arc and circle pieces within `tolerance`.
// Fewer than two points give no piece.
std::vector<mCurvePiece2dC> approximateCurve2d(std::vector<mVec2dC> points, double tolerance);
