// Members of assemblies: the placed document, its replacement, placements and scaling.

#include "model3d/m3dMember.h"

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {
metaClassRegistrarC<m3dMemberC, m3dGeomOpBaseC> registerMember(m3dClassRegistry, "MEMBER",
                                                                m3dMemberC::classDepth);

metaTreeC* documentChild(const m3dMemberC& member) {
  metaTreeC* document = member.findChild("PART");
  return document ? document : member.findChild("ASSEMBLY");
}
}  // namespace

m3dDocumentC m3dMemberC::memberDocument() const { return m3dDocumentC(documentChild(*this), 0); }

const char* m3dMemberC::memberDocumentName() const {
  metaTreeC* document = documentChild(*this);
  return document ? m3dDocumentC(document, 0).getName() : "";
}

int m3dMemberC::setMemberDocument(metaTreeC* document, int copy) {
  if (!node() || !document) return 0;
  for (const metaTreeC* up = node(); up; up = up->parent())
    if (up == document) return 0;
  // The incoming node is made ready first: it may lie inside the document being replaced.
  metaTreeC* incoming = nullptr;
  if (copy) {
    incoming = metaObjectVirtualDataBaseC(document, 0).cloneNode(1, 1);
    if (!incoming) return 0;
  } else {
    document->unlink();
    incoming = document;
  }
  if (metaTreeC* current = documentChild(*this)) {
    current->unlink();
    delete current;
  }
  appendChild(incoming, 0);
  return 1;
}

int m3dMemberC::memberTransform(const metaObjectC& top, mMat4dC& out) const {
  if (!isMember()) return 0;
  out = mMat4dC::identity();
  metaTreeC* member = node();
  while (true) {
    if (!member || !member->isKey("MEMBER")) return 0;
    // Each outer placement goes on the left, so out maps the member's own coordinates into the
    // top assembly's also when the levels rotate.
    out = m3dMemberC(member, 0).getMatrix().multiply(out);
    metaTreeC* holder = member->parent();
    if (!isAssemblyNode(holder)) return 0;
    if (holder == top.node()) return 1;
    member = holder->parent();
  }
}

int m3dMemberC::scaleGeometry(double factor) {
  memberDocument().scaleGeometry(factor);
  scalePlacement(factor);
  return 1;
}
