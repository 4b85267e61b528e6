#include "meta/realMatrix.h"

#include <algorithm>
#include <utility>

realMatrixC::realMatrixC(std::int64_t rows, std::int64_t cols) {
    if (rows > 0 && cols > 0) {
        data_ = new double[rows * cols]();
        rows_ = rows;
        cols_ = cols;
    }
}

realMatrixC::realMatrixC(const realMatrixC& other) : realMatrixC(other.rows_, other.cols_) {
    if (data_) std::copy(other.data_, other.data_ + elementCount(), data_);
}

realMatrixC& realMatrixC::operator=(const realMatrixC& other) {
    if (this == &other) return *this;
    realMatrixC copy(other);
    *this = std::move(copy);
    return *this;
}

realMatrixC::realMatrixC(realMatrixC&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      rows_(std::exchange(other.rows_, 0)),
      cols_(std::exchange(other.cols_, 0)) {}

realMatrixC& realMatrixC::operator=(realMatrixC&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        rows_ = std::exchange(other.rows_, 0);
        cols_ = std::exchange(other.cols_, 0);
    }
    return *this;
}

std::int64_t realMatrixC::fill(double value) {
    std::fill(data_, data_ + elementCount(), value);
    return elementCount();
}

void realMatrixC::release() {
    delete[] data_;
    data_ = nullptr;
    rows_ = 0;
    cols_ = 0;
}

void realMatrixC::resize(std::int64_t rows, std::int64_t cols) {
    if (rows == rows_ && cols == cols_) return;
    if (rows <= 0 || cols <= 0) {
        release();
        return;
    }
    double* fresh = new double[rows * cols]();
    const std::int64_t keepRows = std::min(rows, rows_), keepCols = std::min(cols, cols_);
    for (std::int64_t r = 0; r < keepRows; ++r)
        for (std::int64_t c = 0; c < keepCols; ++c) fresh[r * cols + c] = data_[r * cols_ + c];
    delete[] data_;
    data_ = fresh;
    rows_ = rows;
    cols_ = cols;
}
