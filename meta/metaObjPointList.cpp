#include "meta/metaObjPointList.h"

#include "meta/metaTree.h"

metaObjPoint2dC metaObjPointListC::point(std::int64_t n) const {
  metaTreeC* list = node();
  if (!list || n < 0) return metaObjPoint2dC();
  for (std::int64_t have = count(); have < n + 1; ++have) {
    metaTreeC::createKeyNode(metaObjPoint2dC::classKey())->appendAsLastChild(list);
  }
  return metaObjPoint2dC(itemNode(n), 0);
}
