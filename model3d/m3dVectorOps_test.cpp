#include "model3d/m3dVectorOps.h"

#include <cmath>

#include <gtest/gtest.h>

#include "model3d/testing/m3dExpectNear.h"

namespace {

using m3dtesting::expectNear;

constexpr double kPi = 3.141592653589793;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-12;

// Rodrigues' rotation of a vector, computed independently of the matrix form.
mVec3dC rotateVector(const mVec3dC& v, const mVec3dC& axis, double degrees) {
  const mVec3dC k = scaleBy(axis, 1.0 / length(axis));
  const double a = degrees * kPi / 180.0;
  return scaleBy(v, std::cos(a))
      .plus(scaleBy(cross(k, v), std::sin(a)))
      .plus(scaleBy(k, dot(k, v) * (1.0 - std::cos(a))));
}

TEST(m3dVectorOps, RotationFromAxisAngleMatchesTheVectorFormula) {
  struct Case {
    mVec3dC axis;
    double degrees;
  } cases[] = {{{0, 0, 1}, 90}, {{1, 0, 0}, 30}, {{0, 3, 0}, -45}, {{1, 2, 3}, 123.4},
               {{-1, 0.5, 2}, 270}, {{0, 0, 1}, 0}};
  const mVec3dC probes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.3, -2, 5}};
  for (const Case& c : cases) {
    const mMat4dC r = rotationFromAxisAngle(c.axis, c.degrees);
    for (const mVec3dC& p : probes) expectNear(transformPoint(r, p), rotateVector(p, c.axis, c.degrees), kTol);
    EXPECT_EQ(r.m[15], 1.0);
    EXPECT_EQ(r.m[12], 0.0);
  }
  // The plain case written out: (1, 0, 0) turned by 90 degrees about z is (0, 1, 0).
  expectNear(transformPoint(rotationFromAxisAngle({0, 0, 1}, 90), {1, 0, 0}), {0, 1, 0}, kTol);
}

TEST(m3dVectorOps, ZeroAxisGivesTheIdentityInsteadOfNaN) {
  const mMat4dC r = rotationFromAxisAngle({0, 0, 0}, 45);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r.m[i], mMat4dC::identity().m[i]) << i;
}

TEST(m3dVectorOps, InvertRigidTransformUndoesIt) {
  mMat4dC m = rotationFromAxisAngle({1, -2, 0.5}, 71);
  m.setTranslation({3, -4, 12});
  const mMat4dC inverse = invertRigidTransform(m);
  const mVec3dC p{1.5, 2, -7};
  expectNear(transformPoint(inverse, transformPoint(m, p)), p, kTol);
  const mMat4dC product = m.multiply(inverse);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], mMat4dC::identity().m[i], 1e-12) << i;
}

TEST(m3dVectorOps, HandednessAndLengths) {
  mMat4dC m = mMat4dC::identity();
  EXPECT_FALSE(isLeftHanded(m));
  m.m[5] = -1.0;
  EXPECT_TRUE(isLeftHanded(m));

  expectNear(setLength({3, 0, 4}, 1.0), {0.6, 0, 0.8}, kTol);
  // Any length is honoured, not only 1.
  EXPECT_NEAR(length(setLength({3, 0, 4}, 2.5)), 2.5, 1e-12);
  // The zero vector has no direction: unchanged, no NaN.
  expectNear(setLength({0, 0, 0}, 1.0), {0, 0, 0}, 0.0);
  expectNear(subtract({5, 2, 1}, {1, 1, 1}), {4, 1, 0}, kTol);
  expectNear(cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}, kTol);
}

}  // namespace
