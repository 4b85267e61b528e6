// Rational B-spline curves: evaluation, closest points, knot operations, joining and shapes.

#include "model3d/nurbCurve.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model3d/nurbBinomialTable.h"
#include "model3d/nurbSurface.h"
#include "model3d/nurbVectorOps.h"

namespace {
constexpr double kPi = 3.141592653589793;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

inline double quotient(double a, double b) { return b == 0.0 ? 0.0 : a / b; }

// Binomial coefficient n over k as a double (0 outside 0 <= k <= n).
double binom(int n, int k) {
  if (k < 0 || k > n) return 0.0;
  double r = 1.0;
  for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
  return r;
}

mVec4dC blend(double a, const mVec4dC& p, const mVec4dC& q) {  // a p + (1 - a) q
  return plus4(times4(p, a), times4(q, 1.0 - a));
}

double squaredDistance(const mVec3dC& a, const mVec3dC& b) { return squaredLength(subtract(a, b)); }
}  // namespace

void nurbCurveC::clear() {
  knots_ = nurbKnotVectorC();
  points_.reset();
  cache_.clearCache();
}

int nurbCurveC::build(int degree, const double* knots, std::int64_t knotCount,
                      const mVec3dC* points, const double* weights, std::int64_t pointCount) {
  if (degree < 0 || pointCount < 0 || knotCount != pointCount + degree + 1) return 0;
  if ((knotCount > 0 && knots == nullptr) || (pointCount > 0 && points == nullptr)) return 0;
  knots_.setDegree(degree);
  knots_.setKnots(knots, knotCount);
  points_.reset();
  for (std::int64_t k = 0; k < pointCount; ++k) {
    points_.append(homogeneous(points[k], weights == nullptr ? 1.0 : weights[k]));
  }
  knots_.setClosed(pointCount > 0 && squaredDistance(points[0], points[pointCount - 1]) < 1e-10);
  cache_.clearCache();
  return 1;
}

void nurbCurveC::setClosed(int closed) {
  knots_.setClosed(closed);
  cache_.clearCache();
}

void nurbCurveC::setDegree(int p) {
  knots_.setDegree(p);
  cache_.clearCache();
}

void nurbCurveC::setKnots(const double* knots, std::int64_t n) {
  knots_.setKnots(knots, n);
  cache_.clearCache();
}

void nurbCurveC::setControlPoints(const mVec4dC* points, std::int64_t n) {
  points_.reset();
  for (std::int64_t i = 0; i < n; ++i) points_.append(points[i]);
  cache_.clearCache();
}

void nurbCurveC::setControlPoint(std::int64_t i, const mVec4dC& point) {
  if (i < 0 || i >= controlCount()) return;
  points_[static_cast<std::size_t>(i)] = point;
  cache_.clearCache();
}

void nurbCurveC::resize(std::int64_t n) {
  if (n < 0) n = 0;
  const std::size_t old = points_.size();
  points_.resize(static_cast<std::size_t>(n));
  for (std::size_t i = old; i < points_.size(); ++i) points_[i] = mVec4dC();
  knots_.resize(n + std::max(knots_.degree(), 0) + 1);
  cache_.clearCache();
}

double nurbCurveC::clampParam(double u, double a, double b) const {
  u = normalise(u);
  return u < a ? a : (u > b ? b : u);
}

void nurbCurveC::paramRange(double& u0, double& u1) const {
  u0 = knots_.first();
  u1 = knots_.last();
}

mVec3dC nurbCurveC::pointAt(double u) const {
  if (!isValid()) return {};
  u = normalise(u);
  const int p = degree();
  const std::int64_t span = findSpan(u);
  nurbBasisRoomC N(p);
  knots_.basisFunctions(u, span, N.data());
  mVec4dC c;
  for (int j = 0; j <= p; ++j) addInPlace4(c, times4(controlPoint(span - p + j), N[j]));
  return projected(c);
}

