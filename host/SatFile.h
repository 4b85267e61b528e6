#pragma once
// A SAT (ACIS text) file as the host's import checks it: a header of three lines (version,
// record count, body count and history flag; the product line; units and tolerances) followed
// by records ended by '#'. The body records are counted; the file's text is kept for the
// 3DSOLID entities made from it.

#include <cstddef>
#include <string>
#include <vector>

namespace kxhost {

class SatFile {
public:
  // False with `error` for a malformed header, a byte that is no printable ASCII (a 3DSOLID's
  // data cannot carry it), no body, or a body count that disagrees with the header's.
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

// The offset of the first byte of text that a 3DSOLID's data cannot carry, or npos: the data is
// kept as printable ASCII (32..126) in the drawing file, so any other byte would be lost.
std::size_t firstUncarriedByte(const std::string& text);

}  // namespace kxhost
