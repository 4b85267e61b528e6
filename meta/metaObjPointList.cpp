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

namespace {

// Walks the "POINT" children of list up to the n-th, handing each one to `seen` with its index;
// appends empty ones at the end while fewer than n + 1 exist. Returns the n-th.
template <class Seen>
metaTreeC* walkPoints(metaTreeC* list, std::int64_t n, Seen seen) {
  const char* key = metaObjPoint2dC::classKey();
  std::int64_t have = 0;
  for (metaTreeC* child = list->firstChild(); child; child = child->nextSibling()) {
    if (!child->isKey(key)) continue;
    seen(have, child);
    if (have++ == n) return child;
  }
  metaTreeC* made = nullptr;
  for (; have <= n; ++have) {
    made = metaTreeC::createKeyNode(key);
    made->appendAsLastChild(list);
    seen(have, made);
  }
  return made;
}

}  // namespace

void metaObjPointListC::pointNodes(metaTreeC* list, std::int64_t count, metaTreeC** nodes) {
  if (!list || count < 1) return;
  walkPoints(list, count - 1, [nodes](std::int64_t i, metaTreeC* node) { nodes[i] = node; });
}

metaTreeC* metaObjPointListC::pointNode(metaTreeC* list, std::int64_t n) {
  if (!list || n < 0) return nullptr;
  return walkPoints(list, n, [](std::int64_t, metaTreeC*) {});
}
