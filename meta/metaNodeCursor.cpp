#include "meta/metaNodeCursor.h"

#include "meta/metaTree.h"

int metaNodeCursorC::next() {
  if (!node_ || !node_->nextSibling()) return 0;
  node_ = node_->nextSibling();
  return 1;
}

int metaNodeCursorC::isKey(const char* text) const { return node_ && node_->isKey(text) ? 1 : 0; }
