#include "tools/demo-catalogue/DemoParts.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "tools/demo-catalogue/FigureBuilder.h"

namespace {

constexpr double kPi = 3.141592653589793;

std::string formatLength(double value) { return formatMetaNumber(std::round(value * 10.0) / 10.0); }

// A rectangle of four lines, counterclockwise from the lower left corner; returns the lines.
std::vector<const MetaNode*> rectangle(FigureBuilder& f, double x1, double y1, double x2, double y2) {
  return {&f.line(x1, y1, x2, y1), &f.line(x2, y1, x2, y2), &f.line(x2, y2, x1, y2),
          &f.line(x1, y2, x1, y1)};
}

void centreCross(FigureBuilder& f, double cx, double cy, double half) {
  f.pen(1, LineStyle::Center);
  f.line(cx - half, cy, cx + half, cy);
  f.line(cx, cy - half, cx, cy + half);
}

// ---- viewer parts -------------------------------------------------------------------------

bool buildWasher(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  FigureBuilder f(out.drawing, {"Washer 10.5", 1, true});
  f.pen(2, LineStyle::Solid);
  f.circle(0, 0, 10);
  f.circle(0, 0, 5.25);
  centreCross(f, 0, 0, 12);
  out.solids = {{-10, -10, 0, 20, 20, 2}};
  return true;
}

bool buildBracket(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  FigureBuilder f(out.drawing, {"Bracket 40x30", -1, true});
  f.pen(2, LineStyle::Solid);
  const MetaNode& bottom = f.line(0, 0, 40, 0);
  const MetaNode& end = f.line(40, 0, 40, 5);
  const MetaNode& top = f.line(40, 5, 10, 5);
  const MetaNode& fillet = f.arcAbout(10, 10, 5, 180, 270);  // from (5, 10) to (10, 5)
  const MetaNode& inner = f.line(5, 10, 5, 30);
  const MetaNode& cap = f.line(5, 30, 0, 30);
  const MetaNode& back = f.line(0, 30, 0, 0);
  f.pen(1, LineStyle::Hidden);
  f.line(25, 0, 25, 5);
  f.pen(1, LineStyle::Solid);
  f.text("Bracket\n40x30", 22, 20, 2.5, 0.0, 5, 2, 20, 8);
  f.hatch(0.0, 2.0, {{&bottom, &end, &top, &fillet, &inner, &cap, &back}});
  out.solids = {{0, 0, 0, 40, 5, 20}, {0, 5, 0, 5, 25, 20}};
  return true;
}

void hexNutFront(MetaNode& figure) {
  FigureBuilder f(figure, {"Hex nut M10", 1, true});
  const double across = 17.0, corner = across / std::sqrt(3.0);
  f.pen(2, LineStyle::Solid);
  for (int k = 0; k < 6; ++k) {
    double a1 = (30.0 + 60.0 * k) * kPi / 180.0, a2 = (90.0 + 60.0 * k) * kPi / 180.0;
    f.line(corner * std::cos(a1), corner * std::sin(a1), corner * std::cos(a2),
           corner * std::sin(a2));
  }
  f.circle(0, 0, 4.25);
  f.pen(1, LineStyle::Solid);
  f.arcAbout(0, 0, 5, 0, 270);  // thread: three quarters of the outer diameter
  centreCross(f, 0, 0, 12);
}

void hexNutSide(MetaNode& figure) {
  const double across = 17.0, corner = across / std::sqrt(3.0), height = 8.0;
  FigureBuilder f(figure, {"Hex nut M10", 2, true, 30.0, 0.0, 0.0});
  f.pen(2, LineStyle::Solid);
  rectangle(f, -height / 2, -corner, height / 2, corner);
  f.line(-height / 2, corner / 2, height / 2, corner / 2);
  f.line(-height / 2, -corner / 2, height / 2, -corner / 2);
  f.pen(1, LineStyle::Hidden);
  f.line(-height / 2, 4.25, height / 2, 4.25);
  f.line(-height / 2, -4.25, height / 2, -4.25);
  f.pen(1, LineStyle::Center);
  f.line(-height / 2 - 2, 0, height / 2 + 2, 0);
}

bool buildHexNut(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  out.drawing = MetaNode::key("DRAWING");
  out.drawing.setString("NAME", "Hex nut M10").set("ANSICHTNO", -1.0);
  MetaNode& items = out.drawing.addKey("DRAWINGITEMS");
  hexNutFront(items.addKey("FIGURE"));
  hexNutSide(items.addKey("FIGURE"));
  out.drawing.addKey("DRAWINGPREFS").set("UNITBASE", 1.0);
  out.solids = {{-8.5, -9.8, 0, 17, 19.6, 8}};
  return true;
}

bool buildFlange(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  FigureBuilder f(out.drawing, {"Oval flange 60", -1, true});
  f.pen(2, LineStyle::Solid);
  f.ellipse(0, 0, 30, 18, 0);
  f.circle(0, 0, 8);
  f.circle(-22, 0, 4);
  f.circle(22, 0, 4);
  f.pen(1, LineStyle::Solid);
  f.ellipseArc(0, 0, 26, 14, 0, 200, 340);
  // A sealing groove drawn as an interpolated curve: a closed circle of 16 points, and a wave.
  std::vector<std::pair<double, double>> ring;
  for (int k = 0; k <= 16; ++k) {
    double t = 2.0 * kPi * (k % 16) / 16.0;
    ring.emplace_back(12.0 * std::cos(t), 12.0 * std::sin(t));
  }
  f.curve(ring);
  std::vector<std::pair<double, double>> wave;
  for (int k = 0; k <= 12; ++k) wave.emplace_back(-15.0 + 2.5 * k, 14.0 + 1.5 * std::sin(k * kPi / 3));
  f.curve(wave);
  centreCross(f, 0, 0, 33);
  out.solids = {{-30, -18, 0, 60, 36, 6}};
  return true;
}

bool buildPlate(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  // A drawing of one figure that is no group: its shapes become loose entities, placed at the
  // figure's insertion point and turned by its rotation.
  out.drawing = MetaNode::key("DRAWING");
  out.drawing.setString("NAME", "Cover plate 50x30").set("ANSICHTNO", -1.0);
  MetaNode& items = out.drawing.addKey("DRAWINGITEMS");
  FigureBuilder f(items.addKey("FIGURE"), {"Cover plate 50x30", -1, false, 10.0, 5.0, 30.0});
  f.pen(2, LineStyle::Solid);
  rectangle(f, 0, 0, 50, 30);
  f.circle(6, 6, 2.5);
  f.circle(44, 6, 2.5);
  f.circle(44, 24, 2.5);
  f.circle(6, 24, 2.5);
  out.drawing.addKey("DRAWINGPREFS").set("UNITBASE", 1.0);
  out.solids = {{0, 0, 0, 50, 30, 3}};
  return true;
}

// ---- shaft --------------------------------------------------------------------------------

bool buildShaft(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  struct Step { double length, diameter; };
  const Step steps[] = {{20, 20}, {60, 25}, {40, 20}};
  const double chamfer = 1.0;
  FigureBuilder f(out.drawing, {"Shaft 25x120", -1, true});
  f.pen(2, LineStyle::Solid);
  double x = 0.0, total = 0.0;
  for (const Step& s : steps) total += s.length;
  const int count = int(std::size(steps));
  for (int i = 0; i < count; ++i) {
    const Step& s = steps[i];
    const double r = s.diameter / 2.0;
    const double x1 = x, x2 = x + s.length;
    const double start = i == 0 ? x1 + chamfer : x1, end = i == count - 1 ? x2 - chamfer : x2;
    f.line(start, r, end, r);
    f.line(start, -r, end, -r);
    if (i == 0) {  // chamfered face
      f.line(x1, r - chamfer, start, r);
      f.line(x1, -(r - chamfer), start, -r);
      f.line(x1, -(r - chamfer), x1, r - chamfer);
    }
    if (i == count - 1) {
      f.line(end, r, x2, r - chamfer);
      f.line(end, -r, x2, -(r - chamfer));
      f.line(x2, -(r - chamfer), x2, r - chamfer);
    } else {  // the shoulder to the next step
      const double rn = steps[i + 1].diameter / 2.0;
      const double rm = std::max(r, rn);
      f.line(x2, -rm, x2, rm);
    }
    x = x2;
  }
  f.pen(1, LineStyle::Center);
  f.line(-3, 0, total + 3, 0);
  out.solids.clear();
  x = 0.0;
  for (const Step& s : steps) {
    out.solids.push_back({x, -s.diameter / 2, -s.diameter / 2, s.length, s.diameter, s.diameter});
    x += s.length;
  }
  return true;
}

// ---- assembly -----------------------------------------------------------------------------

bool buildClamp(const DemoCommandLine&, DemoPartOutput& out, std::string&) {
  out.drawing = MetaNode::key("DRAWING");
  out.drawing.setString("NAME", "Clamp assembly").set("ANSICHTNO", -1.0);
  MetaNode& items = out.drawing.addKey("DRAWINGITEMS");
  {
    FigureBuilder base(items.addKey("FIGURE"), {"Clamp base", -1, true});
    base.pen(2, LineStyle::Solid);
    rectangle(base, 0, 0, 80, 10);
    base.pen(1, LineStyle::Hidden);
    base.line(35, 0, 35, 10);
    base.line(45, 0, 45, 10);
  }
  {
    FigureBuilder jaw(items.addKey("FIGURE"), {"Clamp jaw", -1, true, 0.0, 10.0, 0.0});
    jaw.pen(2, LineStyle::Solid);
    jaw.line(10, 0, 70, 0);
    jaw.line(70, 0, 70, 12);
    jaw.arc(70, 12, 40, 27, 10, 12);
    jaw.line(10, 12, 10, 0);
  }
  {
    FigureBuilder screw(items.addKey("FIGURE"), {"Clamp screw M10", -1, true, 40.0, 0.0, 90.0});
    screw.pen(2, LineStyle::Solid);
    rectangle(screw, 30, -8, 37, 8);        // head, above the jaw
    rectangle(screw, -6, -5, 30, 5);        // shank through base and jaw
    screw.pen(1, LineStyle::Center);
    screw.line(-8, 0, 39, 0);
  }
  out.drawing.addKey("DRAWINGPREFS").set("UNITBASE", 1.0);
  out.solids = {{0, 0, 0, 80, 10, 30}, {10, 10, 0, 60, 15, 30}, {35, -6, 10, 10, 43, 10}};
  return true;
}

// ---- connection ---------------------------------------------------------------------------

std::string trimmed(const std::string& text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool parseNumber(const std::string& field, double& out) {
  std::string text = trimmed(field);
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(out);
}

bool buildJoint(const DemoCommandLine& line, DemoPartOutput& out, std::string& error) {
  ConnectionRequest request;
  if (!parseConnectionRequest(line.poke("pconset"), request, error)) return false;
  ScrewJoint j;
  if (!chooseScrewJoint(request, j, error)) return false;

  // The joint lies along +x from the hole point on the top of the first plate (x = 0) into the
  // plates; the head stands on the negative side.
  const bool through = request.kind == 2;
  const double clamp = request.thickness1 + (through ? request.thickness2 : 0.0);
  const double d = j.diameter, r = d / 2.0, k = j.headHeight, s = j.headWidth;
  const std::string size = "M" + formatLength(d) + "x" + formatLength(j.length);
  FigureBuilder f(out.drawing, {through ? "Bolt " + size + " with nut" : "Hexagon head screw " + size,
                                -1, true});
  f.pen(2, LineStyle::Solid);
  rectangle(f, -k, -s / 2, 0, s / 2);                 // head, seen from the side
  f.line(-k, -s / 4, 0, -s / 4);
  f.line(-k, s / 4, 0, s / 4);
  f.line(0, r, j.length, r);                          // shank
  f.line(0, -r, j.length, -r);
  f.line(j.length, -r, j.length, r);
  f.pen(1, LineStyle::Solid);                         // thread
  const double thread = std::min(j.length, 2.0 * d + 6.0), minor = 0.85 * r;
  f.line(j.length - thread, minor, j.length, minor);
  f.line(j.length - thread, -minor, j.length, -minor);
  if (through) {
    f.pen(2, LineStyle::Solid);
    rectangle(f, clamp, -j.washerWidth / 2, clamp + j.washerHeight, j.washerWidth / 2);
    const double nut = clamp + j.washerHeight;
    rectangle(f, nut, -s / 2, nut + j.nutHeight, s / 2);
  } else {
    // The tapped hole in the second plate, beyond the screw's end, with its drill point.
    const double depth = j.length + 0.5 * d;
    f.pen(1, LineStyle::Hidden);
    f.line(j.length, r, depth, r);
    f.line(j.length, -r, depth, -r);
    const double tip = minor * std::tan(31.0 * kPi / 180.0);
    f.line(depth, minor, depth + tip, 0);
    f.line(depth, -minor, depth + tip, 0);
  }
  f.pen(1, LineStyle::Center);
  f.line(-k - 2.0, 0, j.length + (through ? 0.0 : d) + 2.0, 0);

  out.solids = {{-k, -s / 2, -s / 2, k, s, s}, {0, -r, -r, j.length, d, d}};
  return true;
}

}  // namespace

bool parseConnectionRequest(const std::string& text, ConnectionRequest& out, std::string& error) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  double kind = 0.0, flag = 0.0;
  if (text.empty() || fields.size() != 4 || !parseNumber(fields[0], kind) ||
      !parseNumber(fields[1], out.thickness1) || !parseNumber(fields[2], out.thickness2) ||
      !parseNumber(fields[3], flag)) {
    error = "pconset \"" + text + "\" is not KIND,D1,D2,FLAG";
    return false;
  }
  if (kind != 1.0 && kind != 2.0) {
    error = "pconset kind must be 1 (blind hole) or 2 (through hole)";
    return false;
  }
  out.kind = int(kind);
  if (!(out.thickness1 > 0.0)) {
    error = "the first plate thickness must be positive";
    return false;
  }
  if (out.kind == 2 && !(out.thickness2 > 0.0)) {
    error = "a through hole needs a positive thickness of the second plate";
    return false;
  }
  if (out.kind == 1) out.thickness2 = 0.0;
  return true;
}

