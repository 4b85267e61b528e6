#pragma once
// Time from the C library: the current time, broken-down local and UTC times with the local
// zone's offset and daylight flag (tzset and localtime_r), the zone's names and standard offset,
// and a monotonic clock for measuring intervals.

#include <cstdint>
#include <ctime>
#include <string>

namespace platform {

// Seconds since 1970-01-01 00:00 UTC.
std::int64_t currentTime();

struct LocalTime {
  std::tm fields{};             // as localtime_r fills it (tm_year since 1900, tm_mon 0-11 ...)
  long offsetSeconds = 0;       // local time minus UTC, east positive (tm_gmtoff)
  bool daylight = false;        // daylight-saving time is in force
  std::string zoneName;         // abbreviation in force, e.g. "CET" / "CEST"
};

// The local time at `t` (seconds since 1970), after tzset so a changed TZ is honoured. False when
// the C library cannot represent it.
bool localTime(std::int64_t t, LocalTime& out);

// The UTC time at `t`; false when it cannot be represented.
bool utcTime(std::int64_t t, std::tm& out);

// Seconds since 1970 of a broken-down local time (mktime; tm_isdst -1 lets the library decide).
// False when it cannot be represented.
bool fromLocalTime(const std::tm& fields, std::int64_t& t);

struct ZoneInfo {
  std::string standardName;     // tzname[0]
  std::string daylightName;     // tzname[1]
  long standardOffsetWest = 0;  // seconds west of UTC in standard time (the C library's timezone)
  bool hasDaylight = false;     // the zone observes daylight-saving time (daylight)
};

// The local zone as the C library describes it after tzset.
ZoneInfo localZoneInfo();

// A monotonic clock in nanoseconds from an arbitrary start; never goes back.
std::uint64_t monotonicNanoseconds();

}  // namespace platform
