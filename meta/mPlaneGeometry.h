#pragma once
// Plane-geometry helpers on mVec2dC: angle between vectors, intersection of two lines, distance of
// a point from a line, the circle through three points and the parallel test. Stateless.

#include "meta/mVec2d.h"

// pi as the model's angle conversions use it.
constexpr double kMetaPi = 3.141592653589793;
inline double degToRad(double degrees) { return degrees * kMetaPi / 180.0; }
inline double radToDeg(double radians) { return radians * 180.0 / kMetaPi; }
// Degrees of the model to the radians of the host's entity lists, divided first as the converter
// always has (the last bit can differ from degToRad, and saved drawings compare exactly).
inline double hostRadians(double degrees) { return degrees / 180.0 * kMetaPi; }

// The counterclockwise angle from a to b in degrees, in [0, 359.9999); results of 359.9999 or
// more have 359.9999 subtracted, so they land in [0, 0.0001]. When a or b is the zero vector the
// angle is undefined and 0.0 is returned.
double vectorAngleDeg(const mVec2dC& a, const mVec2dC& b);

// Intersection of the line through P1, P2 with the line through Q1, Q2. Returns 0 and leaves
// `out` unchanged when the lines are parallel (determinant exactly 0), else writes it and
// returns 1.
int lineIntersect2d(const mVec2dC& P1, const mVec2dC& P2, const mVec2dC& Q1, const mVec2dC& Q2,
                    mVec2dC& out);

// Centre of the circle through A, B and C (intersection of the perpendicular bisectors of AB and
// CB); (0, 0) when the points are collinear.
mVec2dC circleCentre2d(const mVec2dC& A, const mVec2dC& B, const mVec2dC& C);

// Distance of P from the line through A and B; |P - A| when A and B coincide.
double pointLineDistance2d(const mVec2dC& P, const mVec2dC& A, const mVec2dC& B);

// 1 when a and b are parallel or opposite (|1 - |a.b / (|a||b|)|| <= 1e-10), else 0; 0 when
// either is the zero vector.
int isParallel2d(const mVec2dC& a, const mVec2dC& b);
