#include "host/SymbolTables.h"

#include <cctype>
#include <cstring>

#include "host/CodePage.h"

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
  if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return true;
  // Character by character, as the code page reads them: a letter may be one byte in one name
  // and two (UTF-8) in the other.
  std::size_t i = 0, k = 0;
  while (i < a.size() && k < b.size())
    if (foldedLetter(nextCodePoint(a, i)) != foldedLetter(nextCodePoint(b, k))) return false;
  return i == a.size() && k == b.size();
}

std::string nameKey(const std::string& name) {
  std::string key;
  key.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    // UTF-8, so that every character has one form in the key.
    platform::appendUtf8(foldedLetter(nextCodePoint(name, i)), key);
  }
  return key;
}

std::string upperName(std::string name) {
  for (char& c : name) c = static_cast<char>(folded(static_cast<unsigned char>(c)));
  return name;
}

std::size_t NameIndex::find(const std::string& name) const {
  auto it = at_.find(nameKey(name));
  return it == at_.end() ? npos : it->second;
}

void NameIndex::add(const std::string& name, std::size_t position) {
  at_.emplace(nameKey(name), position);
}

void SymbolTables::reset() {
  layers_.assign(1, LayerRecord{"0", 7, "CONTINUOUS"});
  layerAt_.clear();
  layerAt_.add(layers_[0].name, 0);
  lastLayer_ = 0;
  lineTypes_.assign(1, LineTypeRecord{"CONTINUOUS", "Solid line", {}});
  lineTypeAt_.clear();
  lineTypeAt_.add(lineTypes_[0].name, 0);
}

std::size_t SymbolTables::layerPosition(const std::string& name) const {
  // Entities come in runs on the same layer: the layer found last is tried first, which spares
  // the key. Names are unique ignoring case, so it is the only one that can match.
  if (lastLayer_ < layers_.size() && sameName(layers_[lastLayer_].name, name)) return lastLayer_;
  const std::size_t k = layerAt_.find(name);
  if (k != NameIndex::npos) lastLayer_ = k;
  return k;
}

const LayerRecord* SymbolTables::findLayer(const std::string& name) const {
  const std::size_t k = layerPosition(name);
  return k == NameIndex::npos ? nullptr : &layers_[k];
}

LayerRecord* SymbolTables::findLayer(const std::string& name) {
  return const_cast<LayerRecord*>(static_cast<const SymbolTables*>(this)->findLayer(name));
}

LayerRecord& SymbolTables::ensureLayer(const std::string& name) {
  if (LayerRecord* r = findLayer(name)) return *r;
  layerAt_.add(name, layers_.size());
  layers_.push_back(LayerRecord{name, 7, "CONTINUOUS"});
  return layers_.back();
}

const LineTypeRecord* SymbolTables::findLineType(const std::string& name) const {
  const std::size_t k = lineTypePosition(name);
  return k == NameIndex::npos ? nullptr : &lineTypes_[k];
}

bool SymbolTables::lineTypeUsable(const std::string& name) const {
  static const std::string byLayer = "BYLAYER", byBlock = "BYBLOCK";
  return sameName(name, byLayer) || sameName(name, byBlock) || findLineType(name);
}

void SymbolTables::addLineType(LineTypeRecord record) {
  // A record of the same name is replaced in its place; its new spelling has the same key.
  const std::size_t k = lineTypePosition(record.name);
  if (k != NameIndex::npos) {
    lineTypes_[k] = std::move(record);
    return;
  }
  lineTypeAt_.add(record.name, lineTypes_.size());
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
