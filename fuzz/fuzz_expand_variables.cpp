// Fuzz target: variable expansion. The input is a text to expand, then lines NAME=VALUE that
// define program variables (which may refer to each other and to themselves). Checks that every
// expansion ends with status 1 or -2, that a failed expansion returns the input, and that a
// finished one leaves no reference behind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/VariableExpansion.h"
#include "config/VariableTables.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A registry root that does not exist: registry lookups answer nothing, and nothing is written.
  platform::setRegistryRoot("/nonexistent/kestrix-fuzz-registry");
  platform::setWindowsFolder("/kestrix-fuzz/WINDOWS");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t end = input.find('\n');
  const std::string text = input.substr(0, end);
  clearVariables();
  int defined = 0;
  while (end != std::string::npos && defined < 16) {
    const std::size_t begin = end + 1;
    end = input.find('\n', begin);
    const std::string line = input.substr(begin, end == std::string::npos ? end : end - begin);
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    setVariable(RWCString(line.data(), eq), RWCString(line.data() + eq + 1, line.size() - eq - 1));
    ++defined;
  }

  const RWCString source(text.data(), text.size());
  int status = 0;
  const RWCString result = expandVariablesWithStatus(source, &status, size % 2);
  if (status != kExpandDone && status != kExpandFailed) std::abort();
  if (status == kExpandDone && result.firstByte('$') != RW_NPOS) std::abort();
  const RWCString plain = expandVariables(source);
  if (status == kExpandFailed && plain != source) std::abort();
  if (status == kExpandDone && plain != result) std::abort();
  return 0;
}
