#pragma once
// Reader of line-type definition files in the usual text form: a header line
// "*NAME,description" followed by a pattern line "A,dash,gap,..." (dash > 0, gap < 0, dot 0).
// Lines starting with ";" are comments. Complex definitions (text or shapes in brackets) are
// recognised and refused, since the host has no shapes to draw them with.

#include <string>
#include <vector>

#include "host/SymbolTables.h"

namespace kxhost {

class LineTypeFile {
public:
  // Parses the file's text. Malformed definitions are skipped and named in `problems`.
  void parse(const std::string& text);

  // The definition of `name` (ignoring case), or null when the file holds none or only a
  // complex one (then `why` tells).
  const LineTypeRecord* find(const std::string& name, std::string& why) const;

  const std::vector<LineTypeRecord>& definitions() const { return defs_; }
  const std::vector<std::string>& problems() const { return problems_; }

private:
  std::vector<LineTypeRecord> defs_;
  std::vector<std::string> complex_;
  std::vector<std::string> problems_;
};

}  // namespace kxhost
