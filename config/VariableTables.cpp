// The module-wide variable tables and registry roots; see VariableTables.h.

#include "config/VariableTables.h"

#include <cstdlib>
#include <cstring>

namespace {

using Table = RWTValOrderedVector<_QVEnvironClass>;

Table* programTable = nullptr;
Table* fallbackTable = nullptr;
bool exitHandlerInstalled = false;

// Deletes both tables at exit. A table touched again afterwards (from a static destructor) is
// made anew and simply not freed.
void deleteTables() {
  delete programTable;
  programTable = nullptr;
  delete fallbackTable;
  fallbackTable = nullptr;
}

Table& table(Table*& slot) {
  if (!slot) {
    slot = new Table(64);
    if (!exitHandlerInstalled) {
      exitHandlerInstalled = true;
      std::atexit(deleteTables);
    }
  }
  return *slot;
}

_QVEnvironClass* findEntry(Table& t, const RWCString& name) {
  for (std::size_t i = 0; i < t.count(); ++i)
    if (t.at(i).name == name) return &t.at(i);
  return nullptr;
}

void setEntry(Table& t, const RWCString& name, const RWCString& value, unsigned char flag) {
  if (_QVEnvironClass* e = findEntry(t, name)) {
    e->value = value;
  } else {
    t.append(_QVEnvironClass(name, value, flag));
  }
}

constexpr std::size_t kRootBuffer = 256;
char machineRoot[kRootBuffer] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\";
char userRoot[kRootBuffer] = "HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\";

int setRoot(char* buffer, const char* text) {
  if (!text) return -1;
  const std::size_t n = std::strlen(text);
  if (n + 1 > kRootBuffer) return -1;
  std::memcpy(buffer, text, n + 1);
  return 1;
}

}  // namespace

void setVariable(const RWCString& name, const RWCString& value, unsigned char flag) {
  setEntry(table(programTable), name, value, flag);
}

RWCString variableValue(const RWCString& name) {
  const _QVEnvironClass* e = findEntry(table(programTable), name);
  return e ? e->value : RWCString();
}

unsigned char variableFlag(const RWCString& name) {
  const _QVEnvironClass* e = findEntry(table(programTable), name);
  return e ? e->flag : 0;
}

bool findVariable(const RWCString& name, RWCString& value) {
  const _QVEnvironClass* e = findEntry(table(programTable), name);
  if (!e) return false;
  value = e->value;
  return true;
}

void clearVariables() { table(programTable).clear(); }

void forEachFlaggedVariable(FlaggedVariableReceiver& receiver) {
  // A copy, so that a receiver may change the table while it is walked.
  const Table entries(table(programTable));
  for (std::size_t i = 0; i < entries.count(); ++i)
    if (entries.at(i).flag != 0) receiver.receiveVariable(entries.at(i));
}

const RWTValOrderedVector<_QVEnvironClass>& programVariables() { return table(programTable); }

void setFallbackVariable(const RWCString& name, const RWCString& value) {
  setEntry(table(fallbackTable), name, value, 0);
}

bool findFallbackVariable(const RWCString& name, RWCString& value) {
  const _QVEnvironClass* e = findEntry(table(fallbackTable), name);
  if (!e) return false;
  value = e->value;
  return true;
}

void clearFallbackVariables() { table(fallbackTable).clear(); }

const RWTValOrderedVector<_QVEnvironClass>& fallbackVariables() { return table(fallbackTable); }

int setMachinePathRoot(const char* text) { return setRoot(machineRoot, text); }
int setUserPathRoot(const char* text) { return setRoot(userRoot, text); }
RWCString machinePathRoot() { return RWCString(machineRoot); }
RWCString userPathRoot() { return RWCString(userRoot); }
