// The registry store's hive file. The input (after its first byte, which chooses the hive) is the
// hive's file. Checks: reading walks the whole tree (every listed key and value can be read, no
// text holds a NUL) and never changes the file; a write either fails and leaves the file exactly
// as it was (a file that is no whole store) or succeeds, and then the file reads back as the tree
// read before plus the new value, and a second write of the same value leaves the same text.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/Registry.h"

namespace {

using fuzzing::check;

constexpr const char* kName = "kx fuzz=%";

bool isFuzzName(const std::string& key, const std::string& name) {
  if (!key.empty() || name.size() != std::string_view(kName).size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != kName[i]) return false;
  return true;
}

// The tree as text; the hive's own value named kName (in any case) is left out.
void dump(platform::RegistryHive hive, const std::string& key, int depth, std::string& out) {
  std::vector<std::string> values, keys;
  check(platform::registryListValues(hive, key, values), "a listed key has no values list");
  for (const std::string& v : values) {
    if (isFuzzName(key, v)) continue;
    platform::RegistryValue value;
    check(platform::registryReadValue(hive, key, v, value), "a listed value cannot be read");
    check(value.type == platform::RegistryType::Number || value.text.find('\0') == std::string::npos,
          "a text value holds a NUL");
    out += key + "|" + v + "=" +
           (value.type == platform::RegistryType::Number ? "#" + std::to_string(value.number)
                                                         : "'" + value.text) + "\n";
  }
  check(platform::registryListSubkeys(hive, key, keys), "a listed key has no sub-key list");
  if (depth > 64) return;   // names are at most 255 bytes: deeper keys are read all the same
  for (const std::string& k : keys) {
    const std::string child = key.empty() ? k : key + "\\" + k;
    out += "[" + child + "]\n";
    if (k.find('\\') != std::string::npos) continue;   // not addressable as a path component
    check(platform::registryKeyExists(hive, child), "a listed sub-key does not exist");
    dump(hive, child, depth + 1, out);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  static const std::string root = fuzzing::scratchFolder("registry");   // the store's root
  const platform::RegistryHive hive = static_cast<platform::RegistryHive>(data[0] % 5);
  const std::string file = root + "/" + platform::registryHiveName(hive) + ".reg";
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzzing::writeFile(file, text);

  std::string before;
  dump(hive, "", 0, before);
  check(fuzzing::readFile(file) == text, "reading changed the hive file");

  platform::RegistryValue value;
  value.text = "fuzz\n\r%=value";
  if (!platform::registryWriteValue(hive, "", kName, value)) {
    check(fuzzing::readFile(file) == text, "a refused write changed the hive file");
    return 0;
  }
  const std::string written = fuzzing::readFile(file);
  std::string after;
  dump(hive, "", 0, after);
  check(after == before, "a write changed more of the tree than its value");
  platform::RegistryValue back;
  check(platform::registryReadValue(hive, "", "KX FUZZ=%", back) && back.text == value.text &&
            back.type == platform::RegistryType::Text,
        "the written value does not read back");
  check(platform::registryWriteValue(hive, "", kName, value), "a second write fails");
  check(fuzzing::readFile(file) == written, "writing the same value again changes the file");
  return 0;
}
