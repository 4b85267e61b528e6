#pragma once
// m3dShapeBaseC: the mix-in that marks a 2D shape as an element of a 3D sketch; no data and no
// operations of its own (every geometry operation is the 2D one). Also the key tests used on
// sketch element nodes. Nothing is owned here.

class metaTreeC;

class m3dShapeBaseC {};

// 1 when the node's value is the key word, else 0 (also for a null node).
int isLineNode(const metaTreeC* node);       // "LINE"
int isArcNode(const metaTreeC* node);        // "ARC"
int isCircleNode(const metaTreeC* node);     // "CIRCLE"
int isCosSketchNode(const metaTreeC* node);  // "COSSKETCH"
int isPartItemsNode(const metaTreeC* node);  // "ITEMS"
