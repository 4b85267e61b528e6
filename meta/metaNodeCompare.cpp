#include "meta/metaNodeCompare.h"

#include <cstring>

#include "meta/metaTree.h"

metaNodeCompareKeyC::metaNodeCompareKeyC(const char* key) : key_(key) {}

int metaNodeCompareKeyC::match(const metaTreeC* node) const {
  if (!node || !node->value().isKeyWord()) return 0;
  return std::strcmp(node->value().textOrEmpty(), key_.text()) == 0 ? 1 : 0;
}
