#pragma once
// m2dDrawingItemListC: a drawing's "DRAWINGITEMS" list: its "FIGURE" children, counted and handed
// out by position as figure views that do not own their nodes. Owns its node only when built with
// owns set.

#include "meta/m2d/m2dFigure.h"
#include "meta/metaObjKeyContainerTemplate.h"

class m2dDrawingItemListC : public metaObjKeyContainerTemplateC<m2dFigureC> {
public:
    m2dDrawingItemListC() = default;
    explicit m2dDrawingItemListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : metaObjKeyContainerTemplateC<m2dFigureC>(node, owns, buildVirtualBase) {}
};
