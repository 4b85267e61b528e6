#pragma once
// multiplyMatrices: the general product of dense column-major matrices that every transform goes
// through. The caller owns all three arrays.

// C = A B, with A of rowsA x colsA, B of rowsB x colsB and C of rowsA x colsB, all column-major
// (element (r, c) of A at r + rowsA c). Returns 0 and leaves C untouched when colsA differs from
// rowsB or a size is negative; else C is set to 0.0 and filled, and 1 is returned. C must not
// share storage with A or B.
int multiplyMatrices(const double* A, int colsA, int rowsA, const double* B, int colsB, int rowsB,
                     double* C);
