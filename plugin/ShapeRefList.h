#pragma once
// ShapeRefList: the shapes converted during one command with the host entities made for them.
// It owns its items: the destructor deletes every item, then the pointer array. Items are added
// through addShape only, which also files each node's first item in an index by node, so that
// findShape takes constant time however many shapes a part holds.

#include <unordered_map>

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

 private:
  std::unordered_map<const metaTreeC*, const ShapeRefItem*> byNode_;  // items owned by the list
};
