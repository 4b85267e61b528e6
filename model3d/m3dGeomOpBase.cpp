// Forwarding geometry operations and container walks of the 3D model views.

#include "model3d/m3dGeomOpBase.h"

#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/metaProtoLookup.h"

int m3dGeomOpBaseC::scaleGeometry(double factor) {
  metaProtoLookupC<m3dGeomOpBaseC> lookup(m3dClassRegistry, node());
  if (!lookup.isOtherClass(this)) return 0;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->scaleGeometry(factor);
}

int m3dGeomOpBaseC::transformGeometry(const mMat4dC& transform) {
  metaProtoLookupC<m3dGeomOpBaseC> lookup(m3dClassRegistry, node());
  if (!lookup.isOtherClass(this)) return 0;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->transformGeometry(transform);
}

int m3dGeomOpBaseC::scaleChildren(double factor, const char* key) const {
  if (!node()) return 0;
  int visited = 0;
  // The next sibling is taken before the call: an element's operation may not unlink itself, but
  // its subtree is free to change.
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    if (key && !child->isKey(key)) continue;
    m3dGeomOpBaseC(child, 0).scaleGeometry(factor);
    ++visited;
  }
  return visited;
}

int m3dGeomOpBaseC::transformChildren(const mMat4dC& transform, const char* key) const {
  if (!node()) return 0;
  int visited = 0;
  for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
    if (key && !child->isKey(key)) continue;
    m3dGeomOpBaseC(child, 0).transformGeometry(transform);
    ++visited;
  }
  return visited;
}

mMat4dC m3dGeomOpBaseC::placement() const {
  metaTreeC* mat = findOrAddChild("MAT");
  if (!mat) return mMat4dC::identity();
  return metaObjRealListC(mat, 0).matrix4d();
}

void m3dGeomOpBaseC::setPlacement(const mMat4dC& m) const {
  metaTreeC* mat = findOrAddChild("MAT");
  if (mat) metaObjRealListC(mat, 0).setMatrix4d(m);
}

void m3dGeomOpBaseC::scalePlacementOrigin(double factor) const {
  mMat4dC m = placement();
  m.m[12] *= factor;
  m.m[13] *= factor;
  m.m[14] *= factor;
  setPlacement(m);
}
