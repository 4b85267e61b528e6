#include "tools/demo-catalogue/DemoProgram.h"

#include <cstdio>
#include <cstdlib>

#include "platform/FileSystem.h"

bool demoExchangeText(const DemoCatalogue& catalogue, const DemoCommandLine& line,
                      const std::string& choice, std::string& text, std::string& error) {
  if (choice == "none") {
    // Nothing chosen: the first line starts with "000".
    text = "000\n";
    return true;
  }
  const DemoPart* part = catalogue.parts.empty() ? nullptr : &catalogue.parts.front();
  if (!choice.empty()) {
    part = nullptr;
    for (const DemoPart& candidate : catalogue.parts) {
      if (candidate.name == choice) part = &candidate;
    }
    if (part == nullptr) {
      error = "no part \"" + choice + "\" in this catalogue; it offers:";
      for (const DemoPart& candidate : catalogue.parts) error += " " + candidate.name;
      return false;
    }
  }
  if (part == nullptr) {
    error = "the catalogue is empty";
    return false;
  }
  DemoPartOutput output;
  if (!part->build(line, output, error)) return false;
  if (line.format == DemoCommandLine::Format::Metafile) {
    text = writeMetafile(output.drawing);
    return true;
  }
  const std::string version = line.poke("FormatVersion", "1.6");
  const int number = satVersionNumber(version);
  if (number == 0) {
    error = "unknown SAT format version \"" + version + "\"";
    return false;
  }
  if (output.solids.empty()) {
    error = "part \"" + part->name + "\" has no 3D model";
    return false;
  }
  text = writeSat(output.solids, number, "kestrix demo catalogue");
  return true;
}

int runDemoProgram(const DemoCatalogue& catalogue, const std::vector<std::string>& arguments) {
  const char* program = catalogue.programName.c_str();
  DemoCommandLine line;
  std::string error;
  if (!parseDemoCommandLine(arguments, line, error)) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    std::fprintf(stderr,
                 "usage: %s -server NAME -topic NAME [-poke KEY=VALUE ...] -fm METAV2|sat -o FILE\n",
                 program);
    return kDemoBadCommandLine;
  }
  // A prepared exchange file (KESTRIX_DEMO_FILE) stands for the user's choice: it is left as
  // the exchange file byte for byte, whatever the format asked, so that tests can hand the
  // plug-in any file.
  if (const char* prepared = std::getenv("KESTRIX_DEMO_FILE"); prepared && *prepared) {
    if (platform::copyFile(prepared, line.outputFile)) return kDemoDone;
    std::fprintf(stderr, "%s: cannot leave the prepared file %s as the exchange file %s\n",
                 program, prepared, line.outputFile.c_str());
    return kDemoFailed;
  }
  const char* choice = std::getenv("KESTRIX_DEMO_PART");
  std::string text;
  if (!demoExchangeText(catalogue, line, choice ? choice : "", text, error)) {
    std::fprintf(stderr, "%s: %s\n", program, error.c_str());
    return kDemoFailed;
  }
  if (!platform::replaceFileContents(line.outputFile, text, &error)) {
    std::fprintf(stderr, "%s: cannot write the exchange file %s: %s\n", program,
                 line.outputFile.c_str(), error.c_str());
    return kDemoFailed;
  }
  return kDemoDone;
}

int runDemoProgram(const DemoCatalogue& catalogue, int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return runDemoProgram(catalogue, arguments);
}
