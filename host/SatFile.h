#pragma once
// A SAT (ACIS text) file as the host's import checks it: a header of three lines (version,
// record count, body count and history flag; the product line; units and tolerances) followed
// by records ended by '#'. The body records are counted; the file's text is kept for the
// 3DSOLID entities made from it.

#include <string>
#include <vector>

namespace kxhost {

class SatFile {
public:
  // False with `error` for a malformed header, no body, or a body count that disagrees with
  // the header's.
  bool parse(const std::string& text, std::string& error);

  int version() const { return version_; }
  int bodyCount() const { return bodies_; }
  // The file's lines, line ends removed.
  const std::vector<std::string>& lines() const { return lines_; }

private:
  int version_ = 0;
  int bodies_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace kxhost
