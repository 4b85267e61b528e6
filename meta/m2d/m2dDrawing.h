#pragma once
// m2dDrawingC: a "DRAWING" node: several figures under "DRAWINGITEMS", with the drawing's own
// preferences and settings. Registered under "DRAWING" in the document registry. Owns its node
// only when built with owns set.

#include <cstdint>

#include "meta/m2d/m2dDocument.h"
#include "meta/m2d/m2dDrawingItemList.h"
#include "meta/m2d/m2dFigure.h"
#include "meta/mBasePrefs.h"
#include "meta/mVec2d.h"

class m2dDrawingC : public m2dDocumentC {
public:
    static constexpr int classDepth = m2dDocumentC::classDepth + 1;
    static const char* classKey() { return "DRAWING"; }

    m2dDrawingC() = default;
    explicit m2dDrawingC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dDocumentC(node, owns, buildVirtualBase) {}

    // Views of the children, not owning, each created when absent.
    m2dDrawingItemListC itemList() const {
        return m2dDrawingItemListC(findOrAddChild("DRAWINGITEMS"), 0);
    }
    std::int64_t figureCount() const { return itemList().count(); }
    // The n-th figure (0-based); unbound when there are fewer.
    m2dFigureC figure(std::int64_t n) const { return itemList().item(n); }
    mBasePrefsC prefsObj() const { return mBasePrefsC(findOrAddChild("DRAWINGPREFS"), 0); }

    // The sum over the figures.
    int approximateItems(int mode, const std::vector<std::string>& keys) const override;
    int changeUnitBase(double unitBase) const override;
    // Lower-left and upper-right corner round the boxes of every figure's shapes; (1e10, 1e10)
    // and (-1e10, -1e10) when no figure has a shape with a box. Returns 0.
    int getExtents(mVec2dC& lowerLeft, mVec2dC& upperRight) const;
};
