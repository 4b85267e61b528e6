#pragma once
// m2dHatchLoopListC: a hatch's "M2DHATCHLOOPS" list: its "M2DHATCHLOOP" children in order, the
// first being the outer boundary. Owns its node only when built with owns set.

#include "meta/m2d/m2dHatchLoop.h"
#include "meta/metaObjKeyContainerTemplate.h"

class m2dHatchLoopListC : public metaObjKeyContainerTemplateC<m2dHatchLoopC> {
public:
    m2dHatchLoopListC() = default;
    explicit m2dHatchLoopListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjKeyContainerTemplateC<m2dHatchLoopC>(node, owns, buildVirtualBase) {}
};
