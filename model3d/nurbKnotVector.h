#pragma once
// nurbKnotVectorC: one parameter direction of a NURBS curve or surface: closed flag, degree p and
// the non-decreasing knots, with the span search and the B-spline basis functions on them. A
// plain value type that owns its knot pool. Besides the pool it keeps, up to date with every
// change, a contiguous copy of the knots and the number of places where they are out of order,
// so that validity and span search cost no walk over the knots. It holds no cache of the
// geometry (its owner clears its own).

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/pagedArray.h"

class nurbKnotVectorC {
public:
  int closed() const { return closed_; }
  void setClosed(int closed) { closed_ = closed; }
  int degree() const { return degree_; }
  void setDegree(int p) { degree_ = p; }

  std::int64_t count() const { return static_cast<std::int64_t>(knots_.size()); }
  double knot(std::int64_t i) const { return flat_[static_cast<std::size_t>(i)]; }
  // Knot edits; a failed allocation leaves the vector as it was.
  void setKnot(std::int64_t i, double value);
  void setKnots(const double* values, std::int64_t n);
  void resize(std::int64_t n);
  void append(double value);
  const pagedArrayC<double>& knots() const { return knots_; }
  double first() const { return count() == 0 ? 0.0 : knot(0); }
  double last() const { return count() == 0 ? 0.0 : knot(count() - 1); }

  // 1 when the knots fit `controlCount` points: p >= 0, controlCount >= p + 1, count =
  // controlCount + p + 1, non-decreasing (a NaN knot is in no order), and knots[p] <
  // knots[controlCount]. Evaluation of a direction that does not fit gives zeros. Constant time.
  int fits(std::int64_t controlCount) const {
    const std::int64_t p = degree_;
    if (p < 0 || controlCount < p + 1 || count() != controlCount + p + 1) return 0;
    if (descents_ != 0) return 0;
    return knot(p) < knot(controlCount) ? 1 : 0;
  }
  // 1 when the first p + 1 and the last p + 1 knots are equal.
  int isClamped() const;

  // Closed: one wrap (u > u1 -> u0 + (u - u1), then u < u0 -> u1 - (u0 - u)); open: clamped.
  double normalise(double u) const {
    if (count() == 0) return u;
    const double u0 = first();
    const double u1 = last();
    if (closed_ != 0) {
      if (u > u1) u = u0 + (u - u1);
      if (u < u0) u = u1 - (u0 - u);
      return u;
    }
    return u < u0 ? u0 : (u > u1 ? u1 : u);
  }
  // With n = count - p: the last non-empty span up to n - 2 for u >= knots[n - 1], the first
  // non-empty span from p on for u <= knots[p], else the s with knots[s] <= u < knots[s + 1]
  // found by bisection from 0 to n. The ends are n - 2 and p unless an end knot repeats more
  // than p + 1 times; the span next to it is then empty, and the one beyond gives the curve's
  // limit at that end. Always in [p, n - 2] and always ends, whatever the knots.
  std::int64_t findSpan(double u) const {
    const std::int64_t p = degree_ < 0 ? 0 : degree_;
    const std::int64_t n = count() - p;
    if (n - 2 < p) return p;  // too few knots for any span
    if (u >= knot(n - 1)) return lastSpan(p, n);
    if (u <= knot(p)) return firstSpan(p, n);
    if (descents_ != 0) return bisectSpan(u, p, n);
    // Knots in order hold exactly one s in (p, n - 1) with knots[s] <= u < knots[s + 1] (here
    // knots[p] < u < knots[n - 1]): the last knot not above u, the one any bisection finds.
    const double* k = flat_.data();
    return (std::upper_bound(k + p + 1, k + n - 1, u) - k) - 1;
  }
  // 1 plus the immediately preceding knots equal to knots[k], counting down to index p + 1.
  int multiplicity(std::int64_t k) const;
  // The p + 1 non-zero basis values at u in the span (zeros for a span out of range). A zero
  // knot difference counts as 0. Allocates nothing up to degree nurbBasisRoomC::stackDegree.
  // Inline, below.
  void basisFunctions(double u, std::int64_t span, double* N) const;
  // The single basis function N(i, p) at u (0 for an index out of range). At the first knot the
  // function of the first non-empty span is 1, at the last knot that of the last one: the limits
  // that pointAt takes there.
  double basisValue(double u, std::int64_t i, int p) const;
  // ders[k * (p + 1) + j]: the k-th derivative of the j-th non-zero basis function, k up to
  // order (rows above p are zero); (order + 1) * (p + 1) values.
  void basisDerivatives(double u, std::int64_t span, int order, std::vector<double>& ders) const;

private:
  // The first (last) s in [p, n - 2] with knots[s] < knots[s + 1], n = count - p; p (n - 2) when
  // there is none. One step for each knot an end repeats beyond p + 1.
  std::int64_t firstSpan(std::int64_t p, std::int64_t n) const {
    std::int64_t s = p;
    while (s < n - 2 && !(knot(s) < knot(s + 1))) ++s;
    return s == n - 2 && !(knot(s) < knot(s + 1)) ? p : s;
  }
  std::int64_t lastSpan(std::int64_t p, std::int64_t n) const {
    std::int64_t s = n - 2;
    while (s > p && !(knot(s) < knot(s + 1))) --s;
    return s == p && !(knot(s) < knot(s + 1)) ? n - 2 : s;
  }
  // findSpan for knots out of order: bisection from 0 to n, clamped to [p, n - 2].
  std::int64_t bisectSpan(double u, std::int64_t p, std::int64_t n) const;
  // basisFunctions above degree nurbBasisRoomC::stackDegree.
  void basisFunctionsOnHeap(double u, std::int64_t span, double* N) const;
  // 1 when knots i - 1 and i are out of order (i in [1, count)).
  int descentAt(std::int64_t i) const { return !(knot(i - 1) <= knot(i)); }
  // descents_ without the pairs (i - 1, i) and (i, i + 1), for an edit of knot i.
  void dropDescentsAround(std::int64_t i);
  void addDescentsAround(std::int64_t i);

