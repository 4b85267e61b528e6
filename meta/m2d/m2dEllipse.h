#pragma once
// m2dEllipseC: the 2D drawing's view of a "ELLIPSE" item: the common 2D base joined with the geometry of
// mBaseEllipse2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseEllipse2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dEllipseC : public m2dShapeBaseC, public mBaseEllipse2dC {
public:
    static constexpr int classDepth = mBaseEllipse2dC::classDepth + 1;
    static const char* classKey() { return "ELLIPSE"; }
    // 1 when the node's value is the key word "ELLIPSE".
    static int isKindOf(const metaTreeC* node);

    m2dEllipseC() = default;
    explicit m2dEllipseC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseEllipse2dC(node, owns, 0) {}
    explicit m2dEllipseC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
