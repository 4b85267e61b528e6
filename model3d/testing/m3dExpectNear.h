#pragma once
// Test instrument for the 3D model: component-wise closeness of two 3D vectors, reported
// as three gtest expectations so a failure names the coordinate. Header-only.

#include <gtest/gtest.h>

#include "meta/mVec3d.h"

namespace m3dtesting {

// Each of x, y and z of `a` lies within `tol` of the same coordinate of `b`.
inline void expectNear(const mVec3dC& a, const mVec3dC& b, double tol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

}  // namespace m3dtesting
