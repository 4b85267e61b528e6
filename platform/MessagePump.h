#pragma once
// The host's window-message pump as the plug-in sees it: the host registers a drain function, and
// a plug-in that waits (for a child process) calls pumpMessages so the host stays alive. One
// process-wide hook, shared by the host program and every module it loads.

#include <cstdint>

namespace platform {

// Drains every message waiting in the host's queue. `context` is what was given with the hook.
using MessageDrainHook = void (*)(void* context);

// Installs the host's drain (null removes it); returns the previous hook.
MessageDrainHook setMessageDrainHook(MessageDrainHook hook, void* context);

// Runs the installed drain once (nothing when none is installed) and counts the call.
void pumpMessages();

// Calls of pumpMessages since the process started (or since resetPumpCount).
std::uint64_t pumpCount();
void resetPumpCount();

}  // namespace platform
