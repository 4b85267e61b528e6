#pragma once
// Loadable modules (shared libraries): loading by path, finding symbols, unloading, the module
// that holds a given address and its file name, and the attach hook that runs a module's
// DllMain-like function when it is loaded. A ModuleHandle is the module's load address, so the
// handle a module finds for itself and the one its loader got are the same value.

#include <string>
#include <string_view>

namespace platform {

using ModuleHandle = void*;

// Reasons passed to an attach function, with the Windows loader's values.
constexpr unsigned long kProcessDetach = 0;
constexpr unsigned long kProcessAttach = 1;

// The module's main function: (module handle, reason, reserved: always null). Its result is
// ignored (a module cannot refuse to load here).
using ModuleAttachFunction = int (*)(ModuleHandle module, unsigned long reason, void* reserved);

// Loads a module (its path goes through osPath), resolving all its symbols now. Loading an already
// loaded module gives the same handle and counts one more load. Null on failure, with `error`
// set to a text naming the path and the reason.
ModuleHandle loadModule(std::string_view path, std::string& error);

// The address of an exported symbol; null when the module lacks it or the handle is unknown.
void* findSymbol(ModuleHandle module, const char* name);

// Undoes one loadModule; the module goes away with its last load. False for a handle that
// loadModule did not give.
bool unloadModule(ModuleHandle module);

// The module whose code or data holds `address` (the main program included); null when none does.
ModuleHandle moduleOfAddress(const void* address);

// The module's file name as a program path (programPath of Path.h: a file in a mapped folder is
// written with its drive). Null names the main program. Empty for an unknown handle. An override
// set for this handle wins.
std::string moduleFileName(ModuleHandle module);

// For tests: makes moduleFileName(module) answer `fileName` (e.g. "c:/cad/bin/x.dll" or
// "//srv/share/bin/x.dll") until cleared. Any handle value may be used, a made-up one included.
void setModuleFileNameOverride(ModuleHandle module, std::string_view fileName);
void clearModuleFileNameOverride(ModuleHandle module);

namespace detail {
// Registration object behind KESTRIX_MODULE_ATTACH: calls `function` with the handle of the
// module holding it and reason kProcessAttach when constructed (at load), with kProcessDetach
// when destroyed (at unload).
class ModuleAttachCaller {
public:
  explicit ModuleAttachCaller(ModuleAttachFunction function);
  ~ModuleAttachCaller();
  ModuleAttachCaller(const ModuleAttachCaller&) = delete;
  ModuleAttachCaller& operator=(const ModuleAttachCaller&) = delete;

private:
  ModuleAttachFunction function_;
  ModuleHandle module_;
};
}  // namespace detail

}  // namespace platform

// Use once per module, in one of its .cpp files, at namespace scope:
//   static int moduleMain(platform::ModuleHandle h, unsigned long reason, void*) { ... return 1; }
//   KESTRIX_MODULE_ATTACH(moduleMain)
// The function then runs from the module's static initialisers, as the Windows loader would call
// it: after the initialisers of the files linked before this one (their order is the linker's).
#define KESTRIX_MODULE_ATTACH(function)                                                  \
  namespace {                                                                            \
  const ::platform::detail::ModuleAttachCaller kestrixModuleAttachCaller_{&(function)}; \
  }
