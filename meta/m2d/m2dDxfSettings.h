#pragma once
// m2dDxfSettingsC: the "DXFSETTINGS" record of a document's "SETTINGS": the DXF insertion
// "DXFINSERTX" and "DXFINSERTY", integers in drawing units. Owns its node only when built with
// owns set.

#include <cstdint>

#include "meta/m2d/m2dBaseObj.h"

class m2dDxfSettingsC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;

    m2dDxfSettingsC() = default;
    explicit m2dDxfSettingsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}

    int insertX(int* found = nullptr) const { return getAttrInt("DXFINSERTX", found); }
    int insertY(int* found = nullptr) const { return getAttrInt("DXFINSERTY", found); }
    void setInsertX(std::int64_t x) const { setAttrInt("DXFINSERTX", x); }
    void setInsertY(std::int64_t y) const { setAttrInt("DXFINSERTY", y); }
    // Both values times `factor`, truncated toward zero.
    void rescale(double factor) const;
};
