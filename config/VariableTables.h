#pragma once
// The module-wide variable tables that variable expansion consults: the program table (first
// source) and the fallback table (last source), each an ordered vector of _QVEnvironClass entries
// created on first use and deleted at process exit; and the two registry roots under which
// variables are looked up as sub-keys. Nothing here is locked: the host's one command thread
// uses it.

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"

// One variable. Two entries are equal when their names are equal (exact, case matters); value
// and flag play no part.
class _QVEnvironClass {
 public:
  _QVEnvironClass() = default;
  _QVEnvironClass(const RWCString& name, const RWCString& value, unsigned char flag = 0)
      : name(name), value(value), flag(flag) {}

  bool operator==(const _QVEnvironClass& other) const { return name == other.name; }

  RWCString name;
  RWCString value;
  unsigned char flag = 0;
};

// Receives the flagged entries of the program table (forEachFlaggedVariable).
class FlaggedVariableReceiver {
 public:
  virtual ~FlaggedVariableReceiver() = default;
  virtual void receiveVariable(const _QVEnvironClass& entry) = 0;
};

// ---- program table (consulted first)
// Replaces the value of the entry with that name (its flag stays), or appends (name, value, flag).
void setVariable(const RWCString& name, const RWCString& value, unsigned char flag = 0);
// The entry's value, or the empty text when there is none.
RWCString variableValue(const RWCString& name);
// The entry's flag, 0 when there is none.
unsigned char variableFlag(const RWCString& name);
// True, with `value` set, when the program table has an entry of that name (exact).
bool findVariable(const RWCString& name, RWCString& value);
// Empties the table (capacity back to 64).
void clearVariables();
// Calls the receiver for every entry with a non-zero flag, in table order.
void forEachFlaggedVariable(FlaggedVariableReceiver& receiver);
// The table itself, for walking it.
const RWTValOrderedVector<_QVEnvironClass>& programVariables();

// ---- fallback table (consulted last)
// Replaces the value of the entry with that name, or appends (name, value, 0).
void setFallbackVariable(const RWCString& name, const RWCString& value);
bool findFallbackVariable(const RWCString& name, RWCString& value);
void clearFallbackVariables();
const RWTValOrderedVector<_QVEnvironClass>& fallbackVariables();

// ---- registry roots
// Initially "HKEY_LOCAL_MACHINE\SOFTWARE\QUORVEL\PATH\" (machine) and
// "HKEY_CURRENT_USER\SOFTWARE\QUORVEL\PATH\" (user), each ending in a backslash. A variable
// NAME is the default value of the key root + NAME. Each root is kept in a 256-byte buffer: a
// text of 256 bytes or more (or null) is refused with -1 and the root stays as it was; 1 when it
// was set.
int setMachinePathRoot(const char* text);
int setUserPathRoot(const char* text);
RWCString machinePathRoot();
RWCString userPathRoot();