int nurbCurveC::derivatives(double u, int order, pagedArrayC<mVec3dC>& out) const {
  out.reset();
  if (!isValid() || order < 0) return 0;
  u = normalise(u);
  const int p = degree();
  const int du = std::min(order, p);
  const std::int64_t span = findSpan(u);
  std::vector<double> nders;
  knots_.basisDerivatives(u, span, du, nders);
  std::vector<mVec4dC> A(order + 1);  // homogeneous derivatives; zero above p
  for (int k = 0; k <= du; ++k) {
    for (int j = 0; j <= p; ++j) {
      addInPlace4(A[k], times4(controlPoint(span - p + j), nders[static_cast<std::size_t>(k) * (p + 1) + j]));
    }
  }
  nurbBinomialTableC& bin = nurbBinomialTableC::forCurves();
  bin.ensure(order + 1, order + 1);
  // A point at infinity (w = 0) is kept as stored, as projected() does.
  const double w0 = A[0].w == 0.0 ? 1.0 : A[0].w;
  std::vector<mVec3dC> ck(order + 1);
  for (int k = 0; k <= order; ++k) {
    mVec3dC v(A[k].x, A[k].y, A[k].z);
    for (int i = 1; i <= k; ++i) subtractInPlace(v, scaleBy(ck[k - i], bin.at(k, i) * A[i].w));
    ck[k] = divided(v, w0);
    out.append(ck[k]);
  }
  return 1;
}

mVec3dC nurbCurveC::tangentAt(double u) const {
  pagedArrayC<mVec3dC> d;
  if (derivatives(u, 1, d) == 0) return {};
  return d[1];
}

pagedArrayC<mVec3dC> nurbCurveC::controlPoints3d() const {
  pagedArrayC<mVec3dC> r(3);
  for (std::size_t i = 0; i < points_.size(); ++i) r.append(projected(points_[i]));
  return r;
}

pagedArrayC<double> nurbCurveC::weights() const {
  pagedArrayC<double> r(3);
  for (std::size_t i = 0; i < points_.size(); ++i) r.append(points_[i].w);
  return r;
}

int nurbCurveC::closestPoint(const mVec3dC& point, double& u, mVec3dC& foot, double& distance,
                             double eps1, int maxIterations, double eps2) const {
  if (!isValid()) return 0;
  const pagedArrayC<mVec3dC>& samples = cache_.samples(*this);
  const std::int64_t m = static_cast<std::int64_t>(samples.size());
  double u0 = 0.0, u1 = 0.0;
  paramRange(u0, u1);
  std::int64_t index = 0;
  double sampleDistance = 0.0;
  cache_.nearestSample(point, sampleDistance, index, 1e-10);
  u = u0 + static_cast<double>(index) * (u1 - u0) / static_cast<double>(m - 1);
  if (sampleDistance <= 1e-10) {
    foot = pointAt(u);
    distance = std::sqrt(squaredDistance(foot, point));
    return 1;
  }
  pagedArrayC<mVec3dC> d;
  for (int iteration = 0; iteration < maxIterations; ++iteration) {
    derivatives(u, 2, d);
    const mVec3dC c = d[0], c1 = d[1], c2 = d[2];
    const mVec3dC diff = subtract(c, point);
    foot = c;
    distance = std::sqrt(squaredLength(diff));
    if (squaredLength(diff) < eps1 * eps1) return 1;
    const double c1d = dot(c1, diff);
    const double denominator = distance * length(c1);
    // A vanishing tangent gives no angle to test; the Newton step below decides.
    if (denominator > 0.0 && std::sqrt(3.0) * std::fabs(c1d) / denominator < eps2) return 1;
    const double step = dot(c2, diff) + squaredLength(c1);
    if (step == 0.0 || !std::isfinite(step)) return 0;  // no Newton step exists here
    const double uNext = normalise(u - c1d / step);
    if (squaredLength(scaleBy(c1, uNext - u)) < eps1 * eps1) return 1;
    if (iteration + 1 == maxIterations) break;  // keep u with the foot it gave
    u = uNext;
  }
  if (maxIterations <= 0) {
    foot = pointAt(u);
    distance = std::sqrt(squaredDistance(foot, point));
  }
  return 0;
}

int nurbCurveC::isSameCurve(const nurbCurveC& other, int sampleCount, double tolerance) const {
  if (!isValid() || !other.isValid()) return 0;
  if (!boundingBox().overlaps(other.boundingBox(), 0.01)) return 0;
  std::int64_t n = std::min<std::int64_t>(sampleCount, std::max(controlCount(), other.controlCount()));
  n = std::max<std::int64_t>(n, 2);  // both ends of the other curve at least
  double t0 = 0.0, t1 = 0.0;
  other.paramRange(t0, t1);
  // The samples span the other curve's whole range, whatever count was asked for.
  const double step = (t1 - t0) / static_cast<double>(n - 1);
  const double limit = std::sqrt(tolerance);
  double footU = 0.0, t = t0;
  for (std::int64_t i = 0; i < n; ++i) {
    t = i + 1 == n ? t1 : t0 + static_cast<double>(i) * step;
    mVec3dC foot;
    double distance = 0.0;
    closestPoint(other.pointAt(t), footU, foot, distance, 0.001, 100, 0.001);
    if (distance > limit) return 0;
  }
  return dot(tangentAt(footU), other.tangentAt(t)) > 0.0 ? 1 : -1;
}

