#pragma once
// Builds the 2D figures of the demo parts as metafile trees: a figure's name, view number, group
// flag, insertion point and unit base, its items (pen attributes, lines, arcs, circles, ellipses,
// elliptical arcs, interpolated curves, texts) and its hatches, whose boundary entries refer to
// items of the same figure. The builder writes into a figure node that the caller owns.

#include <string>
#include <utility>
#include <vector>

#include "tools/demo-catalogue/MetafileWriter.h"

struct FigureHeader {
  std::string name;
  int viewNumber = -1;          // -1: no view number
  bool group = true;            // "GROUP" "YES": the figure becomes a block of its own
  double insertX = 0.0, insertY = 0.0;
  double rotation = 0.0;        // degrees
};

// Line styles of the pen attribute item.
enum class LineStyle { Solid = 0, Hidden = 1, Center = 2, NotDrawn = 4 };

class FigureBuilder {
 public:
  // Fills `figure` (a "FIGURE" key node) with the header and an empty item list.
  FigureBuilder(MetaNode& figure, const FigureHeader& header);

  // Sets the pen of the items that follow: width class 1 thin, 2 or 3 thick.
  void pen(int width, LineStyle style, bool cosmetic = false);

  // Shapes; each returns its item node, for hatch boundaries. Angles in degrees.
  const MetaNode& line(double x1, double y1, double x2, double y2);
  // An arc through start, a point on the arc and end.
  const MetaNode& arc(double sx, double sy, double mx, double my, double ex, double ey);
  // The arc of the circle (cx, cy, r) from angle a1 to a2, counterclockwise.
  const MetaNode& arcAbout(double cx, double cy, double r, double a1, double a2);
  const MetaNode& circle(double cx, double cy, double r);
  const MetaNode& ellipse(double cx, double cy, double rad1, double rad2, double angle);
  const MetaNode& ellipseArc(double cx, double cy, double rad1, double rad2, double angle,
                             double angle1, double angle2);
  const MetaNode& curve(const std::vector<std::pair<double, double>>& points);
  // A text; `relPos` 1..9 (top left .. bottom right), `align` 1 left, 2 centre, 3 right. A line
  // feed in `text` separates lines.
  void text(const std::string& text, double x, double y, double height, double angle = 0.0,
            int relPos = 7, int align = 1, double boxWidth = 0.0, double boxHeight = 0.0);

  // A hatch of parallel lines at `angle` degrees and `distance` apart; each loop lists its
  // boundary items in order, the first loop being the outer boundary.
  void hatch(double angle, double distance, const std::vector<std::vector<const MetaNode*>>& loops);

 private:
  MetaNode& figure_;
  MetaNode& items_;
  MetaNode* hatches_ = nullptr;
};
