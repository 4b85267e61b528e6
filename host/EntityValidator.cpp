#include "host/EntityValidator.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <vector>

#include "host/Database.h"
#include "host/HatchLayout.h"
#include "host/SatFile.h"

namespace kxhost {

namespace {

// Group codes run from 0 to 1071.
constexpr int kCodeLimit = 1072;
using CodeSet = std::bitset<kCodeLimit>;

enum class Shape { Line, Arc, Circle, Ellipse, MText, Text, Point, Polyline, Vertex, Seqend,
                   Insert, Solid, Hatch };

struct TypeRule {
  const char* type;
  Shape shape;
  std::vector<int> required;
  std::vector<int> optional;
  std::vector<int> repeatable;   // codes that may occur more than once
  CodeSet allowed = {};          // the common, required and optional codes
  CodeSet once = {};             // the allowed codes that may occur once only
};

// Groups every entity may carry.
const std::vector<int> kCommon = {100, 8, 6, 62, 48, 60, 370, 39, 210};

std::vector<TypeRule> withCodeSets(std::vector<TypeRule> table) {
  for (TypeRule& r : table) {
    auto allow = [&r](const std::vector<int>& codes) {
      for (int c : codes) r.allowed.set(static_cast<std::size_t>(c));
    };
    allow(kCommon);
    allow(r.required);
    allow(r.optional);
    r.once = r.allowed;
    r.once.reset(100);
    for (int c : r.repeatable) r.once.reset(static_cast<std::size_t>(c));
  }
  return table;
}

const std::vector<TypeRule>& rules() {
  static const std::vector<TypeRule> table = withCodeSets({
      {"LINE", Shape::Line, {10, 11}, {}, {}},
      {"ARC", Shape::Arc, {10, 40, 50, 51}, {}, {}},
      {"CIRCLE", Shape::Circle, {10, 40}, {}, {}},
      {"ELLIPSE", Shape::Ellipse, {10, 11, 40}, {41, 42}, {}},
      {"MTEXT", Shape::MText, {10, 40, 1}, {3, 7, 11, 41, 44, 50, 71, 72, 73}, {3}},
      {"TEXT", Shape::Text, {10, 40, 1}, {7, 11, 41, 50, 51, 71, 72, 73}, {}},
      {"POINT", Shape::Point, {10}, {50}, {}},
      {"POLYLINE", Shape::Polyline, {}, {10, 66, 70, 40, 41, 71, 72, 73, 74, 75}, {}},
      {"VERTEX", Shape::Vertex, {10}, {40, 41, 42, 50, 70}, {}},
      {"SEQEND", Shape::Seqend, {}, {}, {}},
      {"INSERT", Shape::Insert, {2, 10}, {41, 42, 43, 44, 45, 50, 66, 70, 71}, {}},
      {"3DSOLID", Shape::Solid, {1}, {70, 3}, {1, 3}},
      {"HATCH", Shape::Hatch, {}, {}, {}},   // checked by HatchLayout
  });
  return table;
}

const TypeRule* ruleOf(const std::string& type) {
  for (const TypeRule& r : rules())
    if (type == r.type) return &r;
  return nullptr;
}

bool finite(const Group& g) {
  if (g.kind == ValueKind::Real) return std::isfinite(g.v[0]);
  if (g.kind == ValueKind::Point)
    return std::isfinite(g.v[0]) && std::isfinite(g.v[1]) && std::isfinite(g.v[2]);
  return true;
}

}  // namespace

bool EntityValidator::knownType(const std::string& type) { return ruleOf(type) != nullptr; }

bool EntityValidator::check(const std::string& type, const GroupList& groups,
                            std::string& error) const {
  const TypeRule* rule = ruleOf(type);
  if (!rule) {
    error = "unknown entity type \"" + type + "\"";
    return false;
  }
  // Checks shared by every type.
  for (const Group& g : groups) {
    if (!finite(g)) {
      error = "group " + std::to_string(g.code) + " is not a finite number";
      return false;
    }
    switch (g.code) {
      case 8:
        if (!SymbolTables::validName(g.s)) {
          error = "group 8 \"" + g.s + "\" is no valid layer name";
          return false;
        }
        break;
      case 6:
        if (!db_.tables().lineTypeUsable(g.s)) {
          error = "line type \"" + g.s + "\" is not loaded";
          return false;
        }
        break;
      case 62:
        if (g.i < 0 || g.i > 256) {
          error = "colour " + std::to_string(g.i) + " lies outside 0..256";
          return false;
        }
        break;
      case 7:
        if (!sameName(g.s, "STANDARD")) {
          error = "text style \"" + g.s + "\" does not exist";
          return false;
        }
        break;
      case 210:
        if (g.v[0] == 0.0 && g.v[1] == 0.0 && g.v[2] == 0.0) {
          error = "extrusion direction (group 210) is zero";
          return false;
        }
        break;
      default: break;
    }
  }
  if (rule->shape == Shape::Hatch) {
    HatchLayout layout;
    if (!layout.parse(groups, &db_, error)) return false;
    return true;
  }

  CodeSet seen;   // the codes met so far that may occur once only
  for (const Group& g : groups) {
    bool known = g.code >= 0 && g.code < kCodeLimit;
    if (!known || !rule->allowed.test(static_cast<std::size_t>(g.code))) {
      error = "group " + std::to_string(g.code) + " does not belong to a " + type;
      return false;
    }
    if (rule->once.test(static_cast<std::size_t>(g.code))) {
      if (seen.test(static_cast<std::size_t>(g.code))) {
        error = "group " + std::to_string(g.code) + " is given twice";
        return false;
      }
      seen.set(static_cast<std::size_t>(g.code));
    }
  }
  for (int code : rule->required)
    if (!findGroup(groups, code)) {
      error = "required group " + std::to_string(code) + " is missing";
      return false;
    }

  if (rule->shape == Shape::Solid)
    for (const Group& g : groups)
      if ((g.code == 1 || g.code == 3) && firstUncarriedByte(g.s) != std::string::npos) {
        error = "group " + std::to_string(g.code) +
                " holds a byte that a 3DSOLID cannot carry (its data is printable ASCII)";
        return false;
      }

  auto real = [&](int code) { const Group* g = findGroup(groups, code); return g ? g->v[0] : 0.0; };
  if ((rule->shape == Shape::Arc || rule->shape == Shape::Circle) && !(real(40) > 0.0)) {
    error = "radius (group 40) must be positive";
    return false;
  }
  if ((rule->shape == Shape::Text || rule->shape == Shape::MText) && !(real(40) > 0.0)) {
    error = "text height (group 40) must be positive";
    return false;
  }
  if (rule->shape == Shape::Ellipse) {
    const Group* axis = findGroup(groups, 11);
    if (std::hypot(axis->v[0], axis->v[1], axis->v[2]) == 0.0) {
      error = "major axis (group 11) is zero";
      return false;
    }
    double ratio = real(40);
    if (!(ratio > 0.0 && ratio <= 1.0)) {
      error = "axis ratio (group 40) must lie in (0, 1]";
      return false;
    }
  }
  if (rule->shape == Shape::MText) {
    if (const Group* a = findGroup(groups, 71); a && (a->i < 1 || a->i > 9)) {
      error = "attachment (group 71) must lie in 1..9";
      return false;
    }
    if (const Group* d = findGroup(groups, 72); d && d->i != 1 && d->i != 3 && d->i != 5) {
      error = "drawing direction (group 72) must be 1, 3 or 5";
      return false;
    }
  }
  if (rule->shape == Shape::Polyline) {
    if (const Group* f = findGroup(groups, 70); f && (f->i & (8 | 16 | 64))) {
      error = "only 2D polylines are supported (group 70 asks for a 3D polyline or a mesh)";
      return false;
    }
  }
  if (rule->shape == Shape::Insert) {
    const Group* name = findGroup(groups, 2);
    if (!db_.findBlock(name->s)) {
      error = "INSERT of unknown block \"" + name->s + "\"";
      return false;
    }
    for (int code : {41, 42, 43})
      if (const Group* s = findGroup(groups, code); s && s->v[0] == 0.0) {
        error = "scale factor (group " + std::to_string(code) + ") is zero";
        return false;
      }
  }
  return true;
}

}  // namespace kxhost
