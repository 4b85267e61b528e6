#include "config/QVConfig.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "config/NotificationEvent.h"
#include "config/TextUtilities.h"

namespace {

// Formats printf-style into a string of any length. Numbers use '.' as the decimal point: the
// C library's numeric locale is switched to "C" for the call when it says otherwise.
RWCString formatText(const char* format, va_list args) {
  if (!format) return RWCString();
  std::string savedLocale;
  const std::lconv* conv = std::localeconv();
  const bool switchLocale = conv && conv->decimal_point && std::strcmp(conv->decimal_point, ".");
  if (switchLocale) {
    const char* current = std::setlocale(LC_NUMERIC, nullptr);
    savedLocale = current ? current : "C";
    std::setlocale(LC_NUMERIC, "C");
  }
  va_list sizing;
  va_copy(sizing, args);
  const int needed = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  RWCString out;
  if (needed > 0) {
    std::string buffer(static_cast<std::size_t>(needed) + 1, '\0');
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out = RWCString(buffer.data(), static_cast<std::size_t>(needed));
  }
  if (switchLocale) std::setlocale(LC_NUMERIC, savedLocale.c_str());
  return out;
}

RWCString numbered(const RWCString& name, int n) {
  RWCString key(name);
  key.append(intToText(n));
  return key;
}

bool isTrueWord(const RWCString& text) {
  static const char* const words[] = {"true", "yes", "ja", "1"};
  for (const char* w : words)
    if (text.length() == std::strlen(w) && text.compare(w, RWCString::ignoreCase) == 0) return true;
  return false;
}

// Copies of the registered settings that reload puts back after rebuilding the model.
struct SavedSetting {
  QVConfigId record;
  RWCString defaultText;
  bool operator==(const SavedSetting& o) const { return record == o.record; }
};

RWCString gTableWords[7];

// A load's result (of the line list's reading) as the outcome a later save looks at.
QVConfig::ReadOutcome readOutcome(int result, bool missing) {
  if (result == 1) return QVConfig::kReadWhole;
  if (result == -3) return missing ? QVConfig::kReadNothing : QVConfig::kReadUnopened;
  return QVConfig::kReadPartly;
}

// Block names are equal by the configuration's comparison; every spelling of "<default>" names
// the one default block, as the line list treats it.
bool sameBlockName(const RWCString& a, const RWCString& b, bool ignoreCase) {
  const bool da = QVConfigLineList::isDefaultBlock(a), db = QVConfigLineList::isDefaultBlock(b);
  if (da || db) return da && db;
  return QVConfigLineList::compareNames(a, b, ignoreCase) == 0;
}

}  // namespace

// ---- construction and files ---------------------------------------------------------------

QVConfig::QVConfig(bool ignoreCase)
    : lines_(ignoreCase), ignoreCase_(ignoreCase ? 1 : 0), blocks_(64), ids_(64) {}

QVConfig::QVConfig(const RWCString& fileName, bool ignoreCase) : QVConfig(ignoreCase) {
  fileName_ = fileName;
  if (!fileName.isEmpty()) loadFile(fileName);
}

QVConfig::QVConfig(std::istream* in, std::ostream* out, bool ignoreCase) : QVConfig(ignoreCase) {
  outputStream_ = out;
  inputStream_ = in;
  if (in) loadStream(*in);
}

QVConfig::~QVConfig() {
  if (autoSave_) save();
  lines_.clear();
  blocks_.deleteAll();
}

int QVConfig::loadFile(const RWCString& fileName) {
  fileName_ = fileName;
  inputStream_ = nullptr;
  outputStream_ = nullptr;
  if (fileName.isEmpty()) return -1;
  bool missing = false;
  int r = loadConfigLines(lines_, fileName, &missing);
  parseLines();
  lastRead_ = readOutcome(r, missing);
  return r == -3 ? 0 : r;
}

int QVConfig::loadStream(std::istream& in) {
  fileName_ = RWCString();
  inputStream_ = &in;
  int r = lines_.readStream(in);
  parseLines();
  lastRead_ = readOutcome(r, false);
  return r == -3 ? 0 : r;
}

