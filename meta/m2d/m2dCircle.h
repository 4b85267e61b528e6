#pragma once
// m2dCircleC: the 2D drawing's view of a "CIRCLE" item: the common 2D base joined with the geometry of
// mBaseCircle2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseCircle2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dCircleC : public m2dShapeBaseC, public mBaseCircle2dC {
public:
    static constexpr int classDepth = mBaseCircle2dC::classDepth + 1;
    static const char* classKey() { return "CIRCLE"; }
    // 1 when the node's value is the key word "CIRCLE".
    static int isKindOf(const metaTreeC* node);

    m2dCircleC() = default;
    explicit m2dCircleC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseCircle2dC(node, owns, 0) {}
    explicit m2dCircleC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
