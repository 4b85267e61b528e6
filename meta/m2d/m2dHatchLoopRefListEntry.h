#pragma once
// m2dHatchLoopRefListEntryC: a "MOREF" entry of a hatch loop, naming one boundary shape of the same
// figure through its "REFTRG" child (a file ordinal before the post-load pass, the target node
// after it). The view owns its node only when built with owns set, never the target.

#include "meta/m2d/m2dShapeBase.h"
#include "meta/metaObjectRef.h"

class m2dHatchLoopRefListEntryC : public m2dShapeBaseC, public metaObjectRefC {
public:
    static constexpr int classDepth = m2dShapeBaseC::classDepth + 1;
    static const char* classKey() { return "MOREF"; }

    m2dHatchLoopRefListEntryC() = default;
    explicit m2dHatchLoopRefListEntryC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase), metaObjectRefC(node, owns, 0) {}
    ~m2dHatchLoopRefListEntryC() override = default;

    // A view, not owning, of the boundary shape that "REFTRG" holds; unbound when it holds none.
    m2dShapeBaseC targetShape() const;
};