int QVConfig::reload() {
  RWTValOrderedVector<SavedSetting> saved(64);
  for (std::size_t i = 0; i < ids_.count(); ++i) {
    SavedSetting s{ids_[i], RWCString()};
    if (QVConfigItem* item = findItem(ids_[i].keyName, ids_[i].blockName))
      s.defaultText = item->defaultText();
    saved.append(s);
  }
  clear();
  int r;
  if (!fileName_.isEmpty())
    r = loadFile(fileName_);
  else if (inputStream_)
    r = loadStream(*inputStream_);
  else
    r = -1;
  // The settings stay registered whatever the read gave; a value the file lacks takes its
  // default again.
  for (std::size_t i = 0; i < saved.count(); ++i) {
    const SavedSetting& s = saved[i];
    registerSetting(s.record.id, s.record.keyName, s.record.blockName, s.defaultText.data());
  }
  if (r != 1) return -1;
  notifyChanged();
  return 1;
}

int QVConfig::saveMerged() {
  QVConfigLineList fresh(ignoreCase_ != 0);
  int r;
  bool missing = false;
  if (!fileName_.isEmpty()) {
    r = loadConfigLines(fresh, fileName_, &missing);
    if (r == -3 && missing) r = 1;  // the file is gone: the model alone is written
  } else if (inputStream_) {
    inputStream_->clear();
    inputStream_->seekg(0);
    r = inputStream_->fail() ? -2 : fresh.readStream(*inputStream_);
  } else {
    return -2;
  }
  if (r != 1) return -2;  // a partial read must not replace the file
  lines_ = fresh;
  lastRead_ = missing ? kReadNothing : kReadWhole;
  return save() == 0 ? 1 : -2;
}

std::size_t QVConfig::copyItemsInto(QVConfigLineList& target) const {
  std::vector<QVConfigLineList::BlockItems> updates;
  updates.reserve(blocks_.count());
  for (std::size_t b = 0; b < blocks_.count(); ++b) {
    const QVConfigBlock* block = blocks_.at(b);
    QVConfigLineList::BlockItems update;
    update.name = block->name();
    for (std::size_t i = 0; i < block->itemCount(); ++i) {
      const QVConfigItem* item = block->itemAt(i);
      if (!item->value().isSet() || item->key().isEmpty()) continue;
      update.items.push_back({item->key(), item->value().asText()});
    }
    updates.push_back(std::move(update));
  }
  // Every line of each key is written, so a duplicate key or block read later cannot bring an
  // older value back.
  return target.setItemsEverywhere(updates);
}

int QVConfig::writeToStream(std::ostream& out) {
  out.clear();
  // A string stream is emptied first, so a shorter text leaves no tail of the old one; other
  // streams are written over from their start.
  if (auto* buffer = dynamic_cast<std::stringbuf*>(out.rdbuf())) buffer->str(std::string());
  out.seekp(0);
  out.clear();
  return lines_.writeStream(out) == 1 ? 0 : -1;
}

int QVConfig::save() {
  saveError_ = RWCString();
  if (lastRead_ == kReadPartly || lastRead_ == kReadUnopened) {
    saveError_ = lastRead_ == kReadPartly
                     ? "the file could not be read whole, so it is not written over"
                     : "the file could not be read, so it is not written over";
    return -1;
  }
  if (fileName_.isEmpty() && !outputStream_) {
    saveError_ = "there is no file to save to";
    return -1;
  }
  // What cannot be written stays out of the lines; everything else is saved all the same.
  const std::size_t refused = copyItemsInto(lines_);
  std::string reason;
  const int written =
      !fileName_.isEmpty() ? (saveConfigLines(lines_, fileName_, &reason) == 1 ? 0 : -1)
                           : writeToStream(*outputStream_);
  if (written != 0) {
    if (reason.empty()) reason = "the stream could not be written";
    saveError_ = RWCString(reason.data(), reason.size());
  } else if (refused != 0) {
    const std::string text = std::to_string(refused) +
                             " setting(s) left out: a name or value cannot be written as one line";
    saveError_ = RWCString(text.data(), text.size());
  }
  return written == 0 && refused == 0 ? 0 : -1;
}

void QVConfig::clear() {
  blocks_.deleteAll();
  blockByName_.clear();
  ids_.clear();
  lastBlock_ = nullptr;
  keyIndex_ = 0;
  blockIndex_ = 0;
}

void QVConfig::setIgnoreCase(bool flag) {
  ignoreCase_ = flag ? 1 : 0;
  lines_.setIgnoreCase(flag);
  indexBlocks();
  lastBlock_ = nullptr;
}

