#pragma once
// m2dLineC: the 2D drawing's view of a "LINE" item: the common 2D base joined with the geometry of
// mBaseLine2dC. It owns its node only when built with owns set; built from another view's handle it
// shares a node the source does not own and deep-copies one it owns.

#include "meta/mBaseLine2d.h"
#include "meta/m2d/m2dShapeBase.h"

class metaTreeC;

class m2dLineC : public m2dShapeBaseC, public mBaseLine2dC {
public:
    static constexpr int classDepth = mBaseLine2dC::classDepth + 1;
    static const char* classKey() { return "LINE"; }
    // 1 when the node's value is the key word "LINE".
    static int isKindOf(const metaTreeC* node);

    m2dLineC() = default;
    explicit m2dLineC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), mBaseLine2dC(node, owns, 0) {}
    explicit m2dLineC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}
};
