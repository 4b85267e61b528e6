#include "platform/PrintfFormat.h"

#include <printf.h>

#include <cstddef>
#include <cstring>

namespace platform {

namespace {

// Whether every conversion of the format takes its arguments in turn and is complete: false when
// one numbers its argument ('%', digits, '$', which the C library reads before anything else of a
// conversion) or the format ends inside one (after its flags, width, precision or length, before
// its letter), which the C language leaves undefined. "%%" is skipped whole.
bool plainConversions(const char* format) {
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    if (p[1] == '%') {
      ++p;
      continue;
    }
    const char* q = p + 1;
    while (*q >= '0' && *q <= '9') ++q;
    if (q > p + 1 && *q == '$') return false;
    while (*q && std::strchr("-+ #0'I123456789.*hlLqjzt", *q)) ++q;
    if (!*q) return false;
    p = q;
  }
  return true;
}

}  // namespace

bool printfArgumentKinds(const char* format, std::vector<int>& kinds) {
  kinds.clear();
  if (!format || !plainConversions(format)) return false;
  const std::size_t count = ::parse_printf_format(format, 0, nullptr);
  kinds.assign(count, PA_LAST);
  if (count > 0) ::parse_printf_format(format, count, kinds.data());
  return true;
}

}  // namespace platform
