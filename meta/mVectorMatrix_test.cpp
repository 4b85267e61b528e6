// Vectors, matrices, the dense product, the plane-geometry helpers and the real arrays, checked
// against independent computations (brute-force products, parametric points).

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "meta/mMat2d.h"
#include "meta/mMat3d.h"
#include "meta/mMat4d.h"
#include "meta/mMatrixProduct.h"
#include "meta/mPlaneGeometry.h"
#include "meta/mVec2d.h"
#include "meta/mVec3d.h"
#include "meta/realArray.h"
#include "meta/realMatrix.h"
#include "meta/vector2d.h"

namespace {

TEST(VectorAngleDeg, QuadrantsAndWrapNearZero) {
    struct Case { mVec2dC a, b; double want; } cases[] = {
        {{1, 0}, {0, 1}, 90}, {{1, 0}, {0, -1}, 270}, {{1, 0}, {1, 0}, 0},
        {{1, 0}, {-1, 0}, 180}, {{0, 2}, {-3, 0}, 90}, {{1, 1}, {1, 0}, 315},
    };
    for (const auto& c : cases) EXPECT_NEAR(vectorAngleDeg(c.a, c.b), c.want, 1e-9);
    // Just below the +x axis: snapped to zero, so never 359.9999 or more.
    const double tiny = vectorAngleDeg({1, 0}, {1, -1e-9});
    EXPECT_LT(tiny, 359.9999);
    EXPECT_NEAR(tiny, 0.0, 1e-4);
    // A real angle just below a full turn is folded into [0, 0.0001].
    const double near = vectorAngleDeg({1, 0}, {std::cos(-1e-7), std::sin(-1e-7)});
    EXPECT_GE(near, 0.0);
    EXPECT_LE(near, 1e-4);
}

TEST(VectorAngleDeg, ZeroVectorGivesZeroNotNaN) {
    EXPECT_EQ(vectorAngleDeg({0, 0}, {1, 0}), 0.0);
    EXPECT_EQ(vectorAngleDeg({1, 0}, {0, 0}), 0.0);
}

TEST(VectorAngleDeg, MatchesAtan2AllRound) {
    for (int deg = 0; deg < 360; deg += 7) {
        const double a = deg * kMetaPi / 180.0;
        const mVec2dC from{std::cos(0.3), std::sin(0.3)};
        const mVec2dC to{std::cos(0.3 + a) * 4.0, std::sin(0.3 + a) * 4.0};
        EXPECT_NEAR(vectorAngleDeg(from, to), double(deg), 1e-7) << deg;
    }
}

TEST(Rotation, NinetyDegreesTurnsXIntoYInEveryForm) {
    const mVec2dC p2 = mMat2dC::rotation(90).transform({1, 0});
    EXPECT_NEAR(p2.x, 0, 1e-15);
    EXPECT_NEAR(p2.y, 1, 1e-15);
    const mVec2dC p3 = mMat3dC::rotation(90).transformPoint({1, 0});
    EXPECT_NEAR(p3.x, 0, 1e-15);
    EXPECT_NEAR(p3.y, 1, 1e-15);
    const mVec3dC p4 = mMat4dC::rotationZ(90).transformPoint({1, 0, 5});
    EXPECT_NEAR(p4.x, 0, 1e-15);
    EXPECT_NEAR(p4.y, 1, 1e-15);
    EXPECT_NEAR(p4.z, 5, 1e-15);
}

TEST(Matrix3d, TranslationInElementsSixAndSevenAndCompositionOrder) {
    const mMat3dC t = mMat3dC::translation({10, 20});
    EXPECT_EQ(t.m[6], 10);
    EXPECT_EQ(t.m[7], 20);
    // rotate first, then translate: T R p
    const mVec2dC p = t.multiply(mMat3dC::rotation(90)).transformPoint({1, 0});
    EXPECT_NEAR(p.x, 10, 1e-12);
    EXPECT_NEAR(p.y, 21, 1e-12);
}

// Brute-force product with explicit row/column indexing, independent of multiplyMatrices.
void bruteProduct(const double* A, int rA, int cA, const double* B, int cB, double* C) {
    for (int r = 0; r < rA; ++r)
        for (int c = 0; c < cB; ++c) {
            double s = 0;
            for (int k = 0; k < cA; ++k) s += A[r + rA * k] * B[k + cA * c];
            C[r + rA * c] = s;
        }
}

TEST(MultiplyMatrices, MatchesBruteForceForRandomShapes) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-5, 5);
    for (int trial = 0; trial < 50; ++trial) {
        const int rA = 1 + trial % 5, cA = 1 + (trial / 5) % 4, cB = 1 + (trial / 3) % 6;
        std::vector<double> A(rA * cA), B(cA * cB), C(rA * cB, 99), W(rA * cB);
        for (double& v : A) v = d(rng);
        for (double& v : B) v = d(rng);
        ASSERT_EQ(multiplyMatrices(A.data(), cA, rA, B.data(), cB, cA, C.data()), 1);
        bruteProduct(A.data(), rA, cA, B.data(), cB, W.data());
        for (int i = 0; i < rA * cB; ++i) EXPECT_NEAR(C[i], W[i], 1e-12);
    }
}

