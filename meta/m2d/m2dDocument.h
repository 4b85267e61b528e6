#pragma once
// m2dDocumentC: a 2D document over the root of a metafile tree ("DRAWING" or "FIGURE"): its part
// name, view number and settings, and two virtual operations that the figure and the drawing
// override. The base bodies forward to the class registered in the document registry for the
// node's key (bound to the node for the one call) and answer 0 when there is none. Owns its node
// only when built with owns set; the converter's view over the root owns the whole tree.

#include <string>
#include <vector>

#include "meta/m2d/m2dBaseObj.h"
#include "meta/m2d/m2dSettings.h"
#include "meta/metaClassRegistry.h"

class m2dDocumentC : public m2dBaseObjC {
public:
    static constexpr int classDepth = m2dBaseObjC::classDepth + 1;

    m2dDocumentC() = default;
    explicit m2dDocumentC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dBaseObjC(node, owns, buildVirtualBase) {}
    ~m2dDocumentC() override = default;

    // "NAME", the part name (created when absent: "" with found 0).
    const char* name(int* found = nullptr) const { return getAttrString("NAME", found); }
    // "ANSICHTNO" truncated to an integer; -1 means none (created when absent: 0 with found 0).
    int viewNumber(int* found = nullptr) const { return getAttrInt("ANSICHTNO", found); }
    // Whether a "SETTINGS" child exists (nothing is created).
    bool hasSettings() const { return hasChild("SETTINGS"); }
    // The "SETTINGS" child (created when absent), not owning.
    m2dSettingsC settingsObj() const { return m2dSettingsC(findOrAddChild("SETTINGS"), 0); }

    // Replaces selected items by their "LINE", "ARC" and "CIRCLE" pieces: an item is selected
    // when (its key is in `keys` and mode is 0) or (it is not and mode is 1). Returns the number
    // of pieces made.
    virtual int approximateItems(int mode, const std::vector<std::string>& keys) const;
    // Rescales every length to the unit base `unitBase` (> 0); 1 when done or nothing had to
    // change, 0 when refused (no registered class, or a unit base that is 0, negative or not
    // finite).
    virtual int changeUnitBase(double unitBase) const;

    // The document registry ("DRAWING", "FIGURE"), null until the first registration; entries
    // are stored as the address of their m2dDocumentC part.
    static metaClassRegistryC*& registry();

protected:
    m2dDocumentC* forwardTarget() const;
};
