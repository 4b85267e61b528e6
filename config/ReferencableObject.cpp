#include "config/ReferencableObject.h"

bool ReferencableObject::releaseIfUnreferenced() {
  if (referenceCount_ != 0) return false;
  delete this;
  return true;
}

void ReferencableObject::addReference() { ++referenceCount_; }

void ReferencableObject::removeReference() { --referenceCount_; }
