// Environment, dictionary and environment-block conversions; see EnvironmentBlock.h.

#include "config/EnvironmentBlock.h"

#include <climits>
#include <cstring>

#include "foundation/RWTHashDictIterator.h"
#include "platform/Process.h"

namespace {

using Dict = RWTHashDict<RWCString, RWCString>;

// Adds one NAME=VALUE string of length n, split at its first '='; one without '=' is skipped.
void addEntry(Dict& dict, const char* entry, std::size_t n) {
  const void* eq = std::memchr(entry, '=', n);
  if (!eq) return;
  const std::size_t nameLength = static_cast<std::size_t>(static_cast<const char*>(eq) - entry);
  dict.findOrInsert(RWCString(entry, nameLength)) =
      RWCString(entry + nameLength + 1, n - nameLength - 1);
}

}  // namespace

void environmentToDictionary(Dict& dict) {
  for (const std::string& entry : platform::environmentEntries())
    addEntry(dict, entry.data(), entry.size());
}

void environmentBlockToDictionary(Dict& dict, const char* block) {
  if (!block) return;
  for (const char* p = block; *p; p += std::strlen(p) + 1) addEntry(dict, p, std::strlen(p));
}

int writeEnvironmentBlock(const Dict& dict, char* buffer, int size) {
  RWTHashDictIterator<RWCString, RWCString> it(const_cast<Dict&>(dict));
  unsigned long long needed = 2;
  while (it.next()) needed += it.valueRef().length() + it.key().length() + 2;
  if (needed > static_cast<unsigned long long>(INT_MAX)) return INT_MIN;
  if (size < static_cast<int>(needed) || !buffer) return -static_cast<int>(needed);
  char* out = buffer;
  it.reset();
  while (it.next()) {
    const RWCString name = it.key();
    const RWCString& value = it.valueRef();
    std::memcpy(out, name.data(), name.length());
    out += name.length();
    *out++ = '=';
    std::memcpy(out, value.data(), value.length());
    out += value.length();
    *out++ = '\0';
  }
  *out++ = '\0';
  *out++ = '\0';
  return static_cast<int>(out - buffer);
}

char* makeEnvironmentBlock(const Dict& dict) {
  const int needed = writeEnvironmentBlock(dict, nullptr, 0);
  if (needed == INT_MIN) return nullptr;
  char* block = new char[static_cast<std::size_t>(-needed)];
  writeEnvironmentBlock(dict, block, -needed);
  return block;
}
