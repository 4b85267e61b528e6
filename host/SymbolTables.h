#pragma once
// The drawing's LAYER and LTYPE tables. Names compare ignoring case (sameName) and keep the case
// they were made with; records stay in the order they were made. LAYER always holds "0", LTYPE
// always "CONTINUOUS"; BYLAYER and BYBLOCK are accepted wherever a line type is named.

#include <string>
#include <vector>

namespace kxhost {

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
