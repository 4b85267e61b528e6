// Fuzz target: command-line argument splitting. Checks that the count agrees with the split, that
// the program's place comes first, and that quoting every argument and splitting again gives the
// same arguments whenever no argument holds a quote character.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config/TextUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const RWCString text(reinterpret_cast<const char*>(data), size);
  const RWTValOrderedVector<RWCString> arguments = splitArguments(text);
  if (arguments.count() == 0 || !arguments[0].isEmpty()) std::abort();
  if (static_cast<std::size_t>(countArguments(text)) != arguments.count()) std::abort();

  RWCString quoted;
  bool plain = true;
  for (std::size_t i = 1; i < arguments.count(); ++i) {
    if (arguments[i].firstByte('"') != RW_NPOS) plain = false;
    quoted += i > 1 ? " \"" : "\"";
    quoted += arguments[i];
    quoted += "\"";
  }
  if (plain) {
    const RWTValOrderedVector<RWCString> again = splitArguments(quoted);
    if (again.count() != arguments.count()) std::abort();
    for (std::size_t i = 0; i < arguments.count(); ++i)
      if (again[i] != arguments[i]) std::abort();
  }
  return 0;
}
