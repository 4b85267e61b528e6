// The local zone on top of the C library's local time.

#include "foundation/RWZoneLocal.h"

#include <climits>
#include <cstdint>

#include "foundation/CalendarDate.h"
#include "platform/Time.h"

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kUnixEpochJulian = 2440588;  // 1970-01-01

bool isDaylightAt(std::int64_t t) {
    platform::LocalTime lt;
    return platform::localTime(t, lt) && lt.daylight;
}

long offsetEastAt(std::int64_t t) {
    platform::LocalTime lt;
    return platform::localTime(t, lt) ? lt.offsetSeconds : 0;
}

// Seconds since 1970 of the broken-down time's fields read as GMT; false for a date the calendar
// does not have.
bool fieldsAsSeconds(const std::tm& t, std::int64_t& out) {
    if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday < 1) return false;
    const long long year = static_cast<long long>(t.tm_year) + 1900;
    if (year < 100 || year > 99999) return false;
    const CalendarDate date(static_cast<unsigned>(t.tm_mday), static_cast<unsigned>(t.tm_mon) + 1,
                            static_cast<unsigned>(year));
    if (!date.isValid()) return false;
    out = (static_cast<std::int64_t>(date.julian()) - kUnixEpochJulian) * kDay +
          static_cast<std::int64_t>(t.tm_hour) * 3600 + static_cast<std::int64_t>(t.tm_min) * 60 +
          t.tm_sec;
    return true;
}

void setAllFields(std::tm& t, int v) {
    t.tm_sec = t.tm_min = t.tm_hour = t.tm_mday = t.tm_mon = t.tm_year = v;
    t.tm_wday = t.tm_yday = t.tm_isdst = v;
}

}  // namespace

RWZoneLocal::RWZoneLocal() {
    const platform::ZoneInfo info = platform::localZoneInfo();
    standardOffset_ = static_cast<int>(info.standardOffsetWest);
    observes_ = info.hasDaylight;
    standardName_ = RWCString(info.standardName.c_str());
    daylightName_ = RWCString(info.daylightName.c_str());
    daylightOffset_ = observes_ ? standardOffset_ - 3600 : standardOffset_;
    if (!observes_) return;
    // The daylight offset in force this year, when the zone keeps daylight saving now (some
    // zones shift by other than an hour).
    const std::int64_t now = platform::currentTime();
    for (int month = 0; month < 12; ++month) {
        platform::LocalTime lt;
        if (platform::localTime(now + month * 31 * kDay, lt) && lt.daylight) {
            daylightOffset_ = static_cast<int>(-lt.offsetSeconds);
            break;
        }
    }
}

bool RWZoneLocal::inDaylightTime(const std::tm& t) const {
    if (!observes_) return false;
    std::int64_t wall = 0;
    if (!fieldsAsSeconds(t, wall)) return false;
    return isDaylightAt(wall + standardOffset_) || isDaylightAt(wall + daylightOffset_);
}

void RWZoneLocal::transition(std::tm& t, bool start) const {
    const long long year = static_cast<long long>(t.tm_year) + 1900;
    std::tm jan1{};
    jan1.tm_year = t.tm_year;
    jan1.tm_mon = 0;
    jan1.tm_mday = 1;
    std::int64_t from = 0;
    if (!observes_ || !fieldsAsSeconds(jan1, from)) {
        setAllFields(t, INT_MIN);
        return;
    }
    // Walk the year a day at a time (every daylight period lasts longer than that), then narrow
    // each change of the daylight flag down to the second.
    const std::int64_t to = from + 367 * kDay;
    bool before = isDaylightAt(from - kDay);
    for (std::int64_t probe = from; probe <= to; probe += kDay) {
        const bool now = isDaylightAt(probe);
        if (now == before) continue;
        std::int64_t lo = probe - kDay, hi = probe;  // flag(lo) == before, flag(hi) == now
        while (hi - lo > 1) {
            const std::int64_t mid = lo + (hi - lo) / 2;
            (isDaylightAt(mid) == before ? lo : hi) = mid;
        }
        before = now;
        if (now != start) continue;
        // The clock reading just before the change: standard time for a start, daylight time for
        // an end.
        const std::int64_t wall = hi + offsetEastAt(hi - 1);
        const std::int64_t days = wall >= 0 ? wall / kDay : -((-wall + kDay - 1) / kDay);
        const std::int64_t secs = wall - days * kDay;
        std::tm out{};
        CalendarDate::fromJulian(static_cast<CalendarDate::JulianDay>(days + kUnixEpochJulian)).toTm(out);
        if (static_cast<long long>(out.tm_year) + 1900 != year) continue;
        out.tm_hour = static_cast<int>(secs / 3600);
        out.tm_min = static_cast<int>(secs % 3600 / 60);
        out.tm_sec = 0;
        out.tm_isdst = -1;
        t = out;
        return;
    }
    setAllFields(t, INT_MIN);
}

void RWZoneLocal::daylightStart(std::tm& t) const { transition(t, true); }

void RWZoneLocal::daylightEnd(std::tm& t) const { transition(t, false); }
