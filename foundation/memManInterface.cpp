// Class-level allocation of memManInterfaceC through the memory manager.

#include "foundation/memManInterface.h"

#include "foundation/RWThrow.h"
#include "foundation/memManSystem.h"

memManSystemC* memManInterfaceC::getMemMan(bool create) const { return memManSystemC::get(create); }

memManInterfaceC::~memManInterfaceC() { memManSystemC::capture(); }

void* memManInterfaceC::operator new(std::size_t size) {
  memManSystemC* m = memManSystemC::get(true);
  void* p = m != nullptr ? m->alloc(size) : nullptr;
  if (p == nullptr) RWThrowAlloc(size);
  return p;
}

// The destructor has just captured the current manager; the block counts as one of its live
// allocations, so that manager is the one that handed it out. Without a captured manager (none
// was alive at destruction) the block goes back through the current one or the free hook.
void memManInterfaceC::operator delete(void* p) {
  if (p == nullptr) return;
  if (memManSystemC* m = memManSystemC::captured()) {
    m->free(p);
  } else {
    memManSystemC::release(p);
  }
}
