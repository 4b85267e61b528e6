#pragma once
// nurbBinomialTableC: a rows x cols table of binomial coefficients for the rational derivative
// rules. The process keeps one for curves and one for surfaces, built on first use and rebuilt
// when a request needs another size; they are released at process end. Not thread-safe, like
// the rest of the model.

#include "meta/realMatrix.h"

class nurbBinomialTableC {
public:
  // Row 0 is (1, 0, ...); row i + 1 has 1 in column 0 and (i, j) + (i, j - 1) for 1 <= j <= i + 1.
  void build(int rows, int cols);
  // Rebuilds unless the table has exactly this size.
  void ensure(int rows, int cols);
  double at(int i, int j) const { return table_.at(i, j); }
  int rows() const { return static_cast<int>(table_.rows()); }
  int cols() const { return static_cast<int>(table_.cols()); }

  static nurbBinomialTableC& forCurves();
  static nurbBinomialTableC& forSurfaces();

private:
  realMatrixC table_;
};
