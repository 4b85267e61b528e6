// Connection points and their container.

#include "model3d/m3dConnPoint.h"

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"
#include "model3d/m3dConnections.h"
#include "model3d/m3dVectorOps.h"

m3dConnectionsC m3dConnPointC::owner() const { return m3dConnectionsC(findAncestor("CONNECT"), 0); }

int m3dConnPointC::scaleGeometry(double factor) {
  scalePlacementOrigin(factor);
  return 1;
}

int m3dConnPointC::transformGeometry(const mMat4dC& transform) {
  mMat4dC m = transform.multiply(getMatrix());
  if (isLeftHanded(m)) setAxisY(m, scaleBy(axisY(m), -1.0));
  setMatrix(m);
  return 1;
}

m3dConnPointC m3dConnectionsC::findByName(const char* name) const {
  if (node()) {
    for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
      if (!child->isKey("CONNPOINT")) continue;
      if (str(m3dConnPointC(child, 0).getName()).isEqual(name)) return m3dConnPointC(child, 0);
    }
  }
  return m3dConnPointC();
}

namespace {
metaClassRegistrarC<m3dConnPointC, m3dGeomOpBaseC> registerConnPoint(m3dClassRegistry, "CONNPOINT",
                                                                      m3dConnPointC::classDepth);
}  // namespace
