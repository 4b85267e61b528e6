// Modules on dlopen. A handle is the module's load address (dladdr's dli_fbase), which a module
// can find for itself from any of its own addresses; the table maps it to the dlopen handle and
// counts the loads made through loadModule.
#include "platform/Module.h"

#include <cstdlib>
#include <link.h>
#include <map>

#include <dlfcn.h>

#include "platform/Lock.h"
#include "platform/Path.h"

namespace platform {

namespace {

struct Loaded {
  void* dl = nullptr;
  int count = 0;
};

struct ModuleTable {
  Lock& lock = Lock::create();
  std::map<ModuleHandle, Loaded> loaded;
  std::map<ModuleHandle, std::string> overrides;
};

ModuleTable& modules() {
  static ModuleTable* t = new ModuleTable;
  return *t;
}

// The load address of the module a dlopen handle names.
ModuleHandle baseOf(void* dl) {
  struct link_map* map = nullptr;
  if (::dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  Dl_info info{};
  if (map->l_ld && ::dladdr(map->l_ld, &info) && info.dli_fbase) return info.dli_fbase;
  return reinterpret_cast<ModuleHandle>(map->l_addr);
}

std::string nativeFileName(ModuleHandle module) {
  if (!module) {
    char* real = ::realpath("/proc/self/exe", nullptr);
    if (!real) return std::string();
    std::string r(real);
    std::free(real);
    return r;
  }
  Dl_info info{};
  if (!::dladdr(module, &info) || info.dli_fbase != module || !info.dli_fname) return std::string();
  std::string name = info.dli_fname;
  if (name.empty()) return nativeFileName(nullptr);   // the main program has no name here
  char* real = ::realpath(name.c_str(), nullptr);
  if (real) {
    name = real;
    std::free(real);
  }
  return name;
}

}  // namespace

ModuleHandle loadModule(std::string_view path, std::string& error) {
  error.clear();
  std::string native;
  if (!osPath(path, native)) {
    error = "cannot load module " + std::string(path) + ": no such drive";
    return nullptr;
  }
  // dlopen searches the library path for a name without '/'; a module is always named by path.
  if (native.find('/') == std::string::npos) native = "./" + native;
  ModuleTable& t = modules();
  LockGuard guard(t.lock);
  ::dlerror();
  void* dl = ::dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    const char* why = ::dlerror();
    error = "cannot load module " + std::string(path) + ": " + (why ? why : "unknown error");
    return nullptr;
  }
  ModuleHandle base = baseOf(dl);
  if (!base) {
    ::dlclose(dl);
    error = "cannot load module " + std::string(path) + ": its load address is unknown";
    return nullptr;
  }
  Loaded& entry = t.loaded[base];
  entry.dl = dl;
  ++entry.count;
  return base;
}

void* findSymbol(ModuleHandle module, const char* name) {
  if (!name) return nullptr;
  ModuleTable& t = modules();
  LockGuard guard(t.lock);
  auto it = t.loaded.find(module);
  if (it != t.loaded.end()) return ::dlsym(it->second.dl, name);
  // A module loaded by other means (the main program, a library linked at start): look it up by
  // its file name without loading anything.
  void* dl = nullptr;
  if (module) {
    std::string file = nativeFileName(module);
    if (file.empty()) return nullptr;
    dl = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!dl && file == nativeFileName(nullptr)) dl = ::dlopen(nullptr, RTLD_NOW);
  } else {
    dl = ::dlopen(nullptr, RTLD_NOW);
  }
  if (!dl) return nullptr;
  void* sym = ::dlsym(dl, name);
  ::dlclose(dl);   // balances the lookup; the module stays as it was
  return sym;
}

bool unloadModule(ModuleHandle module) {
  ModuleTable& t = modules();
  LockGuard guard(t.lock);
  auto it = t.loaded.find(module);
  if (it == t.loaded.end()) return false;
  void* dl = it->second.dl;
  if (--it->second.count == 0) t.loaded.erase(it);
  ::dlclose(dl);
  return true;
}

ModuleHandle moduleOfAddress(const void* address) {
  Dl_info info{};
  if (!address || !::dladdr(address, &info)) return nullptr;
  return info.dli_fbase;
}

std::string moduleFileName(ModuleHandle module) {
  {
    ModuleTable& t = modules();
    LockGuard guard(t.lock);
    auto it = t.overrides.find(module);
    if (it != t.overrides.end()) return it->second;
  }
  std::string native = nativeFileName(module);
  return native.empty() ? native : programPath(native);
}

void setModuleFileNameOverride(ModuleHandle module, std::string_view fileName) {
  ModuleTable& t = modules();
  LockGuard guard(t.lock);
  t.overrides[module] = std::string(fileName);
}

void clearModuleFileNameOverride(ModuleHandle module) {
  ModuleTable& t = modules();
  LockGuard guard(t.lock);
  t.overrides.erase(module);
}

namespace detail {

ModuleAttachCaller::ModuleAttachCaller(ModuleAttachFunction function)
    : function_(function), module_(moduleOfAddress(reinterpret_cast<const void*>(function))) {
  if (function_) function_(module_, kProcessAttach, nullptr);
}

ModuleAttachCaller::~ModuleAttachCaller() {
  if (function_) function_(module_, kProcessDetach, nullptr);
}

}  // namespace detail

}  // namespace platform
