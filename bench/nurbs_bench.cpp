// Rational B-spline point evaluation of degree 3: the model's curves and surfaces against the plain
// textbook evaluator of model3d/testing/nurbTextbook.h (binary span search, Cox-de Boor basis in
// stack arrays, the homogeneous sum divided by w; the unit tests hold the model to its results),
// on the same knots, points and parameters. Pairs for a ratio:
// BM_NurbsCurvePoint/n with BM_TextbookCurvePoint/n and BM_NurbsSurfacePoint/n with
// BM_TextbookSurfacePoint/n, n the number of control points (a surface of n points is a square
// net).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "meta/mVec3d.h"
#include "meta/mVec4d.h"
#include "model3d/nurbCurve.h"
#include "model3d/nurbSurface.h"
#include "model3d/testing/nurbTextbook.h"

namespace {

constexpr int kDegree = 3;
constexpr int kParams = 1024;  // parameters cycled through, spread over every span

// Clamped uniform knots for n points of degree p on [0, 1].
std::vector<double> clampedKnots(int n, int p) {
  std::vector<double> k;
  for (int i = 0; i <= p; ++i) k.push_back(0.0);
  for (int i = 1; i < n - p; ++i) k.push_back(static_cast<double>(i) / (n - p));
  for (int i = 0; i <= p; ++i) k.push_back(1.0);
  return k;
}

// Parameters in [0, 1] in a scattered order (a fixed linear congruential sequence).
std::vector<double> parameters(std::uint32_t seed) {
  std::vector<double> u(kParams);
  for (double& x : u) {
    seed = seed * 1664525u + 1013904223u;
    x = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
  }
  return u;
}

mVec3dC pointOf(int i) { return {i * 0.5, std::sin(i * 0.3), std::cos(i * 0.7)}; }
double weightOf(int i) { return 1.0 + 0.5 * std::sin(i * 1.1); }

std::vector<mVec4dC> homogeneousPoints(int n) {
  std::vector<mVec4dC> P;
  for (int i = 0; i < n; ++i) {
    const mVec3dC c = pointOf(i);
    const double w = weightOf(i);
    P.emplace_back(c.x * w, c.y * w, c.z * w, w);
  }
  return P;
}

void BM_NurbsCurvePoint(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> knots = clampedKnots(n, kDegree);
  std::vector<mVec3dC> points;
  std::vector<double> weights;
  for (int i = 0; i < n; ++i) {
    points.push_back(pointOf(i));
    weights.push_back(weightOf(i));
  }
  nurbCurveC curve;
  curve.build(kDegree, knots.data(), static_cast<std::int64_t>(knots.size()), points.data(),
              weights.data(), n);
  const std::vector<double> u = parameters(12345);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(curve.pointAt(u[i]));
    i = (i + 1) & (kParams - 1);
  }
}

void BM_TextbookCurvePoint(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const nurbtextbook::directionC d{kDegree, clampedKnots(n, kDegree)};
  const std::vector<mVec4dC> P = homogeneousPoints(n);
  const std::vector<double> u = parameters(12345);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(nurbtextbook::curvePoint(d, P, u[i]));
    i = (i + 1) & (kParams - 1);
  }
}

// A square net of about n points.
int side(int n) { return static_cast<int>(std::lround(std::sqrt(static_cast<double>(n)))); }

void BM_NurbsSurfacePoint(benchmark::State& state) {
  const int m = side(static_cast<int>(state.range(0)));
  const std::vector<double> knots = clampedKnots(m, kDegree);
  std::vector<mVec3dC> net;
  std::vector<double> weights;
  for (int i = 0; i < m * m; ++i) {
    net.push_back(pointOf(i));
    weights.push_back(weightOf(i));
  }
  nurbSurfaceC surface;
  surface.build(kDegree, kDegree, knots.data(), static_cast<std::int64_t>(knots.size()),
                knots.data(), static_cast<std::int64_t>(knots.size()), 0, 0, net.data(),
                weights.data(), m, m);
  const std::vector<double> u = parameters(12345), v = parameters(777);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(surface.pointAt(u[i], v[i]));
    i = (i + 1) & (kParams - 1);
  }
}

void BM_TextbookSurfacePoint(benchmark::State& state) {
  const int m = side(static_cast<int>(state.range(0)));
  const nurbtextbook::directionC d{kDegree, clampedKnots(m, kDegree)};
  const std::vector<mVec4dC> P = homogeneousPoints(m * m);
  const std::vector<double> u = parameters(12345), v = parameters(777);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(nurbtextbook::surfacePoint(d, d, m, P, u[i], v[i]));
    i = (i + 1) & (kParams - 1);
  }
}

}  // namespace

BENCHMARK(BM_NurbsCurvePoint)->Arg(100)->Arg(10000);
BENCHMARK(BM_TextbookCurvePoint)->Arg(100)->Arg(10000);
BENCHMARK(BM_NurbsSurfacePoint)->Arg(100)->Arg(10000);
BENCHMARK(BM_TextbookSurfacePoint)->Arg(100)->Arg(10000);
