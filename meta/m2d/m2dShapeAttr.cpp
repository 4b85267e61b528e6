#include "meta/m2d/m2dShapeAttr.h"

#include "meta/metaTree.h"

int m2dShapeAttrC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
