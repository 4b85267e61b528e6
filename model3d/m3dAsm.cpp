// Assemblies: the walks that carry the document operations down to the parts.

#include "model3d/m3dAsm.h"

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"
#include "model3d/m3dCosSketch.h"
#include "model3d/m3dMates.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dAsmC, m3dGeomOpBaseC> registerAsmClass(m3dClassRegistry, "ASSEMBLY",
                                                               m3dAsmC::classDepth);
metaClassRegistrarC<m3dAsmC, m3dDocumentC> registerAsmDocument(m3dDocumentRegistry, "ASSEMBLY",
                                                                m3dAsmC::classDepth);

// The number of assembly walks active on the stack; every walk into a sub-assembly passes
// through one of the operations below, so this bounds the recursion.
int activeNesting = 0;

class nestingGuardC {
public:
  nestingGuardC() : ok_(++activeNesting <= m3dAsmC::maxNesting) {}
  ~nestingGuardC() { --activeNesting; }
  nestingGuardC(const nestingGuardC&) = delete;
  nestingGuardC& operator=(const nestingGuardC&) = delete;
  bool ok() const { return ok_; }

private:
  bool ok_;
};

}  // namespace

m3dMatesC m3dAsmC::mates() const { return m3dMatesC(findOrAddChild("MATES"), 0); }

int m3dAsmC::removeNegativeParts() {
  nestingGuardC guard;
  if (!guard.ok()) return 0;
  int removed = 0;
  const m3dMembersC all = members();
  for (std::int64_t i = all.count() - 1; i >= 0; --i) {
    const m3dMemberC member = all.item(i);
    const m3dDocumentC document = member.memberDocument();
    if (isAssemblyNode(document.node())) {
      removed += m3dAsmC(document.node(), 0).removeNegativeParts();
    } else if (isPartNode(document.node()) && m3dPartC(document.node(), 0).isNegative()) {
      metaTreeC* gone = member.node();
      gone->unlink();
      delete gone;
      ++removed;
    }
  }
  return removed;
}

void m3dAsmC::scalePlacements(double factor) {
  if (factor == 1.0) return;
  const m3dMembersC all = members();
  const std::int64_t count = all.count();
  for (std::int64_t i = 0; i < count; ++i) all.item(i).scalePlacement(factor);
  mates().scaleChildren(factor, nullptr);
}

int m3dAsmC::scaleGeometry(double factor) {
  if (factor == 1.0) return 1;
  nestingGuardC guard;
  if (!guard.ok()) return 0;
  scaleChildren(factor, "MEMBER");
  mates().scaleChildren(factor, nullptr);
  return 1;
}

m3dNodeListC& m3dAsmC::listPartNodes(m3dNodeListC& list) {
  list.reset();
  nestingGuardC guard;
  if (!guard.ok()) return list;
  const m3dMembersC all = members();
  const std::int64_t count = all.count();
  for (std::int64_t i = 0; i < count; ++i) {
    m3dNodeListC parts = makeNodeList();
    all.item(i).memberDocument().listPartNodes(parts);
    list.appendAll(parts);
  }
  return list;
}

m3dNodeListC& m3dAsmC::listDocumentNodes(m3dNodeListC& list) {
  m3dNodeListC parts = makeNodeList();
  listPartNodes(parts);
  list.reset();
  if (node()) list.append(node());
  list.appendAll(parts);
  return list;
}

int m3dAsmC::collectViewCosmetics(const mMat4dC& view, const metaObjectC& output) {
  nestingGuardC guard;
  if (!guard.ok()) return 0;
  const m3dMembersC all = members();
  const std::int64_t count = all.count();
  for (std::int64_t i = 0; i < count; ++i) {
    const m3dMemberC member = all.item(i);
    const mMat4dC placement = member.getMatrix();
    metaTreeC* out = output.node();
    metaTreeC* lastBefore = out && out->firstChild() ? out->firstChild()->lastSibling() : nullptr;
    member.memberDocument().collectViewCosmetics(invertRigidTransform(placement).multiply(view),
                                                 output);
    if (!out) continue;
    metaTreeC* added = lastBefore ? lastBefore->nextSibling() : out->firstChild();
    for (; added; added = added->nextSibling()) {
      const m3dCosSketchC sketch(added, 0);
      sketch.setMatrix(placement.multiply(sketch.getMatrix()));
    }
  }
  return 1;
}

void m3dAsmC::collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections) {
  nestingGuardC guard;
  if (!guard.ok()) return;
  const m3dMembersC all = members();
  const std::int64_t count = all.count();
  for (std::int64_t i = 0; i < count; ++i) {
    const m3dMemberC member = all.item(i);
    const mMat4dC placement = member.getMatrix();
    const std::size_t first = pool.size();
    member.memberDocument().collectAxisLines(invertRigidTransform(placement).multiply(view), pool,
                                             allDirections);
    for (std::size_t k = first; k < pool.size(); ++k) {
      m3dAxisSegmentC& segment = pool[k];
      segment.start = placement.transformPoint(segment.start);
      segment.end = placement.transformPoint(segment.end);
    }
  }
}

int m3dAsmC::setDocumentUnitValue(double value) {
  double factor = 1.0;
  bool changed = false;
  if (!unitChange("ASMPREFS", value, factor, changed)) return 0;
  nestingGuardC guard;
  if (!guard.ok()) return 0;
  if (changed) {
    scalePlacements(factor);
    storeUnitValue("ASMPREFS", value);
  }
  // Every member's document takes the value itself (forwarded by its key): a part scales its
  // geometry, a sub-assembly its own placements and mates before it passes the value on to its
  // members. Each document under this one is so reached exactly once and scaled by its own
  // old / new ratio, and the placements of every level change with the parts they place.
  int done = 1;
  const m3dMembersC all = members();
  const std::int64_t count = all.count();
  for (std::int64_t i = 0; i < count; ++i) {
    m3dDocumentC document = all.item(i).memberDocument();
    if (document.isBound() && !document.setDocumentUnitValue(value)) done = 0;
  }
  return done;
}
