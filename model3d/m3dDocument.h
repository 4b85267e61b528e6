#pragma once
// m3dDocumentC: the common base of parts and assemblies: the document attributes ("SHORTNAME",
// "NAME", "PARTNR", "MIDENT"), generated names, part numbering, and five document operations
// that forward, by the node's key word, to the prototype in the 3D document registry. The node
// lists it returns name nodes of the tree and own none of them. A view: it owns its node only
// when built with owns set.

#include <cstdint>

#include "foundation/str.h"
#include "model3d/m3dAxisSegment.h"
#include "model3d/m3dGeomOpBase.h"
#include "model3d/m3dNodeList.h"

class m3dMembersC;

// 1 when the node is a key word "PART" / "ASSEMBLY", else 0 (also for a null node).
int isPartNode(const metaTreeC* node);
int isAssemblyNode(const metaTreeC* node);

class m3dDocumentC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;

  m3dDocumentC() = default;
  explicit m3dDocumentC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  // The part nodes under this document: `list` is emptied, filled and returned.
  virtual m3dNodeListC& listPartNodes(m3dNodeListC& list);
  // This document's own node followed by the part nodes under it.
  virtual m3dNodeListC& listDocumentNodes(m3dNodeListC& list);
  // Appends to the node of `output` copies of the cosmetic sketches turned to face the view whose
  // transform is `view`; non-zero when handled.
  virtual int collectViewCosmetics(const mMat4dC& view, const metaObjectC& output);
  // Appends to `pool` the axis segments that lie across the view direction (every segment when
  // `allDirections` is set), tagged with the part number.
  virtual void collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections);
  // Sets the unit value of the document ("UNITBASE" of its preferences), scaling the geometry
  // by old / new; non-zero when done, 0 for a value that is zero or not finite.
  virtual int setDocumentUnitValue(double value);

  const char* getShortName(int* found = nullptr) const { return getAttrString("SHORTNAME", found); }
  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  const char* getIdent(int* found = nullptr) const { return getAttrString("MIDENT", found); }
  int getPartNumber(int* found = nullptr) const { return getAttrInt("PARTNR", found); }
  void setPartNumber(int n) const { setAttrInt("PARTNR", n); }
  // "MIDENT" parsed as an extended-attribute list into "EXTATTRVAR" records under the node of
  // `output`; returns the number of pairs read.
  std::int64_t parseIdent(const metaObjectC& output) const;

  // "SHORTNAME" (or makeName when it is empty) when shorter than `limit`; else with everything
  // but A-Z and 0-9 removed when that is shorter; else a generated "QVL_<n>_<seconds>". Nothing
  // is written back.
  str makeShortName(unsigned limit) const;
  // "NAME" when it is not empty, else a generated "QVL_<n>_<seconds>". Nothing is written back.
  str makeName() const;

  // Sets "PARTNR" of the listed parts to first, first + 1, ...; returns the last number given
  // (first - 1 without parts).
  int numberParts(int first);
  // The first listed part node whose "PARTNR" equals n; null when none.
  metaTreeC* findPartByNumber(int n);

  // The members of this document (its "MEMBER" children) and their number.
  m3dMembersC members() const;
  std::int64_t memberCount() const;

protected:
  // The unit value of the preferences record `prefsKey`: old "UNITBASE" (0.0 or absent counts
  // as 1.0). Returns 0 and sets nothing for a value that is zero or not finite; else 1 with
  // `factor` = old / value and `changed` telling whether they differ.
  int unitChange(const char* prefsKey, double value, double& factor, bool& changed) const;
  void storeUnitValue(const char* prefsKey, double value) const;
};
