#pragma once
// mBaseIntCrvC: the dimension-free part of an interpolated curve: the curve is its node's "POINT"
// children in order. It shares the view's node handle and holds nothing of its own.

#include <cstdint>

#include "meta/metaObjectVirtualDataBase.h"

class mBaseIntCrvC : public virtual metaObjectVirtualDataBaseC {
public:
    ~mBaseIntCrvC() override = default;
    // Number of "POINT" children; 0 when unbound.
    std::int64_t pointCount() const;
};
