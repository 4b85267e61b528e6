#include "meta/realArray.h"

#include <algorithm>
#include <utility>

realArrayC::realArrayC(std::int64_t count) {
    if (count > 0) {
        data_ = new double[count]();
        count_ = count;
    }
}

realArrayC::realArrayC(std::int64_t count, const double* values) {
    if (count > 0 && values) {
        data_ = new double[count];
        std::copy(values, values + count, data_);
        count_ = count;
    }
}

realArrayC::realArrayC(const realArrayC& other) : realArrayC(other.count_, other.data_) {}

realArrayC& realArrayC::operator=(const realArrayC& other) {
    if (this == &other) return *this;
    realArrayC copy(other);
    *this = std::move(copy);
    return *this;
}

realArrayC::realArrayC(realArrayC&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), count_(std::exchange(other.count_, 0)) {}

realArrayC& realArrayC::operator=(realArrayC&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}

void realArrayC::resize(std::int64_t n) {
    if (n <= 0) {
        release();
        return;
    }
    double* fresh = new double[n]();
    std::copy(data_, data_ + std::min(count_, n), fresh);
    delete[] data_;
    data_ = fresh;
    count_ = n;
}

void realArrayC::release() {
    delete[] data_;
    data_ = nullptr;
    count_ = 0;
}
