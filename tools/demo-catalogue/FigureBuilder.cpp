#include "tools/demo-catalogue/FigureBuilder.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;

// Coordinates are kept to a nanometre, so computed points read as the values they stand for
// (10 rather than 9.999999999999998).
double tidy(double value) { return std::round(value * 1e9) / 1e9; }

MetaNode& appendPoint(MetaNode& owner, double x, double y) {
  MetaNode& point = owner.addKey("POINT");
  point.add(MetaNode::number(tidy(x)));
  point.add(MetaNode::number(tidy(y)));
  return point;
}

MetaNode& headerOf(MetaNode& figure, const FigureHeader& header) {
  figure.setString("NAME", header.name);
  figure.set("ANSICHTNO", double(header.viewNumber));
  figure.setString("GROUP", header.group ? "YES" : "NO");
  MetaNode& insert = figure.addKey("INSERTPOINT");
  insert.setPoint("POINT", header.insertX, header.insertY);
  insert.set("ROTATION", header.rotation);
  figure.addKey("FIGUREPREFS").set("UNITBASE", 1.0);
  return figure.addKey("FIGURITEMS");
}

}  // namespace

FigureBuilder::FigureBuilder(MetaNode& figure, const FigureHeader& header)
    : figure_(figure), items_(headerOf(figure, header)) {}

void FigureBuilder::pen(int width, LineStyle style, bool cosmetic) {
  items_.addKey("SHAPEATTR")
      .set("SHAPEWIDTH", double(width))
      .set("SHAPETYP", double(int(style)))
      .set("COSMETIC", cosmetic ? 1.0 : 0.0);
}

const MetaNode& FigureBuilder::line(double x1, double y1, double x2, double y2) {
  MetaNode& item = items_.addKey("LINE");
  appendPoint(item, x1, y1);
  appendPoint(item, x2, y2);
  return item;
}

const MetaNode& FigureBuilder::arc(double sx, double sy, double mx, double my, double ex,
                                   double ey) {
  MetaNode& item = items_.addKey("ARC");
  appendPoint(item, sx, sy);
  appendPoint(item, mx, my);
  appendPoint(item, ex, ey);
  return item;
}

const MetaNode& FigureBuilder::arcAbout(double cx, double cy, double r, double a1, double a2) {
  while (a2 <= a1) a2 += 360.0;
  auto at = [&](double degrees) {
    double t = degrees * kPi / 180.0;
    return std::pair{cx + r * std::cos(t), cy + r * std::sin(t)};
  };
  auto [sx, sy] = at(a1);
  auto [mx, my] = at((a1 + a2) / 2.0);
  auto [ex, ey] = at(a2);
  return arc(sx, sy, mx, my, ex, ey);
}

const MetaNode& FigureBuilder::circle(double cx, double cy, double r) {
  MetaNode& item = items_.addKey("CIRCLE");
  appendPoint(item, cx, cy);
  item.set("RAD", r);
  return item;
}

const MetaNode& FigureBuilder::ellipse(double cx, double cy, double rad1, double rad2,
                                       double angle) {
  MetaNode& item = items_.addKey("ELLIPSE");
  appendPoint(item, cx, cy);
  item.set("RAD1", rad1).set("RAD2", rad2).set("ANGLE", angle);
  return item;
}

const MetaNode& FigureBuilder::ellipseArc(double cx, double cy, double rad1, double rad2,
                                          double angle, double angle1, double angle2) {
  MetaNode& item = items_.addKey("ELLIPSEARC");
  appendPoint(item, cx, cy);
  item.set("RAD1", rad1).set("RAD2", rad2).set("ANGLE", angle);
  item.set("ANGLE1", angle1).set("ANGLE2", angle2);
  return item;
}

const MetaNode& FigureBuilder::curve(const std::vector<std::pair<double, double>>& points) {
  MetaNode& item = items_.addKey("ICRV2D");
  for (const auto& [x, y] : points) appendPoint(item, x, y);
  return item;
}

void FigureBuilder::text(const std::string& text, double x, double y, double height, double angle,
                         int relPos, int align, double boxWidth, double boxHeight) {
  MetaNode& item = items_.addKey("TEXT");
  item.setString("TEXT", text);
  appendPoint(item, x, y);
  item.set("HEIGHT", height).set("ANGLE", angle);
  item.set("TEXTRELPOS", double(relPos)).set("TEXTALIGN", double(align));
  item.set("TEXTBW", boxWidth).set("TEXTBH", boxHeight);
}

void FigureBuilder::hatch(double angle, double distance,
                          const std::vector<std::vector<const MetaNode*>>& loops) {
  if (hatches_ == nullptr) hatches_ = &figure_.addKey("M2DHATCHES");
  MetaNode& hatch = hatches_->addKey("M2DHATCH");
  MetaNode& loopList = hatch.addKey("M2DHATCHLOOPS");
  for (const auto& loop : loops) {
    MetaNode& refs = loopList.addKey("M2DHATCHLOOP").addKey("M2DHATCHLOOPSHREFS");
    for (const MetaNode* shape : loop) {
      refs.addKey("MOREF").set("REFTRG", MetaNode::reference(shape));
    }
  }
  hatch.set("ANGLE", angle).set("DISTANCE", distance);
}
