// Demo stand-in for the connection tool: a screw joint sized to the plate thicknesses of its pconset poke.
// Reads the catalogue program's command line and leaves the chosen part in the exchange file.
#include "tools/demo-catalogue/DemoParts.h"

int main(int argc, char** argv) { return runDemoProgram(connectionCatalogue(), argc, argv); }
