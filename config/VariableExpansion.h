#pragma once
// Expansion of variable references in paths and file names: "$NAME" (the name ends before '/',
// '\' or '-', or after ')'; "$(NAME)", "$NAME)" and "$(NAME" name NAME) and the placeholders
// "%SystemRoot%" (the Windows folder) and "%SystemTemp%" (the temporary folder without a trailing
// separator). A name is looked up in the program table, the user and machine registry roots (when
// asked), the environment (as written, upper-case, lower-case), the built-ins OSNAME ("x86") and
// OSEXT ("exe"), and last the fallback table. Also persistent variables and the collection of
// every variable. Results are new strings.

#include "foundation/RWCString.h"
#include "foundation/RWTHashDict.h"

// Status values of an expansion.
enum : int {
  kExpandDone = 1,       // finished
  kExpandWorking = 2,    // internal: something was substituted in the current pass
  kExpandFailed = -2,    // a name no source answers, or the expansion did not end within bounds
};

// Bounds that make every expansion end: values that refer to themselves, directly or through
// other variables, or that grow without limit, stop with kExpandFailed.
constexpr int kMaxExpansionPasses = 32;                   // passes over the whole text
constexpr std::size_t kMaxExpandedLength = 64 * 1024;      // bytes an expansion may add

// Expands with the registry lookup on. When the expansion fails the input comes back unchanged
// (placeholders included).
RWCString expandVariables(const RWCString& text);

// Expands and reports the status (1 or -2) in *status (which may be null). On an unknown name the
// result is that bare name; when the bounds were exceeded it is the input text unchanged.
// registryLookup 0 leaves the two registry roots out.
RWCString expandVariablesWithStatus(const RWCString& text, int* status, int registryLookup);
RWCString expandVariableReferences(const RWCString& text, int* status, int registryLookup);

// Stores a variable persistently in the registry: as the default value of user root + name when
// that key has a text default value, else of machine root + name when that one has, else as the
// value `name` of "HKEY_CURRENT_USER\Environment". The key must exist. 1 written, -1 failed.
int setPersistentVariable(const RWCString& name, const RWCString& value);

// Fills dict with every variable from every source, later sources overwriting earlier ones: the
// fallback table, the environment, the machine root's sub-keys (non-empty values), the user
// root's, the program table. OSNAME and OSEXT are not included.
void collectAllVariables(RWTHashDict<RWCString, RWCString>& dict);
