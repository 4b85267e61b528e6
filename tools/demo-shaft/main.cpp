// Demo stand-in for the shaft tool: a stepped shaft.
// Reads the catalogue program's command line and leaves the chosen part in the exchange file.
#include "tools/demo-catalogue/DemoParts.h"

int main(int argc, char** argv) { return runDemoProgram(shaftCatalogue(), argc, argv); }
