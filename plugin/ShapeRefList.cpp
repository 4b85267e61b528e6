#include "plugin/ShapeRefList.h"

#include <memory>

void ShapeRefList::addShape(const metaTreeC* node, const ads_name entity) {
  auto item = std::make_unique<ShapeRefItem>(node, entity);
  append(item.get());  // a failed append leaves the item to the unique_ptr
  byNode_.emplace(node, item.release());  // a node recorded before keeps its first item
}

const ShapeRefItem* ShapeRefList::findShape(const metaTreeC* node) const {
  const auto found = byNode_.find(node);
  return found == byNode_.end() ? nullptr : found->second;
}
