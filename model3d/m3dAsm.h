#pragma once
// m3dAsmC: an assembly, the "ASSEMBLY" document: members ("MEMBER" children, each placing a part
// or a sub-assembly), mates ("MATES") and preferences ("ASMPREFS" with "UNITBASE"). Its document
// operations walk the members down to the parts with the accumulated placements. Walks deeper
// than maxNesting assemblies stop there. A view: it owns its node only when built with owns set.

#include "meta/mBasePrefs.h"
#include "model3d/m3dDocument.h"
#include "model3d/m3dMembers.h"

class m3dMatesC;

class m3dAsmC : public m3dDocumentC {
public:
  static constexpr int classDepth = m3dDocumentC::classDepth + 1;
  static const char* classKey() { return "ASSEMBLY"; }
  // Assemblies nested deeper than this are not walked into (the walks recurse once per level).
  static constexpr int maxNesting = 256;

  m3dAsmC() = default;
  explicit m3dAsmC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dDocumentC(node, owns, buildVirtualBase) {}

  // "MATES" (found or created) and "ASMPREFS" (found or created).
  m3dMatesC mates() const;
  mBasePrefsC preferences() const { return mBasePrefsC(findOrAddChild("ASMPREFS"), 0); }
  bool isAssembly() const { return hasKey("ASSEMBLY"); }

  // Deletes the members whose part is negative, in this assembly and its sub-assemblies;
  // returns how many were removed.
  int removeNegativeParts();
  // The origin of every member's placement and every mate scaled (factor 1.0 does nothing);
  // the member documents are left alone.
  void scalePlacements(double factor);

  int scaleGeometry(double factor) override;
  m3dNodeListC& listPartNodes(m3dNodeListC& list) override;
  m3dNodeListC& listDocumentNodes(m3dNodeListC& list) override;
  int collectViewCosmetics(const mMat4dC& view, const metaObjectC& output) override;
  void collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections) override;
  // The unit value of this assembly (its placements and mates scaled by old / new) and then of
  // every member's document, sub-assemblies included; 0 when a level could not take it (a walk
  // too deep) or the value is refused.
  int setDocumentUnitValue(double value) override;
};
