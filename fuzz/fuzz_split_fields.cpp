// Fuzz target: field splitting and joining. The first byte picks the separator, the quote and the
// skip-empty flag; the rest is the text. Checks that splitting never fails and that joining the
// fields with quotes and splitting again gives the same fields.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "config/TextUtilities.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char separators[] = {',', ';', ' ', '\t', '|', '"'};
  static const char quotes[] = {'"', '\'', '\0'};
  const char separator = separators[data[0] % sizeof separators];
  const char quote = quotes[(data[0] / 8) % sizeof quotes];
  const bool skipEmpty = (data[0] & 0x80) != 0;
  const RWCString text(reinterpret_cast<const char*>(data + 1), size - 1);

  const RWTValOrderedVector<RWCString> fields = splitFields(text, separator, quote, skipEmpty);
  if (fields.count() > text.length() + 1) std::abort();
  splitInts(text, separator, quote);
  splitDoubles(text, separator, quote);

  if (quote != '\0' && quote != separator) {
    const RWCString joined = joinFields(fields, separator, quote);
    const RWTValOrderedVector<RWCString> again = splitFields(joined, separator, quote, false);
    if (again.count() != fields.count()) std::abort();
    for (std::size_t i = 0; i < fields.count(); ++i)
      if (again[i] != fields[i]) std::abort();
  }
  return 0;
}
