#pragma once
// nurbKnotVectorC: one parameter direction of a NURBS curve or surface: closed flag, degree p and
// the non-decreasing knots, with the span search and the B-spline basis functions on them. A
// plain value type that owns its knot pool; it holds no cache (its owner clears its own).

#include <cstdint>
#include <vector>

#include "foundation/pagedArray.h"

class nurbKnotVectorC {
public:
  int closed() const { return closed_; }
  void setClosed(int closed) { closed_ = closed; }
  int degree() const { return degree_; }
  void setDegree(int p) { degree_ = p; }

  std::int64_t count() const { return static_cast<std::int64_t>(knots_.size()); }
  double knot(std::int64_t i) const { return knots_[static_cast<std::size_t>(i)]; }
  void setKnot(std::int64_t i, double value) { knots_[static_cast<std::size_t>(i)] = value; }
  void setKnots(const double* values, std::int64_t n);
  void resize(std::int64_t n);
  void append(double value) { knots_.append(value); }
  const pagedArrayC<double>& knots() const { return knots_; }
  double first() const { return count() == 0 ? 0.0 : knot(0); }
  double last() const { return count() == 0 ? 0.0 : knot(count() - 1); }

  // 1 when the knots fit `controlCount` points: p >= 0, controlCount >= p + 1, count =
  // controlCount + p + 1, non-decreasing, and knots[p] < knots[controlCount]. Evaluation of a
  // direction that does not fit gives zeros.
  int fits(std::int64_t controlCount) const;
  // 1 when the first p + 1 and the last p + 1 knots are equal.
  int isClamped() const;

  // Closed: one wrap (u > u1 -> u0 + (u - u1), then u < u0 -> u1 - (u0 - u)); open: clamped.
  double normalise(double u) const;
  // With n = count - p: n - 2 for u >= knots[n - 1], p for u <= knots[p], else the s with
  // knots[s] <= u < knots[s + 1]. Always in [p, n - 2] and always ends, whatever the knots.
  std::int64_t findSpan(double u) const;
  // 1 plus the immediately preceding knots equal to knots[k], counting down to index p + 1.
  int multiplicity(std::int64_t k) const;
  // The p + 1 non-zero basis values at u in the span. A zero knot difference counts as 0.
  void basisFunctions(double u, std::int64_t span, double* N) const;
  // The single basis function N(i, p) at u (0 for an index out of range).
  double basisValue(double u, std::int64_t i, int p) const;
  // ders[k * (p + 1) + j]: the k-th derivative of the j-th non-zero basis function, k up to
  // order (rows above p are zero); (order + 1) * (p + 1) values.
  void basisDerivatives(double u, std::int64_t span, int order, std::vector<double>& ders) const;

private:
  std::int32_t closed_ = 0;
  std::int32_t degree_ = 0;
  pagedArrayC<double> knots_{3};
};
