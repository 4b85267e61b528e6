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

}  // namespace

std::size_t firstUncarriedByte(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 32 || c > 126) return i;
  }
  return std::string::npos;
}

bool SatFile::parse(const std::string& text, std::string& error) {
  lines_.clear();
  records_.clear();
  recordList_.clear();
  numbers_.clear();
  bodies_.clear();
  visit_.clear();
  newIndex_.clear();
  version_ = 0;
  endMarker_ = false;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines_.push_back(line);
  }
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
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t at = firstUncarriedByte(lines_[i]);
    if (at == std::string::npos) continue;
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(lines_[i][at]));
    error = "line " + std::to_string(i + 1) + " holds the byte " + byte +
            ", which a 3DSOLID cannot carry (its data is printable ASCII)";
    return false;
  }

  // Records from the fourth line on; "@N text" strings are skipped so that a '#' or a '$' inside
  // one neither ends a record nor points anywhere. Every byte is printable ASCII by now, so the
  // only white space is the blank and the line end.
  for (std::size_t i = 3; i < lines_.size(); ++i) records_ += lines_[i] + "\n";
  const std::string& body = records_;
  std::size_t pos = 0;
  bool inRecord = false;
  std::size_t words = 0;  // words of the open record so far
  bool isBody = false;
  Record record;
  while (pos < body.size()) {
    while (pos < body.size() && (body[pos] == ' ' || body[pos] == '\n')) ++pos;
    if (pos >= body.size()) break;
    const std::size_t start = pos;
    while (pos < body.size() && body[pos] != ' ' && body[pos] != '\n' && body[pos] != '#') ++pos;
    const std::string word = body.substr(start, pos - start);
    if (!inRecord) {
      if (word.rfind("End-of-ACIS-data", 0) == 0) {
        endMarker_ = true;
        break;
      }
      if (word.rfind("Begin-of-ACIS-History-Data", 0) == 0) break;
      inRecord = true;
      words = 0;
      isBody = false;
      record = Record{};
      // A record that has its line to itself keeps the whole line, blanks included.
      std::size_t from = start;
      while (from > 0 && body[from - 1] == ' ') --from;
      record.begin = from == 0 || body[from - 1] == '\n' ? from : start;
      record.firstNumber = numbers_.size();
    }
    if (word.size() > 1 && word[0] == '@' && isDigits(word, 1)) {
      long n = 0;
      for (std::size_t k = 1; k < word.size() && n < 1000000; ++k) n = n * 10 + (word[k] - '0');
      pos = std::min(body.size(), pos + 1 + static_cast<std::size_t>(n));
      ++words;
      continue;
    }
    if (word.size() > 1 && word[0] == '$' &&
        (isDigits(word, 1) || (word[1] == '-' && isDigits(word, 2)))) {
      const bool negative = word[1] == '-';
      const long v = digitsValue(word, negative ? 2 : 1);
      numbers_.push_back({start + 1, word.size() - 1, negative ? -v : v, true});
    } else if (words == 0 && word.size() > 1 && word[0] == '-' && isDigits(word, 1)) {
      numbers_.push_back({start + 1, word.size() - 1, digitsValue(word, 1), false});
    } else if (word == "body" &&
               (words == 0 || (words == 1 && numbers_.size() > record.firstNumber &&
                               !numbers_[record.firstNumber].pointer))) {
      isBody = true;
    }
    if (!word.empty()) ++words;
    if (pos < body.size() && body[pos] == '#') {
      ++pos;
      std::size_t to = pos;
      while (to < body.size() && body[to] == ' ') ++to;
      record.end = to == body.size() || body[to] == '\n' ? to : pos;
      record.numberCount = numbers_.size() - record.firstNumber;
      if (isBody) {
        record.body = static_cast<int>(bodies_.size());
        bodies_.push_back(recordList_.size());
      }
      recordList_.push_back(record);
      inRecord = false;
    }
  }
  if (inRecord) {
    error = "the last record is not ended by '#' (the file is cut short)";
    return false;
  }
  if (static_cast<std::size_t>(head[1]) > recordList_.size()) {
    error = "the header counts " + std::to_string(head[1]) + " records, the file holds " +
            std::to_string(recordList_.size()) + " (the file is cut short)";
    return false;
  }
  if (bodies_.empty()) {
    error = "the file holds no body";
    return false;
  }
  if (head[2] != 0 && static_cast<std::size_t>(head[2]) != bodies_.size()) {
    error = "the header announces " + std::to_string(head[2]) + " bodies, the file holds " +
            std::to_string(bodies_.size());
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
  return true;
}

std::vector<std::size_t> SatFile::reach(int b) {
  // Each record is marked with the walk that reached it last, so no marks need clearing.
  const std::size_t walk = ++walks_;
  std::vector<std::size_t> reached{bodies_[b]}, stack{bodies_[b]};
  visit_[bodies_[b]] = walk;
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

  out.push_back(std::to_string(version_) + " " + std::to_string(reached.size()) + " 1 0");
  out.push_back(lines_[1]);
  out.push_back(lines_[2]);
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
  if (endMarker_) out.push_back("End-of-ACIS-data");
  return out;
}

}  // namespace kxhost
