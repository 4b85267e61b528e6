#include "meta/m2d/m2dEllipseArc.h"

#include "meta/metaTree.h"

int m2dEllipseArcC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
