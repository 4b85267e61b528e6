// The host's line-type file: any text gives definitions whose names are kept and found again
// ignoring case, whose patterns hold only finite lengths, and parsing again (into the used reader
// or a fresh one) gives the same definitions and problems.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/LineTypeFile.h"

namespace {

using fuzzing::check;

std::string describe(const kxhost::LineTypeFile& file) {
  std::string out;
  for (const kxhost::LineTypeRecord& r : file.definitions()) {
    out += std::to_string(r.name.size()) + ":" + r.name + std::to_string(r.description.size()) + ":" +
           r.description;
    for (double v : r.pattern) out += "," + std::to_string(v);
    out += "\n";
  }
  for (const std::string& p : file.problems()) out += "!" + p + "\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  kxhost::LineTypeFile file;
  file.parse(text);
  for (const kxhost::LineTypeRecord& r : file.definitions()) {
    check(!r.name.empty(), "a definition without a name");
    for (double v : r.pattern) check(std::isfinite(v), "a pattern length that is not finite");
    std::string why;
    const kxhost::LineTypeRecord* found = file.find(kxhost::upperName(r.name), why);
    check(found != nullptr && kxhost::sameName(found->name, r.name),
          "a definition is not found by its name in capitals");
  }
  const std::string first = describe(file);
  file.parse(text);
  check(describe(file) == first, "parsing again into the used reader differs");
  kxhost::LineTypeFile fresh;
  fresh.parse(text);
  check(describe(fresh) == first, "a fresh reader reads otherwise");
  return 0;
}