bool chooseScrewJoint(const ConnectionRequest& request, ScrewJoint& out, std::string& error) {
  struct Size { double upTo, d, k, s, h, dw, m; };
  static const Size sizes[] = {
      {10, 6, 4.0, 10, 1.6, 12, 5.0},   {20, 8, 5.3, 13, 1.6, 16, 6.5},
      {35, 10, 6.4, 16, 2.0, 20, 8.0},  {60, 12, 7.5, 18, 2.5, 24, 10.0},
      {120, 16, 10.0, 24, 3.0, 30, 13.0},
  };
  static const double lengths[] = {10,  12,  16,  20,  25,  30,  35,  40,  45,  50,  55,  60, 65,
                                   70,  80,  90,  100, 110, 120, 130, 140, 150, 160, 180, 200};
  const bool through = request.kind == 2;
  const double clamp = request.thickness1 + (through ? request.thickness2 : 0.0);
  const Size* size = nullptr;
  for (const Size& candidate : sizes) {
    if (clamp <= candidate.upTo) {
      size = &candidate;
      break;
    }
  }
  if (size == nullptr) {
    error = "no screw of the series clamps " + formatLength(clamp) + " mm";
    return false;
  }
  const double needed = through ? clamp + size->h + size->m + 0.3 * size->d
                                : request.thickness1 + 1.5 * size->d;
  for (double length : lengths) {
    if (length >= needed) {
      out = {size->d, length, size->k, size->s, size->h, size->dw, size->m};
      return true;
    }
  }
  error = "no screw of the series is " + formatLength(needed) + " mm long";
  return false;
}

DemoCatalogue viewerCatalogue() {
  return {"demo-viewer",
          {{"washer", buildWasher},
           {"bracket", buildBracket},
           {"nut", buildHexNut},
           {"flange", buildFlange},
           {"plate", buildPlate}}};
}

DemoCatalogue shaftCatalogue() { return {"demo-shaft", {{"shaft", buildShaft}}}; }

DemoCatalogue assemblyCatalogue() { return {"demo-assembly", {{"clamp", buildClamp}}}; }

DemoCatalogue connectionCatalogue() { return {"demo-connect", {{"joint", buildJoint}}}; }
