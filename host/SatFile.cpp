#include "host/SatFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace kxhost {

namespace {

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
  version_ = 0;
  bodies_ = 0;
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

  // Records from the fourth line on; "@N text" strings are skipped so that a '#' inside one
  // does not end a record.
  std::string body;
  for (std::size_t i = 3; i < lines_.size(); ++i) body += lines_[i] + "\n";
  std::size_t pos = 0;
  std::vector<std::string> words;
  auto endRecord = [&]() {
    std::size_t k = 0;
    if (k < words.size() && words[k].size() > 1 && words[k][0] == '-' &&
        std::isdigit(static_cast<unsigned char>(words[k][1])))
      ++k;
    if (k < words.size() && words[k] == "body") ++bodies_;
    words.clear();
  };
  while (pos < body.size()) {
    while (pos < body.size() && std::isspace(static_cast<unsigned char>(body[pos]))) ++pos;
    if (pos >= body.size()) break;
    std::size_t start = pos;
    while (pos < body.size() && !std::isspace(static_cast<unsigned char>(body[pos])) &&
           body[pos] != '#')
      ++pos;
    std::string word = body.substr(start, pos - start);
    if (word.size() > 1 && word[0] == '@') {
      long n = 0;
      bool digits = true;
      for (std::size_t k = 1; k < word.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(word[k]))) digits = false;
        else if (n < 1000000) n = n * 10 + (word[k] - '0');
      }
      if (digits) {
        pos = std::min(body.size(), pos + 1 + static_cast<std::size_t>(n));
        words.push_back("@");
        continue;
      }
    }
    if (!word.empty()) words.push_back(word);
    if (pos < body.size() && body[pos] == '#') {
      ++pos;
      endRecord();
    }
  }
  if (bodies_ == 0) {
    error = "the file holds no body";
    return false;
  }
  if (head[2] != 0 && head[2] != bodies_) {
    error = "the header announces " + std::to_string(head[2]) + " bodies, the file holds " +
            std::to_string(bodies_);
    return false;
  }
  return true;
}

}  // namespace kxhost
