#pragma once
// m3dMemberC: a member of an assembly, a "MEMBER" child that places one part or one
// sub-assembly (its "PART" or "ASSEMBLY" child) by the 4x4 placement "MAT". A view: it owns its
// node only when built with owns set.

#include "model3d/m3dDocument.h"
#include "model3d/m3dGeomOpBase.h"

class m3dMemberC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;
  static const char* classKey() { return "MEMBER"; }

  m3dMemberC() = default;
  explicit m3dMemberC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  bool isMember() const { return hasKey("MEMBER"); }
  // The placed document: the "PART" child, else the "ASSEMBLY" child, else unbound.
  m3dDocumentC memberDocument() const;
  // "NAME" of the placed document ("" without one).
  const char* memberDocumentName() const;
  // The current document child is detached and deleted; `document` (or, with `copy` set, its
  // hooked copy) becomes the member's last child. Without `copy` the tree takes `document`
  // over. 0 (nothing changed) for an unbound member, a null document, or a document that is the
  // member itself or one of its ancestors (the tree would close into a loop); else 1.
  int setMemberDocument(metaTreeC* document, int copy);

  mMat4dC getMatrix() const { return placement(); }
  void setMatrix(const mMat4dC& m) const { setPlacement(m); }
  // Elements 12-14 of "MAT" times the factor.
  void scalePlacement(double factor) const { scalePlacementOrigin(factor); }

  // The placement of this member within `top`: the placements from this member outwards, each
  // outer one applied after the inner (out = "MAT" . out at each level), so out maps the
  // member's coordinates into top's. 1 when the walk reaches top's node, else 0.
  int memberTransform(const metaObjectC& top, mMat4dC& out) const;

  // The document scaled (forwarded by its key), then the placement's origin; 1.
  int scaleGeometry(double factor) override;
};
