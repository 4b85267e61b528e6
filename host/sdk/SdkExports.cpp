// The host SDK's static part, linked into every plug-in module: the exports by which the host
// recognises a module built for its interface. Compiled once per release with
// KESTRIX_SDK_API_VERSION set to that release's API version.

#include "host/api.h"

#ifndef KESTRIX_SDK_API_VERSION
#error "KESTRIX_SDK_API_VERSION must name the host API version this SDK part is built for"
#endif

namespace {
// The host's record of this module, handed over before the first message. The module does not
// look inside it; it is kept for the module's lifetime.
void* hostRecord = nullptr;
}  // namespace

extern "C" {

int acrxGetApiVersion(void) { return KESTRIX_SDK_API_VERSION; }

void _SetacrxPtp(void* record) { hostRecord = record; }

}  // extern "C"
