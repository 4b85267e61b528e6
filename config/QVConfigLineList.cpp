#include "config/QVConfigLineList.h"

#include <cctype>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/VariableExpansion.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

// Largest settings file read, in bytes: a user configuration with hundreds of stored named
// configurations takes a megabyte. A larger file is refused as unreadable.
constexpr std::uint64_t kMaxConfigFileBytes = 16 * 1024 * 1024;

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

bool holdsLineBreak(const RWCString& s) { return holds(s, '\n') || holds(s, '\r'); }

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

// ---- what can be written -----------------------------------------------------------------

bool QVConfigLineList::isWritableValue(const RWCString& value) { return !holdsLineBreak(value); }

bool QVConfigLineList::isWritableBlockName(const RWCString& name) {
  return !holds(name, ']') && !holdsLineBreak(name);
}

bool QVConfigLineList::isWritableItem(const RWCString& key, const RWCString& value) {
  if (holdsLineBreak(key) || holdsLineBreak(value) || holds(key, '=')) return false;
  if (key.isEmpty()) return true;  // "=value"
  const char first = key.data()[0];
  if (isBlankOrTab(first) || isCommentChar(first)) return false;
  return first != '[' || (!holds(key, ']') && !holds(value, ']'));
}

std::string QVConfigLineList::nameKey(const RWCString& name, bool ignoreCase) {
  std::string k(name.data(), lengthWithoutTrailingBlanks(name));
  if (ignoreCase)
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return k;
}

std::string QVConfigLineList::blockKey(const RWCString& name, bool ignoreCase) {
  return isDefaultBlock(name) ? std::string("D") : "N" + nameKey(name, ignoreCase);
}

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
  if (!isWritableBlockName(name)) return kConfigUnwritable;
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
  if (!isWritableItem(key, value)) return kConfigUnwritable;
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
  if (!isWritableItem(key, value)) return kConfigUnwritable;
  for (std::size_t t = 0; t < targets.count(); ++t) lines_.at(targets[t]) = line;
  return 1;
}

std::size_t QVConfigLineList::setItemsEverywhere(const std::vector<BlockItems>& blocks) {
  // Lines are referred to by number: n >= 0 is lines_[n]; -1 - k is added[k], a line this call
  // adds. Nothing is moved until the end, when the new list is put together once.
  struct BlockIndex {
    std::unordered_map<std::string, std::vector<int>> keys;    // key -> its lines, file order
    std::vector<std::size_t>* group = nullptr;                 // where new items of it go
    std::size_t groupAt = 0;                                   // within the group
  };
  const int n = static_cast<int>(lines_.count());
  std::vector<RWCString> added;
  // Lines added before original line p (p == n: after the last), and after everything.
  std::unordered_map<int, std::vector<std::size_t>> before;
  std::vector<std::size_t> tail;
  std::unordered_map<std::string, BlockIndex> index;

  // Index the blocks and their item lines. The first body of a block receives its new items,
  // after its last item line (or at its body start when it has none); no two blocks share that
  // place, so each has a group of its own.
  {
    BlockIndex* current = &index[blockKey(RWCString("<default>"))];
    bool first = true;
    int start = 0, lastItem = -1;
    auto close = [&]() {
      if (!first) return;
      current->group = &before[lastItem >= 0 ? lastItem + 1 : start];
      current->groupAt = current->group->size();
    };
    RWCString name, value;
    for (int i = 0; i < n; ++i) {
      const int kind = classifyLine(static_cast<std::size_t>(i), name, value);
      if (kind == kHeader) {
        close();
        const std::string key = blockKey(name);
        first = index.find(key) == index.end();
        current = &index[key];
        start = i + 1;
        lastItem = -1;
      } else if (kind == kItem) {
        current->keys[nameKey(name)].push_back(i);
        lastItem = i;
      }
    }
    close();
  }
  auto text = [&](int ref) -> const RWCString& {
    return ref >= 0 ? lines_[static_cast<std::size_t>(ref)] : added[static_cast<std::size_t>(-1 - ref)];
  };
  auto add = [&](const RWCString& line) {
    added.push_back(line);
    return added.size() - 1;
  };
  // The k-th line from the end (k = 1: the last) of the list as it stands, or null.
  auto fromEnd = [&](std::size_t k) -> const RWCString* {
    if (k <= tail.size()) return &added[tail[tail.size() - k]];
    k -= tail.size();
    auto atEnd = before.find(n);
    const std::size_t endGroup = atEnd == before.end() ? 0 : atEnd->second.size();
    if (k <= endGroup) return &added[atEnd->second[endGroup - k]];
    k -= endGroup;
    return k <= static_cast<std::size_t>(n) ? &lines_[static_cast<std::size_t>(n) - k] : nullptr;
  };

  std::size_t refused = 0;
  std::vector<std::size_t> scratch;
  for (const BlockItems& b : blocks) {
    const std::string bkey = blockKey(b.name);
    auto found = index.find(bkey);
    if (found == index.end()) {
      // A new block: its header goes at the end, as ensureBlockHeader puts it.
      if (!isWritableBlockName(b.name)) {
        refused += 1 + b.items.size();
        continue;
      }
      const RWCString* last = fromEnd(1);
      const RWCString* beforeLast = fromEnd(2);
      if (!(last && beforeLast && last->isEmpty() && beforeLast->isEmpty()))
        tail.push_back(add(RWCString()));
      tail.push_back(add(headerLine(b.name)));
      tail.push_back(add(RWCString()));
      found = index.emplace(bkey, BlockIndex()).first;
      found->second.group = &tail;
      found->second.groupAt = tail.size() - 1;  // before the empty line after the header
    }
    BlockIndex& block = found->second;
    for (const ItemText& item : b.items) {
      const RWCString line = itemLine(item.key, item.value);
      std::vector<int>& targets = block.keys[nameKey(item.key)];
      bool changes = targets.empty();
      for (int t : targets) changes = changes || text(t) != line;
      if (!changes) continue;
      if (!isWritableItem(item.key, item.value)) {
        ++refused;
        continue;
      }
      if (targets.empty()) {
        const std::size_t k = add(line);
        block.group->insert(block.group->begin() + static_cast<std::ptrdiff_t>(block.groupAt), k);
        ++block.groupAt;
        targets.push_back(-1 - static_cast<int>(k));
      } else {
        for (int t : targets) {
          if (t >= 0)
            lines_.at(static_cast<std::size_t>(t)) = line;
          else
            added[static_cast<std::size_t>(-1 - t)] = line;
        }
      }
    }
  }

  if (added.empty()) return refused;
  RWTValOrderedVector<RWCString> rebuilt(lines_.count() + added.size() + 64);
  for (int i = 0; i <= n; ++i) {
    auto group = before.find(i);
    if (group != before.end())
      for (std::size_t k : group->second) rebuilt.append(added[k]);
    if (i < n) rebuilt.append(lines_[static_cast<std::size_t>(i)]);
  }
  for (std::size_t k : tail) rebuilt.append(added[k]);
  lines_ = rebuilt;
  return refused;
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
  if (!isWritableBlockName(newName)) return kConfigUnwritable;
  lines_.at(h) = headerLine(newName);
  return 1;
}

