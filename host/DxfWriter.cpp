#include "host/DxfWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/CodePage.h"
#include "host/Database.h"
#include "host/GroupRoles.h"
#include "host/HatchLayout.h"
#include "host/SystemVariables.h"
#include "host/TextFileSave.h"
#include "host/TextSink.h"

namespace kxhost {

namespace {

constexpr double kPi = 3.141592653589793;
double deg(double radians) { return radians * 180.0 / kPi; }

// A handle as the file writes it: upper-case hexadecimal, no leading zeros. Returns the end of
// the text written into buf (at least 8 bytes).
char* hexDigits(char* buf, std::uint32_t v) {
  char* end = std::to_chars(buf, buf + 8, v, 16).ptr;
  for (char* c = buf; c != end; ++c)
    if (*c >= 'a') *c = static_cast<char>(*c - 'a' + 'A');
  return end;
}

// A real as the file writes it: the shortest text that reads back to the same double, always
// with a decimal point or an exponent, never a negative zero. Returns the end of the text
// written into buf (at least 32 bytes).
char* realDigits(char* buf, double v) {
  if (v == 0.0) v = 0.0;   // no negative zero
  char* end = std::to_chars(buf, buf + 28, v).ptr;
  if (std::find_if(buf, end, [](char c) { return c == '.' || c == 'e'; }) == end) {
    *end++ = '.';
    *end++ = '0';
  }
  return end;
}

// Whether a text outside MTEXT goes into the file unchanged: printable ASCII only.
bool plainText(std::string_view s) {
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 32 || c >= 127) return false;
  }
  return true;
}

// ---- the drawing's code page ----------------------------------------------------------------
// Texts are read as the host reads them (CodePage.h). The file is written in that code page
// ($DWGCODEPAGE ANSI_1252): every character it has is one byte.

bool isControl(std::uint32_t cp) { return cp < 32 || cp == 127 || (cp >= 0x80 && cp < 0xA0); }

// How a string value goes into the file.
enum class Form {
  kString,  // a description or other string: readers take its characters as they stand
  kText,    // a TEXT value: readers take '^' and the character after it for a control character
            // (caret notation), so a caret is written "^ ", the file's form of a caret
  kMText,   // an MTEXT value: as a TEXT value, and a line break is \P
};

// Text for a DXF string value in the code page: characters it lacks as \U+XXXX (beyond U+FFFF,
// which that form cannot hold, U+FFFD), control characters as blanks; in a text value a caret as
// "^ "; in MTEXT a line break is \P and a backslash keeps the character after it (a control
// sequence such as \P; a caret after it is "^ " there as well). Handed to put one token at a time (a view valid for the call), so that
// long texts can be split between characters without being held a second time.
template <class Put>
void forEachToken(std::string_view s, Form form, Put&& put) {
  const bool mtext = form == Form::kMText;
  for (std::size_t i = 0; i < s.size();) {
    const std::uint32_t cp = nextCodePoint(s, i);
    unsigned char byte = 0;
    if (cp == '\n' && mtext) {
      put(std::string_view("\\P"));
      continue;
    }
    if (isControl(cp)) {
      put(std::string_view(" "));
      continue;
    }
    if (cp == '\\' && mtext && i < s.size()) {
      std::size_t after = i;
      const std::uint32_t next = nextCodePoint(s, after);
      if (next > 32 && next < 127) {
        const char pair[3] = {'\\', static_cast<char>(next), ' '};
        put(std::string_view(pair, next == '^' ? 3 : 2));
        i = after;
        continue;
      }
    }
    if (cp == '^' && form != Form::kString) {
      put(std::string_view("^ "));
      continue;
    }
    if (cp1252Byte(cp, byte)) {
      const char one = static_cast<char>(byte);
      put(std::string_view(&one, 1));
    } else {
      char buf[16];
      const int n = std::snprintf(buf, sizeof buf, "\\U+%04X", cp > 0xFFFF ? 0xFFFDu : cp);
      put(std::string_view(buf, static_cast<std::size_t>(n)));
    }
  }
}

std::string encode(const std::string& s, Form form) {
  std::string out;
  out.reserve(s.size());
  forEachToken(s, form, [&](std::string_view t) { out += t; });
  return out;
}

// A table name in the code page. A name cannot hold the \U+XXXX form (the backslash is not
// allowed in names), so a character the code page lacks, and a control character, becomes '_';
// changed tells whether any did.
std::string encodeName(const std::string& s, bool& changed) {
  changed = false;
  std::string out;
  for (std::uint32_t cp : codePoints(s)) {
    unsigned char byte = 0;
    if (!isControl(cp) && cp1252Byte(cp, byte)) {
      out += static_cast<char>(byte);
    } else {
      out += '_';
      changed = true;
    }
  }
  return out;
}

