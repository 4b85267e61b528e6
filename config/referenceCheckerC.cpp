#include "config/referenceCheckerC.h"

bool SingleTraversalReceiverAC::markVisited(void* object) {
  if (visited_.contains(object)) return false;
  visited_.findOrInsert(object) = object;
  return true;
}

bool referenceCheckerC::check(TraversableI* start, void* target) {
  target_ = target;
  found_ = 0;
  clearVisited();
  if (start) start->traverse(*this);
  return found_ != 0;
}

bool referenceCheckerC::visit(void* object) {
  if (object == target_) found_ = 1;
  if (found_) return false;
  return markVisited(object);
}
