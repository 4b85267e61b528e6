// Rational tensor-product B-spline surfaces: evaluation, closest points and shapes.

#include "model3d/nurbSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model3d/nurbBinomialTable.h"
#include "model3d/nurbCurve.h"
#include "model3d/nurbVectorOps.h"

namespace {
double clampTo(double x, double a, double b) { return x < a ? a : (x > b ? b : x); }

// The run-time's rand reduced to the 0..32767 range the perturbation is scaled for (the C
// libraries differ in RAND_MAX).
double rand15() { return static_cast<double>(std::rand() % 32768); }

const double kCircleKnots[12] = {0.0, 0.0, 0.0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1.0, 1.0, 1.0};
}  // namespace

int nurbSurfaceC::build(int degreeU, int degreeV, const double* knotsU, std::int64_t knotCountU,
                        const double* knotsV, std::int64_t knotCountV, int closedU, int closedV,
                        const mVec3dC* net, const double* weights, int nu, int nv) {
  if (degreeU < 0 || degreeV < 0 || nu < 0 || nv < 0) return 0;
  if (knotCountU != nu + degreeU + 1 || knotCountV != nv + degreeV + 1) return 0;
  const std::int64_t total = static_cast<std::int64_t>(nu) * nv;
  if ((total > 0 && net == nullptr) || knotsU == nullptr || knotsV == nullptr) return 0;
  u_.setDegree(degreeU);
  u_.setKnots(knotsU, knotCountU);
  u_.setClosed(closedU);
  v_.setDegree(degreeV);
  v_.setKnots(knotsV, knotCountV);
  v_.setClosed(closedV);
  nu_ = nu;
  nv_ = nv;
  net_.reset();
  for (std::int64_t k = 0; k < total; ++k) {
    net_.append(homogeneous(net[k], weights == nullptr ? 1.0 : weights[k]));
  }
  cache_.clearCache();
  return 1;
}

void nurbSurfaceC::setControlPoint(int i, int j, const mVec4dC& point) {
  if (i < 0 || i >= nu_ || j < 0 || j >= nv_) return;
  net_[static_cast<std::size_t>(j) + static_cast<std::size_t>(i) * nv_] = point;
  cache_.clearCache();
}

int nurbSurfaceC::isValid() const {
  return u_.fits(nu_) && v_.fits(nv_) &&
         static_cast<std::int64_t>(net_.size()) == static_cast<std::int64_t>(nu_) * nv_;
}

void nurbSurfaceC::paramRanges(double& u0, double& u1, double& v0, double& v1) const {
  u0 = u_.first();
  u1 = u_.last();
  v0 = v_.first();
  v1 = v_.last();
}

mVec3dC nurbSurfaceC::pointAt(double u, double v) const {
  if (!isValid()) return {};
  u = u_.normalise(u);
  v = v_.normalise(v);
  const int p = u_.degree(), q = v_.degree();
  const std::int64_t su = u_.findSpan(u), sv = v_.findSpan(v);
  nurbBasisRoomC Nu(p), Nv(q);
  u_.basisFunctions(u, su, Nu.data());
  v_.basisFunctions(v, sv, Nv.data());
  mVec4dC s;
  for (int l = 0; l <= q; ++l) {
    mVec4dC t;
    for (int k = 0; k <= p; ++k) {
      addInPlace4(t, times4(controlPoint(static_cast<int>(su - p + k), static_cast<int>(sv - q + l)), Nu[k]));
    }
    addInPlace4(s, times4(t, Nv[l]));
  }
  return projected(s);
}

