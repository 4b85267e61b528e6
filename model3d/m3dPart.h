#pragma once
// m3dPartC: a part, the "PART" document: a feature history ("ITEMS"), cosmetic sketches
// ("COSDRAW"), connection points ("CONNECT") and preferences ("PARTPREFS" with "UNITBASE").
// It overrides every document operation. A view: it owns its node only when built with owns set.

#include "meta/mBasePrefs.h"
#include "model3d/m3dConnections.h"
#include "model3d/m3dCosmeticDraws.h"
#include "model3d/m3dDocument.h"
#include "model3d/m3dPartItems.h"

class m3dPartC : public m3dDocumentC {
public:
  static constexpr int classDepth = m3dDocumentC::classDepth + 1;
  static const char* classKey() { return "PART"; }

  // Expands the feature patterns of every part of a document in place; returns the number of
  // patterns expanded. Registered at load by the code that builds feature patterns.
  using patternExpanderF = int (*)(m3dDocumentC& document);
  static void setPatternExpander(patternExpanderF expander);
  static patternExpanderF patternExpander();

  m3dPartC() = default;
  explicit m3dPartC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dDocumentC(node, owns, buildVirtualBase) {}

  // The containers, found or created.
  m3dPartItemsC items() const { return m3dPartItemsC(findOrAddChild("ITEMS"), 0); }
  m3dCosmeticDrawsC cosmeticDraws() const { return m3dCosmeticDrawsC(findOrAddChild("COSDRAW"), 0); }
  m3dConnectionsC connections() const { return m3dConnectionsC(findOrAddChild("CONNECT"), 0); }
  mBasePrefsC preferences() const { return mBasePrefsC(findOrAddChild("PARTPREFS"), 0); }

  // "MTYP" holds the key word "NEG": material to be removed in an assembly.
  bool isNegative() const;
  // For a "SKETCH" feature: the "COSDRAW" element named after it with "_COSMETIC" appended;
  // unbound when the part has no node, the feature is no sketch or nothing matches.
  m3dCosSketchC cosmeticSketchOf(const metaObjectC& feature) const;

  // The shortest loop element over the "SKETCH" items (0 without items, 1e8 when no element
  // is shorter); `element` (may be null) is re-pointed at it. Forwards to the items list.
  double minSketchMeasure(mBaseShape2dC* element) const;
  // The number of short elements the "SKETCH" items' closeGaps (threshold) removed.
  int sumSketchGaps(double threshold) const;

  int scaleGeometry(double factor) override;
  int transformGeometry(const mMat4dC& transform) override;
  // The part's own node only.
  m3dNodeListC& listPartNodes(m3dNodeListC& list) override;
  m3dNodeListC& listDocumentNodes(m3dNodeListC& list) override;
  // Appends to `output` a copy of every cosmetic sketch that faces the view or can be turned
  // about its axis line (lying across the view direction) until its normal lies along the
  // view's Z axis, either way round; the copies carry this part's number. This part's tree is
  // left as it is.
  int collectViewCosmetics(const mMat4dC& view, const metaObjectC& output) override;
  void collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections) override;
  int setDocumentUnitValue(double value) override;

private:
  // The cosmetic sketches of this part's own tree, turned to face the view.
  int collectOwnCosmetics(const mMat4dC& view, const metaObjectC& output) const;
};