void QVConfig::parseLines() {
  QVConfigBlock* current = nullptr;
  RWCString name, value;
  for (std::size_t i = 0; i < lines_.count(); ++i) {
    switch (lines_.classifyLine(i, name, value)) {
      case QVConfigLineList::kHeader:
        current = findOrCreateBlock(name);
        break;
      case QVConfigLineList::kItem: {
        if (!current) current = findOrCreateBlock("<default>");
        if (QVConfigItem* item = findItemIn(current, name)) {
          // A repeated key: the last value wins, marked set.
          item->value().loadText(value);
          item->value().setIsSet(true);
        } else {
          auto* fresh = new QVConfigItem(name, RWCString());
          fresh->value().loadText(value);
          fresh->value().setIsSet(false);
          current->addItem(fresh);
        }
        break;
      }
      default:
        break;
    }
  }
}

// ---- blocks and items ---------------------------------------------------------------------

QVConfigBlock* QVConfig::findBlock(const RWCString& name) {
  const bool ic = ignoreCase_ != 0;
  if (lastBlock_ && sameBlockName(lastBlock_->name(), name, ic)) return lastBlock_;
  const auto found = blockByName_.find(QVConfigLineList::blockKey(name, ic));
  if (found == blockByName_.end()) return nullptr;
  lastBlock_ = found->second;
  return lastBlock_;
}

void QVConfig::appendBlock(QVConfigBlock* block) {
  blocks_.append(block);
  // The first block of a name is the one found, as a search in order would find it.
  blockByName_.emplace(QVConfigLineList::blockKey(block->name(), ignoreCase_ != 0), block);
  lastBlock_ = block;
}

void QVConfig::indexBlocks() {
  blockByName_.clear();
  for (std::size_t i = 0; i < blocks_.count(); ++i)
    blockByName_.emplace(QVConfigLineList::blockKey(blocks_.at(i)->name(), ignoreCase_ != 0),
                         blocks_.at(i));
}

QVConfigBlock* QVConfig::findOrCreateBlock(const RWCString& name) {
  if (QVConfigBlock* b = findBlock(name)) return b;
  auto* b = new QVConfigBlock(name);
  appendBlock(b);
  return b;
}

bool QVConfig::hasBlock(const RWCString& name) { return findBlock(name) != nullptr; }

RWTValOrderedVector<RWCString> QVConfig::blockNames() const {
  RWTValOrderedVector<RWCString> out(64);
  for (std::size_t i = 0; i < blocks_.count(); ++i) out.append(blocks_.at(i)->name());
  return out;
}

RWTValOrderedVector<RWCString> QVConfig::blockKeys(const RWCString& block) {
  RWTValOrderedVector<RWCString> out(64);
  if (QVConfigBlock* b = findBlock(block))
    for (std::size_t i = 0; i < b->itemCount(); ++i) out.append(b->itemAt(i)->key());
  return out;
}

int QVConfig::addBlock(const RWCString& name, const RWCString& after) {
  if (findBlock(name)) return 0;
  const int r = after.isEmpty() ? lines_.appendBlock(name) : lines_.insertBlockAfter(name, after);
  if (r == kConfigUnwritable) return r;
  appendBlock(new QVConfigBlock(name));
  return 1;
}

int QVConfig::removeBlock(const RWCString& name) {
  QVConfigBlock* b = findBlock(name);
  if (!b) return 0;
  lines_.removeBlockEverywhere(name);
  for (std::size_t i = 0; i < blocks_.count(); ++i) {
    if (blocks_.at(i) != b) continue;
    blocks_.removeAt(i);
    // The walk of firstBlock/nextBlock goes on with the block that followed.
    if (blockIndex_ >= static_cast<std::int32_t>(i)) --blockIndex_;
    break;
  }
  delete b;
  indexBlocks();
  lastBlock_ = nullptr;
  if (sameBlockName(name, currentBlock_, ignoreCase_ != 0)) {
    currentBlock_ = RWCString();
    currentKey_ = RWCString();
    keyIndex_ = -1;
  }
  notifyChanged();
  return 1;
}

int QVConfig::renameBlock(const RWCString& oldName, const RWCString& newName) {
  QVConfigBlock* b = findBlock(oldName);
  if (!b) return 0;
  if (QVConfigLineList::isDefaultBlock(oldName) || QVConfigLineList::isDefaultBlock(newName))
    return -1;  // "<default>" has no header to rename
  QVConfigBlock* other = findBlock(newName);
  if (other && other != b) return -1;
  const int r = lines_.renameBlockEverywhere(oldName, newName);
  if (r == kConfigUnwritable) return r;
  const bool wasCurrent = sameBlockName(oldName, currentBlock_, ignoreCase_ != 0);
  b->setName(newName);
  indexBlocks();
  if (wasCurrent) currentBlock_ = newName;
  lastBlock_ = nullptr;
  return 1;
}

