#pragma once
// m2dHatchLoopRefListC: a loop's "M2DHATCHLOOPSHREFS" list: its "MOREF" children, in boundary
// order, as reference entries. Owns its node only when built with owns set.

#include "meta/m2d/m2dHatchLoopRefListEntry.h"
#include "meta/metaObjKeyContainerTemplate.h"

class m2dHatchLoopRefListC : public metaObjKeyContainerTemplateC<m2dHatchLoopRefListEntryC> {
public:
    m2dHatchLoopRefListC() = default;
    explicit m2dHatchLoopRefListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjKeyContainerTemplateC<m2dHatchLoopRefListEntryC>(node, owns, buildVirtualBase) {}
};
