// Layers, line types and block names of the current drawing: the symbol-table lookups, the host's
// "_.layer" and "_.linetype" commands that create layers and load line types, the preparation of
// the pen classes' layers before a 2D command, and the block name made from a part's name.
#include <cstdio>
#include <cstring>

#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

namespace {

// Line types that the host resolves through the layer or block; they are never loaded.
bool isByName(const RWCString& lineType) { return lineType == "BYLAYER" || lineType == "BYBLOCK"; }

// Block names are cut to this many characters.
constexpr std::size_t kMaxBlockNameLength = 250;

// Characters that a block name may not hold, each of them and every control character becoming
// a blank: those no symbol-table name of a DXF file may hold, and the comma.
constexpr const char* kBlockNameForbidden = "<>/\\\":;?*|,=`";

}  // namespace

bool CommandContext::hasTableEntry(const char* table, const RWCString& name) {
  // The host's own search decides: the names of a table compare ignoring case as the host folds
  // it (the letters of its code page as well as ASCII ones, whatever the name's encoding), so a
  // name found free here is one the host takes as new. Setnext 0 leaves the table's cursor as it
  // was; the entry list is released at once.
  resbuf* entry = hostcall::tblSearch(table, name.data(), 0);
  if (entry == nullptr) return false;
  hostcall::relRb(entry);
  return true;
}

bool CommandContext::hasLayer(const RWCString& name) { return hasTableEntry("LAYER", name); }

bool CommandContext::hasLineType(const RWCString& name) { return hasTableEntry("LTYPE", name); }

bool CommandContext::hasBlock(const RWCString& name) { return hasTableEntry("BLOCK", name); }

bool CommandContext::loadLineType(const RWCString& lineType) {
  if (hasLineType(lineType)) return true;
  const RWCString file = valueById(kSetAcadLin).asText();
  hostcall::command(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, lineType.data(), RTSTR, file.data(),
                    RTSTR, "", RTNONE);
  return hasLineType(lineType);
}

std::int32_t CommandContext::createLayer(const RWCString& layerName, const RWCString& lineTypeName,
                                         int colour) {
  const RWCString layer = layerName.upperCopy();
  const RWCString lineType = lineTypeName.upperCopy();

  if (hostcall::command(RTSTR, "_.layer", RTSTR, "_new", RTSTR, layer.data(), RTSTR, "", RTNONE) !=
      RTNORM) {
    printMessage("Layer %s konnte nicht erzeugt werden", layer.data());
    return -1;
  }

  std::int32_t result = 1;
  if (!isByName(lineType)) {
    // loadLineType looks in the drawing first, so a loaded line type is not loaded again.
    const bool present = loadLineType(lineType);
    if (!present) {
      printMessage("Linientyp %s konnte nicht geladen werden", lineType.data());
      result = -1;
    } else {
      hostcall::command(RTSTR, "_.layer", RTSTR, "_ltype", RTSTR, lineType.data(), RTSTR,
                        layer.data(), RTSTR, "", RTNONE);
    }
  }

  // 0 (BYBLOCK) and 256 (BYLAYER) are no colours a layer can carry.
  if (colour > 0 && colour < 256) {
    hostcall::command(RTSTR, "_.layer", RTSTR, "_color", RTSHORT, colour, RTSTR, layer.data(), RTSTR,
                      "", RTNONE);
  }
  return result;
}

std::int32_t CommandContext::prepareLayers() {
  static const char* const kMissingLineType =
      "Linienstil %s existiert nicht!\nGeben Sie im 2D-Optionendialog der TROVsolutions "
      "AutoCAD-Schnittstelle einen gültigen Linientyp an.";

  std::int32_t result = 1;
  for (int pen = 0; pen < kPenClassCount && result == 1; ++pen) {
    const RWCString layer = layerOfPenClass(pen);
    const RWCString lineType = lineTypeOfPenClass(pen);
    const int colour = colourOfPenClass(pen);
    if (!hasLayer(layer)) {
      createLayer(layer, lineType, colour);  // its failures are reported by itself and below
      if (!isByName(lineType) && !hasLineType(lineType)) {
        alertMessage(kMissingLineType, lineType.data());
        result = -1;
      }
    } else if (!isByName(lineType) && !hasLineType(lineType)) {
      if (!loadLineType(lineType)) {
        alertMessage(kMissingLineType, lineType.data());
        result = -1;
      }
    }
  }

  for (int pen = 0; pen < kPenClassCount && result == 1; ++pen) {
    const RWCString layer = layerOfPenClass(pen);
    if (!hasLayer(layer)) {
      alertMessage("Layer %s konnte nicht erzeugt werden", layer.data());
      result = -1;
    }
  }

  const RWCString cosmetic = cosmeticLayer();
  if (!cosmetic.isEmpty() && !hasLayer(cosmetic)) createLayer(cosmetic, "BYLAYER", 0);

  return result;
}

RWCString CommandContext::composeBlockName(const RWCString& name, int viewNumber) {
  RWCString result = name;
  if (viewNumber != -1) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", viewNumber);
    result += " View";
    result += digits;
  }
  if (result.length() > kMaxBlockNameLength) result.remove(kMaxBlockNameLength);
  for (std::size_t i = 0; i < result.length(); ++i) {
    const char c = static_cast<const RWCString&>(result)[i];
    const bool control = static_cast<unsigned char>(c) < 32;
    if (control || std::strchr(kBlockNameForbidden, c) != nullptr) result[i] = ' ';
  }
  return result;
}
