#include "host/SatFile.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <cmath>
#include <sstream>

namespace kxhost {

namespace {

bool isDigits(const std::string& s, std::size_t from) {
  if (s.size() <= from) return false;
  for (std::size_t k = from; k < s.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
  return true;
}

// The value of the digits from `from` on; more than nine of them give a value beyond any record.
long digitsValue(const std::string& s, std::size_t from) {
  if (s.size() - from > 9) return 2000000000L;
  return std::stol(s.substr(from));
}

bool parseInts(const std::string& line, std::vector<long>& out) {
  std::istringstream in(line);
  std::string tok;
  while (in >> tok) {
    for (char c : tok)
      if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-') return false;
    try {
      out.push_back(std::stol(tok));
    } catch (...) {
      return false;
    }
  }
  return true;
}

bool parseReals(const std::string& line, std::size_t count) {
  std::istringstream in(line);
  std::size_t n = 0;
  std::string tok;
  while (in >> tok) {
    try {
      std::size_t used = 0;
      double v = std::stod(tok, &used);
      if (used != tok.size() || !std::isfinite(v)) return false;
    } catch (...) {
      return false;
    }
    ++n;
  }
  return n == count;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSpace(char c) { return isBlank(c) || c == '\n'; }

// The record number "-N" that may open a record.
bool isRecordNumber(const std::string& word) {
  return word.size() > 1 && word[0] == '-' && isDigits(word, 1);
}

const char* const kEndMarkers[] = {"End-of-ACIS-data", "End-of-ASM-data"};
const char* const kHistoryBegins[] = {"Begin-of-ACIS-History-Data", "Begin-of-ASM-History-Data"};
const char* const kHistoryEnds[] = {"End-of-ACIS-History-Section", "End-of-ASM-History-Section"};

// The marker that `word` starts with, or null.
template <std::size_t N>
const char* markerOf(const std::string& word, const char* const (&markers)[N]) {
  for (const char* m : markers)
    if (word.rfind(m, 0) == 0) return m;
  return nullptr;
}

bool carried(unsigned char c) { return c >= 32 && c <= 126; }

// The offset of the first byte of text[from, to) that a solid cannot carry, or npos. Tabs and
// line ends are left to the caller: a tab is white space or refused where a string holds it, and
// a line end parts the solid's lines.
std::size_t uncarriedIn(const std::string& text, std::size_t from, std::size_t to) {
  for (std::size_t k = from; k < to; ++k) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    if (!carried(c) && c != '\t' && c != '\n') return k;
  }
  return std::string::npos;
}

// The lines of a SAT file, line ends removed. Lines end with LF (a CR before it is dropped); a
// file whose first line ends with a CR alone has CR line ends, and there a CR, a CR LF pair or a
// LF each end a line. In a file of LF line ends any other CR stays in its line.
std::vector<std::string> splitLines(const std::string& text) {
  const std::size_t cr = text.find('\r');
  const bool crEnds =
      cr < text.find('\n') && (cr + 1 == text.size() || text[cr + 1] != '\n');
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t end = crEnds ? text.find_first_of("\r\n", from) : text.find('\n', from);
    if (end == std::string::npos) {
      lines.push_back(text.substr(from));
      break;
    }
    std::string line = text.substr(from, end - from);
    from = end + 1;
    if (crEnds && text[end] == '\r' && from < text.size() && text[from] == '\n') ++from;
    if (!crEnds && !line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// "line N holds the byte 0xHH<where>, which ...": the refusal of a byte a solid cannot carry.
std::string byteRefusal(std::size_t lineNumber, unsigned char c, const char* where) {
  char byte[8];
  std::snprintf(byte, sizeof byte, "0x%02X", c);
  return "line " + std::to_string(lineNumber) + " holds the byte " + byte + where +
         ", which a 3DSOLID cannot carry (its data is printable ASCII)";
}

// The length a counted string's marker word gives ("@N", or "N" where `bare`), capped at a
// million; -1 when the word is no such marker.
long countMarker(const std::string& word, bool bare) {
  const std::size_t from = bare ? 0 : 1;
  if (word.empty() || (!bare && word[0] != '@') || !isDigits(word, from)) return -1;
  long n = 0;
  for (std::size_t k = from; k < word.size() && n < 1000000; ++k) n = n * 10 + (word[k] - '0');
  return n;
}

// The end of the counted string of n bytes whose marker word ends at `wordEnd` (the bytes follow
// one separator), cut at the end of `text`; `tab` receives the offset of the first tab among
// those bytes, or npos.
std::size_t stringEnd(const std::string& text, std::size_t wordEnd, long n, std::size_t& tab) {
  const std::size_t from = std::min(text.size(), wordEnd + 1);
  const std::size_t to = std::min(text.size(), from + static_cast<std::size_t>(n));
  const std::size_t at = text.find('\t', from);
  tab = at < to ? at : std::string::npos;
  return to;
}

// Walks a header line word by word, skipping each counted string ("@N text", or "N text" where
// `bare`) whole: the offset of the first tab inside such a string, or npos.
std::size_t tabInString(const std::string& line, bool bare) {
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) ++pos;
    const long n = countMarker(line.substr(start, pos - start), bare);
    if (n < 0) continue;
    std::size_t tab;
    pos = stringEnd(line, pos, n, tab);
    if (tab != std::string::npos) return tab;
  }
  return std::string::npos;
}

// 1 when `line` is the key line "T @N key" that newer writers put after the header ("T", white
// space, a string of exactly N bytes, nothing after it but white space); -1 when it starts so
// but its string does not fit the line; 0 otherwise.
int keyLine(const std::string& line) {
  if (line.size() < 2 || line[0] != 'T' || !isBlank(line[1])) return 0;
  std::size_t pos = 1;
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  const std::size_t start = pos;
  while (pos < line.size() && !isBlank(line[pos])) ++pos;
  const long n = countMarker(line.substr(start, pos - start), false);
  if (n < 0) return 0;
  const std::size_t end = pos + 1 + static_cast<std::size_t>(n);
  if (pos >= line.size() || end > line.size()) return -1;
  for (std::size_t k = end; k < line.size(); ++k)
    if (!isBlank(line[k])) return -1;
  return 1;
}

// Whether the '#' at `at` ends its line: nothing but blanks and tabs follow it before the line end.
bool endsLine(const std::string& text, std::size_t at) {
  std::size_t k = at + 1;
  while (k < text.size() && isBlank(text[k])) ++k;
  return k == text.size() || text[k] == '\n';
}

}  // namespace

std::size_t firstUncarriedByte(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!carried(static_cast<unsigned char>(text[i]))) return i;
  return std::string::npos;
}

bool SatFile::parse(const std::string& text, std::string& error) {
  lines_.clear();
  header_.clear();
  records_.clear();
  held_.clear();
  recordList_.clear();
  historyRecords_ = 0;
  numbers_.clear();
  bodies_.clear();
  visit_.clear();
  newIndex_.clear();
  version_ = 0;
  asm_ = false;
  endMarker_.clear();
  firstLine_ = 3;
  lines_ = splitLines(text);
  if (lines_.size() < 4) {
    error = "the file is too short for a SAT header";
    return false;
  }
  std::vector<long> head;
  if (!parseInts(lines_[0], head) || head.size() != 4) {
    error = "the first line must hold four integers (version, records, bodies, history flag)";
    return false;
  }
  if (head[0] < 100 || head[0] > 40000 || head[1] < 0 || head[2] < 0) {
    error = "the first line holds an implausible version or count";
    return false;
  }
  version_ = static_cast<int>(head[0]);
  if (lines_[1].find_first_not_of(" \t") == std::string::npos) {
    error = "the product line is empty";
    return false;
  }
  if (!parseReals(lines_[2], 3)) {
    error = "the third line must hold three numbers (units, tolerances)";
    return false;
  }
  // The product and units lines, and the key line where the file has one, go into every solid.
  header_ = {lines_[1], lines_[2]};
  if (!oldStrings()) {
    const int key = keyLine(lines_[3]);
    if (key < 0) {
      error = "line 4 starts like a key line (\"T @N key\") but its string does not fit the line";
      return false;
    }
    if (key > 0) {
      header_.push_back(lines_[3]);
      firstLine_ = 4;
    }
  }
  // The header goes into every solid: a tab may be white space (see below), every other byte a
  // solid cannot carry is refused. The records are checked as they are read; what follows the
  // end marker, and a history section, go into no solid and are not.
  for (std::size_t i = 0; i < firstLine_; ++i) {
    const std::size_t at = uncarriedIn(lines_[i], 0, lines_[i].size());
    if (at != std::string::npos) {
      error = byteRefusal(i + 1, static_cast<unsigned char>(lines_[i][at]), "");
      return false;
    }
  }
  for (std::size_t i = 0; i < header_.size(); ++i) {
    if (tabInString(header_[i], oldStrings() && i == 0) != std::string::npos) {
      error = byteRefusal(i + 2, '\t', " inside a string");
      return false;
    }
    std::replace(header_[i].begin(), header_[i].end(), '\t', ' ');
  }

  for (std::size_t i = firstLine_; i < lines_.size(); ++i) records_ += lines_[i] + "\n";
  if (!readRecords(error)) return false;

  const std::size_t held = recordList_.size() + historyRecords_;
  if (static_cast<std::size_t>(head[1]) > held) {
    error = "the header counts " + std::to_string(head[1]) + " records, the file holds " +
            std::to_string(held) + " (the file is cut short)";
    return false;
  }
  if (bodies_.empty()) {
    error = "the file holds no body";
    return false;
  }
  // The ASM format counts its asmheader among the top-level records, with the bodies.
  const std::size_t topLevel = bodies_.size() + (asm_ ? 1 : 0);
  if (head[2] != 0 && static_cast<std::size_t>(head[2]) != topLevel) {
    error = "the header announces " + std::to_string(head[2]) +
            (asm_ ? " top-level records, the file holds its asmheader and " +
                        std::to_string(bodies_.size()) + " bodies"
                  : " bodies, the file holds " + std::to_string(bodies_.size()));
    return false;
  }
  for (std::size_t r = 0; r < recordList_.size(); ++r) {
    const Record& rec = recordList_[r];
    for (std::size_t k = 0; k < rec.numberCount; ++k) {
      const Number& n = numbers_[rec.firstNumber + k];
      if (!n.pointer || n.value == -1) continue;
      if (n.value < 0 || static_cast<std::size_t>(n.value) >= recordList_.size()) {
        error = "record " + std::to_string(r) + " points to record " + std::to_string(n.value) +
                ", which the file lacks";
        return false;
      }
    }
  }
  visit_.assign(recordList_.size(), 0);
  walks_ = 0;
  newIndex_.assign(recordList_.size(), -1);
  for (std::size_t b = 0; b < bodies_.size(); ++b)
    for (std::size_t r : reach(static_cast<int>(b)))
      if (recordList_[r].body >= 0 && r != bodies_[b]) {
        error = "the records of body " + std::to_string(b + 1) + " reach body " +
                std::to_string(recordList_[r].body + 1) + " (record " + std::to_string(r) + ")";
        return false;
      }
  // No tab is left inside a string by now: every one is white space, and a solid writes it as a
  // blank (the drawing file's data has no tab).
  std::replace(records_.begin(), records_.end(), '\t', ' ');
  return true;
}

std::size_t SatFile::lineAt(std::size_t offset) const {
  const auto breaks = std::count(records_.begin(), records_.begin() + offset, '\n');
  return firstLine_ + 1 + static_cast<std::size_t>(breaks);
}

void SatFile::markHeldBytes() {
  // Each "N text" that could be a counted string marks its N bytes: a word of digits, one blank
  // or tab, N bytes within the line, then white space, a '#' or the line end. Each stretch is
  // marked by counts at its two ends, so the work is linear in the text.
  const std::string& text = records_;
  std::vector<int> delta(text.size() + 1, 0);
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t lineEnd = text.find('\n', pos);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    while (pos < lineEnd) {
      while (pos < lineEnd && isBlank(text[pos])) ++pos;
      const std::size_t start = pos;
      while (pos < lineEnd && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
      const bool counted = pos > start && pos - start <= 7 && pos < lineEnd && isBlank(text[pos]);
      if (counted) {
        const std::size_t n = std::stoul(text.substr(start, pos - start));
        const std::size_t from = pos + 1, to = from + n;
        if (n > 0 && to <= lineEnd &&
            (to == lineEnd || isBlank(text[to]) || text[to] == '#')) {
          ++delta[from];
          --delta[to];
        }
      }
      while (pos < lineEnd && !isBlank(text[pos])) ++pos;
    }
    pos = lineEnd + 1;
  }
  held_.assign(text.size(), 0);
  int depth = 0;
  for (std::size_t k = 0; k < text.size(); ++k) {
    depth += delta[k];
    held_[k] = depth > 0;
  }
}

bool SatFile::readRecords(std::string& error) {
  const std::string& text = records_;
  const bool bare = oldStrings();
  if (bare) markHeldBytes();
  enum Section { kMain, kHistory, kAfterHistory } section = kMain;
  std::size_t pos = 0;
  bool inRecord = false;
  std::size_t words = 0;  // words of the open record so far
  bool numbered = false;  // the open record starts with its record number "-N"
  std::string type;       // the open record's type name
  Record record;
  while (pos < text.size()) {
    while (pos < text.size() && isSpace(text[pos])) ++pos;
    if (pos >= text.size()) break;
    const std::size_t start = pos;
    // A word runs to white space or to the '#' that ends its record: from version 700 on any
    // '#' outside a string (strings are skipped whole below), before it the '#' that ends a line.
    while (pos < text.size() && !isSpace(text[pos])) {
      if (text[pos] == '#') {
        if (!bare || endsLine(text, pos)) break;
        if (!held_[pos]) {
          error = "line " + std::to_string(lineAt(pos)) +
                  " holds a '#' inside the line that no string can hold (before version 700 a "
                  "record's '#' ends its line), so its records cannot be told apart";
          return false;
        }
      }
      ++pos;
    }
    const std::string word = text.substr(start, pos - start);
    if (!inRecord) {
      if (const char* marker = markerOf(word, kEndMarkers)) {
        endMarker_ = marker;
        break;
      }
      if (section != kHistory && markerOf(word, kHistoryBegins)) {
        section = kHistory;
        continue;
      }
      if (section == kHistory && markerOf(word, kHistoryEnds)) {
        section = kAfterHistory;
        continue;
      }
      if (section == kAfterHistory) {
        error = "line " + std::to_string(lineAt(start)) + " holds \"" + word +
                "\" after the history section, where only the end marker may follow";
        return false;
      }
      inRecord = true;
      words = 0;
      numbered = false;
      type.clear();
      record = Record{};
      // A record that has its line to itself keeps the whole line, blanks included.
      std::size_t from = start;
      while (from > 0 && isBlank(text[from - 1])) --from;
      record.begin = from == 0 || text[from - 1] == '\n' ? from : start;
      record.firstNumber = numbers_.size();
    }
    const bool kept = section == kMain;  // the history section goes into no solid
    // From version 700 on a word "@N" opens a counted string, read whole.
    const long n = bare ? -1 : countMarker(word, false);
    std::size_t tab = std::string::npos;
    if (n >= 0) pos = stringEnd(text, pos, n, tab);
    if (kept) {  // the word and its string go into a solid
      const std::size_t bad = uncarriedIn(text, start, pos);
      if (bad < tab) {
        error = byteRefusal(lineAt(bad), static_cast<unsigned char>(text[bad]), "");
        return false;
      }
      if (tab != std::string::npos) {
        error = byteRefusal(lineAt(tab), '\t', " inside a string");
        return false;
      }
    }
    if (n >= 0) {
      ++words;
      continue;
    }
    if (!word.empty() && (words == 0 ? !isRecordNumber(word) : words == 1 && numbered)) {
      type = word;
      if (bare && !std::isalpha(static_cast<unsigned char>(word[0]))) {
        error = "line " + std::to_string(lineAt(start)) + " starts a record with \"" + word +
                "\", which names no record type (before version 700 a '#' that ends a line may "
                "belong to a string), so its records cannot be told apart";
        return false;
      }
    }
    if (word.size() > 1 && word[0] == '$' &&
        (isDigits(word, 1) || (word[1] == '-' && isDigits(word, 2)))) {
      const bool negative = word[1] == '-';
      const long v = digitsValue(word, negative ? 2 : 1);
      if (kept) numbers_.push_back({start + 1, word.size() - 1, negative ? -v : v, true});
    } else if (words == 0 && isRecordNumber(word)) {
      numbered = true;
      if (kept) numbers_.push_back({start + 1, word.size() - 1, digitsValue(word, 1), false});
    }
    if (!word.empty()) ++words;
    if (pos < text.size() && text[pos] == '#') {
      ++pos;
      std::size_t to = pos;
      while (to < text.size() && isBlank(text[to])) ++to;
      record.end = to == text.size() || text[to] == '\n' ? to : pos;
      inRecord = false;
      if (!kept) {
        ++historyRecords_;
        continue;
      }
      record.numberCount = numbers_.size() - record.firstNumber;
      if (type == "body") {
        record.body = static_cast<int>(bodies_.size());
        bodies_.push_back(recordList_.size());
      }
      if (recordList_.empty() && type == "asmheader") asm_ = true;
      recordList_.push_back(record);
    }
  }
  if (inRecord) {
    error = "the last record is not ended by '#' (the file is cut short)";
    return false;
  }
  if (section == kHistory && endMarker_.empty()) {
    error = "the history section is not ended (the file is cut short)";
    return false;
  }
  return true;
}

std::vector<std::size_t> SatFile::reach(int b) {
  // Each record is marked with the walk that reached it last, so no marks need clearing.
  const std::size_t walk = ++walks_;
  std::vector<std::size_t> reached{bodies_[b]}, stack{bodies_[b]};
  visit_[bodies_[b]] = walk;
  if (asm_ && bodies_[b] != 0) {  // the asmheader opens every body's data
    reached.push_back(0);
    stack.push_back(0);
    visit_[0] = walk;
  }
  while (!stack.empty()) {
    const Record& rec = recordList_[stack.back()];
    stack.pop_back();
    for (std::size_t k = 0; k < rec.numberCount; ++k) {
      const Number& n = numbers_[rec.firstNumber + k];
      if (!n.pointer || n.value < 0 || visit_[n.value] == walk) continue;
      visit_[n.value] = walk;
      reached.push_back(static_cast<std::size_t>(n.value));
      stack.push_back(static_cast<std::size_t>(n.value));
    }
  }
  std::sort(reached.begin(), reached.end());
  return reached;
}

std::vector<std::string> SatFile::bodyLines(int b) {
  std::vector<std::string> out;
  if (b < 0 || static_cast<std::size_t>(b) >= bodies_.size()) return out;
  const std::vector<std::size_t> reached = reach(b);
  for (std::size_t i = 0; i < reached.size(); ++i) newIndex_[reached[i]] = static_cast<long>(i);

  out.push_back(std::to_string(version_) + " " + std::to_string(reached.size()) +
                (asm_ ? " 2 0" : " 1 0"));
  out.insert(out.end(), header_.begin(), header_.end());
  std::string text;
  for (std::size_t r : reached) {
    const Record& rec = recordList_[r];
    text.clear();
    std::size_t at = rec.begin;
    for (std::size_t k = 0; k < rec.numberCount; ++k) {
      const Number& n = numbers_[rec.firstNumber + k];
      text.append(records_, at, n.at - at);
      const long v = n.pointer ? n.value : static_cast<long>(r);
      if (v < 0) text.append(records_, n.at, n.length);
      else text += std::to_string(newIndex_[v]);
      at = n.at + n.length;
    }
    text.append(records_, at, rec.end - at);
    std::size_t from = 0;
    for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
      out.push_back(text.substr(from, nl - from));
    out.push_back(text.substr(from));
  }
  if (!endMarker_.empty()) out.push_back(endMarker_);
  return out;
}

}  // namespace kxhost
