#include "meta/m2d/m2dDrawing.h"

#include <algorithm>
#include <cmath>

#include "meta/metaClassRegistrar.h"

namespace {
metaClassRegistrarC<m2dDrawingC, m2dDocumentC> drawingRegistrar(m2dDocumentC::registry(),
                                                                m2dDrawingC::classKey(),
                                                                m2dDocumentC::classDepth);
}  // namespace

int m2dDrawingC::approximateItems(int mode, const std::vector<std::string>& keys) const {
    const m2dDrawingItemListC figures = itemList();
    const std::int64_t count = figures.count();
    int made = 0;
    for (std::int64_t f = 0; f < count; ++f) made += figures.item(f).approximateItems(mode, keys);
    return made;
}

int m2dDrawingC::changeUnitBase(double unitBase) const {
    if (!isBound() || !(unitBase > 0.0) || !std::isfinite(unitBase)) return 0;
    const mBasePrefsC prefs = prefsObj();
    const double old = prefs.effectiveUnitBase();
    if (old == unitBase) return 1;
    const double factor = old / unitBase;
    const m2dDrawingItemListC figures = itemList();
    const std::int64_t count = figures.count();
    for (std::int64_t f = 0; f < count; ++f) figures.item(f).changeUnitBase(unitBase);
    if (hasSettings()) settingsObj().dxfSettingsObj().rescale(factor);
    prefs.setUnitBase(unitBase);
    return 1;
}

int m2dDrawingC::getExtents(mVec2dC& lowerLeft, mVec2dC& upperRight) const {
    lowerLeft.set(1e10, 1e10);
    upperRight.set(-1e10, -1e10);
    const m2dDrawingItemListC figures = itemList();
    const std::int64_t count = figures.count();
    for (std::int64_t f = 0; f < count; ++f) {
        mVec2dC a, b;
        // A figure without any boxed shape reports the empty start box; it must not widen.
        if (!figures.item(f).itemList().getBoundingBox(a, b)) continue;
        for (const mVec2dC& p : {a, b}) {
            lowerLeft.set(std::min(lowerLeft.x, p.x), std::min(lowerLeft.y, p.y));
            upperRight.set(std::max(upperRight.x, p.x), std::max(upperRight.y, p.y));
        }
    }
    return 0;
}