// The names one table of the file gives its records: each host name in the code page; a name
// that had to change, or that the file would take for another record's name, gets "_2", "_3",
// ... until it is the table's only one of that name. Names that need no change keep theirs.
class TableNames {
public:
  void reserve(const std::string& fileName) { used_.insert(foldedCp1252(fileName)); }
  void assign(const std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> later;
    for (const std::string& name : names) {
      if (names_.count(name)) continue;
      bool changed = false;
      std::string e = encodeName(name, changed);
      if (!changed && used_.insert(foldedCp1252(e)).second) names_[name] = e;
      else later.emplace_back(name, e);
    }
    for (const auto& [name, e] : later) {
      if (names_.count(name)) continue;
      std::string candidate = e;
      for (int n = 2; !used_.insert(foldedCp1252(candidate)).second; ++n) candidate = e + "_" + std::to_string(n);
      names_[name] = candidate;
    }
  }
  // The file's name of a host name (the name in the code page for one not in the table).
  std::string operator()(const std::string& name) const {
    auto it = names_.find(name);
    if (it != names_.end()) return it->second;
    bool changed = false;
    return encodeName(name, changed);
  }

private:
  std::map<std::string, std::string> names_;
  std::set<std::string> used_;
};

// A line of a 3DSOLID's ACIS text as DXF R2000 stores it: every character c but the blank
// becomes 159 - c, and a resulting '^' is written "^ " (the file's form of a caret). The
// database holds printable ASCII only in a solid's data (the entity check and the SAT import
// refuse other bytes, see firstUncarriedByte), and that maps onto printable ASCII.
std::string encodeAcis(const std::string& line) {
  std::string out;
  out.reserve(line.size() + line.size() / 8);
  for (unsigned char c : line) {
    const char r = c == ' ' ? ' ' : static_cast<char>(159 - c);
    out += r;
    if (r == '^') out += ' ';
  }
  return out;
}

// The text of the file, one group at a time: the code right-aligned in three columns on its own
// line, then the value's line. With a stream, the text goes into it a piece at a time, so that a
// large drawing is never held whole in memory.
class Out {
public:
  explicit Out(std::ostream* sink) : text_(sink) {}

  void g(int code, std::string_view value) {
    codeLine(code);
    text_.append(value);
    text_.append('\n');
  }
  void g(int code, double v) {
    char buf[32];
    g(code, std::string_view(buf, static_cast<std::size_t>(realDigits(buf, v) - buf)));
  }
  void i(int code, long v) {
    char buf[24];
    g(code, std::string_view(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf)));
  }
  void h(int code, std::uint32_t handle) {
    char buf[8];
    g(code, std::string_view(buf, static_cast<std::size_t>(hexDigits(buf, handle) - buf)));
  }
  void p(int code, const double* v, bool z = true) {
    g(code, v[0]);
    g(code + 10, v[1]);
    if (z) g(code + 20, v[2]);
  }
  void p(int code, double x, double y, double z) {
    double v[3] = {x, y, z};
    p(code, v);
  }
  // A string value in the file's code page (plain ASCII goes in as it is).
  void s(int code, const std::string& v) {
    if (plainText(v)) g(code, std::string_view(v));
    else g(code, std::string_view(encode(v, Form::kString)));
  }
  // A TEXT value: as s(), with each caret in the file's form "^ ".
  void text(int code, const std::string& v) {
    if (plainText(v) && v.find('^') == std::string::npos) g(code, std::string_view(v));
    else g(code, std::string_view(encode(v, Form::kText)));
  }
  // Ends the file: without a stream its whole text; with one, the rest goes into the stream and
  // the result is empty.
  std::string finish() { return text_.finish(); }

private:
  void codeLine(int code) {
    char buf[16];
    const char* end = std::to_chars(buf, buf + sizeof buf, code).ptr;
    const std::size_t n = static_cast<std::size_t>(end - buf);
    if (n < 3) text_.append(3 - n, ' ');
    text_.append(std::string_view(buf, n));
    text_.append('\n');
  }

  TextSink text_;
};

class Writer {
public:
  // Without a sink run() returns the whole file; with one it writes the file into it.
  Writer(const Database& db, const SystemVariables& vars, std::ostream* sink = nullptr)
      : db_(db), vars_(vars), o_(sink) {
    next_ = db.handleSeed();
  }

