#include "meta/mPointList2d.h"

mVec2dC& mPointList2dC::appendNew() {
    if (count_ == std::int64_t(blocks_.size()) * blockSize_)
        blocks_.emplace_back(std::size_t(blockSize_));
    mVec2dC& p = at(count_++);
    p.set(0.0, 0.0);
    return p;
}

std::vector<mVec2dC> mPointList2dC::points() const {
    std::vector<mVec2dC> all;
    all.reserve(std::size_t(count_));
    for (std::int64_t i = 0; i < count_; ++i) all.push_back(at(i));
    return all;
}
