// Time from the C library. tzset runs before every local conversion so a TZ changed by the
// program (or a test) takes effect, as the C run-time's _tzset would make it.
#include "platform/Time.h"

#include <chrono>
#include <ctime>
#include <time.h>

namespace platform {

std::int64_t currentTime() { return static_cast<std::int64_t>(::time(nullptr)); }

bool localTime(std::int64_t t, LocalTime& out) {
  out = LocalTime{};
  time_t tt = static_cast<time_t>(t);
  if (static_cast<std::int64_t>(tt) != t) return false;
  ::tzset();
  struct tm fields {};
  if (!::localtime_r(&tt, &fields)) return false;
  out.fields = fields;
  out.offsetSeconds = fields.tm_gmtoff;
  out.daylight = fields.tm_isdst > 0;
  out.zoneName = fields.tm_zone ? fields.tm_zone : "";
  return true;
}

bool utcTime(std::int64_t t, std::tm& out) {
  out = std::tm{};
  time_t tt = static_cast<time_t>(t);
  if (static_cast<std::int64_t>(tt) != t) return false;
  return ::gmtime_r(&tt, &out) != nullptr;
}

bool fromLocalTime(const std::tm& fields, std::int64_t& t) {
  ::tzset();
  std::tm copy = fields;
  time_t r = ::mktime(&copy);
  if (r == static_cast<time_t>(-1)) {
    // -1 is also the valid answer for 1969-12-31 23:59:59 UTC; tell the two apart.
    std::tm check{};
    time_t minusOne = -1;
    if (!::localtime_r(&minusOne, &check) || check.tm_year != copy.tm_year ||
        check.tm_yday != copy.tm_yday || check.tm_hour != copy.tm_hour ||
        check.tm_min != copy.tm_min || check.tm_sec != copy.tm_sec)
      return false;
  }
  t = static_cast<std::int64_t>(r);
  return true;
}

ZoneInfo localZoneInfo() {
  ::tzset();
  ZoneInfo info;
  info.standardName = ::tzname[0] ? ::tzname[0] : "";
  info.daylightName = ::tzname[1] ? ::tzname[1] : "";
  info.standardOffsetWest = ::timezone;
  info.hasDaylight = ::daylight != 0;
  return info;
}

std::uint64_t monotonicNanoseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

}  // namespace platform
