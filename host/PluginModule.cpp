#include "host/PluginModule.h"

#include "host/HostSession.h"
#include "platform/FileSystem.h"

namespace kxhost {

std::string releaseName(int apiVersion) {
  if (apiVersion == kHostApiVersion2000) return "2000";
  if (apiVersion == kHostApiVersionR14) return "R14";
  return "API version " + std::to_string(apiVersion);
}

bool PluginModule::load(const std::string& path, int expectedVersion, std::string& error) {
  unload();
  if (path.empty()) {
    error = "no plug-in module named";
    return false;
  }
  if (!platform::exists(path)) {
    error = "plug-in module " + path + " does not exist";
    return false;
  }
  std::string why;
  platform::ModuleHandle m = platform::loadModule(path, why);
  if (!m) {
    error = "cannot load plug-in module " + path + ": " + why;
    return false;
  }
  auto fail = [&](std::string text) {
    platform::unloadModule(m);
    error = std::move(text);
    return false;
  };
  auto getVersion = reinterpret_cast<int (*)()>(platform::findSymbol(m, "acrxGetApiVersion"));
  auto setPtp = reinterpret_cast<void (*)(void*)>(platform::findSymbol(m, "_SetacrxPtp"));
  if (!getVersion || !setPtp)
    return fail("plug-in module " + path + " lacks the export " +
                (getVersion ? "_SetacrxPtp" : "acrxGetApiVersion") +
                ": it was not linked with the host SDK's static part");
  int version = getVersion();
  if (version != expectedVersion)
    return fail("plug-in module " + path + " is built for the " + releaseName(version) +
                " interface (API version " + std::to_string(version) + "); this host runs release " +
                releaseName(expectedVersion) + " (API version " + std::to_string(expectedVersion) +
                ")");
  auto entry = reinterpret_cast<int (*)(int, void*)>(platform::findSymbol(m, "acrxEntryPoint"));
  if (!entry) return fail("plug-in module " + path + " lacks the export acrxEntryPoint");
  setPtp(&host_.app());
  module_ = m;
  entry_ = entry;
  version_ = version;
  return true;
}

int PluginModule::send(int msg) {
  if (!entry_) return -1;
  return entry_(msg, &host_.app());
}

void PluginModule::unload() {
  if (module_) platform::unloadModule(module_);
  module_ = nullptr;
  entry_ = nullptr;
  version_ = 0;
}

}  // namespace kxhost
