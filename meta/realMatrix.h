#pragma once
// realMatrixC: a dense matrix of doubles {data, rows, cols}, row-major (element (r, c) at
// r * cols + c); owns its buffer, absent while rows * cols is 0. Copies are deep.

#include <cstdint>

class realMatrixC {
public:
    realMatrixC() = default;
    // rows x cols, every element 0.0 (no buffer when either is 0 or negative).
    realMatrixC(std::int64_t rows, std::int64_t cols);
    realMatrixC(const realMatrixC& other);
    realMatrixC& operator=(const realMatrixC& other);
    realMatrixC(realMatrixC&& other) noexcept;
    realMatrixC& operator=(realMatrixC&& other) noexcept;
    ~realMatrixC() { release(); }

    std::int64_t rows() const { return rows_; }
    std::int64_t cols() const { return cols_; }
    std::int64_t elementCount() const { return rows_ * cols_; }
    // No bounds check: the caller keeps (r, c) inside the shape.
    void set(std::int64_t r, std::int64_t c, double value) { data_[r * cols_ + c] = value; }
    double at(std::int64_t r, std::int64_t c) const { return data_[r * cols_ + c]; }
    double* data() { return data_; }
    const double* data() const { return data_; }

    // Every element := value; returns the element count.
    std::int64_t fill(double value);
    // Frees the buffer; rows and cols 0.
    void release();
    // Nothing when the shape agrees; rows * cols = 0 releases; else a new buffer in which the
    // block common to the old and the new shape keeps its values and every other cell is 0.0.
    void resize(std::int64_t rows, std::int64_t cols);

private:
    double* data_ = nullptr;
    std::int64_t rows_ = 0;
    std::int64_t cols_ = 0;
};
