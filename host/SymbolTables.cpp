#include "host/SymbolTables.h"

#include <cctype>
#include <cstring>

namespace kxhost {

namespace {

// The upper case of a name's byte: the basic Latin letters are folded here without a library
// call; every other byte as the C library folds it.
inline unsigned char folded(unsigned char c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
  return static_cast<unsigned char>(std::toupper(c));
}

}  // namespace

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  if (std::memcmp(a.data(), b.data(), a.size()) == 0) return true;   // the usual case: same case
  for (std::size_t i = 0; i < a.size(); ++i)
    if (folded(static_cast<unsigned char>(a[i])) != folded(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string upperName(std::string name) {
  for (char& c : name) c = static_cast<char>(folded(static_cast<unsigned char>(c)));
  return name;
}

void SymbolTables::reset() {
  layers_.assign(1, LayerRecord{"0", 7, "CONTINUOUS"});
  lastLayer_ = 0;
  lineTypes_.assign(1, LineTypeRecord{"CONTINUOUS", "Solid line", {}});
}

const LayerRecord* SymbolTables::findLayer(const std::string& name) const {
  // Entities come in runs on the same layer: the layer found last is tried first. Names are
  // unique ignoring case, so it is the only one that can match.
  if (lastLayer_ < layers_.size() && sameName(layers_[lastLayer_].name, name))
    return &layers_[lastLayer_];
  for (std::size_t k = 0; k < layers_.size(); ++k)
    if (sameName(layers_[k].name, name)) {
      lastLayer_ = k;
      return &layers_[k];
    }
  return nullptr;
}

LayerRecord* SymbolTables::findLayer(const std::string& name) {
  return const_cast<LayerRecord*>(static_cast<const SymbolTables*>(this)->findLayer(name));
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
  static const std::string byLayer = "BYLAYER", byBlock = "BYBLOCK";
  return sameName(name, byLayer) || sameName(name, byBlock) || findLineType(name);
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