QVConfigItem* QVConfig::findItemIn(QVConfigBlock* block, const RWCString& key) const {
  return block ? block->findItem(key, ignoreCase_ != 0, sortedLookupOnly_ != 0) : nullptr;
}

bool QVConfig::hasItem(const RWCString& key, const RWCString& block) {
  return findItem(key, block) != nullptr;
}

QVConfigItem* QVConfig::findItem(const RWCString& key, const RWCString& block) {
  return findItemIn(findBlock(block), key);
}

QVConfigItem* QVConfig::findOrCreateItem(const RWCString& key, const RWCString& block,
                                         const char* defaultText) {
  const RWCString def(defaultText ? defaultText : "");
  QVConfigBlock* b = findOrCreateBlock(block);
  QVConfigItem* item = findItemIn(b, key);
  if (item) {
    item->setDefault(def);
  } else {
    item = new QVConfigItem(key, def);
    b->addItem(item);
  }
  item->value().setIsSet(true);
  return item;
}

QVConfigValue& QVConfig::valueOrDefault(const RWCString& key, const RWCString& block,
                                        const char* defaultText) {
  return findOrCreateItem(key, block, defaultText)->value();
}

int QVConfig::removeItem(const RWCString& key, const RWCString& block) {
  // Every line of the key goes, so that no duplicate brings it back at the next load.
  lines_.removeItemEverywhere(block, key);
  QVConfigBlock* b = findBlock(block);
  QVConfigItem* item = findItemIn(b, key);
  if (!item) return 0;
  const std::size_t position = b->removeItem(item);
  if (position != RW_NPOS &&
      sameBlockName(block, currentBlock_, ignoreCase_ != 0) &&
      keyIndex_ >= static_cast<std::int32_t>(position)) {
    --keyIndex_;  // nextKey goes on with the item that followed
  }
  currentKey_ = RWCString();
  return 1;
}

// ---- settings by id -----------------------------------------------------------------------

int QVConfig::registerSetting(int id, const RWCString& key, const RWCString& block,
                              const char* defaultText) {
  const char* def = defaultText ? defaultText : "";
  QVConfigId probe;
  probe.id = id;
  const std::size_t at = ids_.indexOf(probe);
  if (at != RW_NPOS) {
    const QVConfigId& record = ids_[at];
    if (QVConfigItem* item = findItem(record.keyName, record.blockName))
      item->setDefault(def);
    else
      findOrCreateItem(record.keyName, record.blockName, def);
    return 1;
  }
  QVConfigId record;
  record.id = id;
  record.keyName = key;
  record.blockName = block;
  ids_.append(record);
  findOrCreateItem(key, block, def);
  return 1;
}

int QVConfig::registerSettings(const QVConfigSetting* table) {
  for (int i = 0; table && table[i].key; ++i)
    registerSetting(i, table[i].key, table[i].block ? table[i].block : "", table[i].defaultText);
  return 1;
}

bool QVConfig::isRegistered(int id) const {
  QVConfigId probe;
  probe.id = id;
  return ids_.indexOf(probe) != RW_NPOS;
}

QVConfigValue& QVConfig::valueById(int id) {
  QVConfigId probe;
  probe.id = id;
  const std::size_t at = ids_.indexOf(probe);
  if (at != RW_NPOS) {
    if (QVConfigItem* item = findItem(ids_[at].keyName, ids_[at].blockName)) return item->value();
  }
  unregisteredValue_ = QVConfigValue();
  return unregisteredValue_;
}

RWTValOrderedVector<RWCString> QVConfig::valuesById(int first, int last) {
  RWTValOrderedVector<RWCString> out(64);
  for (int id = first; id <= last; ++id) out.append(valueById(id).asText());
  return out;
}

int QVConfig::setValuesById(int first, const RWTValOrderedVector<RWCString>& values) {
  int r = 1;
  for (std::size_t i = 0; i < values.count(); ++i) {
    const int id = first + static_cast<int>(i);
    if (isRegistered(id) && !valueById(id).setText(values[i])) r = kConfigUnwritable;
  }
  return r;
}

