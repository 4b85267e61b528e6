// Knot vectors: span search and B-spline basis functions.

#include "model3d/nurbKnotVector.h"

#include <algorithm>

namespace {
using nurbbasis::quotient;
}  // namespace

void nurbKnotVectorC::dropDescentsAround(std::int64_t i) {
  if (i > 0) descents_ -= descentAt(i);
  if (i + 1 < count()) descents_ -= descentAt(i + 1);
}

void nurbKnotVectorC::addDescentsAround(std::int64_t i) {
  if (i > 0) descents_ += descentAt(i);
  if (i + 1 < count()) descents_ += descentAt(i + 1);
}

void nurbKnotVectorC::setKnot(std::int64_t i, double value) {
  dropDescentsAround(i);
  knots_[static_cast<std::size_t>(i)] = value;
  flat_[static_cast<std::size_t>(i)] = value;
  addDescentsAround(i);
}

void nurbKnotVectorC::append(double value) {
  // Both copies grow or neither: a failed allocation leaves the vector as it was.
  flat_.push_back(value);
  try {
    knots_.append(value);
  } catch (...) {
    flat_.pop_back();
    throw;
  }
  if (count() > 1) descents_ += descentAt(count() - 1);
}

void nurbKnotVectorC::setKnots(const double* values, std::int64_t n) {
  knots_.reset();
  flat_.clear();
  descents_ = 0;
  for (std::int64_t i = 0; i < n; ++i) append(values[i]);
}

void nurbKnotVectorC::resize(std::int64_t n) {
  const std::int64_t old = count();
  if (n < 0) n = 0;
  // Both allocations come first, and each leaves everything as it was when it fails.
  flat_.reserve(static_cast<std::size_t>(n));
  knots_.resize(static_cast<std::size_t>(std::max(n, old)));
  // The pairs that end beyond the new count go; the new knots (zeros) come in pair by pair.
  for (std::int64_t i = old - 1; i >= n && i >= 1; --i) descents_ -= descentAt(i);
  knots_.resize(static_cast<std::size_t>(n));
  flat_.resize(static_cast<std::size_t>(n), 0.0);
  for (std::int64_t i = old; i < n; ++i) {
    knots_[static_cast<std::size_t>(i)] = 0.0;
    if (i > 0) descents_ += descentAt(i);
  }
}

int nurbKnotVectorC::isClamped() const {
  const std::int64_t p = degree_;
  const std::int64_t n = count();
  if (p < 0 || n < 2 * p + 2) return 0;
  for (std::int64_t i = 1; i <= p; ++i) {
    if (knot(i) != knot(0) || knot(n - 1 - i) != knot(n - 1)) return 0;
  }
  return 1;
}

std::int64_t nurbKnotVectorC::bisectSpan(double u, std::int64_t p, std::int64_t n) const {
  // Bisection keeping knots[low] <= u < knots[high]; it halves the interval every time, so it
  // ends even for knots that are out of order.
  std::int64_t low = 0;
  std::int64_t high = n;
  while (high - low > 1) {
    const std::int64_t mid = low + (high - low) / 2;
    if (u < knot(mid)) {
      high = mid;
    } else {
      low = mid;
    }
  }
  return std::clamp(low, p, n - 2);
}

int nurbKnotVectorC::multiplicity(std::int64_t k) const {
  if (k < 0 || k >= count()) return 0;
  int m = 1;
  for (std::int64_t i = k - 1; i >= degree_ + 1 && knot(i) == knot(k); --i) ++m;
  return m;
}

void nurbKnotVectorC::basisFunctionsOnHeap(double u, std::int64_t span, double* N) const {
  nurbBasisRoomC left(degree_), right(degree_);
  nurbbasis::triangle(flat_.data(), u, span, degree_, N, left.data(), right.data());
}