int nurbSurfaceC::derivatives(double u, double v, int order, pagedArrayC<mVec3dC>& out) const {
  out.reset();
  if (!isValid() || order < 0) return 0;
  u = u_.normalise(u);
  v = v_.normalise(v);
  const int p = u_.degree(), q = v_.degree();
  const int d = order;
  const int du = std::min(d, p), dv = std::min(d, q);
  const std::int64_t su = u_.findSpan(u), sv = v_.findSpan(v);
  std::vector<double> Nu, Nv;
  u_.basisDerivatives(u, su, du, Nu);
  v_.basisDerivatives(v, sv, dv, Nv);
  const int w = d + 1;
  std::vector<mVec4dC> A(static_cast<std::size_t>(w) * w);  // homogeneous; zero above the degrees
  std::vector<mVec4dC> temp(q + 1);
  for (int k = 0; k <= du; ++k) {
    for (int s = 0; s <= q; ++s) {
      temp[s] = mVec4dC();
      for (int r = 0; r <= p; ++r) {
        addInPlace4(temp[s], times4(controlPoint(static_cast<int>(su - p + r), static_cast<int>(sv - q + s)),
                                    Nu[static_cast<std::size_t>(k) * (p + 1) + r]));
      }
    }
    const int dd = std::min(d - k, dv);
    for (int l = 0; l <= dd; ++l) {
      for (int s = 0; s <= q; ++s) {
        addInPlace4(A[k * w + l], times4(temp[s], Nv[static_cast<std::size_t>(l) * (q + 1) + s]));
      }
    }
  }
  nurbBinomialTableC& bin = nurbBinomialTableC::forSurfaces();
  bin.ensure(w, w);
  const double w0 = A[0].w == 0.0 ? 1.0 : A[0].w;  // a point at infinity is kept as stored
  std::vector<mVec3dC> S(static_cast<std::size_t>(w) * w);
  for (int k = 0; k <= d; ++k) {
    for (int l = 0; l <= d - k; ++l) {
      mVec3dC x(A[k * w + l].x, A[k * w + l].y, A[k * w + l].z);
      for (int j = 1; j <= l; ++j) subtractInPlace(x, scaleBy(S[k * w + l - j], bin.at(l, j) * A[j].w));
      for (int i = 1; i <= k; ++i) {
        subtractInPlace(x, scaleBy(S[(k - i) * w + l], bin.at(k, i) * A[i * w].w));
        mVec3dC x2;
        for (int j = 1; j <= l; ++j) {
          addInPlace(x2, scaleBy(S[(k - i) * w + l - j], bin.at(l, j) * A[i * w + j].w));
        }
        subtractInPlace(x, scaleBy(x2, bin.at(k, i)));
      }
      S[k * w + l] = divided(x, w0);
    }
  }
  for (const mVec3dC& x : S) out.append(x);
  return 1;
}

mVec3dC nurbSurfaceC::normalAt(double u, double v) const {
  pagedArrayC<mVec3dC> d;
  if (derivatives(u, v, 1, d) == 0) return {};
  return cross(d[2], d[1]).unit();  // S(1, 0) x S(0, 1): index 1 * 2 + 0 and 0 * 2 + 1
}

nurbCurveC nurbSurfaceC::isoCurveAtV(double v) const {
  nurbCurveC c;
  if (!isValid()) return c;
  v = v_.normalise(v);
  const int q = v_.degree();
  const std::int64_t sv = v_.findSpan(v);
  std::vector<double> Nv(q + 1);
  v_.basisFunctions(v, sv, Nv.data());
  std::vector<mVec4dC> pts(nu_);
  for (int i = 0; i < nu_; ++i) {
    for (int l = 0; l <= q; ++l) addInPlace4(pts[i], times4(controlPoint(i, static_cast<int>(sv - q + l)), Nv[l]));
  }
  c.setDegree(u_.degree());
  std::vector<double> kn;
  for (std::int64_t i = 0; i < u_.count(); ++i) kn.push_back(u_.knot(i));
  c.setKnots(kn.data(), static_cast<std::int64_t>(kn.size()));
  c.setControlPoints(pts.data(), nu_);
  c.setClosed(u_.closed());
  return c;
}

