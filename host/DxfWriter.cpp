#include "host/DxfWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "host/Database.h"
#include "host/GroupRoles.h"
#include "host/HatchLayout.h"
#include "host/SystemVariables.h"
#include "host/TextFileSave.h"

namespace kxhost {

namespace {

constexpr double kPi = 3.141592653589793;
double deg(double radians) { return radians * 180.0 / kPi; }

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

std::string num(double v) {
  if (v == 0.0) v = 0.0;   // no negative zero
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

// The byte of code page 1252 ($DWGCODEPAGE ANSI_1252) for a code point above 127, or 0 when the
// code page lacks it.
unsigned char codePageByte(unsigned cp) {
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<unsigned char>(cp);
  static const unsigned kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  for (unsigned k = 0; k < 32; ++k)
    if (kHigh[k] == cp) return static_cast<unsigned char>(0x80 + k);
  return 0;
}

// Text for a DXF string value in the file's code page (the text is taken as UTF-8, a byte that is
// not part of a valid sequence as Latin-1): characters of code page 1252 as its single bytes,
// others as \U+XXXX, control characters as blanks. In a table name (`name`) a character the code
// page lacks, or a control character, becomes '_': names never hold the \U+ form.
// Returned as tokens, so that long texts can be split between characters.
std::vector<std::string> encodeTokens(const std::string& s, bool mtext, bool name = false) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned cp = c;
    std::size_t len = 1;
    if (c >= 0xC2 && c <= 0xF4) {
      std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      bool ok = i + need <= s.size();
      unsigned v = c & (need == 2 ? 0x1F : need == 3 ? 0x0F : 0x07);
      for (std::size_t k = 1; ok && k < need; ++k) {
        unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) ok = false;
        v = (v << 6) | (d & 0x3F);
      }
      if (ok) {
        cp = v;
        len = need;
      }
    }
    i += len;
    if (cp == '\n' && mtext) {
      out.push_back("\\P");
    } else if (cp < 32 || cp == 127) {
      out.push_back(name ? "_" : " ");
    } else if (cp > 127) {
      if (const unsigned char b = codePageByte(cp)) {
        out.push_back(std::string(1, static_cast<char>(b)));
      } else if (name) {
        out.push_back("_");
      } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "\\U+%04X", cp > 0xFFFF ? 0xFFFD : cp);
        out.push_back(buf);
      }
    } else if (cp == '\\' && mtext && i < s.size()) {
      const unsigned char next = static_cast<unsigned char>(s[i]);
      if (next >= 32 && next < 127) {
        // An MTEXT control sequence such as \P stays in one piece.
        out.push_back(std::string("\\") + s[i]);
        ++i;
      } else {
        // Before a line end, a control character or a byte above 127 the backslash is a literal
        // one; the byte that follows is written as any other.
        out.push_back("\\\\");
      }
    } else {
      out.push_back(std::string(1, static_cast<char>(cp)));
    }
  }
  return out;
}

std::string encode(const std::string& s, bool name = false) {
  std::string out;
  for (const std::string& t : encodeTokens(s, false, name)) out += t;
  return out;
}

// The ACIS text of a 3DSOLID as DXF R2000 stores it: every character but the blank mirrored
// about 159/2, and a resulting '^' followed by a blank.
std::string encodeAcis(const std::string& line) {
  std::string out;
  for (unsigned char c : line) {
    if (c == ' ') {
      out += ' ';
    } else if (c > 32 && c < 127) {
      char r = static_cast<char>(159 - c);
      out += r;
      if (r == '^') out += ' ';
    }
  }
  return out;
}

class Out {
public:
  void g(int code, const std::string& value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d\n", code);
    text_ += buf;
    text_ += value;
    text_ += '\n';
  }
  void g(int code, double v) { g(code, num(v)); }
  void i(int code, long v) { g(code, std::to_string(v)); }
  void h(int code, std::uint32_t handle) { g(code, hex(handle)); }
  void p(int code, const double* v, bool z = true) {
    g(code, v[0]);
    g(code + 10, v[1]);
    if (z) g(code + 20, v[2]);
  }
  void p(int code, double x, double y, double z) {
    double v[3] = {x, y, z};
    p(code, v);
  }
  void s(int code, const std::string& v) { g(code, encode(v)); }
  // A table name (layer, line type, block, pattern) or a reference to one.
  void n(int code, const std::string& v) { g(code, encode(v, true)); }
  std::string& text() { return text_; }

private:
  std::string text_;
};

