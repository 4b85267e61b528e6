// Binomial coefficient tables for the rational derivative rules.

#include "model3d/nurbBinomialTable.h"

void nurbBinomialTableC::build(int rows, int cols) {
  table_.release();
  if (rows <= 0 || cols <= 0) return;
  table_.resize(rows, cols);  // zeros
  table_.set(0, 0, 1.0);
  for (int i = 0; i + 1 < rows; ++i) {
    table_.set(i + 1, 0, 1.0);
    for (int j = 1; j < cols; ++j) {
      table_.set(i + 1, j, j <= i + 1 ? table_.at(i, j) + table_.at(i, j - 1) : 0.0);
    }
  }
}

void nurbBinomialTableC::ensure(int rows, int cols) {
  if (table_.rows() != rows || table_.cols() != cols) build(rows, cols);
}

nurbBinomialTableC& nurbBinomialTableC::forCurves() {
  static nurbBinomialTableC table;
  return table;
}

nurbBinomialTableC& nurbBinomialTableC::forSurfaces() {
  static nurbBinomialTableC table;
  return table;
}
