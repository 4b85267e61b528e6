#include "meta/m2d/m2dFigure.h"

#include <cmath>
#include <cstring>

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {
// Both document classes register with the depth of m2dDocumentC, so neither outranks the other.
metaClassRegistrarC<m2dFigureC, m2dDocumentC> figureRegistrar(m2dDocumentC::registry(),
                                                              m2dFigureC::classKey(),
                                                              m2dDocumentC::classDepth);
}  // namespace

int m2dFigureC::isGroup() const { return std::strcmp(getAttrString("GROUP"), "YES") == 0 ? 1 : 0; }

int m2dFigureC::approximateItems(int mode, const std::vector<std::string>& keys) const {
    if (!isBound()) return 0;
    const metaObjShapeListC pieces(metaTreeC::createKeyNode("FIGURITEMS"), 1);  // deleted here
    const metaObjShapeListC items = itemList();
    const int n = items.approximateShapes(mode, keys, 0.01, 0.01, pieces);
    if (n == 0) return 0;
    if (hasHatches()) {
        const m2dHatchListC hatches = hatchList();
        const std::int64_t count = hatches.count();
        for (std::int64_t h = 0; h < count; ++h) hatches.item(h).loopList().clearChildren();
    }
    items.clearChildren();
    // Move the pieces over in order, keeping a tail so that each append is one step.
    metaTreeC* tail = nullptr;
    while (metaTreeC* piece = pieces.node()->firstChild()) {
        piece->unlink();
        if (tail)
            piece->insertAfter(tail);
        else
            piece->appendAsLastChild(items.node());
        tail = piece;
    }
    return n;
}

int m2dFigureC::changeUnitBase(double unitBase) const {
    if (!isBound() || !(unitBase > 0.0) || !std::isfinite(unitBase)) return 0;
    const mBasePrefsC prefs = prefsObj();
    const double old = prefs.effectiveUnitBase();
    if (old == unitBase) return 1;
    const double factor = old / unitBase;
    itemList().scaleShapes(factor);
    insertPointObj().pointObj().scale(factor);
    if (hasSettings()) settingsObj().dxfSettingsObj().rescale(factor);
    if (hasHatches()) {
        const m2dHatchListC hatches = hatchList();
        const std::int64_t count = hatches.count();
        for (std::int64_t h = 0; h < count; ++h) hatches.item(h).scale(factor);
    }
    prefs.setUnitBase(unitBase);
    return 1;
}
