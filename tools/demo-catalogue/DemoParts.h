#pragma once
// The parts of the demo catalogue programs: the viewer's small catalogue, the shaft tool's shaft,
// the assembly tool's clamp and the connection tool's screw joint, which is sized to the plate
// thicknesses of the "pconset" poke. All lengths are millimetres.

#include <string>

#include "tools/demo-catalogue/DemoProgram.h"

DemoCatalogue viewerCatalogue();
DemoCatalogue shaftCatalogue();
DemoCatalogue assemblyCatalogue();
DemoCatalogue connectionCatalogue();

// The values of a "pconset" poke: "KIND,D1,D2,FLAG" with KIND 1 (blind hole: D1 is the thickness
// of the first plate) or 2 (through hole: D1 and D2 are the thicknesses of both plates); blanks
// around the fields are allowed.
struct ConnectionRequest {
  int kind = 0;
  double thickness1 = 0.0;
  double thickness2 = 0.0;
};
// False with `error` set when the text does not have that form or a thickness is not positive.
bool parseConnectionRequest(const std::string& text, ConnectionRequest& out, std::string& error);

// The screw joint chosen for a request: metric diameter and screw length from the standard
// series, head, washer and nut sizes. False with `error` set when no screw of the series fits.
struct ScrewJoint {
  double diameter = 0.0;
  double length = 0.0;
  double headHeight = 0.0, headWidth = 0.0;
  double washerHeight = 0.0, washerWidth = 0.0;
  double nutHeight = 0.0;
};
bool chooseScrewJoint(const ConnectionRequest& request, ScrewJoint& out, std::string& error);
