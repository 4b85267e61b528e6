// Demo stand-in for the part viewer: a few parts to choose from.
// Reads the catalogue program's command line and leaves the chosen part in the exchange file.
#include "tools/demo-catalogue/DemoParts.h"

int main(int argc, char** argv) { return runDemoProgram(viewerCatalogue(), argc, argv); }