mVec3dC nurbCurveC::sideDirection(double u, const nurbSurfaceC& surface) const {
  double su = 0.0, sv = 0.0;
  surface.closestPoint(pointAt(u), su, sv, 100);
  return cross(tangentAt(u).unit(), surface.normalAt(su, sv).unit());
}

void nurbCurveC::reverse() {
  const std::size_t n = points_.size();
  for (std::size_t i = 0; i < n / 2; ++i) std::swap(points_[i], points_[n - 1 - i]);
  const std::int64_t m = knots_.count();
  if (m > 0) {
    const double sum = knots_.first() + knots_.last();
    std::vector<double> k(static_cast<std::size_t>(m));
    for (std::int64_t i = 0; i < m; ++i) k[static_cast<std::size_t>(i)] = sum - knots_.knot(m - 1 - i);
    knots_.setKnots(k.data(), m);
  }
  cache_.clearCache();
}

int nurbCurveC::refineKnots(const double* X, std::int64_t count) {
  if (!isValid() || count < 0) return 0;
  if (count == 0) return 1;
  const int p = degree();
  const std::int64_t n = controlCount() - 1;
  const std::int64_t m = n + p + 1;
  for (std::int64_t j = 0; j < count; ++j) {
    if (!(X[j] > knots_.knot(p) && X[j] < knots_.knot(n + 1))) return 0;
    if (j > 0 && X[j] < X[j - 1]) return 0;
  }
  const std::int64_t r = count - 1;
  const std::int64_t a = findSpan(X[0]);
  const std::int64_t b = findSpan(X[r]) + 1;
  std::vector<mVec4dC> Q(static_cast<std::size_t>(n + r + 2));
  std::vector<double> Ub(static_cast<std::size_t>(m + r + 2));
  auto U = [&](std::int64_t i) { return knots_.knot(i); };
  for (std::int64_t j = 0; j <= a - p; ++j) Q[j] = controlPoint(j);
  for (std::int64_t j = b - 1; j <= n; ++j) Q[j + r + 1] = controlPoint(j);
  for (std::int64_t j = 0; j <= a; ++j) Ub[j] = U(j);
  for (std::int64_t j = b + p; j <= m; ++j) Ub[j + r + 1] = U(j);
  std::int64_t i = b + p - 1;
  std::int64_t k = b + p + r;
  for (std::int64_t j = r; j >= 0; --j) {
    while (X[j] <= U(i) && i > a) {
      Q[k - p - 1] = controlPoint(i - p - 1);
      Ub[k] = U(i);
      --k;
      --i;
    }
    Q[k - p - 1] = Q[k - p];
    for (int l = 1; l <= p; ++l) {
      const std::int64_t ind = k - p + l;
      double alfa = Ub[k + l] - X[j];
      if (std::fabs(alfa) == 0.0) {
        Q[ind - 1] = Q[ind];
      } else {
        alfa = quotient(alfa, Ub[k + l] - U(i - p + l));
        Q[ind - 1] = blend(alfa, Q[ind - 1], Q[ind]);
      }
    }
    Ub[k] = X[j];
    --k;
  }
  const int wasClosed = closed();
  knots_.setKnots(Ub.data(), static_cast<std::int64_t>(Ub.size()));
  knots_.setClosed(wasClosed);
  setControlPoints(Q.data(), static_cast<std::int64_t>(Q.size()));
  return 1;
}

