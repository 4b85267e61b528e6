#pragma once
// Writes the drawing as a DXF R2000 (AC1015) text file: HEADER, CLASSES, TABLES (VPORT, LTYPE,
// LAYER, STYLE, VIEW, UCS, APPID, DIMSTYLE, BLOCK_RECORD), BLOCKS (model space, paper space and
// every block), ENTITIES and OBJECTS (root dictionary, groups, layouts). Entity handles are the
// database's; the file's own objects get handles above them. Each group is written in the unit
// DXF defines for it (degrees for ARC, TEXT, MTEXT, INSERT angles and hatch pattern and edge
// angles; radians for ELLIPSE parameters); a HATCH keeps its boundary links, with the matching
// reactors on the boundary entities; a 3DSOLID carries its ACIS text in the file's encoding.
// Text is written in code page 1252 ($DWGCODEPAGE ANSI_1252); characters it lacks take the
// \U+XXXX form, except in table names, which cannot hold it: there they become "_" (with "_2",
// "_3", ... where that would give two records of one table the same name). Readers take '^' and
// the character after it in a TEXT or MTEXT value for a control character, so a caret is written
// there as "^ ", the file's form of a caret; names and descriptions, which readers take as they
// stand, keep theirs.

#include <string>

namespace kxhost {

class Database;
class SystemVariables;

class DxfWriter {
public:
  DxfWriter(const Database& db, const SystemVariables& vars) : db_(db), vars_(vars) {}

  // The whole file as text.
  std::string text() const;

  // Writes the file (a native path); false with `error` when it cannot be written.
  bool save(const std::string& nativePath, std::string& error) const;

private:
  const Database& db_;
  const SystemVariables& vars_;
};

}  // namespace kxhost
