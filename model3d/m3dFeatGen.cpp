// Forwarding feature operations through the feature registry.

#include "model3d/m3dFeatGen.h"

#include "model3d/metaProtoLookup.h"

int m3dFeatGenC::collectFeatureAxes(m3dAxisPoolC& pool) {
  metaProtoLookupC<m3dFeatGenC> lookup(m3dFeatureRegistry, node());
  if (!lookup.isOtherClass(this)) return 0;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->collectFeatureAxes(pool);
}

int m3dFeatGenC::featureKind() {
  metaProtoLookupC<m3dFeatGenC> lookup(m3dFeatureRegistry, node());
  if (!lookup.isOtherClass(this)) return neither;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->featureKind();
}