  std::string run() {
    plan();
    header();
    o_.g(0, "SECTION");
    o_.g(2, "CLASSES");
    o_.g(0, "ENDSEC");
    tables();
    blocks();
    o_.g(0, "SECTION");
    o_.g(2, "ENTITIES");
    for (const Entity& e : db_.model()) entity(e, modelRecord_);
    o_.g(0, "ENDSEC");
    objects();
    o_.g(0, "EOF");
    return o_.finish();
  }

private:
  std::uint32_t alloc() { return next_++; }

  void plan() {
    rootDict_ = alloc();
    groupDict_ = alloc();
    layoutDict_ = alloc();
    modelLayout_ = alloc();
    paperLayout_ = alloc();
    for (auto& t : tableHandle_) t = alloc();
    vport_ = alloc();
    for (int k = 0; k < 3; ++k) ltypeFixed_[k] = alloc();
    for (std::size_t k = 1; k < db_.tables().lineTypes().size(); ++k) ltype_.push_back(alloc());
    for (std::size_t k = 0; k < db_.tables().layers().size(); ++k) layer_.push_back(alloc());
    style_ = alloc();
    appid_ = alloc();
    dimstyle_ = alloc();
    modelRecord_ = alloc();
    paperRecord_ = alloc();
    for (std::size_t k = 0; k < db_.blocks().size(); ++k) blockRecord_.push_back(alloc());
    modelBlock_[0] = alloc();
    modelBlock_[1] = alloc();
    paperBlock_[0] = alloc();
    paperBlock_[1] = alloc();
    for (std::size_t k = 0; k < db_.blocks().size(); ++k) {
      std::uint32_t b = alloc(), e = alloc();
      blockEnds_.push_back({b, e});
    }
    // The names of the tables' records in the file.
    std::vector<std::string> names;
    for (const LayerRecord& l : db_.tables().layers()) names.push_back(l.name);
    layerNames_.assign(names);
    names.clear();
    for (const char* fixed : {"ByBlock", "ByLayer", "Continuous"}) lineTypeNames_.reserve(fixed);
    for (std::size_t k = 1; k < db_.tables().lineTypes().size(); ++k)
      names.push_back(db_.tables().lineTypes()[k].name);
    lineTypeNames_.assign(names);
    names.clear();
    for (const char* fixed : {"*Model_Space", "*Paper_Space"}) blockNames_.reserve(fixed);
    for (const BlockRecord& b : db_.blocks()) names.push_back(b.name);
    blockNames_.assign(names);
    // Reactors: every boundary entity names the hatches that link to it.
    auto scan = [&](const std::vector<Entity>& list) {
      for (const Entity& e : list) {
        if (e.type != "HATCH") continue;
        for (const Group& g : linksOf(e)) reactors_[static_cast<std::uint32_t>(g.name[0])].push_back(e.handle);
      }
    };
    scan(db_.model());
    for (const BlockRecord& b : db_.blocks()) scan(b.entities);
  }

  // The 330 groups of a hatch that still name an entity of the drawing.
  std::vector<Group> linksOf(const Entity& hatch) const {
    std::vector<Group> out;
    for (const Group& g : hatch.groups)
      if (g.code == 330 && db_.entityByName(g.name)) out.push_back(g);
    return out;
  }

  void header() {
    o_.g(0, "SECTION");
    o_.g(2, "HEADER");
    o_.g(9, "$ACADVER");
    o_.g(1, "AC1015");
    o_.g(9, "$DWGCODEPAGE");
    o_.g(3, "ANSI_1252");
    o_.g(9, "$HANDSEED");
    o_.h(5, next_);
    o_.g(9, "$MEASUREMENT");
    o_.i(70, vars_.measurement());
    o_.g(9, "$INSUNITS");
    o_.i(70, vars_.measurement() ? 4 : 1);
    o_.g(9, "$CLAYER");
    o_.g(8, layerName(vars_.currentLayer()));
    o_.g(0, "ENDSEC");
  }

  // The file's name of a layer or line type the drawing names (as the entity spells it); looked
  // up once per spelling.
  const std::string& layerName(const std::string& name) {
    auto known = layerCache_.find(name);
    if (known != layerCache_.end()) return known->second;
    const LayerRecord* r = db_.tables().findLayer(name);
    return layerCache_.emplace(name, r ? layerNames_(r->name) : std::string("0")).first->second;
  }
  const std::string& lineTypeName(const std::string& name) {
    auto known = lineTypeCache_.find(name);
    if (known != lineTypeCache_.end()) return known->second;
    std::string fileName;
    if (sameName(name, "BYLAYER")) fileName = "ByLayer";
    else if (sameName(name, "BYBLOCK")) fileName = "ByBlock";
    else if (sameName(name, "CONTINUOUS")) fileName = "Continuous";
    else if (const LineTypeRecord* r = db_.tables().findLineType(name)) fileName = lineTypeNames_(r->name);
    else fileName = "Continuous";
    return lineTypeCache_.emplace(name, std::move(fileName)).first->second;
  }

