#pragma once
// The drawing's LAYER and LTYPE tables. Names compare ignoring case (sameName) and keep the case
// they were made with; records stay in the order they were made. LAYER always holds "0", LTYPE
// always "CONTINUOUS"; BYLAYER and BYBLOCK are accepted wherever a line type is named. These
// tables, and the drawing's BLOCK table, find a record by its name through a NameIndex, at a
// cost that does not grow with the table.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace kxhost {

// The positions of a table's records by name, names compared as sameName compares them (through
// nameKey). The table keeps it true: a record added is added here, and a table emptied empties
// its index. Names are unique in a table, so one position stands for one name.
class NameIndex {
public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  void clear() { at_.clear(); }
  // The position of the record of this name, or npos.
  std::size_t find(const std::string& name) const;
  // Records `name` at `position`; a name held already keeps its position.
  void add(const std::string& name, std::size_t position);

private:
  std::unordered_map<std::string, std::size_t> at_;   // nameKey -> position
};

struct LayerRecord {
  std::string name;
  int colour = 7;                       // 1..255
  std::string lineType = "CONTINUOUS";
};

struct LineTypeRecord {
  std::string name;
  std::string description;
  std::vector<double> pattern;          // dash > 0, gap < 0, dot 0, drawing units
};

class SymbolTables {
public:
  SymbolTables() { reset(); }
  void reset();

  // A record found for a change keeps its name: the name index holds it by that name.
  const LayerRecord* findLayer(const std::string& name) const;
  LayerRecord* findLayer(const std::string& name);
  // Makes the layer when missing (colour 7, CONTINUOUS); returns it.
  LayerRecord& ensureLayer(const std::string& name);

  const LineTypeRecord* findLineType(const std::string& name) const;
  // True for a loaded line type, BYLAYER and BYBLOCK.
  bool lineTypeUsable(const std::string& name) const;
  void addLineType(LineTypeRecord record);   // replaces one of the same name

  const std::vector<LayerRecord>& layers() const { return layers_; }
  const std::vector<LineTypeRecord>& lineTypes() const { return lineTypes_; }
  // The position in layers() or lineTypes() of the record of this name, or NameIndex::npos.
  std::size_t layerPosition(const std::string& name) const;
  std::size_t lineTypePosition(const std::string& name) const { return lineTypeAt_.find(name); }

  // The characters that no table name holds.
  static constexpr const char* kForbiddenNameCharacters = "<>/\\\":;?*|=`";
  // A name that layers, line types and blocks may carry, as DXF files and their readers take it:
  // 1 to 255 characters, none of < > / \ " : ; ? * | = ` and no control character (a line
  // break would split the file's line). Blanks are allowed anywhere, leading and trailing ones
  // included.
  static bool validName(const std::string& name);

private:
  std::vector<LayerRecord> layers_;
  std::vector<LineTypeRecord> lineTypes_;
  NameIndex layerAt_, lineTypeAt_;
  mutable std::size_t lastLayer_ = 0;   // index of the layer found last (a lookup hint only)
};

// Equality of two table names ignoring the case of the letters of the drawing's code page
// (foldedLetter, CodePage.h), each name read as the host reads texts.
bool sameName(const std::string& a, const std::string& b);
// A key that two names share exactly when sameName holds for them.
std::string nameKey(const std::string& name);
// A key word (command name, option, entity or table type) in upper case, byte by byte.
std::string upperName(std::string name);

}  // namespace kxhost
