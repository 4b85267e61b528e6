#pragma once
// m3dGeomOpBaseC: the base of every 3D model view. Its two geometry operations forward, by the
// node's key word, to the prototype registered in the 3D class registry (a prototype never
// forwards to itself), and it walks container nodes to scale or transform their elements. Like
// every view it holds only the node handle; it owns the node only when built with owns set.

#include "meta/mMat4d.h"
#include "meta/metaObject.h"
#include "model3d/m3dBaseObj.h"
#include "model3d/m3dRegistries.h"

class m3dGeomOpBaseC : public m3dBaseObjC, public metaObjectC {
public:
  static constexpr int classDepth = m3dGeomOpDepth;

  m3dGeomOpBaseC() = default;
  explicit m3dGeomOpBaseC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjectC(node, owns, buildVirtualBase) {}
  // Copies only (no move): a view copied or assigned keeps one bound handle however many view
  // bases it has; a non-owning view shares its node, an owning one copies it.
  m3dGeomOpBaseC(const m3dGeomOpBaseC&) = default;
  m3dGeomOpBaseC& operator=(const m3dGeomOpBaseC&) = default;
  ~m3dGeomOpBaseC() override = default;

  // Forwarding bodies: the prototype registered under the node's key runs its own operation on
  // this node; 0 when the node is no key word, its key is not registered or the prototype is this
  // very object.
  int scaleGeometry(double factor) override;
  int transformGeometry(const mMat4dC& transform) override;

  // For each child of this node in order whose key word equals `key` (every child when `key` is
  // null): an m3dGeomOpBaseC view on it runs scaleGeometry / transformGeometry. Returns the
  // number of children visited.
  int scaleChildren(double factor, const char* key) const;
  int transformChildren(const mMat4dC& transform, const char* key) const;

  // The placement "MAT" (16 reals, column by column), found or created: the identity when the
  // list does not hold exactly 16 reals.
  mMat4dC placement() const;
  void setPlacement(const mMat4dC& m) const;
  // Elements 12-14 of "MAT" times the factor; the axes stay.
  void scalePlacementOrigin(double factor) const;
};