  void tableStart(const char* name, int index, std::size_t count) {
    o_.g(0, "TABLE");
    o_.g(2, name);
    o_.h(5, tableHandle_[index]);
    o_.g(330, "0");
    o_.g(100, "AcDbSymbolTable");
    o_.i(70, static_cast<long>(count));
  }
  void record(const char* type, std::uint32_t handle, int table, const char* subclass,
              bool dimstyle = false) {
    o_.g(0, type);
    o_.h(dimstyle ? 105 : 5, handle);
    o_.h(330, tableHandle_[table]);
    o_.g(100, "AcDbSymbolTableRecord");
    o_.g(100, subclass);
  }

  // name is the file's name of the line type.
  void ltypeRecord(std::uint32_t handle, const std::string& name, const std::string& desc,
                   const std::vector<double>& pattern) {
    record("LTYPE", handle, 1, "AcDbLinetypeTableRecord");
    o_.g(2, name);
    o_.i(70, 0);
    o_.s(3, desc);
    o_.i(72, 65);
    o_.i(73, static_cast<long>(pattern.size()));
    double total = 0.0;
    for (double d : pattern) total += std::fabs(d);
    o_.g(40, total);
    for (double d : pattern) {
      o_.g(49, d);
      o_.i(74, 0);
    }
  }

  void tables() {
    o_.g(0, "SECTION");
    o_.g(2, "TABLES");
    tableStart("VPORT", 0, 1);
    record("VPORT", vport_, 0, "AcDbViewportTableRecord");
    o_.g(2, "*Active");
    o_.i(70, 0);
    o_.g(10, 0.0);
    o_.g(20, 0.0);
    o_.g(11, 1.0);
    o_.g(21, 1.0);
    o_.g(12, 0.0);
    o_.g(22, 0.0);
    o_.g(40, 1000.0);
    o_.g(41, 1.34);
    o_.g(0, "ENDTAB");

    const auto& lts = db_.tables().lineTypes();
    tableStart("LTYPE", 1, lts.size() + 2);
    ltypeRecord(ltypeFixed_[0], "ByBlock", "", {});
    ltypeRecord(ltypeFixed_[1], "ByLayer", "", {});
    ltypeRecord(ltypeFixed_[2], "Continuous", lts[0].description, {});
    for (std::size_t k = 1; k < lts.size(); ++k)
      ltypeRecord(ltype_[k - 1], lineTypeNames_(lts[k].name), lts[k].description, lts[k].pattern);
    o_.g(0, "ENDTAB");

    const auto& layers = db_.tables().layers();
    tableStart("LAYER", 2, layers.size());
    for (std::size_t k = 0; k < layers.size(); ++k) {
      record("LAYER", layer_[k], 2, "AcDbLayerTableRecord");
      o_.g(2, layerNames_(layers[k].name));
      o_.i(70, 0);
      o_.i(62, layers[k].colour);
      o_.s(6, lineTypeName(layers[k].lineType));
    }
    o_.g(0, "ENDTAB");

    tableStart("STYLE", 3, 1);
    record("STYLE", style_, 3, "AcDbTextStyleTableRecord");
    o_.g(2, "Standard");
    o_.i(70, 0);
    o_.g(40, 0.0);
    o_.g(41, 1.0);
    o_.g(50, 0.0);
    o_.i(71, 0);
    o_.g(42, 2.5);
    o_.g(3, "txt");
    o_.g(4, "");
    o_.g(0, "ENDTAB");

    tableStart("VIEW", 4, 0);
    o_.g(0, "ENDTAB");
    tableStart("UCS", 5, 0);
    o_.g(0, "ENDTAB");

    tableStart("APPID", 6, 1);
    record("APPID", appid_, 6, "AcDbRegAppTableRecord");
    o_.g(2, "ACAD");
    o_.i(70, 0);
    o_.g(0, "ENDTAB");

    o_.g(0, "TABLE");
    o_.g(2, "DIMSTYLE");
    o_.h(5, tableHandle_[7]);
    o_.g(330, "0");
    o_.g(100, "AcDbSymbolTable");
    o_.i(70, 1);
    o_.g(100, "AcDbDimStyleTable");
    o_.i(71, 0);
    record("DIMSTYLE", dimstyle_, 7, "AcDbDimStyleTableRecord", true);
    o_.g(2, "Standard");
    o_.i(70, 0);
    o_.g(0, "ENDTAB");

    tableStart("BLOCK_RECORD", 8, db_.blocks().size() + 2);
    record("BLOCK_RECORD", modelRecord_, 8, "AcDbBlockTableRecord");
    o_.g(2, "*Model_Space");
    o_.h(340, modelLayout_);
    record("BLOCK_RECORD", paperRecord_, 8, "AcDbBlockTableRecord");
    o_.g(2, "*Paper_Space");
    o_.h(340, paperLayout_);
    for (std::size_t k = 0; k < db_.blocks().size(); ++k) {
      record("BLOCK_RECORD", blockRecord_[k], 8, "AcDbBlockTableRecord");
      o_.g(2, blockNames_(db_.blocks()[k].name));
    }
    o_.g(0, "ENDTAB");
    o_.g(0, "ENDSEC");
  }

