#pragma once
// metaClassRegistrarC<T, Part>: the registration object of one class. Made as a static object, it
// creates the registry when needed, makes a prototype of T (an unbound view, on the heap) and
// inserts it under `key` with `depth`, stored as the address of its `Part` base (what the
// registry's users cast it back to). At unload it deletes its prototype and destroys the registry
// if it still exists: the first registrar to go removes the registry, the later ones only their
// prototypes.

#include <cstdint>

#include "meta/metaClassRegistry.h"

template <class T, class Part = T>
class metaClassRegistrarC {
public:
  metaClassRegistrarC(metaClassRegistryC*& registry, const char* key, std::int32_t depth)
      : registry_(registry), prototype_(new T()) {
    metaClassRegistryC::insert(registry_, key, static_cast<void*>(static_cast<Part*>(prototype_)),
                               depth);
  }
  ~metaClassRegistrarC() {
    metaClassRegistryC::destroy(registry_);
    delete prototype_;
  }
  metaClassRegistrarC(const metaClassRegistrarC&) = delete;
  metaClassRegistrarC& operator=(const metaClassRegistrarC&) = delete;

  T* prototype() const { return prototype_; }

private:
  metaClassRegistryC*& registry_;
  T* prototype_;
};
