#include "plugin/EntryPoint.h"

#include "platform/Module.h"
#include "plugin/CommandTable.h"
#include "plugin/Dispatcher.h"
#include "plugin/EnvironmentSetup.h"
#include "plugin/HostBinding.h"

namespace {
void* storedModuleHandle = nullptr;
}  // namespace

int pluginModuleMain(void* module, unsigned long reason, void* /*reserved*/) {
  if (reason == platform::kProcessAttach) storedModuleHandle = module;
  return 1;
}

KESTRIX_MODULE_ATTACH(pluginModuleMain)

void* pluginModuleHandle() { return storedModuleHandle; }

extern "C" int acrxEntryPoint(int message, void* packet) {
  try {
    switch (message) {
      case kInitAppMsg:
        hostcall::unlockApplication(packet);
        hostcall::registerAppMultiDocument(packet);
        break;
      case kLoadDwgMsg:
        // A failed set-up must not cost the drawing its commands: it is reported and the
        // commands are registered all the same.
        try {
          setupEnvironment(storedModuleHandle);
        } catch (...) {
          hostcall::print("%s", kInternalErrorMessage);
        }
        registerCommands();
        break;
      case kInvkSubrMsg:
        dispatchCommand();
        break;
      default:
        break;
    }
  } catch (...) {
    hostcall::print("%s", kInternalErrorMessage);
  }
  return 0;
}
