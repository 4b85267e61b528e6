#pragma once
// The host-free part of the connection command: the type codes that picked entities are tested
// by, the measurement of the plate thicknesses and the joint's direction from the picked lines,
// and the "pconset" poke that hands the thicknesses to the connection program. Plain values
// only; nothing here owns or keeps anything.

#include "foundation/RWCString.h"

class ConnectionCommand {
 public:
  // The answers of the joint-kind prompt; any other answer counts as a blind hole.
  enum JointKind : int { kBlindHole = 0, kThroughHole = 1 };

  // Entity type codes by group 0 (CommandContext::entityTypeCode).
  enum TypeCode : int {
    kTypeOther = -1,
    kTypePoint = 10,
    kTypeLine = 20,
    kTypeCircle = 30,
    kTypeArc = 35,
    kTypeEllipse = 40,
    kTypeText = 50,
    kTypePolyline = 70,
    kTypeVertex = 75,
    kTypeInsert = 90,
    kTypeAnonymousInsert = 240,   // an INSERT whose block name begins with "*X"
  };

  // Two drawing coordinates (x, y); the picks' z is not used.
  struct Point {
    double x = 0.0;
    double y = 0.0;
  };
  // A picked LINE by its end points (groups 10 and 11).
  struct Line {
    Point start;
    Point end;
  };
  // What the measurement gives: the joint's angle in degrees (the joint program draws its part
  // along +x from the hole point; this angle turns it onto plate 2) and the two thicknesses in
  // drawing units, thickness2 0 for a blind hole.
  struct Measurement {
    double angle = 0.0;
    double thickness1 = 0.0;
    double thickness2 = 0.0;
  };

  // An edge whose end points differ in x by less than this counts as vertical.
  static constexpr double kVerticalTolerance = 0.0001;

  // The code of an entity of type `type` (group 0); `blockName` is the INSERT's group 2 (may be
  // null). Types compare exactly, as the host writes them (upper case).
  static int typeCode(const char* type, const char* blockName);

  // Measures the joint from the hole point, the top edge of plate 2 and, for a through hole, the
  // bottom edge of plate 2 (`bottom2` is not read for a blind hole). True when the measurement is
  // usable: thickness1 greater than 0 and every value a finite number. A zero-length edge of
  // plate 2 has no direction and gives false, as does a hole point on plate 2's top edge.
  static bool measure(bool throughHole, const Point& hole, const Line& top2, const Line& bottom2,
                      Measurement& out);

  // The connection program's argument for the thicknesses in millimetres:
  //   -poke "pconset=    1,%5.1f,%5.1f,   -1"   when d2 is 0 (a blind hole, or a through hole
  //                                              whose plate 2 has no thickness)
  //   -poke "pconset=    2,%5.1f,%5.1f,   -1"   otherwise,
  // with a leading blank; the double quotes belong to the argument. Numbers are written with '.'
  // whatever the locale, and as long as they need to be.
  static RWCString pokeArgument(double d1, double d2);
};
