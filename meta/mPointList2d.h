#pragma once
// mPointList2dC: growing array of 2D points kept in blocks, the output of the shapes'
// tessellation. When the array is full it grows by one more block of its block size; a new point
// starts at (0, 0). The list owns its points.

#include <cstdint>
#include <vector>

#include "meta/mVec2d.h"

class mPointList2dC {
public:
    explicit mPointList2dC(std::int64_t blockSize = 64) : blockSize_(blockSize > 0 ? blockSize : 64) {}

    std::int64_t count() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Forgets the points; the blocks are kept for reuse.
    void clear() { count_ = 0; }
    // Appends a new point at (0, 0) and returns it. Points never move once appended.
    mVec2dC& appendNew();
    void append(const mVec2dC& p) { appendNew() = p; }
    // The caller keeps i in [0, count).
    mVec2dC& at(std::int64_t i) { return blocks_[std::size_t(i / blockSize_)][std::size_t(i % blockSize_)]; }
    const mVec2dC& at(std::int64_t i) const {
        return blocks_[std::size_t(i / blockSize_)][std::size_t(i % blockSize_)];
    }
    // A copy of the points in order.
    std::vector<mVec2dC> points() const;

private:
    std::int64_t blockSize_;
    std::int64_t count_ = 0;
    std::vector<std::vector<mVec2dC>> blocks_;  // each of blockSize_ points
};