  // name is the file's name of the block.
  void blockFrame(std::uint32_t begin, std::uint32_t end, std::uint32_t owner,
                  const std::string& name, const double* base, bool paper,
                  const std::vector<Entity>* entities) {
    o_.g(0, "BLOCK");
    o_.h(5, begin);
    o_.h(330, owner);
    o_.g(100, "AcDbEntity");
    if (paper) o_.i(67, 1);
    o_.g(8, "0");
    o_.g(100, "AcDbBlockBegin");
    o_.g(2, name);
    o_.i(70, 0);
    double zero[3] = {0.0, 0.0, 0.0};
    o_.p(10, base ? base : zero);
    o_.g(3, name);
    o_.g(1, "");
    if (entities)
      for (const Entity& e : *entities) entity(e, owner);
    o_.g(0, "ENDBLK");
    o_.h(5, end);
    o_.h(330, owner);
    o_.g(100, "AcDbEntity");
    if (paper) o_.i(67, 1);
    o_.g(8, "0");
    o_.g(100, "AcDbBlockEnd");
  }

  void blocks() {
    o_.g(0, "SECTION");
    o_.g(2, "BLOCKS");
    blockFrame(modelBlock_[0], modelBlock_[1], modelRecord_, "*Model_Space", nullptr, false, nullptr);
    blockFrame(paperBlock_[0], paperBlock_[1], paperRecord_, "*Paper_Space", nullptr, true, nullptr);
    for (std::size_t k = 0; k < db_.blocks().size(); ++k) {
      const BlockRecord& b = db_.blocks()[k];
      blockFrame(blockEnds_[k].first, blockEnds_[k].second, blockRecord_[k], blockNames_(b.name),
                 b.base, false,
                 &b.entities);
    }
    o_.g(0, "ENDSEC");
  }

  // The common head of every entity: type, handle, reactors, owner, layer, line type, colour.
  void head(const std::string& dxfType, const Entity& e, std::uint32_t owner) {
    o_.g(0, dxfType);
    o_.h(5, e.handle);
    auto r = reactors_.find(e.handle);
    if (r != reactors_.end()) {
      o_.g(102, "{ACAD_REACTORS");
      for (std::uint32_t h : r->second) o_.h(330, h);
      o_.g(102, "}");
    }
    o_.h(330, owner);
    o_.g(100, "AcDbEntity");
    const Group* layer = e.find(8);
    o_.g(8, layer ? layerName(layer->s) : layerName("0"));
    if (const Group* lt = e.find(6)) o_.g(6, lineTypeName(lt->s));
    if (const Group* c = e.find(62)) o_.i(62, c->i);
    if (const Group* s = e.find(48)) o_.g(48, s->v[0]);
    if (const Group* v = e.find(60)) o_.i(60, v->i);
    if (const Group* w = e.find(370)) o_.i(370, w->i);
  }

  double real(const Entity& e, int code, double fallback = 0.0) const {
    const Group* g = e.find(code);
    return g ? g->v[0] : fallback;
  }
  void opt(const Entity& e, int code, bool degrees = false) {
    if (const Group* g = e.find(code)) o_.g(code, degrees ? deg(g->v[0]) : g->v[0]);
  }
  void optInt(const Entity& e, int code) {
    if (const Group* g = e.find(code)) o_.i(code, g->i);
  }
  void optPoint(const Entity& e, int code) {
    if (const Group* g = e.find(code)) o_.p(code, g->v);
  }
  void point(const Entity& e, int code) {
    const Group* g = e.find(code);
    double zero[3] = {0.0, 0.0, 0.0};
    o_.p(code, g ? g->v : zero);
  }

