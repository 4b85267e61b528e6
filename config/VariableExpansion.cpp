// Variable expansion; see VariableExpansion.h.

#include "config/VariableExpansion.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "config/EnvironmentBlock.h"
#include "config/RegistryAccess.h"
#include "config/TextUtilities.h"
#include "config/VariableTables.h"
#include "platform/FileSystem.h"

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreCase(const std::string& a, const char* b) {
  const std::size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool isNameStop(char c) { return c == '/' || c == '\\' || c == '-' || c == ')'; }

// Looks a name up in the sources in their order; true with `value` set when one answers.
bool lookUpVariable(const std::string& name, int registryLookup, std::string& value) {
  const RWCString key(name.data(), name.size());
  RWCString found;
  if (findVariable(key, found)) {
    value.assign(found.data(), found.length());
    return true;
  }
  if (registryLookup) {
    for (const RWCString& root : {userPathRoot(), machinePathRoot()}) {
      found = readRegistryValue(root + key);
      if (!found.isEmpty()) {
        value.assign(found.data(), found.length());
        return true;
      }
    }
  }
  // The environment cannot hold a name with a NUL; getenv would see only its first part.
  if (name.find('\0') == std::string::npos) {
    std::string upper(name), lower(name);
    for (char& c : upper) c = asciiUpper(c);
    for (char& c : lower) c = asciiLower(c);
    const std::string* tries[] = {&name, &upper, &lower};
    for (const std::string* n : tries) {
      if (const char* v = std::getenv(n->c_str())) {
        value.assign(v);
        return true;
      }
    }
  }
  if (equalsIgnoreCase(name, "OSNAME")) {
    value = "x86";
    return true;
  }
  if (equalsIgnoreCase(name, "OSEXT")) {
    value = "exe";
    return true;
  }
  if (findFallbackVariable(key, found)) {
    value.assign(found.data(), found.length());
    return true;
  }
  return false;
}

// One pass over the text. status: 1 when nothing was substituted, 2 when something was, -2 when a
// name was not found (the result is then that name) or when the result would grow beyond
// `maxLength` (tooLong is then set).
std::string expandOnePass(const std::string& text, int& status, int registryLookup,
                          std::size_t maxLength, bool& tooLong) {
  status = kExpandDone;
  std::string result;
  std::string value;
  const std::size_t length = text.size();
  std::size_t i = 0;
  while (i < length && status > 0) {
    if (text[i] != '$') {
      std::size_t next = text.find('$', i);
      if (next == std::string::npos) next = length;
      result.append(text, i, next - i);
      i = next;
      continue;
    }
    const std::size_t nameStart = i + 1;
    ++i;
    while (i < length && !isNameStop(text[i])) ++i;
    if (i < length && text[i] == ')') ++i;
    std::size_t b = nameStart, e = i;
    while (b < e && text[b] == '(') ++b;
    while (e > b && text[e - 1] == ')') --e;
    const std::string name = text.substr(b, e - b);
    if (!lookUpVariable(name, registryLookup, value)) {
      status = kExpandFailed;
      result = name;
      break;
    }
    if (result.size() + value.size() > maxLength) {
      status = kExpandFailed;
      tooLong = true;
      break;
    }
    result += value;
    status = kExpandWorking;
  }
  return result;
}

}  // namespace

RWCString expandVariableReferences(const RWCString& text, int* statusCell, int registryLookup) {
  int localStatus = kExpandDone;
  int& status = statusCell ? *statusCell : localStatus;
  const std::string input(text.data(), text.length());
  const std::size_t maxLength = input.size() + kMaxExpandedLength;
  bool tooLong = false;
  std::string result = expandOnePass(input, status, registryLookup, maxLength, tooLong);
  // Each further pass expands the references that the substituted values brought in.
  for (int passes = 1; status == kExpandWorking; ++passes) {
    if (passes >= kMaxExpansionPasses) {
      status = kExpandFailed;
      tooLong = true;
      break;
    }
    result = expandOnePass(result, status, registryLookup, maxLength, tooLong);
  }
  if (tooLong) return text;

  RWCString out(result.data(), result.size());
  out = replaceAll(out, "%SystemRoot%", RWCString(platform::windowsFolder().c_str()), 1, 0);
  std::string temp = platform::tempFolder();
  while (!temp.empty() && (temp.back() == '/' || temp.back() == '\\')) temp.pop_back();
  out = replaceAll(out, "%SystemTemp%", RWCString(temp.c_str()), 1, 0);
  return out;
}

RWCString expandVariablesWithStatus(const RWCString& text, int* status, int registryLookup) {
  return expandVariableReferences(text, status, registryLookup);
}

RWCString expandVariables(const RWCString& text) {
  int status = kExpandDone;
  RWCString result = expandVariableReferences(text, &status, 1);
  return status == kExpandDone ? result : text;
}

int setPersistentVariable(const RWCString& name, const RWCString& value) {
  const RWCString userKey = userPathRoot() + name;
  const RWCString machineKey = machinePathRoot() + name;
  bool inUser = false, inMachine = false;
  readRegistryValue(userKey, &inUser);
  readRegistryValue(machineKey, &inMachine);
  if (inUser) return writeRegistryValue(userKey, "", value);
  if (inMachine) return writeRegistryValue(machineKey, "", value);
  return writeRegistryValue("HKEY_CURRENT_USER\\Environment", name, value);
}

void collectAllVariables(RWTHashDict<RWCString, RWCString>& dict) {
  const RWTValOrderedVector<_QVEnvironClass>& fallback = fallbackVariables();
  for (std::size_t i = 0; i < fallback.count(); ++i)
    dict.findOrInsert(fallback.at(i).name) = fallback.at(i).value;
  environmentToDictionary(dict);
  for (const RWCString& root : {machinePathRoot(), userPathRoot()}) {
    const RWTValOrderedVector<RWCString> names = listRegistrySubkeys(root);
    for (std::size_t i = 0; i < names.count(); ++i) {
      const RWCString value = readRegistryValue(root + names.at(i));
      if (!value.isEmpty()) dict.findOrInsert(names.at(i)) = value;
    }
  }
  const RWTValOrderedVector<_QVEnvironClass>& program = programVariables();
  for (std::size_t i = 0; i < program.count(); ++i)
    dict.findOrInsert(program.at(i).name) = program.at(i).value;
}
