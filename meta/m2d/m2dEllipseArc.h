#pragma once
// m2dEllipseArcC: the 2D drawing's view of a "ELLIPSEARC" item: the common 2D base joined with the geometry of
// mBaseEllipseArc2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseEllipseArc2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dEllipseArcC : public m2dShapeBaseC, public mBaseEllipseArc2dC {
public:
    static constexpr int classDepth = mBaseEllipseArc2dC::classDepth + 1;
    static const char* classKey() { return "ELLIPSEARC"; }
    // 1 when the node's value is the key word "ELLIPSEARC".
    static int isKindOf(const metaTreeC* node);

    m2dEllipseArcC() = default;
    explicit m2dEllipseArcC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseEllipseArc2dC(node, owns, 0) {}
    explicit m2dEllipseArcC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
