// The items list of a part: searches, insertion and the sketch measures.

#include "model3d/m3dPartItems.h"

#include "foundation/str.h"
#include "meta/mBaseShape2d.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatBody.h"
#include "model3d/m3dSketch.h"

namespace {

// `item` is a direct child of `list`.
bool isItemOf(const metaTreeC* list, const metaTreeC* item) {
  return item && item->parent() == list;
}

// `node` is `list` or one of its ancestors: linking it below `list` would close a cycle.
bool isListOrAncestor(const metaTreeC* list, const metaTreeC* node) {
  for (const metaTreeC* n = list; n; n = n->parent())
    if (n == node) return true;
  return false;
}

}  // namespace

m3dFeatGenC m3dPartItemsC::findByName(const char* name) const {
  if (!node()) return m3dFeatGenC();
  
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    if (str(m3dFeatGenC(child, 0).getName()).isEqual(name)) return m3dFeatGenC(child, 0);
  }
  return m3dFeatGenC();
}

m3dFeatBodyC m3dPartItemsC::findBodyUsing(const char* sketchName) const {
  if (!node()) return m3dFeatBodyC();
  
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    const m3dFeatGenC item(child, 0);
    if (item.hasUsed() && str(item.getUsed()).isEqual(sketchName)) return m3dFeatBodyC(child, 0);
  }
  return m3dFeatBodyC();
}

metaTreeC* m3dPartItemsC::insert(m3dFeatGenC& feature, int copy, metaTreeC* before,
                                 metaTreeC* after) const {
  metaTreeC* list = node();
  metaTreeC* source = feature.node();
  if (!list || !source) return nullptr;
  if (before && !isItemOf(list, before)) return nullptr;
  if (!before && after && !isItemOf(list, after)) return nullptr;
  metaTreeC* inserted = nullptr;
  if (copy) {
    inserted = feature.cloneNode(1, 1);
    if (!inserted) return nullptr;
  } else {
    if (isListOrAncestor(list, source)) return nullptr;
    // A node may not be put next to itself; it already stands where it is asked to go.
    if (source == before || source == after) return source;
    feature.detach(0);  // out of its old place; the list owns it from now on
    inserted = source;
  }
  if (before)
    inserted->insertBefore(before);
  else if (after)
    inserted->insertAfter(after);
  else
    inserted->appendAsLastChild(list);
  return inserted;
}

m3dDocumentC m3dPartItemsC::part() const {
  if (!node()) return m3dDocumentC();
  return m3dDocumentC(parent(), 0);
}

double m3dPartItemsC::minSketchMeasure(mBaseShape2dC* element) const {
  if (!node() || !node()->firstChild()) return 0.0;
  double best = 1e8;
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    if (!child->isKey("SKETCH")) continue;
    mBaseShape2dC shortest;
    const double m = m3dSketchC(child, 0).minElement(&shortest);
    if (m < best) {
      best = m;
      if (element) element->reset(shortest.node(), 0);
    }
  }
  return best;
}

int m3dPartItemsC::sumSketchGaps(double threshold) const {
  if (!node()) return 0;
  int sum = 0;
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    if (child->isKey("SKETCH")) sum += m3dSketchC(child, 0).closeGaps(threshold);
  }
  return sum;
}
