#pragma once
// ShapeRefList: the shapes converted during one command with the host entities made for them.
// It owns its items: the destructor deletes every item, then the pointer array.

#include "foundation/RWTPtrOrderedVector.h"
#include "plugin/ShapeRefItem.h"

class ShapeRefList : public RWTPtrOrderedVector<ShapeRefItem> {
 public:
  ShapeRefList() : RWTPtrOrderedVector<ShapeRefItem>(64) {}
  ~ShapeRefList() override { deleteAll(); }
  ShapeRefList(const ShapeRefList&) = delete;
  ShapeRefList& operator=(const ShapeRefList&) = delete;

  // Records that the entity was made for the shape node.
  void addShape(const metaTreeC* node, const ads_name entity);
  // The first item recorded for the node, or null when the node is not recorded.
  const ShapeRefItem* findShape(const metaTreeC* node) const;
};