  void entity(const Entity& e, std::uint32_t owner) {
    const std::string& t = e.type;
    if (t == "LINE") {
      head("LINE", e, owner);
      o_.g(100, "AcDbLine");
      opt(e, 39);
      point(e, 10);
      point(e, 11);
      optPoint(e, 210);
    } else if (t == "CIRCLE" || t == "ARC") {
      head(t, e, owner);
      o_.g(100, "AcDbCircle");
      opt(e, 39);
      point(e, 10);
      opt(e, 40);
      optPoint(e, 210);
      if (t == "ARC") {
        o_.g(100, "AcDbArc");
        o_.g(50, deg(real(e, 50)));
        o_.g(51, deg(real(e, 51)));
      }
    } else if (t == "ELLIPSE") {
      head("ELLIPSE", e, owner);
      o_.g(100, "AcDbEllipse");
      point(e, 10);
      point(e, 11);
      optPoint(e, 210);
      o_.g(40, real(e, 40));
      o_.g(41, real(e, 41, 0.0));
      o_.g(42, real(e, 42, 2 * kPi));
    } else if (t == "POINT") {
      head("POINT", e, owner);
      o_.g(100, "AcDbPoint");
      point(e, 10);
      opt(e, 39);
      optPoint(e, 210);
      opt(e, 50, true);
    } else if (t == "TEXT") {
      head("TEXT", e, owner);
      o_.g(100, "AcDbText");
      opt(e, 39);
      point(e, 10);
      o_.g(40, real(e, 40));
      o_.text(1, e.find(1)->s);
      opt(e, 50, true);
      opt(e, 41);
      opt(e, 51, true);
      if (e.find(7)) o_.g(7, "Standard");
      optInt(e, 71);
      optInt(e, 72);
      optPoint(e, 11);
      optPoint(e, 210);
      o_.g(100, "AcDbText");
      optInt(e, 73);
    } else if (t == "MTEXT") {
      mtext(e, owner);
    } else if (t == "POLYLINE") {
      polyline(e, owner);
    } else if (t == "INSERT") {
      head("INSERT", e, owner);
      o_.g(100, "AcDbBlockReference");
      const BlockRecord* b = db_.findBlock(e.find(2)->s);
      o_.g(2, blockNames_(b ? b->name : e.find(2)->s));
      point(e, 10);
      opt(e, 41);
      opt(e, 42);
      opt(e, 43);
      opt(e, 50, true);
      optPoint(e, 210);
    } else if (t == "HATCH") {
      hatch(e, owner);
    } else if (t == "3DSOLID") {
      head("3DSOLID", e, owner);
      o_.g(100, "AcDbModelerGeometry");
      o_.i(70, 1);
      // A group 1 starts a line of the text and the group 3 entries after it continue that
      // line, in the entity as in the file.
      std::string line;
      bool open = false;
      for (const Group& g : e.groups) {
        if (g.code == 1) {
          if (open) acisLine(line);
          line = g.s;
          open = true;
        } else if (g.code == 3) {
          line += g.s;
          open = true;
        }
      }
      if (open) acisLine(line);
    }
  }

  // One line of a solid's text, encoded: a group 1 of up to 255 characters, the rest in group 3
  // entries of up to 255, never parting a "^ " pair.
  void acisLine(const std::string& line) {
    const std::string enc = encodeAcis(line);
    std::size_t at = 0;
    int code = 1;
    do {
      std::size_t n = std::min<std::size_t>(255, enc.size() - at);
      if (at + n < enc.size() && enc[at + n - 1] == '^') --n;
      o_.g(code, std::string_view(enc).substr(at, n));
      at += n;
      code = 3;
    } while (at < enc.size());
  }

