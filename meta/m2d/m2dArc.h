#pragma once
// m2dArcC: the 2D drawing's view of a "ARC" item: the common 2D base joined with the geometry of
// mBaseArc2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseArc2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dArcC : public m2dShapeBaseC, public mBaseArc2dC {
public:
    static constexpr int classDepth = mBaseArc2dC::classDepth + 1;
    static const char* classKey() { return "ARC"; }
    // 1 when the node's value is the key word "ARC".
    static int isKindOf(const metaTreeC* node);

    m2dArcC() = default;
    explicit m2dArcC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseArc2dC(node, owns, 0) {}
    explicit m2dArcC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
