#pragma once
// metaVisitPostOrder: visits the nodes of a chain and their subtrees, every node after all its
// descendants and siblings in order, without recursion (trees of any depth are safe). The walk
// owns nothing; it serves the custom storage and copy passes.

#include "meta/metaTree.h"

// Visits every node of the chain from `chain` (its first node only with `single`). `visit` may add
// children to the node it is given (they are not visited) but must not unlink or delete nodes.
template <class Visit>
void metaVisitPostOrder(metaTreeC* chain, int single, Visit visit) {
  for (metaTreeC* top = chain; top; top = single ? nullptr : top->nextSibling()) {
    metaTreeC* node = top;
    while (node->firstChild()) node = node->firstChild();
    while (node != top) {
      visit(node);
      if (metaTreeC* next = node->nextSibling()) {
        node = next;
        while (node->firstChild()) node = node->firstChild();
      } else {
        node = node->parent();
      }
    }
    visit(top);
  }
}
