// General features: forwarding feature operations through the feature registry, and the
// searches from a feature to the items list, its sketch and that sketch's cosmetic threads.

#include "model3d/m3dFeatGen.h"

#include "meta/metaTree.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dPartItems.h"
#include "model3d/m3dSketch.h"
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

m3dPartItemsC m3dFeatGenC::partItems() const {
  if (!node()) return m3dPartItemsC();
  return m3dPartItemsC(parent(), 0);
}

m3dSketchC m3dFeatGenC::usedSketch(const m3dPartItemsC& items) const {
  if (!node() || !items.node()) return m3dSketchC();
  const m3dFeatGenC found = items.findByName(getUsed());
  return m3dSketchC(found.node(), 0);
}

m3dSketchC m3dFeatGenC::usedSketch() const { return usedSketch(partItems()); }

void m3dFeatGenC::usedCosmeticThreads(m3dThreadPoolC& pool) const {
  pool = m3dThreadPoolC(3);
  const m3dPartItemsC items = partItems();
  if (!items.node() || !items.parent()) return;
  const m3dPartC part(items.parent(), 0);
  const m3dSketchC sketch = usedSketch(items);
  if (!sketch.node()) return;
  const m3dCosSketchC cosmetic = part.cosmeticSketchOf(metaObjectC(sketch.node(), 0));
  if (!cosmetic.node()) return;
  pool = extractCosmeticThreads(cosmetic);
}