int QVConfigLineList::renameBlockEverywhere(const RWCString& oldName, const RWCString& newName) {
  if (!isWritableBlockName(newName)) return kConfigUnwritable;
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
  if (!isWritableBlockName(newName)) return kConfigUnwritable;
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
  if (!isWritableBlockName(name)) return kConfigUnwritable;
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

int loadConfigLines(QVConfigLineList& list, const RWCString& fileName, bool* missing) {
  const RWCString expanded = expandVariables(fileName);
  const std::string_view path(expanded.data(), expanded.length());
  list.clear();
  if (missing) *missing = false;
  const auto notOpened = [&] {
    if (missing) *missing = platform::isMissing(path);
    return -3;
  };
  std::string native;
  if (!platform::osPath(std::string(path), native)) return notOpened();
  // What an earlier save of this file left when it was killed goes now.
  platform::removeStaleReplacements(path);
  std::string text;
  const platform::FileRead read = platform::readRegularFile(path, text, kMaxConfigFileBytes);
  if (read == platform::FileRead::NotOpened) return notOpened();  // a folder, a pipe, a device
  if (read == platform::FileRead::TooLarge) return -2;  // no settings file: nothing is believed
  std::istringstream in(text);
  const int result = list.readStream(in);  // after a failed read: what came before it
  return read == platform::FileRead::Failed ? -2 : result;
}

int saveConfigLines(const QVConfigLineList& list, const RWCString& fileName,
                    std::string* reason) {
  const RWCString expanded = expandVariables(fileName);
  if (expanded.isEmpty()) {
    if (reason) *reason = "no file name";
    return -2;
  }
  const RWCString t = list.text();
  const bool ok = platform::replaceFileContents(std::string_view(expanded.data(), expanded.length()),
                                                std::string_view(t.data(), t.length()), reason);
  return ok ? 1 : -2;
}

RWCString readValueFromFile(const RWCString& fileName, const RWCString& block,
                            const RWCString& key, int n) {
  QVConfigLineList list;
  if (loadConfigLines(list, fileName) != 1) return RWCString();
  return list.itemValue(block, key, n);
}
