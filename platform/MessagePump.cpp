// The process-wide drain hook and its call count.
#include "platform/MessagePump.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<MessageDrainHook> gHook{nullptr};
std::atomic<void*> gContext{nullptr};
std::atomic<std::uint64_t> gCount{0};
}  // namespace

MessageDrainHook setMessageDrainHook(MessageDrainHook hook, void* context) {
  // The context is stored first so a pump running meanwhile never pairs the new hook with the old
  // context. (The system has one thread; this is only care.)
  gContext.store(context);
  return gHook.exchange(hook);
}

void pumpMessages() {
  gCount.fetch_add(1);
  if (MessageDrainHook hook = gHook.load()) hook(gContext.load());
}

std::uint64_t pumpCount() { return gCount.load(); }

void resetPumpCount() { gCount.store(0); }

}  // namespace platform
