#pragma once
// m2dBaseObjC: base of every view of the 2D drawing model; no data, no virtual operations of its
// own. Owns its node only when built with owns set.

#include "meta/metaObjPoint2d.h"
#include "meta/metaObject.h"

class m2dBaseObjC : public metaObjectC {
public:
    static constexpr int classDepth = metaObjectC::classDepth + 1;

    m2dBaseObjC() = default;
    explicit m2dBaseObjC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjectC(node, owns, buildVirtualBase) {}

    // The point view (not owning) of the object's "POINT" child, created when absent; unbound
    // when this view is.
    metaObjPoint2dC pointObj() const { return metaObjPoint2dC(findOrAddChild("POINT"), 0); }
};
