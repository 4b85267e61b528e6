#include "meta/mMatrixProduct.h"

#include <cstdint>

int multiplyMatrices(const double* A, int colsA, int rowsA, const double* B, int colsB, int rowsB,
                     double* C) {
    if (colsA != rowsB || colsA < 0 || rowsA < 0 || colsB < 0) return 0;
    // 64-bit index arithmetic: rowsA * colsB may exceed what an int holds.
    const std::int64_t ra = rowsA, rb = rowsB;
    for (std::int64_t i = 0; i < ra * colsB; ++i) C[i] = 0.0;
    for (std::int64_t j = 0; j < colsB; ++j)
        for (std::int64_t i = 0; i < ra; ++i) {
            double sum = 0.0;
            for (std::int64_t k = 0; k < colsA; ++k) sum += A[i + ra * k] * B[k + rb * j];
            C[i + ra * j] = sum;
        }
    return 1;
}
