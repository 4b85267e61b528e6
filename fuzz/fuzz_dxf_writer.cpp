// The host's DXF writer fed with names and texts holding any bytes. Input: parts cut at NUL, in
// turn a layer name, a line type's name and description, a block name, a TEXT text, an MTEXT text
// and a CLAYER value; each goes in by the host's own paths (entities made as the plug-in makes
// them, a line type as a definition file gives it, a block from the drawn entities), so names the
// host refuses stay out. Checks on the written file: group code and value lines in pairs, every
// code a number of the DXF range, nothing but characters of the file's code page (1252) in a
// value (no CR or LF inside one), no '\' in a table name or a reference to one,
// sections, tables and blocks opened and closed in order, the file ending with EOF, and one LAYER
// record per layer of the drawing; and no result buffer is left live in the host.
//
// With KESTRIX_FUZZ_DXF_OUT naming a folder, each written file is also kept there (for a check of
// the files by an independent reader).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "host/Database.h"
#include "host/DxfWriter.h"
#include "host/HostSession.h"
#include "host/ResultBufferPool.h"
#include "host/SymbolTables.h"
#include "host/SystemVariables.h"

namespace {

using fuzzing::check;
using kxhost::Group;
using kxhost::GroupList;

void checkStructure(const std::string& text, std::size_t layers) {
  check(!text.empty() && text.back() == '\n', "the file does not end with a line end");
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    // Printable ASCII, or a character of the file's code page (1252 leaves five bytes undefined).
    const bool codePage = c >= 0x80 && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
    check(c == '\n' || (c >= 32 && c < 127) || codePage, "a byte of no character of the code page");
  }
  const std::vector<std::string> lines = fuzzing::linesOf(text);
  check(lines.size() % 2 == 0, "group code and value lines are not in pairs");
  std::vector<std::string> open;   // SECTION, TABLE, BLOCK
  std::string section, table;
  std::size_t layerRecords = 0;
  bool nameNext = false;
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    const std::string& codeLine = lines[i];
    const std::size_t first = codeLine.find_first_not_of(' ');
    check(first != std::string::npos, "an empty group code line");
    int code = 0;
    for (std::size_t k = first; k < codeLine.size(); ++k) {
      check(codeLine[k] >= '0' && codeLine[k] <= '9', "a group code that is no number");
      code = code * 10 + (codeLine[k] - '0');
      check(code <= 1071, "a group code past the DXF range");
    }
    const std::string& value = lines[i + 1];
    if (code == 8 || code == 6 || (code == 2 && !table.empty()))
      check(value.find('\\') == std::string::npos, "a name or name reference holds a backslash");
    if (nameNext) {
      check(code == 2, "a section or table without its name");
      if (open.back() == "SECTION") section = value;
      else table = value;
      nameNext = false;
    }
    if (code != 0) continue;
    if (value == "SECTION") {
      check(open.empty(), "a section inside another");
      open.push_back(value);
      nameNext = true;
    } else if (value == "ENDSEC") {
      check(open.size() == 1 && open.back() == "SECTION", "ENDSEC closes no section");
      open.pop_back();
      section.clear();
    } else if (value == "TABLE") {
      check(open.size() == 1 && section == "TABLES", "a table outside TABLES or inside another");
      open.push_back(value);
      nameNext = true;
    } else if (value == "ENDTAB") {
      check(open.size() == 2 && open.back() == "TABLE", "ENDTAB closes no table");
      open.pop_back();
      table.clear();
    } else if (value == "BLOCK") {
      check(open.size() == 1 && section == "BLOCKS", "a block outside BLOCKS or inside another");
      open.push_back(value);
    } else if (value == "ENDBLK") {
      check(open.size() == 2 && open.back() == "BLOCK", "ENDBLK closes no block");
      open.pop_back();
    } else if (value == "EOF") {
      check(open.empty() && i + 2 == lines.size(), "EOF inside a section or before the end");
    } else if (value == "LAYER" && table == "LAYER" && open.size() == 2) {
      ++layerRecords;
    }
  }
  check(lines.size() >= 2 && lines[lines.size() - 1] == "EOF", "the file does not end with EOF");
  check(layerRecords == layers, "not one LAYER record per layer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 14) return 0;
  const std::vector<std::string> parts = fuzzing::splitParts(data, size, '\0', 7);
  kxhost::HostSession& host = kxhost::HostSession::instance();
  host.reset();
  kxhost::Database& db = host.database();
  std::string error;

  kxhost::LineTypeRecord lineType;
  lineType.name = parts[1];
  lineType.description = parts[2];
  lineType.pattern = {0.5, -0.25, 0.0, -0.25};
  const bool lineTypeMade = kxhost::SymbolTables::validName(lineType.name);
  if (lineTypeMade) db.tables().addLineType(lineType);

  std::vector<std::uint32_t> drawn;
  auto make = [&](GroupList list) {
    if (db.make(list, "0", error) == 5100) {
      std::uint32_t handle = 0;
      if (db.last(handle)) drawn.push_back(handle);
    }
  };
  make({Group::str(0, "LINE"), Group::str(8, parts[0]), Group::str(6, lineTypeMade ? parts[1] : "BYLAYER"),
        Group::point(10, 0, 0), Group::point(11, 10, 5)});
  make({Group::str(0, "TEXT"), Group::str(8, parts[0]), Group::point(10, 1, 2), Group::real(40, 2.5),
        Group::str(1, parts[4])});
  make({Group::str(0, "MTEXT"), Group::str(8, "0"), Group::point(10, 3, 4), Group::real(40, 2.5),
        Group::str(3, parts[5]), Group::str(1, parts[4])});
  make({Group::str(0, "MTEXT"), Group::str(8, "0"), Group::point(10, 3, 4), Group::real(40, 2.5),
        Group::str(1, parts[5])});
  if (!drawn.empty()) {
    const double base[3] = {0, 0, 0};
    if (db.makeBlock(parts[3], base, {drawn.front()}, error))
      make({Group::str(0, "INSERT"), Group::str(2, parts[3]), Group::point(10, 20, 20)});
  }
  host.variables().setFromText("CLAYER", parts[6], error);

  const std::string text = kxhost::DxfWriter(db, host.variables()).text();
  if (const char* folder = std::getenv("KESTRIX_FUZZ_DXF_OUT"); folder && *folder) {
    const std::size_t tag = std::hash<std::string>()(std::string(reinterpret_cast<const char*>(data), size));
    fuzzing::writeFile(std::string(folder) + "/" + std::to_string(tag) + ".dxf", text);
  }
  checkStructure(text, db.tables().layers().size());
  check(host.resultBuffers().liveCount() == 0, "the host holds result buffers nobody released");
  return 0;
}