  void mtext(const Entity& e, std::uint32_t owner) {
    head("MTEXT", e, owner);
    o_.g(100, "AcDbMText");
    point(e, 10);
    o_.g(40, real(e, 40));
    opt(e, 41);
    const Group* a = e.find(71);
    o_.i(71, a ? a->i : 1);
    const Group* d = e.find(72);
    o_.i(72, d ? d->i : 1);
    // The text is its group 3 entries in order, then its group 1. Only a text given in pieces
    // is joined; a text in group 1 alone is read where it lies.
    const Group* last = e.find(1);
    std::string joined;
    bool pieces = false;
    for (const Group& g : e.groups)
      if (g.code == 3) {
        joined += g.s;
        pieces = true;
      }
    if (pieces && last) joined += last->s;
    const std::string_view full = pieces || !last ? std::string_view(joined) : std::string_view(last->s);
    // Written in pieces of at most 250 characters, never splitting an escape: each full piece
    // as a group 3, the last one as the group 1.
    std::string piece;
    piece.reserve(250);
    forEachToken(full, Form::kMText, [&](std::string_view tok) {
      if (piece.size() + tok.size() > 250) {
        o_.g(3, piece);
        piece.clear();
      }
      piece += tok;
    });
    o_.g(1, piece);
    if (e.find(7)) o_.g(7, "Standard");
    optPoint(e, 210);
    optPoint(e, 11);
    opt(e, 50, true);
    opt(e, 44);
  }

  void polyline(const Entity& e, std::uint32_t owner) {
    head("POLYLINE", e, owner);
    o_.g(100, "AcDb2dPolyline");
    o_.i(66, 1);
    const Group* p10 = e.find(10);
    o_.p(10, 0.0, 0.0, p10 ? p10->v[2] : 0.0);
    const Group* f = e.find(70);
    o_.i(70, f ? f->i : 0);
    opt(e, 40);
    opt(e, 41);
    optPoint(e, 210);
    for (const Entity& v : e.subs) {
      if (v.type == "VERTEX") {
        head("VERTEX", v, e.handle);
        o_.g(100, "AcDbVertex");
        o_.g(100, "AcDb2dVertex");
        point(v, 10);
        opt(v, 40);
        opt(v, 41);
        opt(v, 42);
        const Group* vf = v.find(70);
        o_.i(70, vf ? vf->i : 0);
        opt(v, 50, true);
      } else {
        head("SEQEND", v, e.handle);
      }
    }
  }

  // The file's start or end angle of a hatch ellipse edge from the list's parameter t (radians):
  // DXF keeps the geometric angle of the point (cos t, ratio sin t) seen from the centre, against
  // the major axis, in the turn that lies nearest t, so that a full turn stays one and the order
  // of start and end is kept. The edge's ratio (group 40) comes just before its 50 and 51.
  static double edgeAngle(const std::vector<Group>& groups, std::size_t k) {
    const double t = groups[k].v[0];
    double ratio = 1.0;
    for (std::size_t j = k; j-- > 0 && k - j <= 2;)
      if (groups[j].code == 40) {
        ratio = groups[j].v[0];
        break;
      }
    const double a = std::atan2(ratio * std::sin(t), std::cos(t));
    return a + 2.0 * kPi * std::round((t - a) / (2.0 * kPi));
  }

  void hatch(const Entity& e, std::uint32_t owner) {
    HatchLayout layout;
    std::string error;
    if (!layout.parse(e.groups, nullptr, error)) return;   // cannot happen for a made entity
    head("HATCH", e, owner);
    o_.g(100, "AcDbHatch");
    const Group* elev = e.find(10);   // the first 10 lies in the header
    bool headerElevation = false;
    for (std::size_t k = 0; k < layout.loopsStart(); ++k)
      if (e.groups[k].code == 10) headerElevation = true;
    o_.p(10, 0.0, 0.0, headerElevation && elev ? elev->v[2] : 0.0);
    const Group* ext = nullptr;
    for (std::size_t k = 0; k < layout.loopsStart(); ++k)
      if (e.groups[k].code == 210) ext = &e.groups[k];
    if (ext)
      o_.p(210, ext->v);
    else
      o_.p(210, 0.0, 0.0, 1.0);
    bool changed = false;
    o_.g(2, encodeName(e.find(2)->s, changed));   // the pattern's name
    o_.i(70, e.find(70)->i);
    o_.i(71, e.find(71)->i);
    const std::vector<Role>& roles = layout.roles();
    for (std::size_t k = layout.loopsStart(); k < e.groups.size(); ++k) {
      const Group& g = e.groups[k];
      switch (roles[k]) {
        case Role::Point2d:
        case Role::Vector2d: o_.p(g.code, g.v, false); continue;
        case Role::Angle: o_.g(g.code, deg(g.v[0])); continue;
        case Role::EdgeParam: o_.g(g.code, deg(edgeAngle(e.groups, k))); continue;
        default: break;
      }
      if (g.code == 330) {
        if (db_.entityByName(g.name)) o_.h(330, static_cast<std::uint32_t>(g.name[0]));
        continue;
      }
      if (g.code == 97) {
        // The number of links the file actually holds for this loop.
        int n = 0;
        for (std::size_t j = k + 1; j < e.groups.size() && e.groups[j].code == 330; ++j)
          if (db_.entityByName(e.groups[j].name)) ++n;
        o_.i(97, n);
        continue;
      }
      if (g.kind == ValueKind::Real)
        o_.g(g.code, g.v[0]);
      else if (g.kind == ValueKind::Short || g.kind == ValueKind::Long)
        o_.i(g.code, g.i);
      else if (g.kind == ValueKind::String)
        o_.s(g.code, g.s);
    }
  }