int nurbCurveC::split(double u, nurbCurveC& first, nurbCurveC& second) const {
  if (!isValid()) return 0;
  const int p = degree();
  const std::int64_t count = knots_.count();
  if (!(knots_.knot(p) < u && u < knots_.knot(count - p - 1))) return 0;
  const std::int64_t span = findSpan(u);
  int s = 0;
  // A parameter within 1e-6 of an interior knot splits at that knot, so that the copies below
  // are exactly equal to it. The first knot of the range is no place to split: a parameter near
  // it (on a short curve, any parameter) splits where it is.
  if (std::fabs(u - knots_.knot(span)) < 1e-6 && knots_.knot(span) > knots_.knot(p)) {
    s = multiplicity(span);
    u = knots_.knot(span);
  }
  nurbCurveC refined = *this;
  const int times = p - s + 1;
  if (times > 0) {
    std::vector<double> X(static_cast<std::size_t>(times), u);
    if (refined.refineKnots(X.data(), times) == 0) return 0;
  }
  const nurbKnotVectorC& K = refined.knots_;
  std::int64_t k = 0;
  while (k < K.count() && K.knot(k) < u) ++k;
  const std::int64_t total = refined.controlCount();
  if (k < 1 || k >= total) return 0;
  std::vector<double> kn;
  for (std::int64_t i = 0; i <= k + p; ++i) kn.push_back(K.knot(i));
  nurbCurveC a;
  a.knots_.setDegree(p);
  a.knots_.setKnots(kn.data(), static_cast<std::int64_t>(kn.size()));
  for (std::int64_t i = 0; i < k; ++i) a.points_.append(refined.controlPoint(i));
  kn.clear();
  for (std::int64_t i = k; i < K.count(); ++i) kn.push_back(K.knot(i));
  nurbCurveC b;
  b.knots_.setDegree(p);
  b.knots_.setKnots(kn.data(), static_cast<std::int64_t>(kn.size()));
  for (std::int64_t i = k; i < total; ++i) b.points_.append(refined.controlPoint(i));
  first = a;
  second = b;
  first.cache_.clearCache();
  second.cache_.clearCache();
  return 1;
}

