// Dialog definition files: any text either parses or is refused with "line N: ..." naming a line
// of the text. A parsed text gives dialogs whose tiles all carry a key, every dialog is found by
// its name, and parsing again (into the same reader or a fresh one) gives the same dialogs.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/DialogFile.h"

namespace {

using fuzzing::check;

std::string describe(const kxhost::DialogFile& file) {
  std::string out;
  for (const kxhost::DialogDef& d : file.dialogs()) {
    out += "D" + std::to_string(d.name.size()) + ":" + d.name;
    for (const kxhost::DialogTileDef& t : d.tiles) {
      out += "|" + std::to_string(t.key.size()) + ":" + t.key + std::to_string(t.type.size()) + ":" +
             t.type + std::to_string(t.value.size()) + ":" + t.value;
      for (const std::string& e : t.list) out += "," + std::to_string(e.size()) + ":" + e;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  kxhost::DialogFile file;
  std::string error;
  const bool ok = file.parse(text, error);
  if (!ok) {
    const long line = fuzzing::lineOfMessage(error);
    check(line >= 1, "a refusal names no line");
    long lines = 1;
    for (char c : text) lines += c == '\n';
    check(line <= lines, "a refusal names a line past the end of the text");
  } else {
    for (const kxhost::DialogDef& d : file.dialogs()) {
      const kxhost::DialogDef* found = file.find(d.name);
      check(found != nullptr && found->name == d.name, "a parsed dialog is not found by its name");
      for (const kxhost::DialogTileDef& t : d.tiles) check(!t.key.empty(), "a kept tile has no key");
    }
  }

  // The same text again, into the used reader and into a fresh one.
  std::string again;
  check(file.parse(text, again) == ok, "parsing the same text twice differs");
  kxhost::DialogFile fresh;
  std::string freshError;
  check(fresh.parse(text, freshError) == ok, "a fresh reader decides otherwise");
  if (ok) check(describe(file) == describe(fresh), "a reused reader keeps old dialogs");
  else check(again == error && freshError == error, "the refusal changes between runs");
  return 0;
}
