// Key tests on sketch element nodes.

#include "model3d/m3dShapeBase.h"

#include "meta/metaTree.h"

namespace {
int hasKeyWord(const metaTreeC* node, const char* key) { return node && node->isKey(key) ? 1 : 0; }
}  // namespace

int isLineNode(const metaTreeC* node) { return hasKeyWord(node, "LINE"); }
int isArcNode(const metaTreeC* node) { return hasKeyWord(node, "ARC"); }
int isCircleNode(const metaTreeC* node) { return hasKeyWord(node, "CIRCLE"); }
int isCosSketchNode(const metaTreeC* node) { return hasKeyWord(node, "COSSKETCH"); }
int isPartItemsNode(const metaTreeC* node) { return hasKeyWord(node, "ITEMS"); }
