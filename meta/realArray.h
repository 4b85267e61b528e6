#pragma once
// realArrayC: a growable array of doubles {data, count}; owns its buffer, which is absent while
// the count is 0. Copies are deep.

#include <cstdint>

class realArrayC {
public:
    realArrayC() = default;
    // `count` zeros (no buffer for 0 or a negative count).
    explicit realArrayC(std::int64_t count);
    // A copy of `count` values of `values` (no buffer for count <= 0 or a null array).
    realArrayC(std::int64_t count, const double* values);
    realArrayC(const realArrayC& other);
    realArrayC& operator=(const realArrayC& other);
    realArrayC(realArrayC&& other) noexcept;
    realArrayC& operator=(realArrayC&& other) noexcept;
    ~realArrayC() { release(); }

    std::int64_t count() const { return count_; }
    // Element address; no bounds check (the caller keeps i in [0, count)).
    double& at(std::int64_t i) { return data_[i]; }
    const double& at(std::int64_t i) const { return data_[i]; }
    double* data() { return data_; }
    const double* data() const { return data_; }

    // New buffer of n values: the first min(old, n) kept, the others 0.0; n <= 0 frees.
    void resize(std::int64_t n);
    // Frees the buffer; count 0.
    void release();

private:
    double* data_ = nullptr;
    std::int64_t count_ = 0;
};
