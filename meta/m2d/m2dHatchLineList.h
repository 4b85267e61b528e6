#pragma once
// m2dHatchLineListC: a hatch's "M2DHATCHLINES" list: its "LINE" children (the lines of the hatch
// pattern) as line views. Owns its node only when built with owns set.

#include "meta/m2d/m2dLine.h"
#include "meta/metaObjKeyContainerTemplate.h"

class m2dHatchLineListC : public metaObjKeyContainerTemplateC<m2dLineC> {
public:
    m2dHatchLineListC() = default;
    explicit m2dHatchLineListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjKeyContainerTemplateC<m2dLineC>(node, owns, buildVirtualBase) {}
};
