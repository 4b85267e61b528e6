#pragma once
// One plug-in module loaded into the host: loading through the platform layer, the checks a
// host makes before it talks to a module (the SDK exports acrxGetApiVersion and _SetacrxPtp
// present, the API version of this host's release, an entry point), handing over the host
// record, sending entry-point messages, and unloading. The object owns the load.

#include <string>

#include "platform/Module.h"

namespace kxhost {

class HostSession;

class PluginModule {
public:
  explicit PluginModule(HostSession& host) : host_(host) {}
  ~PluginModule() { unload(); }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Loads `path` and checks it for a host whose API version is `expectedVersion` (15 for
  // release 2000, 14 for R14). False, with the module unloaded again and `error` saying why.
  bool load(const std::string& path, int expectedVersion, std::string& error);

  bool loaded() const { return module_ != nullptr; }
  int apiVersion() const { return version_; }

  // Sends one entry-point message with the host's application record; returns the module's
  // answer (0 is done), or -1 when no module is loaded.
  int send(int msg);

  void unload();

private:
  HostSession& host_;
  platform::ModuleHandle module_ = nullptr;
  int (*entry_)(int, void*) = nullptr;
  int version_ = 0;
};

// "2000" or "R14" for an API version, "API version N" for any other.
std::string releaseName(int apiVersion);

}  // namespace kxhost
