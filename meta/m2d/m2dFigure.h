#pragma once
// m2dFigureC: a "FIGURE" node, the unit the converter turns into one block or into loose entities:
// its shapes ("FIGURITEMS"), hatches ("M2DHATCHES"), insertion point, group flag and preferences.
// Registered under "FIGURE" in the document registry. Owns its node only when built with owns
// set.

#include "meta/m2d/m2dDocument.h"
#include "meta/m2d/m2dHatchList.h"
#include "meta/m2d/m2dInsertPoint.h"
#include "meta/mBasePrefs.h"
#include "meta/metaObjShapeList.h"

class m2dFigureC : public m2dDocumentC {
public:
    static constexpr int classDepth = m2dDocumentC::classDepth + 1;
    static const char* classKey() { return "FIGURE"; }

    m2dFigureC() = default;
    explicit m2dFigureC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dDocumentC(node, owns, buildVirtualBase) {}

    // Views of the children, not owning, each created when absent.
    metaObjShapeListC itemList() const { return metaObjShapeListC(findOrAddChild("FIGURITEMS"), 0); }
    m2dHatchListC hatchList() const { return m2dHatchListC(findOrAddChild("M2DHATCHES"), 0); }
    m2dInsertPointC insertPointObj() const { return m2dInsertPointC(findOrAddChild("INSERTPOINT"), 0); }
    mBasePrefsC prefsObj() const { return mBasePrefsC(findOrAddChild("FIGUREPREFS"), 0); }
    // 1 when "GROUP" is exactly "YES" (case-sensitive).
    int isGroup() const;
    // Whether an "M2DHATCHES" child exists (nothing is created).
    bool hasHatches() const { return hasChild("M2DHATCHES"); }

    // Step 0.01 rad, tolerance 0.01: selected items become pieces, the others are kept. When
    // pieces were made, the hatches' loops are emptied (their boundaries are gone) and the new
    // items replace the old ones.
    int approximateItems(int mode, const std::vector<std::string>& keys) const override;
    // Scales items, insertion point, DXF insertion and hatches by old / new unit base, then stores
    // the new unit base.
    int changeUnitBase(double unitBase) const override;
};
