#pragma once
// m2dIntCrvC: the 2D drawing's view of a "ICRV2D" item: the common 2D base joined with the geometry of
// mBaseIntCrv2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseIntCrv2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dIntCrvC : public m2dShapeBaseC, public mBaseIntCrv2dC {
public:
    static constexpr int classDepth = mBaseIntCrv2dC::classDepth + 1;
    static const char* classKey() { return "ICRV2D"; }
    // 1 when the node's value is the key word "ICRV2D".
    static int isKindOf(const metaTreeC* node);

    m2dIntCrvC() = default;
    explicit m2dIntCrvC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseIntCrv2dC(node, owns, 0) {}
    explicit m2dIntCrvC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