double nurbKnotVectorC::basisValue(double u, std::int64_t i, int p) const {
  const std::int64_t m = count() - 1;
  if (i < 0 || p < 0 || i + p + 1 > m) return 0.0;
  const std::int64_t n = m + 1 - p;  // i + p + 1 <= m: at least one span
  if ((i == firstSpan(p, n) - p && u == knot(0)) || (i == lastSpan(p, n) && u == knot(m))) {
    return 1.0;
  }
  if (u < knot(i) || u >= knot(i + p + 1)) return 0.0;
  nurbBasisRoomC N(p);
  for (int j = 0; j <= p; ++j) N[j] = (u >= knot(i + j) && u < knot(i + j + 1)) ? 1.0 : 0.0;
  for (int k = 1; k <= p; ++k) {
    double saved = N[0] == 0.0 ? 0.0 : quotient((u - knot(i)) * N[0], knot(i + k) - knot(i));
    for (int j = 0; j < p - k + 1; ++j) {
      const double uLeft = knot(i + j + 1);
      const double uRight = knot(i + j + k + 1);
      if (N[j + 1] == 0.0) {
        N[j] = saved;
        saved = 0.0;
      } else {
        const double temp = quotient(N[j + 1], uRight - uLeft);
        N[j] = saved + (uRight - u) * temp;
        saved = (u - uLeft) * temp;
      }
    }
  }
  return N[0];
}

void nurbKnotVectorC::basisDerivatives(double u, std::int64_t span, int order,
                                       std::vector<double>& ders) const {
  const int p = degree_;
  if (p < 0 || order < 0) {
    ders.clear();
    return;
  }
  const int cols = p + 1;
  ders.assign(static_cast<std::size_t>(order + 1) * cols, 0.0);
  if (span < p || span + p + 1 > count()) return;
  const int n = std::min(order, p);
  auto D = [&](int k, int j) -> double& { return ders[static_cast<std::size_t>(k) * cols + j]; };

  std::vector<double> nduStore(static_cast<std::size_t>(cols) * cols, 0.0);
  auto ndu = [&](int a, int b) -> double& { return nduStore[static_cast<std::size_t>(a) * cols + b]; };
  std::vector<double> left(cols), right(cols);
  ndu(0, 0) = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - knot(span + 1 - j);
    right[j] = knot(span + j) - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      ndu(j, r) = right[r + 1] + left[j - r];  // knot differences
      const double temp = quotient(ndu(r, j - 1), ndu(j, r));
      ndu(r, j) = saved + right[r + 1] * temp;  // basis values
      saved = left[j - r] * temp;
    }
    ndu(j, j) = saved;
  }
  for (int j = 0; j <= p; ++j) D(0, j) = ndu(j, p);

  std::vector<double> aStore(2 * static_cast<std::size_t>(cols), 0.0);
  auto a = [&](int s, int j) -> double& { return aStore[static_cast<std::size_t>(s) * cols + j]; };
  for (int r = 0; r <= p; ++r) {
    int s1 = 0, s2 = 1;
    a(0, 0) = 1.0;
    for (int k = 1; k <= n; ++k) {
      double d = 0.0;
      const int rk = r - k;
      const int pk = p - k;
      if (r >= k) {
        a(s2, 0) = quotient(a(s1, 0), ndu(pk + 1, rk));
        d = a(s2, 0) * ndu(rk, pk);
      }
      const int j1 = rk >= -1 ? 1 : -rk;
      const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
      for (int j = j1; j <= j2; ++j) {
        a(s2, j) = quotient(a(s1, j) - a(s1, j - 1), ndu(pk + 1, rk + j));
        d += a(s2, j) * ndu(rk + j, pk);
      }
      if (r <= pk) {
        a(s2, k) = quotient(-a(s1, k - 1), ndu(pk + 1, r));
        d += a(s2, k) * ndu(r, pk);
      }
      D(k, r) = d;
      std::swap(s1, s2);
    }
  }
  double factor = p;
  for (int k = 1; k <= n; ++k) {
    for (int j = 0; j <= p; ++j) D(k, j) *= factor;
    factor *= (p - k);
  }
}