  std::int32_t closed_ = 0;
  std::int32_t degree_ = 0;
  pagedArrayC<double> knots_{3};
  // The same knots in one block: a span search reads one element per step, not a page pointer
  // and then the element.
  std::vector<double> flat_;
  // The number of i in [1, count) with !(knots[i - 1] <= knots[i]).
  std::int64_t descents_ = 0;
};

// Room for the p + 1 values of one direction's basis (or its knot differences): on the stack up
// to degree stackDegree, on the heap above it. Not copyable; `data` lives as long as the room.
class nurbBasisRoomC {
public:
  static constexpr int stackDegree = 15;
  explicit nurbBasisRoomC(int degree) {
    if (degree > stackDegree) {
      heap_.reset(new double[static_cast<std::size_t>(degree) + 1]());
      data_ = heap_.get();
    }
  }
  nurbBasisRoomC(const nurbBasisRoomC&) = delete;
  nurbBasisRoomC& operator=(const nurbBasisRoomC&) = delete;
  double* data() { return data_; }
  double& operator[](int i) { return data_[i]; }

private:
  double local_[stackDegree + 1];
  std::unique_ptr<double[]> heap_;
  double* data_ = local_;
};

namespace nurbbasis {
// A zero knot difference occurs only for spans that carry no basis; its quotient counts as 0.
inline double quotient(double a, double b) { return b == 0.0 ? 0.0 : a / b; }

// The Cox-de Boor triangle of the p + 1 basis values of a span, k the knots; left and right are
// scratch of p + 1 doubles each, apart from N.
inline void triangle(const double* k, double u, std::int64_t span, int p, double* N,
                     double* left, double* right) {
  N[0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = u - k[span + 1 - j];
    right[j] = k[span + j] - u;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      const double temp = quotient(N[r], right[r + 1] + left[j - r]);
      N[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    N[j] = saved;
  }
}
}  // namespace nurbbasis

// Inline: the evaluators call it for every point.
inline void nurbKnotVectorC::basisFunctions(double u, std::int64_t span, double* N) const {
  const int p = degree_;
  if (p < 0) return;
  if (span < p || span + p + 1 > count()) {
    std::fill(N, N + p + 1, 0.0);
    return;
  }
  if (p > nurbBasisRoomC::stackDegree) {
    basisFunctionsOnHeap(u, span, N);
    return;
  }
  // Plain local arrays: the compiler sees that they share no memory with N.
  double left[nurbBasisRoomC::stackDegree + 1], right[nurbBasisRoomC::stackDegree + 1];
  nurbbasis::triangle(flat_.data(), u, span, p, N, left, right);
}