namespace {
// The most that a way of computing elevated points may multiply the rounding of the points it
// starts from (a few units of 1e-16 of their size), so that the result stays within about 1e-10
// of the size of the control points.
constexpr double kMaxRoundingGrowth = 1e5;

// The coefficients that raise a Bezier segment of degree p by t: elevated point i is the sum over
// j of [i][j] times point j (a convex combination).
std::vector<std::vector<double>> bezierElevation(int p, int t) {
  const int ph = p + t;
  const int ph2 = ph / 2;
  std::vector<std::vector<double>> bezalfs(ph + 1, std::vector<double>(p + 1, 0.0));
  bezalfs[0][0] = bezalfs[ph][p] = 1.0;
  for (int i = 1; i <= ph2; ++i) {
    const double inv = 1.0 / binom(ph, i);
    const int mpi = std::min(p, i);
    for (int j = std::max(0, i - t); j <= mpi; ++j) {
      bezalfs[i][j] = inv * binom(p, j) * binom(t, i - j);
    }
  }
  for (int i = ph2 + 1; i <= ph - 1; ++i) {
    const int mpi = std::min(p, i);
    for (int j = std::max(0, i - t); j <= mpi; ++j) bezalfs[i][j] = bezalfs[ph - i][p - j];
  }
  return bezalfs;
}

// Degree elevation by t of one clamped piece of degree p whose interior knots repeat at most p
// times (the standard algorithm: Bezier segments extracted, elevated and their knots removed
// again): knots and the homogeneous points Pw give Uh and Qw. Returns a bound of how much the
// knot removal multiplied the rounding of the points: each removal step extrapolates by span
// ratios (a step across a span of length h next to one of length H has a coefficient near H / h),
// and the sums of the magnitudes of the coefficients are carried along with the points. Near 1
// for even knots; knots close to each other, or uneven knots at a high degree, make it large,
// and then Qw cannot be trusted. Computing the bound changes nothing in Uh and Qw.
double elevateClampedPiece(int p, int t, const std::vector<double>& knots,
                           const std::vector<mVec4dC>& Pw, std::vector<double>& Uh,
                           std::vector<mVec4dC>& Qw) {
  double growth = 1.0;
  const std::int64_t n = static_cast<std::int64_t>(Pw.size()) - 1;
  const std::int64_t m = n + p + 1;
  const int ph = p + t;
  auto U = [&](std::int64_t i) { return knots[static_cast<std::size_t>(i)]; };
  auto controlPoint = [&](std::int64_t i) { return Pw[static_cast<std::size_t>(i)]; };
  if (p == 0) {  // one constant piece: its point ph + 1 times
    Uh.assign(static_cast<std::size_t>(ph + 1), U(0));
    Uh.insert(Uh.end(), static_cast<std::size_t>(ph + 1), U(1));
    Qw.assign(static_cast<std::size_t>(ph + 1), controlPoint(0));
    return growth;
  }
  const std::vector<std::vector<double>> bezalfs = bezierElevation(p, t);
  std::vector<mVec4dC> bpts(p + 1), ebpts(ph + 1), nextbpts(std::max(p - 1, 1));
  std::vector<double> alfs(std::max(p - 1, 1));
  const std::size_t capacity = static_cast<std::size_t>((n + 2) * (t + 1) + ph + 2);
  Qw.assign(capacity, mVec4dC());
  Uh.assign(capacity + ph + 2, 0.0);
  // The growth bounds of Qw and of ebpts, element by element.
  std::vector<double> gQ(capacity, 1.0), gE(ph + 1, 1.0);

  std::int64_t mh = ph, kind = ph + 1, a = p, b = p + 1, cind = 1;
  int r = -1;
  double ua = U(0);
  Qw[0] = controlPoint(0);
  for (int i = 0; i <= ph; ++i) Uh[i] = ua;
  for (int i = 0; i <= p; ++i) bpts[i] = controlPoint(i);
  while (b < m) {
    const std::int64_t i0 = b;
    while (b < m && U(b) == U(b + 1)) ++b;
    const int mul = static_cast<int>(b - i0 + 1);
    mh = mh + mul + t;
    const double ub = U(b);
    const int oldr = r;
    r = p - mul;
    const int lbz = oldr > 0 ? (oldr + 2) / 2 : 1;
    const int rbz = r > 0 ? ph - (r + 1) / 2 : ph;
    if (r > 0) {
      const double numer = ub - ua;
      for (int k = p; k > mul; --k) alfs[k - mul - 1] = quotient(numer, U(a + k) - ua);
      for (int j = 1; j <= r; ++j) {
        const int save = r - j;
        const int s = mul + j;
        for (int k = p; k >= s; --k) bpts[k] = blend(alfs[k - s], bpts[k], bpts[k - 1]);
        nextbpts[save] = bpts[p];
      }
    }
    for (int i = lbz; i <= ph; ++i) {
      ebpts[i] = mVec4dC();
      gE[i] = 1.0;
      const int mpi = std::min(p, i);
      for (int j = std::max(0, i - t); j <= mpi; ++j) addInPlace4(ebpts[i], times4(bpts[j], bezalfs[i][j]));
    }
    if (oldr > 1) {
      std::int64_t first = kind - 2, last = kind;
      const double den = ub - ua;
      const double bet = quotient(ub - Uh[kind - 1], den);
      for (int tr = 1; tr < oldr; ++tr) {
        std::int64_t i = first, j = last, kj = j - kind + 1;
        while (j - i > tr) {
          if (i < cind) {
            const double alf = quotient(ub - Uh[i], ua - Uh[i]);
            Qw[i] = blend(alf, Qw[i], Qw[i - 1]);
            gQ[i] = std::fabs(alf) * gQ[i] + std::fabs(1.0 - alf) * gQ[i - 1];
            growth = std::max(growth, gQ[i]);
          }
          if (j >= lbz) {
            if (j - tr <= kind - ph + oldr) {
              const double gam = quotient(ub - Uh[j - tr], den);
              ebpts[kj] = blend(gam, ebpts[kj], ebpts[kj + 1]);
              gE[kj] = std::fabs(gam) * gE[kj] + std::fabs(1.0 - gam) * gE[kj + 1];
            } else {
              ebpts[kj] = blend(bet, ebpts[kj], ebpts[kj + 1]);
              gE[kj] = std::fabs(bet) * gE[kj] + std::fabs(1.0 - bet) * gE[kj + 1];
            }
          }
          ++i;
          --j;
          --kj;
        }
        --first;
        ++last;
      }
    }
    if (a != p) {
      for (int i = 0; i < ph - oldr; ++i) Uh[kind++] = ua;
    }
    for (int j = lbz; j <= rbz; ++j) {
      gQ[cind] = gE[j];
      growth = std::max(growth, gE[j]);
      Qw[cind++] = ebpts[j];
    }
    if (b < m) {
      for (int j = 0; j < r; ++j) bpts[j] = nextbpts[j];
      for (int j = r; j <= p; ++j) bpts[j] = controlPoint(b - p + j);
      a = b;
      ++b;
      ua = ub;
    } else {
      for (int i = 0; i <= ph; ++i) Uh[kind + i] = ub;
    }
  }
  const std::int64_t nh = mh - ph - 1;
  Uh.resize(static_cast<std::size_t>(nh + ph + 2));
  Qw.resize(static_cast<std::size_t>(nh + 1));
  return growth;
}

// The points of the elevated piece from the blossoms of the original one: point i of a spline of
// degree ph is the symmetric (blossom) form of its polynomial on any non-empty span of point i's
// support, taken at knots i + 1 .. i + ph. On the span [a, b] of the original knots the piece is
// a polynomial of degree p; its Bezier points on [a, b] (the blossom at a and b only, convex
// de Boor steps) elevated to degree ph (convex) give the elevated polynomial's Bezier points, and
// de Casteljau steps at the ph knots give the point. Only knots outside [a, b] extrapolate, each
// by 1 + 2 d / (b - a) at most for its distance d from the span; the span of the support that
// makes the product of these factors smallest is taken. No step divides by less than b - a, so
// close knots cost no accuracy. Uh are the elevated knots; Qw receives their points. Returns the
// largest product of extrapolation factors, the bound of how much the rounding grew.
double elevatedPointsByBlossoms(int p, int t, const std::vector<double>& U,
                                const std::vector<mVec4dC>& Pw, const std::vector<double>& Uh,
                                std::vector<mVec4dC>& Qw) {
  const int ph = p + t;
  const std::int64_t nh = static_cast<std::int64_t>(Uh.size()) - ph - 2;
  const std::vector<std::vector<double>> bezalfs = bezierElevation(p, t);
  std::vector<mVec4dC> d(p + 1), bezier(p + 1), elevated(ph + 1), work(ph + 1);
  std::int64_t bezierSpan = -1;  // the original span whose elevated Bezier points `elevated` holds
  double growth = 1.0;
  Qw.assign(static_cast<std::size_t>(nh + 1), mVec4dC());
  for (std::int64_t i = 0; i <= nh; ++i) {
    const double* x = Uh.data() + i + 1;  // the ph blossom arguments
    std::int64_t best = -1;
    double bestFactor = 0.0;
    for (std::int64_t j = std::max<std::int64_t>(i, ph); j <= std::min(i + ph, nh); ++j) {
      const double a = Uh[j], b = Uh[j + 1];
      if (!(a < b)) continue;
      double factor = 1.0;
      for (int r = 0; r < ph; ++r) {
        const double distance = x[r] < a ? a - x[r] : (x[r] > b ? x[r] - b : 0.0);
        factor *= 1.0 + 2.0 * distance / (b - a);
      }
      if (best < 0 || factor < bestFactor) {
        best = j;
        bestFactor = factor;
      }
    }
    growth = std::max(growth, bestFactor);
    const double a = Uh[best], b = Uh[best + 1];
    // The original span [U[s], U[s + 1]) = [a, b).
    const std::int64_t s = (std::upper_bound(U.begin(), U.end(), a) - U.begin()) - 1;
    if (s != bezierSpan) {
      for (int k = 0; k <= p; ++k) {  // Bezier point k: the blossom at a (p - k times), b (k)
        for (int l = 0; l <= p; ++l) d[l] = Pw[static_cast<std::size_t>(s - p + l)];
        for (int r = 1; r <= p; ++r) {
          const double xr = r <= p - k ? a : b;
          for (int l = p; l >= r; --l) {
            const double left = U[static_cast<std::size_t>(s - p + l)];
            const double right = U[static_cast<std::size_t>(s + 1 + l - r)];
            d[l] = blend((xr - left) / (right - left), d[l], d[l - 1]);
          }
        }
        bezier[k] = d[p];
      }
      for (int k = 0; k <= ph; ++k) {
        elevated[k] = mVec4dC();
        for (int j = std::max(0, k - t); j <= std::min(p, k); ++j) {
          addInPlace4(elevated[k], times4(bezier[j], bezalfs[k][j]));
        }
      }
      bezierSpan = s;
    }
    work = elevated;
    for (int r = 0; r < ph; ++r) {
      const double f = (x[r] - a) / (b - a);
      for (int k = 0; k < ph - r; ++k) work[k] = blend(f, work[k + 1], work[k]);
    }
    Qw[static_cast<std::size_t>(i)] = work[0];
  }
  return growth;
}

}  // namespace

