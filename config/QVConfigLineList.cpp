#include "config/QVConfigLineList.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "config/VariableExpansion.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

bool holds(const RWCString& s, char c) {
  return std::memchr(s.data(), c, s.length()) != nullptr;
}

// The characters [begin, end) of s without blanks and tabs at both ends.
RWCString stripped(const RWCString& s, std::size_t begin, std::size_t end) {
  const char* d = s.data();
  while (begin < end && isBlankOrTab(d[begin])) ++begin;
  while (end > begin && isBlankOrTab(d[end - 1])) --end;
  return RWCString(d + begin, end - begin);
}

std::size_t lengthWithoutTrailingBlanks(const RWCString& s) {
  std::size_t n = s.length();
  while (n > 0 && isBlankOrTab(s.data()[n - 1])) --n;
  return n;
}

bool isCommentChar(char c) { return c == ';' || c == '*' || c == '!' || c == '#'; }

// A key that reads back as the key of an item line: not empty, no '=', no line break, and not
// starting with a comment character (column 0) or, after blanks, with '[' (a header).
bool writableKey(const RWCString& key) {
  if (key.isEmpty() || holds(key, '=') || holds(key, '\n') || holds(key, '\r')) return false;
  if (isCommentChar(key.data()[0])) return false;
  std::size_t i = 0;
  while (i < key.length() && isBlankOrTab(key.data()[i])) ++i;
  return i < key.length() && key.data()[i] != '[';
}

bool writableValue(const RWCString& value) { return !holds(value, '\n') && !holds(value, '\r'); }

bool writableBlockName(const RWCString& name) {
  return !holds(name, ']') && !holds(name, '\n') && !holds(name, '\r');
}

RWCString itemLine(const RWCString& key, const RWCString& value) {
  RWCString line(key);
  line.append("=");
  line.append(value);
  return line;
}

RWCString headerLine(const RWCString& name) {
  RWCString line("[");
  line.append(name);
  line.append("]");
  return line;
}

char** makeNameArray(const RWTValOrderedVector<RWCString>& names) {
  if (names.isEmpty()) return nullptr;
  char** array = new char*[names.count() + 1];
  for (std::size_t i = 0; i < names.count(); ++i) {
    array[i] = new char[names[i].length() + 1];
    std::memcpy(array[i], names[i].data(), names[i].length() + 1);
  }
  array[names.count()] = nullptr;
  return array;
}

bool startsWith(const RWCString& text, const RWCString& prefix) {
  return text.length() >= prefix.length() &&
         std::memcmp(text.data(), prefix.data(), prefix.length()) == 0;
}

}  // namespace

// ---- lines -------------------------------------------------------------------------------

void QVConfigLineList::clear() {
  lines_.clear();
  crlf_ = false;
}

int QVConfigLineList::readStream(std::istream& in) {
  clear();
  bool sawEnd = false;
  std::string raw;
  while (in.good()) {
    std::getline(in, raw);
    if (in.bad()) break;
    const bool terminated = !in.eof();
    if (terminated && !sawEnd) {
      // The first line break decides which line end a save writes.
      crlf_ = !raw.empty() && raw.back() == '\r';
      sawEnd = true;
    }
    std::size_t n = raw.size();
    while (n > 0 && (raw[n - 1] == '\r' || raw[n - 1] == '\n')) --n;
    lines_.append(RWCString(raw.data(), n));
    if (in.fail()) break;
  }
  if (in.bad() || (in.fail() && !in.eof())) return -2;
  return 1;
}

RWCString QVConfigLineList::text() const {
  const char* end = crlf_ ? "\r\n" : "\n";
  const std::size_t endLength = crlf_ ? 2 : 1;
  std::size_t last = lines_.count();
  while (last > 0 && lines_[last - 1].isEmpty()) --last;
  // Built in a std::string, which grows geometrically, then copied once.
  std::string out;
  int emptyRun = 0;
  for (std::size_t i = 0; i < last; ++i) {
    const RWCString& l = lines_[i];
    if (l.isEmpty()) {
      if (++emptyRun > 3) continue;
    } else {
      emptyRun = 0;
    }
    out.append(l.data(), l.length());
    out.append(end, endLength);
  }
  return RWCString(out.data(), out.size());
}

