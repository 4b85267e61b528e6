#include "meta/m2d/m2dCircle.h"

#include "meta/metaTree.h"

int m2dCircleC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
