// Demo stand-in for the assembly tool: a clamp of three parts.
// Reads the catalogue program's command line and leaves the chosen part in the exchange file.
#include "tools/demo-catalogue/DemoParts.h"

int main(int argc, char** argv) { return runDemoProgram(assemblyCatalogue(), argc, argv); }
