#include "meta/m2d/m2dText.h"

#include "meta/metaTree.h"

int m2dTextC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
