// The holder nodes of a pattern expansion, their merge into a part's items, and the append at a
// holder's kept last child.

#include "model3d/m3dFeatPatternLists.h"

#include "meta/metaObject.h"
#include "meta/metaTree.h"

m3dFeatPatternListsC::m3dFeatPatternListsC() {
  for (auto& list : lists_) list = new metaTreeC();
}

m3dFeatPatternListsC::~m3dFeatPatternListsC() {
  for (auto* list : lists_) delete list;
}

void m3dFeatPatternListsC::clearResults() const {
  for (int i = planes; i <= bodies; ++i) lists_[i]->deleteChildren();
}

metaTreeC* m3dFeatPatternListsC::mergeLists(metaTreeC* target, int replace) const {
  metaTreeC* first = nullptr;
  metaTreeC* last = nullptr;  // the chain's last node: each copy is linked there
  for (int i = planes; i <= bodies; ++i) {
    for (metaTreeC* child = lists_[i]->firstChild(); child; child = child->nextSibling()) {
      metaTreeC* copy = metaObjectC(child, 0).cloneNode(1, 1);
      if (!copy) continue;
      if (first)
        copy->insertAfter(last);
      else
        first = copy;
      last = copy;
    }
  }
  if (!first || !target) return first;
  if (!replace) {
    first->insertAfter(target);
    return first;
  }
  // The target node stays where it stands and becomes the chain's first node: it takes that
  // node's value and children, and the rest of the chain follows it.
  target->deleteChildren();
  target->setValue(first->value());
  m3dChildAppenderC children(target);
  while (metaTreeC* child = first->firstChild()) {
    child->unlink();
    children.append(child);
  }
  metaTreeC* rest = first->nextSibling();
  first->unlink();
  delete first;
  if (rest) rest->insertAfter(target);
  return target;
}

m3dChildAppenderC::m3dChildAppenderC(metaTreeC* holder)
    : holder_(holder),
      last_(holder && holder->firstChild() ? holder->firstChild()->lastSibling() : nullptr) {}

metaTreeC* m3dChildAppenderC::append(metaTreeC* node) {
  if (!node || !holder_) return nullptr;
  if (last_)
    node->insertAfter(last_);
  else
    node->appendAsLastChild(holder_);
  last_ = node->lastSibling();
  return node;
}