void QVConfig::numberedValues(const RWCString& name, const RWCString& block, int count,
                              RWTValOrderedVector<RWCString>& out) {
  for (int n = 1; n <= count; ++n) out.append(valueOrDefault(numbered(name, n), block, "").asText());
}

void QVConfig::setNumberedValues(const RWCString& name, const RWCString& block, int count,
                                 const RWTValOrderedVector<RWCString>& values) {
  for (int n = 1; n <= count; ++n) {
    const std::size_t i = static_cast<std::size_t>(n - 1);
    valueOrDefault(numbered(name, n), block, "").setText(i < values.count() ? values[i] : RWCString());
  }
}

// ---- cursor interface ---------------------------------------------------------------------

bool QVConfig::selectBlock(const RWCString& name) {
  currentBlock_ = name;
  currentKey_ = RWCString();
  keyIndex_ = -1;
  if (findBlock(name)) return true;
  findOrCreateBlock(name);
  return false;
}

bool QVConfig::firstBlock(RWCString& name) {
  blockIndex_ = -1;
  return nextBlock(name);
}

bool QVConfig::nextBlock(RWCString& name) {
  const std::int32_t n = static_cast<std::int32_t>(blocks_.count());
  if (blockIndex_ < -1) blockIndex_ = -1;
  if (blockIndex_ >= n) return false;
  if (++blockIndex_ >= n) return false;
  name = blocks_.at(blockIndex_)->name();
  selectBlock(name);
  return true;
}

bool QVConfig::firstKey(RWCString& key) {
  keyIndex_ = -1;
  return nextKey(key);
}

bool QVConfig::nextKey(RWCString& key) {
  QVConfigBlock* b = findBlock(currentBlock_);
  if (!b) return false;
  const std::int32_t n = static_cast<std::int32_t>(b->itemCount());
  if (keyIndex_ < -1) keyIndex_ = -1;
  if (keyIndex_ >= n) return false;
  if (++keyIndex_ >= n) return false;
  key = b->itemAt(keyIndex_)->key();
  selectKey(key, 0);
  return true;
}

bool QVConfig::hasKey(const RWCString& key) {
  return findItemIn(findBlock(currentBlock_), key) != nullptr;
}

int QVConfig::selectKey(const RWCString& key, int reset) {
  elementPos_ = 0;
  currentKey_ = key;
  QVConfigItem* item = findItemIn(findBlock(currentBlock_), key);
  if (item && reset == 0) {
    currentText_ = item->value().asText();
    const std::size_t comma = currentText_.firstByte(',');
    currentElement_ = comma == RW_NPOS ? currentText_ : RWCString(currentText_.data(), comma);
    return 0;
  }
  item = findOrCreateItem(key, currentBlock_, "");
  item->value().setText("");
  currentText_ = RWCString();
  currentElement_ = RWCString();
  return 1;
}

int QVConfig::elementCount() const {
  int n = 1;
  for (std::size_t i = 0; i < currentText_.length(); ++i)
    if (currentText_.data()[i] == ',') ++n;
  return n;
}

bool QVConfig::nextElement(RWCString& text) {
  const std::size_t len = currentText_.length();
  if (elementPos_ < 0 || static_cast<std::size_t>(elementPos_) > len) return false;
  const std::size_t from = static_cast<std::size_t>(elementPos_);
  const void* comma = std::memchr(currentText_.data() + from, ',', len - from);
  const std::size_t to =
      comma ? static_cast<std::size_t>(static_cast<const char*>(comma) - currentText_.data()) : len;
  text = RWCString(currentText_.data() + from, to - from);
  currentElement_ = text;
  elementPos_ = static_cast<std::int32_t>(to + 1);
  return true;
}

QVConfigItem* QVConfig::currentItem() {
  QVConfigItem* item = findItemIn(findBlock(currentBlock_), currentKey_);
  return item ? item : findOrCreateItem(currentKey_, currentBlock_, "");
}

void QVConfig::storeCurrentText() {
  if (currentKey_.isEmpty()) return;
  currentItem()->value().setText(currentText_);
}

int QVConfig::setFormatted(const RWCString& key, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int r = setFormattedV(key, format, args);
  va_end(args);
  return r;
}

int QVConfig::setFormattedV(const RWCString& key, const char* format, va_list args) {
  return setKeyText(key, formatText(format, args));
}