TEST(MultiplyMatrices, ColumnVectorAndMismatch) {
    const mMat3dC r = mMat3dC::rotation(30).multiply(mMat3dC::translation({2, 3}));
    const double p[3] = {4, 5, 1};
    double out[3] = {};
    ASSERT_EQ(multiplyMatrices(r.m, 3, 3, p, 1, 3, out), 1);
    const mVec2dC want = r.transformPoint({4, 5});
    EXPECT_NEAR(out[0], want.x, 1e-12);
    EXPECT_NEAR(out[1], want.y, 1e-12);
    EXPECT_NEAR(out[2], 1.0, 1e-12);
    // 2x2 times 3x1: untouched, 0.
    const double m2[4] = {1, 2, 3, 4};
    double untouched[2] = {7, 8};
    EXPECT_EQ(multiplyMatrices(m2, 2, 2, p, 1, 3, untouched), 0);
    EXPECT_EQ(untouched[0], 7);
    EXPECT_EQ(untouched[1], 8);
}

TEST(Matrix4d, ProductTransposedRotationAndSetValues) {
    mMat4dC rigid = mMat4dC::rotationZ(37);
    rigid.setTranslation({1, 2, 3});
    // the transposed rotation undoes the rotation part
    mMat4dC inv = rigid.transposedRotation();
    inv.setTranslation({0, 0, 0});
    mMat4dC rot = rigid;
    rot.setTranslation({0, 0, 0});
    const mMat4dC id = inv.multiply(rot);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(id.m[i], i % 5 == 0 ? 1.0 : 0.0, 1e-12) << i;
    EXPECT_EQ(rigid.at(3, 0), 1.0);  // column 3, row 0 = element 12
    const mVec3dC p = rigid.transformPoint({1, 0, 0});
    EXPECT_NEAR(p.x, 1 + std::cos(37 * kMetaPi / 180), 1e-12);
    EXPECT_NEAR(p.z, 3, 1e-12);

    double vals[20];
    for (int i = 0; i < 20; ++i) vals[i] = i;
    mMat4dC m;
    EXPECT_EQ(m.setValues(vals, 20), 16);
    EXPECT_EQ(m.entry(15), 15);
    mMat4dC few = mMat4dC::identity();
    EXPECT_EQ(few.setValues(vals, 3), 3);
    EXPECT_EQ(few.entry(2), 2);
    EXPECT_EQ(few.entry(5), 1);
}

TEST(Vectors, CrossSnapEqualsAndZeroNormalize) {
    const mVec3dC c = mVec3dC(1, 0, 0).cross({0, 1, 0});
    EXPECT_EQ(c.z, 1);
    const mVec3dC g = mVec3dC(2, 3, 4).cross({5, 6, 7});
    EXPECT_DOUBLE_EQ(g.x, 3 * 7 - 4 * 6);
    EXPECT_DOUBLE_EQ(g.y, 4 * 5 - 2 * 7);
    EXPECT_DOUBLE_EQ(g.z, 2 * 6 - 3 * 5);
    mVec2dC s{1e-9, -0.5};
    s.snapToZero(1e-8);
    EXPECT_EQ(s.x, 0.0);
    EXPECT_EQ(s.y, -0.5);
    EXPECT_EQ(mVec2dC(1, 1).equalsWithin({1.1, 0.9}, 0.1000001), 1);
    EXPECT_EQ(mVec2dC(1, 1).equalsWithin({1.2, 1}, 0.1), 0);
    mVec2dC z;
    z.normalize();
    EXPECT_EQ(z.x, 0.0);
    EXPECT_FALSE(std::isnan(vector2dC().normalized().x));
    EXPECT_NEAR(vector2dC(3, 4).normalized().y, 0.8, 1e-15);
    const mVec2dC perp = mVec2dC(2, 5).perpendicular();
    EXPECT_EQ(perp.x, -5);
    EXPECT_EQ(perp.y, 2);
}

