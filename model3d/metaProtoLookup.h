#pragma once
// metaProtoLookupC<P>: the dispatch of a view operation that has no body of its own: the
// prototype registered under the node's key word in one registry (as a P, the part the registry
// stores), and a binding that re-points the prototype to the node for the length of one call.
// Owns nothing; the prototype belongs to its registration object.

#include "meta/metaClassRegistry.h"
#include "meta/metaNodeValue.h"
#include "meta/metaPrototypeBinding.h"
#include "meta/metaTree.h"

template <class P>
class metaProtoLookupC {
public:
  // No prototype when the node is null or its value is not a key word.
  metaProtoLookupC(const metaClassRegistryC* registry, metaTreeC* node) : node_(node) {
    if (node && node->value().type() == metaNodeValueC::typeKeyWord)
      prototype_ = metaClassRegistryC::findAs<P>(registry, node->value().textOrEmpty());
  }

  P* prototype() const { return prototype_; }
  metaTreeC* node() const { return node_; }
  // A prototype was found and it is not the caller itself: a prototype never forwards to itself.
  bool isOtherClass(const P* caller) const { return prototype_ && prototype_ != caller; }
  // The prototype bound to the node until the binding goes out of scope. Only after
  // isOtherClass (a prototype must have been found).
  metaPrototypeBindingC bindPrototype() const { return metaPrototypeBindingC(*prototype_, node_); }

private:
  P* prototype_ = nullptr;
  metaTreeC* node_ = nullptr;
};