nurbCurveC nurbSurfaceC::isoCurveAtU(double u) const {
  nurbCurveC c;
  if (!isValid()) return c;
  u = u_.normalise(u);
  const int p = u_.degree();
  const std::int64_t su = u_.findSpan(u);
  std::vector<double> Nu(p + 1);
  u_.basisFunctions(u, su, Nu.data());
  std::vector<mVec4dC> pts(nv_);
  for (int j = 0; j < nv_; ++j) {
    for (int k = 0; k <= p; ++k) addInPlace4(pts[j], times4(controlPoint(static_cast<int>(su - p + k), j), Nu[k]));
  }
  c.setDegree(v_.degree());
  std::vector<double> kn;
  for (std::int64_t i = 0; i < v_.count(); ++i) kn.push_back(v_.knot(i));
  c.setKnots(kn.data(), static_cast<std::int64_t>(kn.size()));
  c.setControlPoints(pts.data(), nv_);
  c.setClosed(v_.closed());
  return c;
}

void nurbSurfaceC::reverseU() {
  if (static_cast<std::int64_t>(net_.size()) != static_cast<std::int64_t>(nu_) * nv_) return;
  for (int i = 0; i < nu_ / 2; ++i) {
    for (int j = 0; j < nv_; ++j) {
      std::swap(net_[static_cast<std::size_t>(j) + static_cast<std::size_t>(i) * nv_],
                net_[static_cast<std::size_t>(j) + static_cast<std::size_t>(nu_ - 1 - i) * nv_]);
    }
  }
  const std::int64_t m = u_.count();
  if (m > 0) {
    const double sum = u_.first() + u_.last();
    std::vector<double> k(static_cast<std::size_t>(m));
    for (std::int64_t i = 0; i < m; ++i) k[static_cast<std::size_t>(i)] = sum - u_.knot(m - 1 - i);
    u_.setKnots(k.data(), m);
  }
  cache_.clearCache();
}

pagedArrayC<mVec3dC> nurbSurfaceC::controlPoints3d() const {
  pagedArrayC<mVec3dC> r(3);
  for (std::size_t i = 0; i < net_.size(); ++i) r.append(projected(net_[i]));
  return r;
}

int nurbSurfaceC::closestPoint(const mVec3dC& point, double& u, double& v, int maxIterations) const {
  if (!isValid()) return 0;
  cache_.samples(*this);
  int cu = 2 * nu_;
  int cv = 2 * nv_;
  if (cu < 3) cu = 4;
  if (cv < 3) cv = 4;
  double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
  paramRanges(u0, u1, v0, v1);
  std::int64_t k = 0;
  double distance = 0.0;
  cache_.nearestSample(point, distance, k, 1e-10);
  u = u0 + static_cast<double>(k / cv) * (u1 - u0) / (cu - 1);
  v = v0 + static_cast<double>(k % cv) * (v1 - v0) / (cv - 1);
  if (distance <= 1e-10) return 1;
  return newtonSearch(point, u, v, maxIterations);
}