int nurbCurveC::elevateDegree(int t) {
  if (t < 1) return 1;
  if (!isValid() || !knots_.isClamped()) return 0;
  const int p = degree();
  const int ph = p + t;
  // A knot value repeated p + 1 times or more parts the curve into pieces that share no basis
  // function; the standard elevation takes interior knots repeated at most p times. So each piece
  // between two such values (the clamped ends among them) is elevated on its own and the pieces
  // are laid end to end again, each parting value then repeated ph + 1 times. A point whose basis
  // function vanishes (one more for every repeat beyond p + 1) has no place in any piece and is
  // dropped; the curve stays the same.
  std::vector<double> Uh, pieceKnots, U;
  std::vector<mVec4dC> Qw, piecePoints, P;
  const std::int64_t count = knots_.count();
  std::int64_t previousRunEnd = -1;  // the last index of the run that starts the current piece
  for (std::int64_t i = 0; i < count;) {
    std::int64_t j = i;
    while (j + 1 < count && knots_.knot(j + 1) == knots_.knot(i)) ++j;
    if (j - i + 1 >= p + 1) {
      if (previousRunEnd >= 0) {
        // Points previousRunEnd - p .. i - 1 carry the basis functions between the two runs.
        U.assign(static_cast<std::size_t>(p + 1), knots_.knot(previousRunEnd));
        for (std::int64_t k = previousRunEnd + 1; k < i; ++k) U.push_back(knots_.knot(k));
        U.insert(U.end(), static_cast<std::size_t>(p + 1), knots_.knot(i));
        P.clear();
        for (std::int64_t k = previousRunEnd - p; k < i; ++k) P.push_back(controlPoint(k));
        // The standard points are kept where their rounding stayed small; elsewhere the
        // blossoms give them, unless their bound is too large as well (a high degree with close
        // knots), where the curve is left as it is.
        if (elevateClampedPiece(p, t, U, P, pieceKnots, piecePoints) > kMaxRoundingGrowth &&
            elevatedPointsByBlossoms(p, t, U, P, pieceKnots, piecePoints) > kMaxRoundingGrowth) {
          return 0;
        }
        // The piece's first ph + 1 knots are the last ph + 1 of the one before.
        Uh.insert(Uh.end(), pieceKnots.begin() + (Uh.empty() ? 0 : ph + 1), pieceKnots.end());
        Qw.insert(Qw.end(), piecePoints.begin(), piecePoints.end());
      }
      previousRunEnd = j;
    }
    i = j + 1;
  }
  const int wasClosed = closed();
  knots_.setDegree(ph);
  knots_.setKnots(Uh.data(), static_cast<std::int64_t>(Uh.size()));
  knots_.setClosed(wasClosed);
  setControlPoints(Qw.data(), static_cast<std::int64_t>(Qw.size()));
  return 1;
}