  void objects() {
    o_.g(0, "SECTION");
    o_.g(2, "OBJECTS");
    o_.g(0, "DICTIONARY");
    o_.h(5, rootDict_);
    o_.g(330, "0");
    o_.g(100, "AcDbDictionary");
    o_.i(281, 1);
    o_.g(3, "ACAD_GROUP");
    o_.h(350, groupDict_);
    o_.g(3, "ACAD_LAYOUT");
    o_.h(350, layoutDict_);
    o_.g(0, "DICTIONARY");
    o_.h(5, groupDict_);
    o_.h(330, rootDict_);
    o_.g(100, "AcDbDictionary");
    o_.i(281, 1);
    o_.g(0, "DICTIONARY");
    o_.h(5, layoutDict_);
    o_.h(330, rootDict_);
    o_.g(100, "AcDbDictionary");
    o_.i(281, 1);
    o_.g(3, "Model");
    o_.h(350, modelLayout_);
    o_.g(3, "Layout1");
    o_.h(350, paperLayout_);
    layout(modelLayout_, "Model", 0, modelRecord_);
    layout(paperLayout_, "Layout1", 1, paperRecord_);
    o_.g(0, "ENDSEC");
  }

  void layout(std::uint32_t handle, const char* name, int order, std::uint32_t record) {
    o_.g(0, "LAYOUT");
    o_.h(5, handle);
    o_.h(330, layoutDict_);
    o_.g(100, "AcDbPlotSettings");
    o_.g(1, "");
    o_.g(2, "none_device");
    o_.g(4, "");
    o_.g(6, "");
    for (int c : {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141}) o_.g(c, 0.0);
    o_.g(142, 1.0);
    o_.g(143, 1.0);
    o_.i(70, order == 0 ? 1024 : 0);
    o_.i(72, 1);
    o_.i(73, 0);
    o_.i(74, 5);
    o_.g(7, "");
    o_.i(75, 16);
    o_.g(147, 1.0);
    o_.g(148, 0.0);
    o_.g(149, 0.0);
    o_.g(100, "AcDbLayout");
    o_.g(1, name);
    o_.i(70, 1);
    o_.i(71, order);
    o_.g(10, 0.0);
    o_.g(20, 0.0);
    o_.g(11, 420.0);
    o_.g(21, 297.0);
    o_.p(12, 0.0, 0.0, 0.0);
    o_.p(14, 1e20, 1e20, 1e20);
    o_.p(15, -1e20, -1e20, -1e20);
    o_.g(146, 0.0);
    o_.p(13, 0.0, 0.0, 0.0);
    o_.p(16, 1.0, 0.0, 0.0);
    o_.p(17, 0.0, 1.0, 0.0);
    o_.i(76, 1);
    o_.h(330, record);
  }

  const Database& db_;
  const SystemVariables& vars_;
  Out o_;
  std::uint32_t next_;
  std::uint32_t rootDict_ = 0, groupDict_ = 0, layoutDict_ = 0, modelLayout_ = 0, paperLayout_ = 0;
  std::uint32_t tableHandle_[9] = {};
  std::uint32_t vport_ = 0, ltypeFixed_[3] = {}, style_ = 0, appid_ = 0, dimstyle_ = 0;
  std::vector<std::uint32_t> ltype_, layer_, blockRecord_;
  std::uint32_t modelRecord_ = 0, paperRecord_ = 0, modelBlock_[2] = {}, paperBlock_[2] = {};
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blockEnds_;
  std::map<std::uint32_t, std::vector<std::uint32_t>> reactors_;
  TableNames layerNames_, lineTypeNames_, blockNames_;
  std::unordered_map<std::string, std::string> layerCache_, lineTypeCache_;
};

}  // namespace

std::string DxfWriter::text() const { return Writer(db_, vars_).run(); }

bool DxfWriter::save(const std::string& nativePath, std::string& error) const {
  return saveTextFile(nativePath, [&](std::ostream& out) { Writer(db_, vars_, &out).run(); }, error);
}

}  // namespace kxhost
