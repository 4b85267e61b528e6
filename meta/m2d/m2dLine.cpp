#include "meta/m2d/m2dLine.h"

#include "meta/metaTree.h"

int m2dLineC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
