#pragma once
// The common run of every demo catalogue program: read the command line, let the "user" choose a
// part, and leave it in the exchange file in the requested format (a metafile for METAV2, SAT
// text for sat). The choice comes from the environment variable KESTRIX_DEMO_PART (a part's
// name; unset or empty: the catalogue's first part; "none": the user closed the program without
// choosing, which leaves an exchange file whose first line is "000"). KESTRIX_DEMO_FILE, when set,
// names a prepared file that the program leaves as the exchange file in place of any part.

#include <functional>
#include <string>
#include <vector>

#include "tools/demo-catalogue/DemoCommandLine.h"
#include "tools/demo-catalogue/MetafileWriter.h"
#include "tools/demo-catalogue/SatWriter.h"

struct DemoPartOutput {
  MetaNode drawing = MetaNode::key("FIGURE");  // the 2D part: a "FIGURE" or "DRAWING" tree
  std::vector<SatBox> solids;                  // the 3D part: one body per box
};

struct DemoPart {
  std::string name;  // what KESTRIX_DEMO_PART names it by
  // Builds the part for this command line; false with `error` set when the line's values do not
  // describe a part.
  std::function<bool(const DemoCommandLine&, DemoPartOutput&, std::string& error)> build;
};

struct DemoCatalogue {
  std::string programName;      // for messages
  std::vector<DemoPart> parts;  // at least one
};

// Exit codes of a demo program.
enum DemoExit { kDemoDone = 0, kDemoFailed = 1, kDemoBadCommandLine = 2 };

// Runs the program on the arguments after its name; messages go to standard error.
int runDemoProgram(const DemoCatalogue& catalogue, const std::vector<std::string>& arguments);
int runDemoProgram(const DemoCatalogue& catalogue, int argc, char** argv);

// The exchange-file contents the run would write, without writing it; false with `error` set as
// runDemoProgram would report it. `choice` is what KESTRIX_DEMO_PART would hold.
bool demoExchangeText(const DemoCatalogue& catalogue, const DemoCommandLine& line,
                      const std::string& choice, std::string& text, std::string& error);
