#include "meta/m2d/m2dEllipse.h"

#include "meta/metaTree.h"

int m2dEllipseC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
