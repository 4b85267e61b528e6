// A loadable module for the module tests: its attach function records what the loader passed,
// and reports the detach at unload to a sink that the test installs.
#include "platform/Module.h"

namespace {

platform::ModuleHandle gHandle = nullptr;
unsigned long gReason = 99;
int gAttachCalls = 0;
void (*gDetachSink)(platform::ModuleHandle, unsigned long) = nullptr;

int moduleMain(platform::ModuleHandle handle, unsigned long reason, void* reserved) {
  if (reason == platform::kProcessAttach && !reserved) {
    gHandle = handle;
    gReason = reason;
    ++gAttachCalls;
  }
  if (reason == platform::kProcessDetach && gDetachSink) gDetachSink(handle, reason);
  return 1;
}

}  // namespace

KESTRIX_MODULE_ATTACH(moduleMain)

extern "C" __attribute__((visibility("default"))) platform::ModuleHandle testModuleAttachHandle() {
  return gHandle;
}
extern "C" __attribute__((visibility("default"))) unsigned long testModuleAttachReason() {
  return gReason;
}
extern "C" __attribute__((visibility("default"))) int testModuleAttachCalls() { return gAttachCalls; }
extern "C" __attribute__((visibility("default"))) platform::ModuleHandle testModuleSelf() {
  return platform::moduleOfAddress(reinterpret_cast<const void*>(&testModuleSelf));
}
extern "C" __attribute__((visibility("default"))) void testModuleSetDetachSink(
    void (*sink)(platform::ModuleHandle, unsigned long)) {
  gDetachSink = sink;
}