int QVConfigLineList::writeStream(std::ostream& out) const {
  const RWCString t = text();
  out.write(t.data(), static_cast<std::streamsize>(t.length()));
  out.flush();
  return out.fail() ? -2 : 1;
}

// ---- line tests ----------------------------------------------------------------------------

bool QVConfigLineList::isBlockHeader(const RWCString& line) {
  std::size_t i = 0;
  while (i < line.length() && isBlankOrTab(line.data()[i])) ++i;
  return i < line.length() && line.data()[i] == '[' && holds(line, ']');
}

bool QVConfigLineList::isComment(const RWCString& line) {
  if (line.isEmpty()) return true;
  if (isCommentChar(line.data()[0])) return true;
  return !holds(line, '=');
}

RWCString QVConfigLineList::headerName(const RWCString& line) {
  const char* d = line.data();
  const void* open = std::memchr(d, '[', line.length());
  const void* close = std::memchr(d, ']', line.length());
  if (!open || !close || open > close) return RWCString();
  const std::size_t a = static_cast<const char*>(open) - d + 1;
  const std::size_t b = static_cast<const char*>(close) - d;
  return stripped(line, a, b);
}

RWCString QVConfigLineList::keyPart(const RWCString& line) {
  const void* eq = std::memchr(line.data(), '=', line.length());
  if (!eq) return RWCString();
  return stripped(line, 0, static_cast<const char*>(eq) - line.data());
}

RWCString QVConfigLineList::valuePart(const RWCString& line) {
  const void* eq = std::memchr(line.data(), '=', line.length());
  if (!eq) return RWCString();
  return stripped(line, static_cast<const char*>(eq) - line.data() + 1, line.length());
}

