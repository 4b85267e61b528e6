// The connection command ("C:TROVcon"): the user says whether the hole is blind or through and
// picks the hole's centre line and the plate edges; the plate thicknesses and the joint's
// direction are measured from those lines, handed to the connection program, and the part that
// it returns is built as a block and moved and turned onto the hole.
#include "plugin/ConnectionCommand.h"

#include <cmath>
#include <cstring>
#include <string>

#include "config/TextUtilities.h"
#include "meta/mPlaneGeometry.h"
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

namespace {


// The connection program's entry in the launcher settings and its server and topic text.
constexpr const char* kConnectionEntry = "TROVconnection";
constexpr const char* kConnectionServer = " -server TrovCon -topic TrovCon";

bool isFiniteNumber(double v) { return std::isfinite(v); }

// "%5.1f" of a finite value, independent of the locale.
std::string field(double value) {
  const RWCString digits = formatDouble(value, 1);
  std::string text(digits.data(), digits.length());
  if (text.size() < 5) text.insert(0, 5 - text.size(), ' ');
  return text;
}

// The result of one pick prompt.
enum class Pick { Line, Cancelled };

// Asks with `prompt` until a LINE is picked (Pick::Line, with its name and pick point) or the
// user cancels. Anything else (a miss, another entity) asks again without a message.
Pick pickLine(CommandContext& context, const RWCString& prompt, ads_name entity, ads_point at) {
  for (;;) {
    const int rc = hostcall::entSel(prompt.data(), entity, at);
    if (rc == RTCAN) return Pick::Cancelled;
    if (rc == RTNORM && context.entityTypeCode(entity) == ConnectionCommand::kTypeLine) {
      return Pick::Line;
    }
  }
}

ConnectionCommand::Line lineOf(const ads_point start, const ads_point end) {
  return {{start[0], start[1]}, {end[0], end[1]}};
}

}  // namespace

// ---- host-free measurement ---------------------------------------------------------------------

int ConnectionCommand::typeCode(const char* type, const char* blockName) {
  if (type == nullptr) return kTypeOther;
  struct Row {
    const char* name;
    int code;
  };
  static const Row rows[] = {
      {"POINT", kTypePoint},     {"LINE", kTypeLine},         {"ARC", kTypeArc},
      {"CIRCLE", kTypeCircle},   {"ELLIPSE", kTypeEllipse},   {"TEXT", kTypeText},
      {"POLYLINE", kTypePolyline}, {"VERTEX", kTypeVertex},
  };
  for (const Row& row : rows) {
    if (std::strcmp(type, row.name) == 0) return row.code;
  }
  if (std::strcmp(type, "INSERT") == 0) {
    return (blockName != nullptr && std::strncmp(blockName, "*X", 2) == 0) ? kTypeAnonymousInsert
                                                                          : kTypeInsert;
  }
  return kTypeOther;
}

