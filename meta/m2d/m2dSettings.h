#pragma once
// m2dSettingsC: a document's "SETTINGS" record. Owns its node only when built with owns set.

#include "meta/m2d/m2dBaseObj.h"
#include "meta/m2d/m2dDxfSettings.h"

class m2dSettingsC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;

    m2dSettingsC() = default;
    explicit m2dSettingsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    // The "DXFSETTINGS" child (created when absent), not owning.
    m2dDxfSettingsC dxfSettingsObj() const { return m2dDxfSettingsC(findOrAddChild("DXFSETTINGS"), 0); }
};
