#include "host/HatchLayout.h"

#include <cmath>

#include "host/Database.h"

namespace kxhost {

namespace {

class Cursor {
public:
  Cursor(const GroupList& g, std::vector<Role>& roles) : g_(g), roles_(roles) {}

  bool atEnd() const { return pos_ >= g_.size(); }
  std::size_t pos() const { return pos_; }
  int peekCode() const { return atEnd() ? -9999 : g_[pos_].code; }

  // Takes the next group, which must have `code`; records its role.
  const Group* take(int code, Role role, const char* what, std::string& error) {
    if (atEnd()) {
      error = std::string("the list ends where group ") + std::to_string(code) + " (" + what +
              ") is due";
      return nullptr;
    }
    if (g_[pos_].code != code) {
      error = std::string("group ") + std::to_string(code) + " (" + what + ") expected, group " +
              std::to_string(g_[pos_].code) + " found at position " + std::to_string(pos_ + 1);
      return nullptr;
    }
    roles_[pos_] = role;
    return &g_[pos_++];
  }

  // Takes the next group when it has `code`.
  const Group* takeIf(int code, Role role) {
    if (atEnd() || g_[pos_].code != code) return nullptr;
    roles_[pos_] = role;
    return &g_[pos_++];
  }

private:
  const GroupList& g_;
  std::vector<Role>& roles_;
  std::size_t pos_ = 0;
};

constexpr int kMaxCount = 1000000;

bool countOk(const Group* g, const char* what, std::string& error) {
  if (g->i < 0 || g->i > kMaxCount) {
    error = std::string(what) + " " + std::to_string(g->i) + " is out of range";
    return false;
  }
  return true;
}

}  // namespace

bool HatchLayout::parse(const GroupList& groups, const Database* db, std::string& error) {
  roles_.assign(groups.size(), Role::Plain);
  loops_ = 0;
  sources_ = 0;
  Cursor c(groups, roles_);

  // Header: any order up to the loop count.
  bool havePattern = false, haveSolid = false, haveAssoc = false;
  int solid = 0;
  for (;;) {
    if (c.atEnd()) {
      error = "the list ends before group 91 (loop count)";
      return false;
    }
    int code = c.peekCode();
    if (code == 91) break;
    switch (code) {
      case 100: case 8: case 6: case 62: case 48: case 60: case 370: case 210:
        c.takeIf(code, Role::Plain);
        break;
      case 10: c.takeIf(10, Role::Elevation); break;
      case 2: {
        const Group* g = c.takeIf(2, Role::Plain);
        if (g->s.empty()) {
          error = "group 2 (pattern name) is empty";
          return false;
        }
        havePattern = true;
        break;
      }
      case 70: {
        const Group* g = c.takeIf(70, Role::Plain);
        if (g->i != 0 && g->i != 1) {
          error = "group 70 (solid fill flag) must be 0 or 1";
          return false;
        }
        solid = g->i;
        haveSolid = true;
        break;
      }
      case 71: {
        const Group* g = c.takeIf(71, Role::Plain);
        if (g->i != 0 && g->i != 1) {
          error = "group 71 (associativity flag) must be 0 or 1";
          return false;
        }
        haveAssoc = true;
        break;
      }
      default:
        error = "group " + std::to_string(code) + " does not belong in a HATCH header";
        return false;
    }
  }
  if (!havePattern || !haveSolid || !haveAssoc) {
    error = std::string("the header lacks group ") + (!havePattern ? "2 (pattern name)"
                                                     : !haveSolid ? "70 (solid fill flag)"
                                                                  : "71 (associativity flag)");
    return false;
  }

  loopsStart_ = c.pos();
  const Group* g = c.take(91, Role::Plain, "loop count", error);
  if (!countOk(g, "loop count", error)) return false;
  loops_ = g->i;
  for (int loop = 0; loop < loops_; ++loop) {
    std::string where = "loop " + std::to_string(loop + 1) + ": ";
    const Group* type = c.take(92, Role::Plain, "boundary type", error);
    if (!type) {
      error = where + error;
      return false;
    }
    if (type->i & 2) {
      // Polyline boundary: bulge flag, closed flag, vertices.
      const Group* bulge = c.take(72, Role::Plain, "has-bulge flag", error);
      if (!bulge || !c.take(73, Role::Plain, "closed flag", error)) {
        error = where + error;
        return false;
      }
      const Group* n = c.take(93, Role::Plain, "vertex count", error);
      if (!n || !countOk(n, "vertex count", error)) {
        error = where + error;
        return false;
      }
      for (int v = 0; v < n->i; ++v) {
        if (!c.take(10, Role::Point2d, "vertex", error)) {
          error = where + error;
          return false;
        }
        if (bulge->i) c.takeIf(42, Role::Plain);
      }
    } else {
      const Group* n = c.take(93, Role::Plain, "edge count", error);
      if (!n || !countOk(n, "edge count", error)) {
        error = where + error;
        return false;
      }
      for (int e = 0; e < n->i; ++e) {
        std::string edge = where + "edge " + std::to_string(e + 1) + ": ";
        const Group* et = c.take(72, Role::Plain, "edge type", error);
        if (!et) {
          error = edge + error;
          return false;
        }
        bool ok = true;
        switch (et->i) {
          case 1:
            ok = c.take(10, Role::Point2d, "line start", error) &&
                 c.take(11, Role::Point2d, "line end", error);
            break;
          case 2: {
            ok = c.take(10, Role::Point2d, "arc centre", error);
            const Group* r = ok ? c.take(40, Role::Length, "arc radius", error) : nullptr;
            ok = r && c.take(50, Role::Angle, "arc start angle", error) &&
                 c.take(51, Role::Angle, "arc end angle", error) &&
                 c.take(73, Role::Plain, "counterclockwise flag", error);
            if (ok && !(r->v[0] > 0.0)) {
              error = "arc radius must be positive";
              ok = false;
            }
            break;
          }
          case 3: {
            ok = c.take(10, Role::Point2d, "ellipse centre", error);
            const Group* axis = ok ? c.take(11, Role::Vector2d, "major axis", error) : nullptr;
            const Group* ratio = axis ? c.take(40, Role::Plain, "axis ratio", error) : nullptr;
            ok = ratio && c.take(50, Role::EdgeParam, "start parameter", error) &&
                 c.take(51, Role::EdgeParam, "end parameter", error) &&
                 c.take(73, Role::Plain, "counterclockwise flag", error);
            if (ok && std::hypot(axis->v[0], axis->v[1]) == 0.0) {
              error = "ellipse major axis is zero";
              ok = false;
            }
            if (ok && !(ratio->v[0] > 0.0 && ratio->v[0] <= 1.0)) {
              error = "ellipse axis ratio must lie in (0, 1]";
              ok = false;
            }
            break;
          }
          case 4:
            error = "spline edges are not supported";
            ok = false;
            break;
          default:
            error = "unknown edge type " + std::to_string(et->i);
            ok = false;
        }
        if (!ok) {
          error = edge + error;
          return false;
        }
      }
    }
    const Group* ns = c.take(97, Role::Plain, "source count", error);
    if (!ns || !countOk(ns, "source count", error)) {
      error = where + error;
      return false;
    }
    // Fewer links than group 97 announces are accepted (a boundary shape may have made no
    // entity); more are not.
    int links = 0;
    while (const Group* link = c.takeIf(330, Role::Plain)) {
      if (++links > ns->i) {
        error = where + "more 330 groups than group 97 says (" + std::to_string(ns->i) + ")";
        return false;
      }
      if (db && !db->entityByName(link->name)) {
        error = where + "group 330 names no entity of the drawing";
        return false;
      }
    }
    sources_ += links;
  }

  // Pattern and seeds.
  const Group* style = c.take(75, Role::Plain, "hatch style", error);
  if (!style) return false;
  if (style->i < 0 || style->i > 2) {
    error = "group 75 (hatch style) must be 0, 1 or 2";
    return false;
  }
  const Group* ptype = c.take(76, Role::Plain, "pattern type", error);
  if (!ptype) return false;
  if (ptype->i < 0 || ptype->i > 2) {
    error = "group 76 (pattern type) must be 0, 1 or 2";
    return false;
  }
  if (!solid || c.peekCode() == 52) {
    if (!c.take(52, Role::Angle, "pattern angle", error)) return false;
    const Group* scale = c.take(41, Role::Length, "pattern scale or spacing", error);
    if (!scale) return false;
    if (!(scale->v[0] > 0.0)) {
      error = "group 41 (pattern scale or spacing) must be positive";
      return false;
    }
    if (!c.take(77, Role::Plain, "double flag", error)) return false;
    const Group* nl = c.take(78, Role::Plain, "pattern line count", error);
    if (!nl || !countOk(nl, "pattern line count", error)) return false;
    if (!solid && nl->i == 0) {
      error = "a pattern fill needs at least one pattern line";
      return false;
    }
    for (int l = 0; l < nl->i; ++l) {
      std::string where = "pattern line " + std::to_string(l + 1) + ": ";
      bool ok = c.take(53, Role::Angle, "line angle", error) &&
                c.take(43, Role::PatBaseX, "base x", error) &&
                c.take(44, Role::Plain, "base y", error) &&
                c.take(45, Role::PatOffsetX, "offset x", error) &&
                c.take(46, Role::Plain, "offset y", error);
      const Group* nd = ok ? c.take(79, Role::Plain, "dash count", error) : nullptr;
      if (!nd || !countOk(nd, "dash count", error)) {
        error = where + error;
        return false;
      }
      for (int d = 0; d < nd->i; ++d)
        if (!c.take(49, Role::Length, "dash length", error)) {
          error = where + error;
          return false;
        }
    }
  }
  c.takeIf(47, Role::Plain);
  const Group* nseeds = c.take(98, Role::Plain, "seed count", error);
  if (!nseeds || !countOk(nseeds, "seed count", error)) return false;
  for (int s = 0; s < nseeds->i; ++s)
    if (!c.take(10, Role::Point2d, "seed point", error)) return false;
  if (!c.atEnd()) {
    error = "unexpected group " + std::to_string(c.peekCode()) + " after the seed points";
    return false;
  }
  return true;
}

}  // namespace kxhost