int QVConfigLineList::compareNames(const RWCString& a, const RWCString& b, bool ignoreCase) {
  const std::size_t na = lengthWithoutTrailingBlanks(a), nb = lengthWithoutTrailingBlanks(b);
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(a.data());
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(b.data());
  const std::size_t n = na < nb ? na : nb;
  for (std::size_t i = 0; i < n; ++i) {
    int ca = pa[i], cb = pb[i];
    if (ignoreCase) {
      ca = std::tolower(ca);
      cb = std::tolower(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (na == nb) return 0;
  return na < nb ? -1 : 1;
}

bool QVConfigLineList::isDefaultBlock(const RWCString& name) {
  return compareNames(name, RWCString("<default>"), true) == 0;
}

bool QVConfigLineList::headerMatches(const RWCString& line, const RWCString& name) const {
  return isBlockHeader(line) && compareNames(headerName(line), name, ignoreCase_) == 0;
}

int QVConfigLineList::classifyLine(std::size_t index, RWCString& name, RWCString& value) const {
  const RWCString& l = lines_.at(index);
  if (isBlockHeader(l)) {
    name = headerName(l);
    return kHeader;
  }
  if (isComment(l)) return kComment;
  name = keyPart(l);
  value = valuePart(l);
  return kItem;
}

bool QVConfigLineList::isItemLine(std::size_t i) const {
  const RWCString& l = lines_[i];
  return !isBlockHeader(l) && !isComment(l);
}

// ---- positions -----------------------------------------------------------------------------

int QVConfigLineList::nextHeaderFrom(int start) const {
  const int n = static_cast<int>(lines_.count());
  for (int i = start < 0 ? 0 : start; i < n; ++i)
    if (isBlockHeader(lines_[i])) return i;
  return n;
}

int QVConfigLineList::findHeaderLine(const RWCString& name) const {
  for (std::size_t i = 0; i < lines_.count(); ++i)
    if (headerMatches(lines_[i], name)) return static_cast<int>(i);
  return -1;
}

int QVConfigLineList::bodyStart(const RWCString& name) const {
  if (isDefaultBlock(name)) return 0;
  const int h = findHeaderLine(name);
  return h < 0 ? -1 : h + 1;
}

int QVConfigLineList::lastItemLine(int start) const {
  if (start < 0) return -1;
  const int end = nextHeaderFrom(start);
  for (int i = end - 1; i >= start; --i)
    if (isItemLine(i)) return i;
  return -1;
}

int QVConfigLineList::findItemLine(int start, const RWCString& key, int n) const {
  if (start < 0 || n < 0) return -1;
  const int end = nextHeaderFrom(start);
  int seen = 0;
  for (int i = start; i < end; ++i) {
    if (!isItemLine(i)) continue;
    if (compareNames(keyPart(lines_[i]), key, ignoreCase_) != 0) continue;
    if (seen++ == n) return i;
  }
  return -1;
}

RWTValOrderedVector<int> QVConfigLineList::bodyStarts(const RWCString& name) const {
  RWTValOrderedVector<int> starts(64);
  const bool isDefault = isDefaultBlock(name);
  if (isDefault) starts.append(0);
  for (std::size_t i = 0; i < lines_.count(); ++i) {
    const RWCString& l = lines_[i];
    // A header written "[<default>]" in any case continues the default block, as the model
    // reads it.
    const bool match = isDefault ? isBlockHeader(l) && isDefaultBlock(headerName(l))
                                 : headerMatches(l, name);
    if (match) starts.append(static_cast<int>(i) + 1);
  }
  return starts;
}

// ---- edits -----------------------------------------------------------------------------------

int QVConfigLineList::ensureBlockHeader(const RWCString& name) {
  if (isDefaultBlock(name)) return -1;
  const int h = findHeaderLine(name);
  if (h >= 0) return h;
  if (!writableBlockName(name)) return kConfigUnwritable;
  const std::size_t n = lines_.count();
  if (!(n >= 2 && lines_[n - 1].isEmpty() && lines_[n - 2].isEmpty())) lines_.append(RWCString());
  lines_.append(headerLine(name));
  const int header = static_cast<int>(lines_.count()) - 1;
  lines_.append(RWCString());
  return header;
}

int QVConfigLineList::setItemLine(const RWCString& block, const RWCString& key,
                                  const RWCString& value, int n) {
  const RWCString line = itemLine(key, value);
  int start = bodyStart(block);
  if (start >= 0) {
    const int existing = findItemLine(start, key, n);
    if (existing >= 0 && lines_[existing] == line) return existing;  // nothing to write
  }
  if (!writableKey(key) || !writableValue(value)) return kConfigUnwritable;
  if (start < 0) {
    const int h = ensureBlockHeader(block);
    if (h == kConfigUnwritable) return kConfigUnwritable;
    start = h + 1;
  }
  const int existing = findItemLine(start, key, n);
  if (existing >= 0) {
    lines_.at(existing) = line;
    return existing;
  }
  const int last = lastItemLine(start);
  const int at = last >= 0 ? last + 1 : start;
  insertLine(at, line);
  return at;
}

int QVConfigLineList::setItem(const RWCString& block, const RWCString& key, const RWCString& value,
                              int n) {
  const int r = setItemLine(block, key, value, n);
  return r < 0 ? r : 1;
}

int QVConfigLineList::setItemEverywhere(const RWCString& block, const RWCString& key,
                                        const RWCString& value) {
  const RWCString line = itemLine(key, value);
  const RWTValOrderedVector<int> starts = bodyStarts(block);
  RWTValOrderedVector<int> targets(64);
  bool changes = false;
  for (std::size_t b = 0; b < starts.count(); ++b) {
    const int end = nextHeaderFrom(starts[b]);
    for (int i = starts[b]; i < end; ++i) {
      if (!isItemLine(i) || compareNames(keyPart(lines_[i]), key, ignoreCase_) != 0) continue;
      targets.append(i);
      if (lines_[i] != line) changes = true;
    }
  }
  if (targets.isEmpty()) return setItem(block, key, value, 0);
  if (!changes) return 1;
  if (!writableKey(key) || !writableValue(value)) return kConfigUnwritable;
  for (std::size_t t = 0; t < targets.count(); ++t) lines_.at(targets[t]) = line;
  return 1;
}

RWCString QVConfigLineList::itemValue(const RWCString& block, const RWCString& key, int n) const {
  const int i = findItemLine(bodyStart(block), key, n);
  return i < 0 ? RWCString() : valuePart(lines_[i]);
}

char* QVConfigLineList::itemValueCopy(const RWCString& block, const RWCString& key, int n) const {
  const int i = findItemLine(bodyStart(block), key, n);
  if (i < 0) return nullptr;
  const RWCString v = valuePart(lines_[i]);
  char* copy = new char[v.length() + 1];
  std::memcpy(copy, v.data(), v.length() + 1);
  return copy;
}

RWCString QVConfigLineList::nextItemValue(const RWCString& block, const RWCString& key,
                                          int& position) const {
  const int start = position < 0 ? bodyStart(block) : position + 1;
  position = findItemLine(start, key, 0);
  return position < 0 ? RWCString() : valuePart(lines_[position]);
}

int QVConfigLineList::removeItem(const RWCString& block, const RWCString& key) {
  const int i = findItemLine(bodyStart(block), key, 0);
  if (i >= 0) lines_.removeAt(i);
  return 1;
}

int QVConfigLineList::removeItemEverywhere(const RWCString& block, const RWCString& key) {
  // Later blocks first, so the body starts found before stay valid.
  const RWTValOrderedVector<int> starts = bodyStarts(block);
  for (std::size_t b = starts.count(); b-- > 0;) {
    const int end = nextHeaderFrom(starts[b]);
    for (int i = end - 1; i >= starts[b]; --i)
      if (isItemLine(i) && compareNames(keyPart(lines_[i]), key, ignoreCase_) == 0)
        lines_.removeAt(i);
  }
  return 1;
}

int QVConfigLineList::removeBlock(const RWCString& name) {
  const int start = bodyStart(name);
  if (start < 0) return 1;
  const int end = nextHeaderFrom(start);
  for (int i = end - 1; i >= start; --i) lines_.removeAt(i);
  if (!isDefaultBlock(name)) lines_.removeAt(start - 1);  // "<default>" has no header line
  return 1;
}

int QVConfigLineList::removeBlockEverywhere(const RWCString& name) {
  const RWTValOrderedVector<int> starts = bodyStarts(name);
  for (std::size_t b = starts.count(); b-- > 0;) {
    const int start = starts[b];
    const int end = nextHeaderFrom(start);
    for (int i = end - 1; i >= start; --i) lines_.removeAt(i);
    const bool implicitDefault = isDefaultBlock(name) && b == 0 && start == 0;
    if (!implicitDefault) lines_.removeAt(start - 1);
  }
  return 1;
}

int QVConfigLineList::renameBlock(const RWCString& oldName, const RWCString& newName) {
  const int h = findHeaderLine(oldName);
  if (h < 0) return 1;
  if (!writableBlockName(newName)) return kConfigUnwritable;
  lines_.at(h) = headerLine(newName);
  return 1;
}

int QVConfigLineList::renameBlockEverywhere(const RWCString& oldName, const RWCString& newName) {
  if (!writableBlockName(newName)) return kConfigUnwritable;
  RWTValOrderedVector<int> headers(64);
  for (std::size_t i = 0; i < lines_.count(); ++i)
    if (headerMatches(lines_[i], oldName)) headers.append(static_cast<int>(i));
  for (std::size_t k = 0; k < headers.count(); ++k) lines_.at(headers[k]) = headerLine(newName);
  return 1;
}

int QVConfigLineList::commentOutBlock(const RWCString& name) {
  const int start = bodyStart(name);
  if (start < 0) return 1;
  const int last = lastItemLine(start);
  for (int i = start; i <= last; ++i) lines_.at(i).prepend("; ");
  if (!isDefaultBlock(name)) lines_.at(start - 1).prepend("; ");
  return 1;
}

int QVConfigLineList::insertBlockAfter(const RWCString& newName, const RWCString& existing) {
  if (isDefaultBlock(newName) || hasBlock(newName)) return -1;
  if (!writableBlockName(newName)) return kConfigUnwritable;
  const int start = bodyStart(existing);
  if (start < 0) {
    ensureBlockHeader(newName);
    return 1;
  }
  const int last = lastItemLine(start);
  const int at = last >= 0 ? last + 1 : start;  // after the header when the block has no items
  insertLine(at, RWCString());
  insertLine(at + 1, headerLine(newName));
  insertLine(at + 2, RWCString());
  return 1;
}

int QVConfigLineList::appendBlock(const RWCString& name) {
  if (isDefaultBlock(name) || hasBlock(name)) return -1;
  if (!writableBlockName(name)) return kConfigUnwritable;
  lines_.append(RWCString());
  lines_.append(headerLine(name));
  return 1;
}

bool QVConfigLineList::hasBlock(const RWCString& name) const { return findHeaderLine(name) >= 0; }

// ---- name lists ------------------------------------------------------------------------------

void QVConfigLineList::blockNames(RWTValOrderedVector<RWCString>& out) const {
  for (std::size_t i = 0; i < lines_.count(); ++i)
    if (isBlockHeader(lines_[i])) out.append(headerName(lines_[i]));
}

void QVConfigLineList::blockNamesWithPrefix(const RWCString& prefix,
                                            RWTValOrderedVector<RWCString>& out) const {
  for (std::size_t i = 0; i < lines_.count(); ++i) {
    if (!isBlockHeader(lines_[i])) continue;
    RWCString name = headerName(lines_[i]);
    if (startsWith(name, prefix)) out.append(name);
  }
}

void QVConfigLineList::keys(const RWCString& block, RWTValOrderedVector<RWCString>& out) const {
  const int start = bodyStart(block);
  const int last = lastItemLine(start);
  for (int i = start; start >= 0 && i <= last; ++i)
    if (isItemLine(i)) out.append(keyPart(lines_[i]));
}

void QVConfigLineList::keysWithPrefix(const RWCString& block, const RWCString& prefix,
                                      RWTValOrderedVector<RWCString>& out) const {
  const int start = bodyStart(block);
  const int last = lastItemLine(start);
  for (int i = start; start >= 0 && i <= last; ++i) {
    if (!isItemLine(i)) continue;
    RWCString key = keyPart(lines_[i]);
    if (startsWith(key, prefix)) out.append(key);
  }
}

void QVConfigLineList::keyValuePairs(const RWCString& block,
                                     RWTValOrderedVector<KeyValuePair>& out) const {
  const int start = bodyStart(block);
  const int last = lastItemLine(start);
  for (int i = start; start >= 0 && i <= last; ++i)
    if (isItemLine(i)) out.append(KeyValuePair(keyPart(lines_[i]), valuePart(lines_[i])));
}

char** QVConfigLineList::blockNameArray() const {
  RWTValOrderedVector<RWCString> names(64);
  blockNames(names);
  return makeNameArray(names);
}

char** QVConfigLineList::keyArray(const RWCString& block) const {
  RWTValOrderedVector<RWCString> names(64);
  keys(block, names);
  return makeNameArray(names);
}

void QVConfigLineList::freeNameArray(char** array) {
  if (!array) return;
  for (char** p = array; *p; ++p) delete[] *p;
  delete[] array;
}

// ---- files -----------------------------------------------------------------------------------

int loadConfigLines(QVConfigLineList& list, const RWCString& fileName) {
  const RWCString expanded = expandVariables(fileName);
  list.clear();
  std::string native;
  if (!platform::osPath(std::string(expanded.data(), expanded.length()), native)) return -3;
  if (!platform::isFile(native)) return -3;  // a folder, or nothing at all
  std::ifstream in(native, std::ios::in | std::ios::binary);
  if (!in.is_open()) return -3;
  return list.readStream(in);
}

int saveConfigLines(const QVConfigLineList& list, const RWCString& fileName) {
  const RWCString expanded = expandVariables(fileName);
  if (expanded.isEmpty()) return -2;
  const RWCString t = list.text();
  const bool ok = platform::replaceFileContents(std::string_view(expanded.data(), expanded.length()),
                                                std::string_view(t.data(), t.length()));
  return ok ? 1 : -2;
}

RWCString readValueFromFile(const RWCString& fileName, const RWCString& block,
                            const RWCString& key, int n) {
  QVConfigLineList list;
  if (loadConfigLines(list, fileName) != 1) return RWCString();
  return list.itemValue(block, key, n);
}