int nurbSurfaceC::newtonSearch(const mVec3dC& P, double& u, double& v, int maxIterations) const {
  double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
  paramRanges(u0, u1, v0, v1);
  double su = 1.0, sv = -1.0;
  double prevU = 0.0, prevV = 0.0;
  pagedArrayC<mVec3dC> d;
  for (int step = 0; step < maxIterations; ++step) {
    u = clampTo(u, u0, u1);
    v = clampTo(v, v0, v1);
    if (step > 0 && u == prevU && v == prevV) {
      // Stalled (typically pinned at a bound): push the start aside by up to a tenth of the range.
      su = -su;
      sv = -sv;
      u = clampTo(u + su * (u1 - u0) / 10.0 * rand15() / 32767.0, u0, u1);
      v = clampTo(v + sv * (v1 - v0) / 10.0 * rand15() / 32767.0, v0, v1);
    }
    prevU = u;
    prevV = v;
    derivatives(u, v, 2, d);  // index k * 3 + l
    const mVec3dC S = d[0], Sv = d[1], Svv = d[2], Su = d[3], Suu = d[6];
    const mVec3dC diff = subtract(S, P);
    if (squaredLength(Su) < 1e-6) {
      const double den = dot(Svv, diff) + squaredLength(Sv);
      if (den != 0.0) v -= dot(Sv, diff) / den;
    } else if (squaredLength(Sv) >= 1e-6) {
      mMat2dC M;
      M.m[0] = dot(Su, Su);
      M.m[1] = dot(Sv, Su);
      M.m[2] = dot(Su, Sv);
      M.m[3] = dot(Sv, Sv);
      const mVec2dC rhs(-dot(diff, Su), -dot(diff, Sv));
      mVec2dC x(0.0, 0.0);
      solve2x2(M, rhs, x, 1e-5);
      if (std::fabs(x.x) < 1e-8 && std::fabs(x.y) < 1e-8) return 1;
      u += x.x;
      v += x.y;
    } else {
      const double den = dot(Suu, diff) + squaredLength(Su);
      if (den != 0.0) u -= dot(Su, diff) / den;
    }
    if (!std::isfinite(u) || !std::isfinite(v)) {
      // No step leads on from here (a point that is not finite, or one so far away that the
      // step overflows): the parameters stay where this step started.
      u = prevU;
      v = prevV;
      return 0;
    }
    if (squaredLength(diff) < 1e-8) {
      u = clampTo(u, u0, u1);
      v = clampTo(v, v0, v1);
      return 1;
    }
  }
  u = clampTo(u, u0, u1);
  v = clampTo(v, v0, v1);
  return 0;
}

int nurbSurfaceC::projectCurve(const nurbCurveC& curve, int n, pagedArrayC<mVec2dC>& out) const {
  if (n <= 0 || !curve.isValid()) return 0;
  double t0 = 0.0, t1 = 0.0;
  curve.paramRange(t0, t1);
  int added = 0;
  for (int i = 0; i < n; ++i) {
    const double t = n == 1 ? t0 : (i + 1 == n ? t1 : t0 + i * (t1 - t0) / (n - 1));
    double u = 0.0, v = 0.0;
    if (closestPoint(curve.pointAt(t), u, v, 100)) {
      out.append(mVec2dC(u, v));
      ++added;
    }
  }
  return added;
}

void nurbSurfaceC::makeCylinder(const mMat4dC& frame, double diameter, double height) {
  static const double unit[9][2] = {{1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0},
                                    {-1, 1}, {0, 1}, {1, 1}, {1, 0}};
  const double knotsU[] = {0.0, 0.0, 1.0, 1.0};
  const double r = diameter / 2.0;
  mVec3dC net[18];
  double weights[18];
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 9; ++j) {
      net[j + 9 * i] = frame.transformPoint(mVec3dC(unit[j][0] * r, unit[j][1] * r, i == 0 ? 0.0 : height));
      weights[j + 9 * i] = j % 2 == 0 ? 1.0 : 0.70710678118655;
    }
  }
  build(1, 2, knotsU, 4, kCircleKnots, 12, 0, 1, net, weights, 2, 9);
}

void nurbSurfaceC::makePlanarPatch(const mMat4dC& frame, double a, double b, double d, double e) {
  const double knots[] = {0.0, 0.0, 1.0, 1.0};
  const mVec3dC net[4] = {frame.transformPoint(mVec3dC(-a, e, 0.0)), frame.transformPoint(mVec3dC(b, e, 0.0)),
                          frame.transformPoint(mVec3dC(-a, -d, 0.0)), frame.transformPoint(mVec3dC(b, -d, 0.0))};
  build(1, 1, knots, 4, knots, 4, 0, 0, net, nullptr, 2, 2);
}