class Writer {
public:
  Writer(const Database& db, const SystemVariables& vars) : db_(db), vars_(vars) {
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
    return std::move(o_.text());
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
    o_.n(8, layerName(vars_.currentLayer()));
    o_.g(0, "ENDSEC");
  }

  std::string layerName(const std::string& name) const {
    const LayerRecord* r = db_.tables().findLayer(name);
    return r ? r->name : std::string("0");
  }
  std::string lineTypeName(const std::string& name) const {
    if (sameName(name, "BYLAYER")) return "ByLayer";
    if (sameName(name, "BYBLOCK")) return "ByBlock";
    if (sameName(name, "CONTINUOUS")) return "Continuous";
    const LineTypeRecord* r = db_.tables().findLineType(name);
    return r ? r->name : std::string("Continuous");
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

  void ltypeRecord(std::uint32_t handle, const std::string& name, const std::string& desc,
                   const std::vector<double>& pattern) {
    record("LTYPE", handle, 1, "AcDbLinetypeTableRecord");
    o_.n(2, name);
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
      ltypeRecord(ltype_[k - 1], lts[k].name, lts[k].description, lts[k].pattern);
    o_.g(0, "ENDTAB");

    const auto& layers = db_.tables().layers();
    tableStart("LAYER", 2, layers.size());
    for (std::size_t k = 0; k < layers.size(); ++k) {
      record("LAYER", layer_[k], 2, "AcDbLayerTableRecord");
      o_.n(2, layers[k].name);
      o_.i(70, 0);
      o_.i(62, layers[k].colour);
      o_.n(6, lineTypeName(layers[k].lineType));
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
      o_.n(2, db_.blocks()[k].name);
    }
    o_.g(0, "ENDTAB");
    o_.g(0, "ENDSEC");
  }

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
    o_.n(2, name);
    o_.i(70, 0);
    double zero[3] = {0.0, 0.0, 0.0};
    o_.p(10, base ? base : zero);
    o_.n(3, name);
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
      blockFrame(blockEnds_[k].first, blockEnds_[k].second, blockRecord_[k], b.name, b.base, false,
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
    o_.n(8, layerName(e.layer()));
    if (const Group* lt = e.find(6)) o_.n(6, lineTypeName(lt->s));
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
      o_.s(1, e.find(1)->s);
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
      o_.n(2, b ? b->name : e.find(2)->s);
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
      for (const Group& g : e.groups) {
        if (g.code != 1 && g.code != 3) continue;
        std::string enc = encodeAcis(g.s);
        // Lines longer than 255 characters go in 3 groups ahead of their last piece.
        while (enc.size() > 255) {
          o_.g(3, enc.substr(0, 255));
          enc.erase(0, 255);
        }
        o_.g(1, enc);
      }
    }
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
    std::string full;
    for (const Group& g : e.groups)
      if (g.code == 3) full += g.s;
    if (const Group* g = e.find(1)) full += g->s;
    // Pieces of at most 250 characters, never splitting an escape.
    std::vector<std::string> pieces(1);
    for (const std::string& tok : encodeTokens(full, true)) {
      if (pieces.back().size() + tok.size() > 250) pieces.emplace_back();
      pieces.back() += tok;
    }
    for (std::size_t k = 0; k + 1 < pieces.size(); ++k) o_.g(3, pieces[k]);
    o_.g(1, pieces.back());
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
    o_.n(2, e.find(2)->s);
    o_.i(70, e.find(70)->i);
    o_.i(71, e.find(71)->i);
    const std::vector<Role>& roles = layout.roles();
    for (std::size_t k = layout.loopsStart(); k < e.groups.size(); ++k) {
      const Group& g = e.groups[k];
      switch (roles[k]) {
        case Role::Point2d:
        case Role::Vector2d: o_.p(g.code, g.v, false); continue;
        case Role::Angle:
        case Role::EdgeParam: o_.g(g.code, deg(g.v[0])); continue;
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
};

}  // namespace

std::string DxfWriter::text() const { return Writer(db_, vars_).run(); }

bool DxfWriter::save(const std::string& nativePath, std::string& error) const {
  return saveTextFile(nativePath, text(), error);
}

}  // namespace kxhost