int QVConfig::setKeyText(const RWCString& key, const RWCString& text) {
  if (!QVConfigLineList::isWritableItem(key, text)) return kConfigUnwritable;
  selectKey(key, 1);
  currentText_ = text;
  storeCurrentText();
  return 1;
}

int QVConfig::setDouble(const RWCString& key, double value) {
  return setKeyText(key, formatDouble(value, 6, '.'));
}

int QVConfig::setInt(const RWCString& key, int value) { return setKeyText(key, intToText(value)); }

int QVConfig::setBool(const RWCString& key, bool flag) {
  return setKeyText(key, flag ? "true" : "false");
}

int QVConfig::appendFormatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const RWCString text = formatText(format, args);
  va_end(args);
  return appendText(text);
}

int QVConfig::appendText(const RWCString& text) {
  RWCString joined(currentText_);
  if (!joined.isEmpty()) joined.append(",");
  joined.append(text);
  if (!QVConfigLineList::isWritableItem(currentKey_, joined)) return kConfigUnwritable;
  currentText_ = joined;
  storeCurrentText();
  return 1;
}

int QVConfig::appendDouble(double value) { return appendText(formatDouble(value, 6, '.')); }

int QVConfig::appendInt(int value) { return appendText(intToText(value)); }

bool QVConfig::nextDouble(double& value) {
  RWCString element;
  return nextElement(element) && QVConfigValue::parseDouble(element.data(), value);
}

bool QVConfig::nextInt(int& value) {
  RWCString element;
  return nextElement(element) && QVConfigValue::parseInt(element.data(), value);
}

bool QVConfig::getDouble(const RWCString& key, double& value) {
  selectKey(key, 0);
  return QVConfigValue::parseDouble(currentElement_.data(), value);
}

bool QVConfig::getInt(const RWCString& key, int& value) {
  selectKey(key, 0);
  return QVConfigValue::parseInt(currentElement_.data(), value);
}

int QVConfig::getBool(const RWCString& key, bool& flag) {
  selectKey(key, 0);
  flag = isTrueWord(currentText_);
  return 1;
}

void QVConfig::getText(const RWCString& key, RWCString& text) {
  selectKey(key, 0);
  text = currentText_;
}

void QVConfig::getElement(const RWCString& key, RWCString& text) {
  selectKey(key, 0);
  text = currentElement_;
}

bool QVConfig::getDoubleIfPresent(const RWCString& key, double& value) {
  return hasKey(key) && getDouble(key, value);
}

bool QVConfig::getIntIfPresent(const RWCString& key, int& value) {
  return hasKey(key) && getInt(key, value);
}

bool QVConfig::getBoolIfPresent(const RWCString& key, bool& flag) {
  return hasKey(key) && getBool(key, flag) == 1;
}

bool QVConfig::getTextIfPresent(const RWCString& key, RWCString& text) {
  if (!hasKey(key)) return false;
  getText(key, text);
  return true;
}

bool QVConfig::getElementIfPresent(const RWCString& key, RWCString& text) {
  if (!hasKey(key)) return false;
  getElement(key, text);
  return true;
}

void QVConfig::pushRecentValue(const RWCString& name, const RWCString& block,
                               const RWCString& text, int count) {
  RWTValOrderedVector<RWCString> others(64);
  for (int n = 1; n <= count; ++n) {
    const RWCString v = valueOrDefault(numbered(name, n), block, "").asText();
    if (v != text) others.append(v);
  }
  for (int n = 1; n <= count; ++n) {
    QVConfigValue& v = valueOrDefault(numbered(name, n), block, "");
    if (n == 1)
      v.setText(text);
    else if (static_cast<std::size_t>(n - 2) < others.count())
      v.setText(others[static_cast<std::size_t>(n - 2)]);
  }
}

int QVConfig::removeKey(const RWCString& key) {
  const int r = removeItem(key, currentBlock_);
  notifyChanged();
  return r;
}

int QVConfig::removeKey(const RWCString& block, const RWCString& key) {
  if (!findBlock(block)) return 0;
  selectBlock(block);
  return removeKey(key);
}

void QVConfig::notifyChanged() {
  NotificationEventConfigChanged event(this);
  notify(event);
}

int QVConfig::setTableWord(int index, const RWCString& word) {
  if (index < 0 || index > 6) return 0;
  gTableWords[index] = word;
  return 1;
}

RWCString QVConfig::tableWord(int index) {
  if (index < 0 || index > 6) return RWCString();
  return gTableWords[index];
}