TEST(PlaneGeometry, IntersectionCircleDistanceParallel) {
    mVec2dC out{42, 42};
    EXPECT_EQ(lineIntersect2d({0, 0}, {1, 1}, {0, 1}, {1, 2}, out), 0);
    EXPECT_EQ(out.x, 42);
    ASSERT_EQ(lineIntersect2d({0, 0}, {2, 2}, {0, 2}, {2, 0}, out), 1);
    EXPECT_NEAR(out.x, 1, 1e-15);
    EXPECT_NEAR(out.y, 1, 1e-15);

    const mVec2dC collinear = circleCentre2d({0, 0}, {1, 1}, {2, 2});
    EXPECT_EQ(collinear.x, 0);
    EXPECT_EQ(collinear.y, 0);
    // Three points of a known circle, centre (3, -2), radius 5.
    auto on = [](double deg) {
        return mVec2dC{3 + 5 * std::cos(deg * kMetaPi / 180), -2 + 5 * std::sin(deg * kMetaPi / 180)};
    };
    const mVec2dC c = circleCentre2d(on(10), on(100), on(250));
    EXPECT_NEAR(c.x, 3, 1e-12);
    EXPECT_NEAR(c.y, -2, 1e-12);

    EXPECT_NEAR(pointLineDistance2d({3, 4}, {0, 0}, {10, 0}), 4, 1e-15);
    EXPECT_NEAR(pointLineDistance2d({0, 0}, {1, 0}, {0, 1}), std::sqrt(0.5), 1e-15);

    EXPECT_EQ(isParallel2d({1, 2}, {-2, -4}), 1);
    EXPECT_EQ(isParallel2d({1, 2}, {2, 4.001}), 0);
    EXPECT_EQ(isParallel2d({0, 0}, {1, 0}), 0);
}

TEST(RealArray, ResizeCopyAndRelease) {
    const double v[3] = {1, 2, 3};
    realArrayC a(3, v);
    realArrayC b = a;
    b.at(0) = 9;
    EXPECT_EQ(a.at(0), 1);
    a.resize(5);
    EXPECT_EQ(a.count(), 5);
    EXPECT_EQ(a.at(2), 3);
    EXPECT_EQ(a.at(4), 0);
    a.resize(2);
    EXPECT_EQ(a.at(1), 2);
    realArrayC& self = a;
    a = self;  // self-assignment keeps the values
    EXPECT_EQ(a.at(1), 2);
    a.resize(0);
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(realArrayC(4, nullptr).count(), 0);
    EXPECT_EQ(realArrayC(0).data(), nullptr);
}

TEST(RealMatrix, ResizeKeepsCommonBlockRowMajor) {
    realMatrixC m(2, 2);
    m.set(0, 0, 1);
    m.set(0, 1, 2);
    m.set(1, 0, 3);
    m.set(1, 1, 4);
    m.resize(3, 3);
    const double want[9] = {1, 2, 0, 3, 4, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(m.data()[i], want[i]) << i;
    m.resize(1, 3);
    EXPECT_EQ(m.at(0, 1), 2);
    EXPECT_EQ(m.fill(7), 3);
    EXPECT_EQ(m.at(0, 2), 7);
    realMatrixC empty;
    empty.resize(2, 1);
    EXPECT_EQ(empty.at(1, 0), 0);
    empty.resize(0, 4);
    EXPECT_EQ(empty.elementCount(), 0);
    EXPECT_EQ(empty.data(), nullptr);
}

}  // namespace

#include "meta/metaObjPoint3d.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

// Real lists in the tree as vectors: found only for exactly the right number of reals.
TEST(RealListVectors, Point3dAndMatrixFoundOnlyForExactCounts) {
    const metaObjectC tree(metatesting::parseTree("POINT3D { 1 2 3 } POINT3D { 1 2 } M { 1 0 0 0 0 1 0 0 0 0 1 0 5 6 7 1 }"), 1);
    int found = 0;
    const mVec3dC p = metaObjPoint3dC(tree.node()).point(&found);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(p.z, 3);
    const mVec3dC short2 = metaObjPoint3dC(tree.node()->nextSibling()).point(&found);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(short2.x, 0);
    const mMat4dC m = metaObjRealListC(tree.node()->nthSibling(2)).matrix4d(&found);
    EXPECT_EQ(found, 1);
    const mVec3dC moved = m.transformPoint({1, 1, 1});
    EXPECT_EQ(moved.x, 6);
    EXPECT_EQ(moved.z, 8);
    metaObjPoint3dC(tree.node()->nextSibling()).setPoint({4, 5, 6});
    const metaObjectC alone(tree.node()->nextSibling()->cloneSubtree(), 1);  // without siblings
    EXPECT_EQ(metatesting::dumpTree(alone.node()), "POINT3D { 4 5 6 }");
}

}  // namespace