bool ConnectionCommand::measure(bool throughHole, const Point& hole, const Line& top2,
                                const Line& bottom2, Measurement& out) {
  out = Measurement{};
  const Point& p = hole;
  const Point& b1 = top2.start;
  const Point& b2 = top2.end;
  const double bx = b2.x - b1.x;
  const double by = b2.y - b1.y;
  const double bLength2 = bx * bx + by * by;
  // An edge of no length has no direction: neither the distance to it nor the foot on it exists.
  if (!(bLength2 > 0.0)) return false;

  const bool bVertical = std::fabs(b1.x - b2.x) < kVerticalTolerance;
  const double m = bVertical ? 0.0 : by / bx;
  double s = 0.0;
  if (bVertical) {
    out.thickness1 = std::fabs(p.x - b1.x);
  } else {
    s = (p.y - m * p.x - b1.y + m * b1.x) / std::sqrt(m * m + 1.0);
    out.thickness1 = std::fabs(s);
  }

  if (throughHole) {
    const Point& c1 = bottom2.start;
    const Point& c2 = bottom2.end;
    const double cx = c2.x - c1.x;
    const double cy = c2.y - c1.y;
    if (!(cx * cx + cy * cy > 0.0)) return false;
    // The foot of the perpendicular from the hole point onto plate 2's top edge.
    const double t = (bx * (p.x - b1.x) + by * (p.y - b1.y)) / bLength2;
    const Point f{b1.x + t * bx, b1.y + t * by};
    if (std::fabs(c1.x - c2.x) < kVerticalTolerance) {
      out.thickness2 = std::fabs(b1.x - c1.x);
    } else {
      const double mc = cy / cx;
      out.thickness2 = std::fabs((f.y - mc * f.x - c1.y + mc * c1.x) / std::sqrt(mc * mc + 1.0));
    }
  }

  if (bVertical) {
    out.angle = p.x > b1.x ? 180.0 : 0.0;
  } else {
    out.angle = std::atan(m) * 180.0 / kMetaPi;
    if (!(s > 0.0)) out.angle += 180.0;
    out.angle -= 90.0;
  }

  return out.thickness1 > 0.0 && isFiniteNumber(out.thickness1) && isFiniteNumber(out.thickness2) &&
         isFiniteNumber(out.angle);
}

RWCString ConnectionCommand::pokeArgument(double d1, double d2) {
  const bool noSecondPlate = compareDoubles(0.0, d2) == 0;
  std::string text = " -poke \"pconset=    ";
  text += noSecondPlate ? "1" : "2";
  text += "," + field(d1) + "," + field(d2) + ",   -1\"";
  return RWCString(text.c_str());
}

// ---- host side ---------------------------------------------------------------------------------

int CommandContext::entityTypeCode(const ads_name entity) {
  resbuf* list = hostcall::entGet(entity);
  if (list == nullptr) return ConnectionCommand::kTypeOther;
  const char* type = nullptr;
  const char* blockName = nullptr;
  for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == 0 && type == nullptr) type = rb->resval.rstring;
    if (rb->restype == 2 && blockName == nullptr) blockName = rb->resval.rstring;
  }
  const int code = ConnectionCommand::typeCode(type, blockName);
  hostcall::relRb(list);
  return code;
}

bool CommandContext::lineEndPoints(const ads_name entity, ads_point start, ads_point end) {
  start[0] = start[1] = start[2] = 0.0;
  end[0] = end[1] = end[2] = 0.0;
  resbuf* list = hostcall::entGet(entity);
  if (list == nullptr) return false;
  bool haveStart = false;
  bool haveEnd = false;
  for (const resbuf* rb = list; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == 10 && !haveStart) {
      start[0] = rb->resval.rpoint[0];
      start[1] = rb->resval.rpoint[1];
      haveStart = true;
    } else if (rb->restype == 11 && !haveEnd) {
      end[0] = rb->resval.rpoint[0];
      end[1] = rb->resval.rpoint[1];
      haveEnd = true;
    }
  }
  hostcall::relRb(list);
  return haveStart && haveEnd;
}

