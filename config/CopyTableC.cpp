#include "config/CopyTableC.h"

bool CopyTableC::isCopied(void* object) { return copies_.contains(object); }

void* CopyTableC::copyOf(void* object) { return copies_.findOrInsert(object); }

void CopyTableC::setCopy(void* object, void* copy) { copies_.findOrInsert(object) = copy; }

void* CopyTableC::mapped(void* object) {
  void* const* copy = copies_.findValue(object);
  return copy ? *copy : object;
}
