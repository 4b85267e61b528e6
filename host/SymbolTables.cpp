#include "host/SymbolTables.h"

#include <cctype>
#include <cstring>

namespace kxhost {

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string upperName(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

void SymbolTables::reset() {
  layers_.assign(1, LayerRecord{"0", 7, "CONTINUOUS"});
  lineTypes_.assign(1, LineTypeRecord{"CONTINUOUS", "Solid line", {}});
}

const LayerRecord* SymbolTables::findLayer(const std::string& name) const {
  for (const LayerRecord& r : layers_)
    if (sameName(r.name, name)) return &r;
  return nullptr;
}

LayerRecord* SymbolTables::findLayer(const std::string& name) {
  for (LayerRecord& r : layers_)
    if (sameName(r.name, name)) return &r;
  return nullptr;
}

LayerRecord& SymbolTables::ensureLayer(const std::string& name) {
  if (LayerRecord* r = findLayer(name)) return *r;
  layers_.push_back(LayerRecord{name, 7, "CONTINUOUS"});
  return layers_.back();
}

const LineTypeRecord* SymbolTables::findLineType(const std::string& name) const {
  for (const LineTypeRecord& r : lineTypes_)
    if (sameName(r.name, name)) return &r;
  return nullptr;
}

bool SymbolTables::lineTypeUsable(const std::string& name) const {
  return sameName(name, "BYLAYER") || sameName(name, "BYBLOCK") || findLineType(name);
}

void SymbolTables::addLineType(LineTypeRecord record) {
  for (LineTypeRecord& r : lineTypes_)
    if (sameName(r.name, record.name)) {
      r = std::move(record);
      return;
    }
  lineTypes_.push_back(std::move(record));
}

bool SymbolTables::validName(const std::string& name) {
  if (name.empty() || name.size() > 255) return false;
  for (unsigned char c : name) {
    if (c < 32 || std::strchr(kForbiddenNameCharacters, c)) return false;
  }
  return true;
}

}  // namespace kxhost
