#include "plugin/CommandContext.h"

#include "config/VariableExpansion.h"
#include "plugin/HostBinding.h"

namespace {

struct UserSettingRow {
  int id;
  const char* block;
  const char* key;
  const char* defaultText;
};

// The registered settings of the user configuration, in registration order.
constexpr UserSettingRow kUserSettings[kSettingCount] = {
    {kSetInchAllowed, "Options", "InchAllowed", "1"},
    {kSetAcadLin, "Options", "AcadLin", "acad.lin"},
    {3, "Layer", "SolidHeavy", "0"},
    {4, "Layer", "SolidLight", "0"},
    {5, "Layer", "Hidden", "0"},
    {6, "Layer", "Center", "0"},
    {7, "Layer", "HeavyDashDot", "0"},
    {kSetLayerHatch, "Layer", "Hatch", "0"},
    {kSetLayerCosm, "Layer", "Cosm", ""},
    {10, "LineType", "SolidHeavy", "Continuous"},
    {11, "LineType", "SolidLight", "Continuous"},
    {12, "LineType", "Hidden", "Verdeckt"},
    {13, "LineType", "Center", "Mitte"},
    {14, "LineType", "HeavyDashDot", "Strichpunkt"},
    {kSetLineTypeHatch, "LineType", "Hatch", "Continuous"},
    {16, "LineColor", "SolidHeavy", "7"},
    {17, "LineColor", "SolidLight", "7"},
    {18, "LineColor", "Hidden", "7"},
    {19, "LineColor", "Center", "7"},
    {20, "LineColor", "HeavyDashDot", "7"},
    {kSetColourHatch, "LineColor", "Hatch", "7"},
    {kSetSatFileName, "XCHG3D", "SATFileName", "c:\\acadxchg.sat"},
    {kSetSatVersion, "XCHG3D", "SATVersion", "1.6"},
    {kSetMetaFileName, "XCHG2D", "MetaFileName", "c:\\plinth.out"},
};

constexpr std::size_t kTableCapacity = 64;

}  // namespace

CommandContext::CommandContext()
    : QVConfig(true),
      catalogue_(&RWCStringHash, 64),
      penLayers_(kTableCapacity),
      penLineTypes_(kTableCapacity),
      penColours_(kTableCapacity),
      colourDefinitions_(kTableCapacity),
      lineTypeNames_(kTableCapacity) {
  setAutoSave(false);
}

CommandContext::~CommandContext() = default;

void CommandContext::loadForCommand() {
  loadUserConfig();
  readCatalogue(expandVariables(kCatalogueFileName));
  loadLineTypeAndColourDefinitions();
  buildPenClassTables();
}

void CommandContext::loadUserConfig() {
  // A missing or unreadable file is no error: every setting then takes its default.
  loadFile(kUserConfigFileName);
  for (const UserSettingRow& row : kUserSettings)
    registerSetting(row.id, row.key, row.block, row.defaultText);
  satFileName_ = valueById(kSetSatFileName).asText();
  satVersion_ = valueById(kSetSatVersion).asText();
  metafileName_ = valueById(kSetMetaFileName).asText();
}

bool CommandContext::isInchAllowed() {
  // Before loadUserConfig the setting's default "1" is in force.
  if (!isRegistered(kSetInchAllowed)) return true;
  return valueById(kSetInchAllowed).asBool();
}

const RWCString* CommandContext::penTableEntry(const RWTValOrderedVector<RWCString>& table,
                                               int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.count()) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

RWCString CommandContext::layerOfPenClass(int index) const {
  const RWCString* layer = penTableEntry(penLayers_, index);
  return layer ? *layer : RWCString(kPenLayerFallback);
}

RWCString CommandContext::lineTypeOfPenClass(int index) const {
  const RWCString* lineType = penTableEntry(penLineTypes_, index);
  return lineType ? *lineType : RWCString(kPenLineTypeFallback);
}

int CommandContext::colourOfPenClass(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= penColours_.count()) return 7;
  return penColours_[static_cast<std::size_t>(index)];
}


