// The line-type and colour definitions of CommandContext and the per-pen-class tables built from
// the user configuration: layer names, host line-type names and host colour numbers.

#include <cstdlib>

#include "config/QVConfigBlock.h"
#include "config/TextUtilities.h"
#include "config/VariableExpansion.h"
#include "plugin/CommandContext.h"

namespace {

constexpr const char* kByNameBlock = "BYNAME";

const RWCString& itemText(QVConfig& config, const RWCString& key, const RWCString& block) {
  static const RWCString empty;
  const QVConfigItem* item = config.findItem(key, block);
  return item ? item->value().asText() : empty;
}

bool isBlank(const RWCString& text) {
  for (std::size_t i = 0; i < text.length(); ++i)
    if (text[i] != ' ' && text[i] != '\t') return false;
  return true;
}

}  // namespace

RWCString CommandContext::definitionDisplayName(QVConfig& definitions, const RWCString& language,
                                                const RWCString& block) {
  const RWCString& localised = itemText(definitions, language, block);
  if (!localised.isEmpty()) return localised;
  return itemText(definitions, "default", block);
}

void CommandContext::loadLineTypeAndColourDefinitions() {
  const RWCString language = expandVariables("$QUORVEL_LANGUAGE");

  lineTypeNames_.clear();
  {
    QVConfig lineTypes(true);
    lineTypes.loadFile(kLineTypeDefinitionsFileName);
    const RWTValOrderedVector<RWCString> blocks = lineTypes.blockNames();
    for (std::size_t i = 0; i < blocks.count(); ++i) {
      const RWCString name = definitionDisplayName(lineTypes, language, blocks[i]);
      if (!name.isEmpty()) lineTypeNames_.append(name);
    }
  }

  colourDefinitions_.clear();
  QVConfig colours(true);
  colours.loadFile(kColourDefinitionsFileName);
  const RWTValOrderedVector<RWCString> blocks = colours.blockNames();
  for (std::size_t i = 0; i < blocks.count(); ++i) {
    const RWCString name = definitionDisplayName(colours, language, blocks[i]);
    if (name.isEmpty()) continue;
    RWCString names;
    if (const QVConfigBlock* block = colours.findBlock(blocks[i])) {
      for (std::size_t k = 0; k < block->itemCount(); ++k) {
        const RWCString& text = block->itemAt(k)->value().asText();
        if (text.isEmpty()) continue;
        names += text;
        names += ';';
      }
    }
    colourDefinitions_.append(DefColorItem(name, atoiClassic(blocks[i].data()), names));
  }
}

bool CommandContext::matchesByName(const RWCString& upper, const char* word,
                                   const char* listDefault) {
  if (upper == word) return true;
  const RWCString list = valueOrDefault(word, kByNameBlock, listDefault).asText();
  const RWTValOrderedVector<RWCString> entries = splitFields(list, ',', '\0');
  for (std::size_t i = 0; i < entries.count(); ++i)
    if (upper == entries[i]) return true;
  return false;
}

RWCString CommandContext::translateLineTypeName(const RWCString& text) {
  RWCString result = text;
  const RWCString upper = text.upperCopy();
  if (matchesByName(upper, "BYBLOCK", "VONBLOCK")) result = "BYBLOCK";
  if (matchesByName(upper, "BYLAYER", "VONLAYER")) result = "BYLAYER";
  return result;
}

int CommandContext::parseColour(const RWCString& colourText) {
  // An empty colour means no colour was configured: the pen-class default.
  if (isBlank(colourText)) return 7;
  const RWCString text = translateLineTypeName(colourText);
  if (text == "BYBLOCK") return 0;
  if (text == "BYLAYER") return 256;
  for (std::size_t i = 0; i < colourDefinitions_.count(); ++i) {
    const DefColorItem& item = colourDefinitions_[i];
    if (item.displayName.compare(text, RWCString::ignoreCase) == 0 ||
        isInList(text, item.keyValues, true))
      return item.colourNumber;
  }
  return atoiClassic(text.data());
}

void CommandContext::buildPenClassTables() {
  penLayers_.clear();
  penLineTypes_.clear();
  penColours_.clear();
  for (int pen = 0; pen < kPenClassCount; ++pen) {
    penLayers_.append(valueById(kSetLayerFirst + pen).asText());
    penLineTypes_.append(translateLineTypeName(valueById(kSetLineTypeFirst + pen).asText()));
    const RWCString colour = valueById(kSetColourFirst + pen).asText();
    penColours_.append(parseColour(translateLineTypeName(colour)));
  }
  hatchLayer_ = valueById(kSetLayerHatch).asText();
  hatchLineType_ = translateLineTypeName(valueById(kSetLineTypeHatch).asText());
  hatchColour_ = parseColour(valueById(kSetColourHatch).asText());
  cosmeticLayer_ = valueById(kSetLayerCosm).asText();
}
