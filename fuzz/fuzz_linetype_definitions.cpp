// The line-type and colour definition files (dxflinetypes.def, dxflinecolors.def). Input: a
// selector byte (the language), then the two files cut at the first NUL. Checks: no listed
// line-type name or colour display name is empty; every colour definition's display name reads
// back (parseColour) as BYBLOCK, BYLAYER or the number of that definition or of an earlier one of
// the same name; and the pen-class tables build from the default settings.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "config/VariableTables.h"
#include "fuzz/FuzzSupport.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"

namespace {

using fuzzing::check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  static const std::string setup = fuzzing::scratchFolder("setup");
  static const char* const kLanguages[] = {"english", "german", "default", "", "French"};
  const std::vector<std::string> parts = fuzzing::splitParts(data + 1, size - 1, '\0', 2);
  fuzzing::writeFile(setup + "/dxflinetypes.def", parts[0]);
  fuzzing::writeFile(setup + "/dxflinecolors.def", parts[1]);
  clearVariables();
  setVariable("QUORVEL_SETUP", RWCString(setup.c_str()));
  setVariable("QUORVEL_LANGUAGE", kLanguages[data[0] % 5]);

  kxhost::HostSession::instance().reset();
  CommandContext context;
  context.loadLineTypeAndColourDefinitions();
  RWTValOrderedVector<RWCString>& names = context.lineTypeNames();
  for (std::size_t i = 0; i < names.count(); ++i) check(!names[i].isEmpty(), "an empty line-type name");

  RWTValOrderedVector<DefColorItem>& colours = context.colourDefinitions();
  for (std::size_t i = 0; i < colours.count(); ++i) {
    const DefColorItem& item = colours[i];
    check(!item.displayName.isEmpty(), "an empty colour name");
    const int colour = context.parseColour(item.displayName);
    const RWCString word = context.translateLineTypeName(item.displayName);
    if (word == "BYBLOCK") {
      check(colour == 0, "a BYBLOCK name is no colour 0");
      continue;
    }
    if (word == "BYLAYER") {
      check(colour == 256, "a BYLAYER name is no colour 256");
      continue;
    }
    bool earlier = false;
    for (std::size_t k = 0; k <= i && !earlier; ++k) earlier = colours[k].colourNumber == colour;
    bool blank = true;
    for (std::size_t k = 0; k < item.displayName.length(); ++k)
      blank = blank && (item.displayName[k] == ' ' || item.displayName[k] == '\t');
    check(earlier || blank, "a colour name reads as the number of no definition up to it");
  }
  context.buildPenClassTables();
  return 0;
}
