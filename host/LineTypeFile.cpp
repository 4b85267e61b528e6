#include "host/LineTypeFile.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace kxhost {

namespace {

std::string trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  std::size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

}  // namespace

void LineTypeFile::parse(const std::string& text) {
  defs_.clear();
  complex_.clear();
  problems_.clear();
  std::istringstream in(text);
  std::string line;
  std::string pendingName, pendingDesc;
  bool havePending = false;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    line = trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '*') {
      if (havePending) problems_.push_back(pendingName + ": no pattern line");
      std::size_t comma = line.find(',');
      pendingName = trim(line.substr(1, comma == std::string::npos ? std::string::npos : comma - 1));
      pendingDesc = comma == std::string::npos ? "" : trim(line.substr(comma + 1));
      havePending = !pendingName.empty();
      if (!havePending) problems_.push_back("line " + std::to_string(lineNo) + ": empty name");
      continue;
    }
    if (!havePending) {
      problems_.push_back("line " + std::to_string(lineNo) + ": pattern without a name");
      continue;
    }
    havePending = false;
    if (line.find('[') != std::string::npos) {
      complex_.push_back(pendingName);
      continue;
    }
    if (line.size() < 2 || (line[0] != 'A' && line[0] != 'a') || line[1] != ',') {
      problems_.push_back(pendingName + ": pattern line must start with \"A,\"");
      continue;
    }
    LineTypeRecord rec{pendingName, pendingDesc, {}};
    std::istringstream items(line.substr(2));
    std::string item;
    bool ok = true;
    while (std::getline(items, item, ',')) {
      item = trim(item);
      char* end = nullptr;
      double v = std::strtod(item.c_str(), &end);
      if (item.empty() || *end != '\0' || !std::isfinite(v)) {
        ok = false;
        break;
      }
      rec.pattern.push_back(v);
    }
    if (!ok || rec.pattern.empty() || rec.pattern.size() > 12) {
      problems_.push_back(pendingName + ": malformed pattern");
      continue;
    }
    defs_.push_back(std::move(rec));
  }
  if (havePending) problems_.push_back(pendingName + ": no pattern line");
}

const LineTypeRecord* LineTypeFile::find(const std::string& name, std::string& why) const {
  for (const LineTypeRecord& r : defs_)
    if (sameName(r.name, name)) return &r;
  for (const std::string& c : complex_)
    if (sameName(c, name)) {
      why = "line type " + name + " holds text or shapes, which this host cannot draw";
      return nullptr;
    }
  why = "line type " + name + " is not defined in the file";
  return nullptr;
}

}  // namespace kxhost
