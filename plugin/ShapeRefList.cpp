#include "plugin/ShapeRefList.h"

#include <memory>

void ShapeRefList::addShape(const metaTreeC* node, const ads_name entity) {
  auto item = std::make_unique<ShapeRefItem>(node, entity);
  append(item.get());  // a failed append leaves the item to the unique_ptr
  item.release();
}

const ShapeRefItem* ShapeRefList::findShape(const metaTreeC* node) const {
  const ShapeRefItem probe(node, nullptr);
  const std::size_t i = indexOf(&probe);
  return i == RW_NPOS ? nullptr : at(i);
}