std::int32_t CommandContext::readConnectionInput(double& holeX, double& holeY, double& angle,
                                                 double& d1, double& d2) {
  holeX = holeY = angle = d1 = d2 = 0.0;
  const auto prompt = [this](const char* text) { return RWCString("\n") + translate(text); };

  int kind = ConnectionCommand::kBlindHole;
  if (hostcall::getInt(prompt("Verschraubungsart (0)Sackloch (1)Durchgangsloch [0]:").data(),
                       &kind) != RTNORM) {
    return -1;
  }
  const bool through = kind == ConnectionCommand::kThroughHole;

  ads_name hole = {0, 0}, top1 = {0, 0}, top2 = {0, 0}, bottom2 = {0, 0};
  ads_point holePick = {0.0, 0.0, 0.0}, top1Pick = {0.0, 0.0, 0.0}, unused = {0.0, 0.0, 0.0};
  // Cancelling the hole line is no failure: the hole point then is where plate 1 is picked.
  const bool haveHole = pickLine(*this, prompt("Mittellinie der Bohrung auswaehlen:"), hole,
                                 holePick) == Pick::Line;
  if (pickLine(*this, prompt("Oberkante 1.Platte auswaehlen:"), top1, top1Pick) != Pick::Line) {
    return -1;
  }
  if (pickLine(*this, prompt("Oberkante 2.Platte auswaehlen:"), top2, unused) != Pick::Line) {
    return -1;
  }
  if (through &&
      pickLine(*this, prompt("Unterkante 2.Platte auswaehlen:"), bottom2, unused) != Pick::Line) {
    return -1;
  }

  ads_point h1 = {0.0, 0.0, 0.0}, h2 = {0.0, 0.0, 0.0}, a1 = {0.0, 0.0, 0.0}, a2 = {0.0, 0.0, 0.0};
  ads_point b1 = {0.0, 0.0, 0.0}, b2 = {0.0, 0.0, 0.0}, c1 = {0.0, 0.0, 0.0}, c2 = {0.0, 0.0, 0.0};
  bool readable = lineEndPoints(top1, a1, a2) && lineEndPoints(top2, b1, b2);
  if (haveHole) readable = readable && lineEndPoints(hole, h1, h2);
  if (through) readable = readable && lineEndPoints(bottom2, c1, c2);

  ConnectionCommand::Point p{top1Pick[0], top1Pick[1]};
  bool usable = readable;
  if (usable && haveHole) {
    // A hole line parallel to plate 1's top edge (or either of no length) meets it nowhere.
    ads_point meet = {0.0, 0.0, 0.0};
    usable = hostcall::inters(h1, h2, a1, a2, 0, meet) == RTNORM;
    p = {meet[0], meet[1]};
  }
  ConnectionCommand::Measurement m;
  usable = usable && isFiniteNumber(p.x) && isFiniteNumber(p.y) &&
           ConnectionCommand::measure(through, p, lineOf(b1, b2), lineOf(c1, c2), m);
  if (!usable) {
    printMessage("Ungültige Angaben");
    return -1;
  }
  holeX = p.x;
  holeY = p.y;
  angle = m.angle;
  d1 = m.thickness1;
  d2 = m.thickness2;
  return 0;
}

std::int32_t CommandContext::runConnectionCommand() {
  std::int32_t result = prepareLayers();
  if (result != 1) return result;

  double holeX = 0.0, holeY = 0.0, angle = 0.0, d1 = 0.0, d2 = 0.0;
  if (readConnectionInput(holeX, holeY, angle, d1, d2) == -1) return -1;
  // The connection program works in millimetres.
  if (inchMode() != 0) {
    d1 *= 25.4;
    d2 *= 25.4;
    // Only a thickness near the largest double overflows here; it must not reach the program.
    if (!isFiniteNumber(d1) || !isFiniteNumber(d2)) {
      printMessage("Ungültige Angaben");
      return -1;
    }
  }

  const RWCString arguments = ConnectionCommand::pokeArgument(d1, d2) + kConnectionServer;
  result = exchangeMetafile(kConnectionEntry, arguments.data());
  if (result != 1) return result;

  if (!metafileHoldsPart(metafileName())) return -1;

  // The part is built as a block at the origin, turned there and then moved onto the hole.
  ads_name set = {0, 0};
  if (hostcall::ssAdd(nullptr, nullptr, set) != RTNORM) return -1;
  result = convertMetafile(metafileName(), set, 1, 0.0, 0.0, 0.0);
  if (result == 1) {
    const ads_point origin = {0.0, 0.0, 0.0};
    rotateSelection(set, angle, origin);
    const ads_point hole = {holeX, holeY, 0.0};
    moveSelection(set, hole);
  }
  hostcall::ssFree(set);
  return result;
}