int nurbCurveC::join(const nurbCurveC& firstIn, const nurbCurveC& secondIn) {
  if (firstIn.degree() != secondIn.degree()) return 0;
  if (!firstIn.isValid() || !secondIn.isValid()) return 0;
  if (!firstIn.knots_.isClamped() || !secondIn.knots_.isClamped()) return 0;
  nurbCurveC a = firstIn;
  nurbCurveC b = secondIn;
  auto startOf = [](const nurbCurveC& c) { return projected(c.controlPoint(0)); };
  auto endOf = [](const nurbCurveC& c) { return projected(c.controlPoint(c.controlCount() - 1)); };
  auto meet = [](const mVec3dC& x, const mVec3dC& y) { return squaredDistance(x, y) <= 1e-16; };
  if (meet(endOf(a), startOf(b))) {
  } else if (meet(startOf(a), startOf(b))) {
    a.reverse();
  } else if (meet(startOf(a), endOf(b))) {
    a.reverse();
    b.reverse();
  } else if (meet(endOf(a), endOf(b))) {
    b.reverse();
  }
  if (!meet(endOf(a), startOf(b))) return 0;
  const int p = a.degree();
  const double shift = a.knots_.last() - b.knots_.first();
  // The second curve's weights scaled so its first weight equals the first's last one: the same
  // curve, and a shared point that needs no weight of its own.
  const double wa = a.controlPoint(a.controlCount() - 1).w;
  const double wb = b.controlPoint(0).w;
  const double scale = (wa != 0.0 && wb != 0.0) ? wa / wb : 1.0;
  std::vector<double> kn;
  for (std::int64_t i = 0; i + 1 < a.knots_.count(); ++i) kn.push_back(a.knots_.knot(i));
  for (std::int64_t i = p + 1; i < b.knots_.count(); ++i) kn.push_back(b.knots_.knot(i) + shift);
  std::vector<mVec4dC> pts;
  for (std::int64_t i = 0; i < a.controlCount(); ++i) pts.push_back(a.controlPoint(i));
  for (std::int64_t i = 1; i < b.controlCount(); ++i) pts.push_back(times4(b.controlPoint(i), scale));
  knots_.setDegree(p);
  knots_.setKnots(kn.data(), static_cast<std::int64_t>(kn.size()));
  setControlPoints(pts.data(), static_cast<std::int64_t>(pts.size()));
  knots_.setClosed(squaredDistance(projected(pts.front()), projected(pts.back())) < 1e-10);
  cache_.clearCache();
  return 1;
}

