#pragma once
// ShapeRefItem: links one converted shape (a node of the exchange file's tree, not owned) to the
// host entity made for it. Allocated one by one and owned by a ShapeRefList.

#include <cstdint>

#include "host/api.h"

class metaTreeC;

struct ShapeRefItem {
  ShapeRefItem(const metaTreeC* node, const ads_name name) : shapeNode(node) {
    entityName[0] = name ? name[0] : 0;
    entityName[1] = name ? name[1] : 0;
  }

  const metaTreeC* shapeNode = nullptr;  // borrowed; lives as long as the converted tree
  ads_name entityName = {0, 0};          // the host's two-word entity name

  // Equal when both refer to the same shape node.
  bool operator==(const ShapeRefItem& other) const { return shapeNode == other.shapeNode; }
};
