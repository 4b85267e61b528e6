#pragma once
// metaPrototypeBindingC: binds a registered prototype view to a node, without owning it, for the
// length of one forwarded call, and restores the prototype's previous binding when it goes out of
// scope (also when the call throws). Bindings of one prototype nest.

#include <cstdint>

#include "meta/metaObjectVirtualDataBase.h"

class metaTreeC;

class metaPrototypeBindingC {
public:
  metaPrototypeBindingC(metaObjectVirtualDataBaseC& prototype, metaTreeC* node)
      : prototype_(prototype), savedNode_(prototype.node_), savedFlags_(prototype.flags_) {
    prototype.node_ = node;
    prototype.flags_ = 0;
  }
  ~metaPrototypeBindingC() {
    prototype_.node_ = savedNode_;
    prototype_.flags_ = savedFlags_;
  }
  metaPrototypeBindingC(const metaPrototypeBindingC&) = delete;
  metaPrototypeBindingC& operator=(const metaPrototypeBindingC&) = delete;

private:
  metaObjectVirtualDataBaseC& prototype_;
  metaTreeC* savedNode_;
  std::uint32_t savedFlags_;
};