void nurbCurveC::makeLine(const mVec3dC& a, const mVec3dC& b) {
  const double knots[] = {0.0, 0.0, 1.0, 1.0};
  const mVec3dC points[] = {a, b};
  build(1, knots, 4, points, nullptr, 2);
}

void nurbCurveC::makeLineQuadratic(const mVec3dC& a, const mVec3dC& b) {
  const double knots[] = {0.0, 0.0, 0.0, 0.5, 1.0, 1.0, 1.0};
  const mVec3dC points[] = {a, a, b, b};
  build(2, knots, 7, points, nullptr, 4);
}

int nurbCurveC::makeArc(const mVec3dC& centre, const mVec3dC& xAxis, const mVec3dC& yAxis,
                        double start, double end, double radius) {
  // Beyond kMaxArcAngle a double resolves an angle to no better than about 1e-10, and raising end
  // by whole turns (each 2.4e-16 short of the true one) could no longer keep it where it was
  // asked; NaN fails the comparisons too.
  if (!(std::fabs(start) <= kMaxArcAngle) || !(std::fabs(end) <= kMaxArcAngle)) return 0;
  // Raising end by whole turns is done in one step on the sweep: adding 2 pi turn by turn never
  // ends for angles far apart, where 2 pi is below the precision of the angle.
  double sweep = end - start;
  if (sweep < 0.0) {
    sweep = std::fmod(sweep, 2.0 * kPi);
    if (sweep < 0.0) sweep += 2.0 * kPi;
    if (!(sweep >= 0.0 && sweep <= 2.0 * kPi)) sweep = 0.0;
  }
  // More than one turn is no arc (its middle weights would fall to zero and below). A sweep
  // above the turn by no more than the rounding of the angles is the full turn.
  if (sweep > 2.0 * kPi) {
    const double rounding = 4.0 * kEpsilon * std::max({std::fabs(start), std::fabs(end), 2.0 * kPi});
    if (sweep > 2.0 * kPi + rounding) return 0;
    sweep = 2.0 * kPi;
  }
  const int segments = sweep <= kPi / 2 ? 1 : sweep <= kPi ? 2 : sweep <= 3 * kPi / 2 ? 3 : 4;
  const double half = sweep / segments / 2.0;
  const double wm = std::cos(half);
  // The point at the angle start + offset, r from the centre: the offset turns the start
  // direction, so that a large start angle takes nothing from the small steps.
  const double c0 = std::cos(start), s0 = std::sin(start);
  auto at = [&](double offset, double r) {
    const double co = std::cos(offset), so = std::sin(offset);
    return plus(centre, plus(scaleBy(xAxis, r * (c0 * co - s0 * so)), scaleBy(yAxis, r * (s0 * co + c0 * so))));
  };
  std::vector<mVec3dC> points;
  std::vector<double> weights;
  std::vector<double> knots = {0.0, 0.0, 0.0};
  for (int s = 0; s < segments; ++s) {
    const double a0 = 2.0 * half * s;
    if (s == 0) {
      points.push_back(at(a0, radius));
      weights.push_back(1.0);
    }
    // The end tangents of the segment meet at radius / cos(half) on the middle direction.
    points.push_back(at(a0 + half, radius / wm));
    weights.push_back(wm);
    points.push_back(at(s + 1 == segments ? sweep : a0 + 2.0 * half, radius));
    weights.push_back(1.0);
    if (s + 1 < segments) {
      knots.push_back(static_cast<double>(s + 1) / segments);
      knots.push_back(static_cast<double>(s + 1) / segments);
    }
  }
  knots.insert(knots.end(), {1.0, 1.0, 1.0});
  return build(2, knots.data(), static_cast<std::int64_t>(knots.size()), points.data(),
               weights.data(), static_cast<std::int64_t>(points.size()));
}

void nurbCurveC::makeCircle(const mMat4dC& frame, double diameter) {
  static const double unit[9][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0},
                                    {-1, -1}, {0, -1}, {1, -1}, {1, 0}};
  const double knots[] = {0.0, 0.0, 0.0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1.0, 1.0, 1.0};
  mVec3dC points[9];
  double weights[9];
  const double r = diameter / 2.0;
  for (int i = 0; i < 9; ++i) {
    points[i] = frame.transformPoint(mVec3dC(unit[i][0] * r, unit[i][1] * r, 0.0));
    weights[i] = i % 2 == 0 ? 1.0 : 0.70710678118655;
  }
  build(2, knots, 12, points, weights, 9);
}
