#include "meta/m2d/m2dIntCrv.h"

#include "meta/metaTree.h"

int m2dIntCrvC::isKindOf(const metaTreeC* node) { return node && node->isKey(classKey()) ? 1 : 0; }
