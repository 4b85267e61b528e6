#include "meta/m2d/m2dArc.h"

#include "meta/metaTree.h"

int m2dArcC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
