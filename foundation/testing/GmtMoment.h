#pragma once
// Test instruments for dates and zones: a GMT date and time as seconds since 1970, computed
// independently by std::chrono, and as a TimeStamp. Header-only.

#include <chrono>
#include <cstdint>

#include "foundation/TimeStamp.h"

namespace foundationtesting {

// Seconds since 1970 of a GMT date and time, by std::chrono.
inline std::int64_t unixOf(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  using namespace std::chrono;
  const sys_seconds t =
      sys_days(year{y} / month{m} / day{d}) + hours{hh} + minutes{mm} + seconds{ss};
  return t.time_since_epoch().count();
}

// The TimeStamp of a GMT date and time.
inline TimeStamp gmtMoment(int y, unsigned m, unsigned d, int hh = 0, int mm = 0, int ss = 0) {
  return TimeStamp::fromUnixTime(unixOf(y, m, d, hh, mm, ss));
}

}  // namespace foundationtesting
