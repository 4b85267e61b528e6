#pragma once
// The module's entry points: the attach hook that the loader runs when the module is loaded, and
// acrxEntryPoint, which receives the host's messages. The module handle stored by the attach hook
// is one process-wide value, read on every load-drawing message.

#include "host/api.h"

#if defined(__GNUC__)
#define KESTRIX_EXPORT __attribute__((visibility("default")))
#else
#define KESTRIX_EXPORT
#endif

// The host's messages: 1 initialise (unlock; the 2000 build also declares itself able to serve
// several drawings), 3 load drawing (variables, then the ten commands), 5 invoke (the dispatcher).
// Every other message is ignored. Returns 0 for every message; no exception leaves it.
extern "C" KESTRIX_EXPORT int acrxEntryPoint(int message, void* packet);

// The attach hook: on reason 1 (process attach) stores the module handle. Returns 1 for every
// reason.
int pluginModuleMain(void* module, unsigned long reason, void* reserved);

// The handle stored by the attach hook; null before the module was attached.
void* pluginModuleHandle();
