// Building and breaking down moments in a zone.

#include "foundation/TimeStamp.h"

#include <climits>

#include "foundation/RWLocale.h"
#include "platform/Time.h"

namespace {

constexpr long long kDaySeconds = 86400;

void setAllFields(std::tm& t, int v) {
    t.tm_sec = t.tm_min = t.tm_hour = t.tm_mday = t.tm_mon = t.tm_year = v;
    t.tm_wday = t.tm_yday = t.tm_isdst = v;
}

// The moment less offsetWest seconds, broken down as GMT; daylight flag left to the caller.
void breakDown(TimeStamp::Seconds moment, int offsetWest, std::tm& t) {
    const long long s = static_cast<long long>(moment) - offsetWest;
    const long long days = s >= 0 ? s / kDaySeconds : -((-s + kDaySeconds - 1) / kDaySeconds);
    const long long rest = s - days * kDaySeconds;
    CalendarDate::fromJulian(static_cast<CalendarDate::JulianDay>(TimeStamp::kFirstDay + days)).toTm(t);
    t.tm_hour = static_cast<int>(rest / 3600);
    t.tm_min = static_cast<int>(rest % 3600 / 60);
    t.tm_sec = static_cast<int>(rest % 60);
}

TimeStamp::Seconds checked(long long v) {
    return (v <= 0 || v > static_cast<long long>(UINT32_MAX)) ? 0 : static_cast<TimeStamp::Seconds>(v);
}

}  // namespace

TimeStamp::TimeStamp(unsigned hour, unsigned minute, unsigned second, const RWZone& zone)
    : seconds_(buildSeconds(CalendarDate::today(), hour, minute, second, zone)) {}

TimeStamp::TimeStamp(const std::tm& t, const RWZone& zone) : seconds_(0) {
    if (t.tm_hour < 0 || t.tm_min < 0 || t.tm_sec < 0) return;
    seconds_ = buildSeconds(CalendarDate(t), static_cast<unsigned>(t.tm_hour),
                            static_cast<unsigned>(t.tm_min), static_cast<unsigned>(t.tm_sec), zone);
}

TimeStamp::TimeStamp(const CalendarDate& date, unsigned hour, unsigned minute, unsigned second,
                     const RWZone& zone)
    : seconds_(buildSeconds(date, hour, minute, second, zone)) {}

TimeStamp::TimeStamp(const CalendarDate& date, const RWCString& value, const RWZone& zone,
                     const RWLocale& locale)
    : seconds_(0) {
    std::tm t{};
    if (!date.isValid() || !locale.stringToTime(value, t)) return;
    seconds_ = buildSeconds(date, static_cast<unsigned>(t.tm_hour), static_cast<unsigned>(t.tm_min),
                            static_cast<unsigned>(t.tm_sec), zone);
}

TimeStamp TimeStamp::fromSeconds(Seconds seconds) {
    TimeStamp t;
    t.seconds_ = seconds;
    return t;
}

TimeStamp TimeStamp::fromUnixTime(std::int64_t unixSeconds) {
    // Refuse rather than wrap: past 2^32 seconds the 32-bit count would read as 1901 again.
    if (unixSeconds <= -kUnixEpochOffset || unixSeconds > static_cast<std::int64_t>(UINT32_MAX) - kUnixEpochOffset)
        return TimeStamp();
    return fromSeconds(static_cast<Seconds>(unixSeconds + kUnixEpochOffset));
}

TimeStamp TimeStamp::now() { return fromUnixTime(platform::currentTime()); }

TimeStamp::Seconds TimeStamp::buildSeconds(const CalendarDate& date, unsigned hour, unsigned minute,
                                           unsigned second, const RWZone& zone) {
    if (!date.isValid() || date.julian() < kFirstDay - 1) return 0;
    const long long local = static_cast<long long>(second) + 3600LL * hour + 60LL * minute;
    const long long dayOffset = (static_cast<long long>(date.julian()) - kFirstDay) * kDaySeconds;
    if (zone.observesDaylight()) {
        std::tm t{};
        date.toTm(t);
        // The rule test reads hour and minute; a time past 24 hours is tested as given.
        t.tm_hour = static_cast<int>(hour > 1000000 ? 1000000 : hour);
        t.tm_min = static_cast<int>(minute > 1000000 ? 1000000 : minute);
        t.tm_sec = static_cast<int>(second > 1000000 ? 1000000 : second);
        if (zone.inDaylightTime(t)) {
            const Seconds result = checked(local + zone.daylightOffset() + dayOffset);
            // Kept only when the moment reads as daylight time again: a time in the skipped hour
            // does not, and has no moment.
            return (result != 0 && fromSeconds(result).isDST(zone)) ? result : 0;
        }
    }
    return checked(local + zone.standardOffset() + dayOffset);
}

CalendarDate TimeStamp::date(const RWZone& zone) const {
    if (seconds_ == 0) return CalendarDate();
    std::tm t{};
    extract(t, zone);
    return CalendarDate(t);
}

unsigned TimeStamp::hour(const RWZone& zone) const {
    if (seconds_ == 0) return 0;
    std::tm t{};
    extract(t, zone);
    return static_cast<unsigned>(t.tm_hour);
}

unsigned TimeStamp::minute(const RWZone& zone) const {
    if (seconds_ == 0) return 0;
    std::tm t{};
    extract(t, zone);
    return static_cast<unsigned>(t.tm_min);
}

void TimeStamp::extract(std::tm& t, const RWZone& zone) const {
    if (seconds_ == 0) {
        setAllFields(t, INT_MIN);
        return;
    }
    breakDown(seconds_, zone.standardOffset(), t);
    t.tm_isdst = 0;
    if (!zone.observesDaylight() || !zone.inDaylightTime(t)) return;
    std::tm daylight{};
    breakDown(seconds_, zone.daylightOffset(), daylight);
    if (!zone.inDaylightTime(daylight)) return;
    daylight.tm_isdst = 1;
    t = daylight;
}

bool TimeStamp::isDST(const RWZone& zone) const {
    if (seconds_ == 0) return false;
    std::tm t{};
    extract(t, zone);
    return t.tm_isdst == 1;
}

namespace {

TimeStamp transitionMoment(unsigned year, const RWZone& zone, bool start) {
    if (!zone.observesDaylight() || year > static_cast<unsigned>(INT_MAX) - 1) return TimeStamp();
    std::tm t{};
    CalendarDate(1, 1, year).toTm(t);
    if (t.tm_year == INT_MIN) return TimeStamp();
    if (start) zone.daylightStart(t);
    else zone.daylightEnd(t);
    if (t.tm_mon == INT_MIN) return TimeStamp();
    const CalendarDate day(t);
    const TimeStamp::Seconds gmt = TimeStamp::buildSeconds(day, static_cast<unsigned>(t.tm_hour),
                                                static_cast<unsigned>(t.tm_min),
                                                static_cast<unsigned>(t.tm_sec), RWZone::gmtZone());
    if (gmt == 0) return TimeStamp();
    return TimeStamp::fromSeconds(gmt) + (start ? zone.standardOffset() : zone.daylightOffset());
}

}  // namespace

TimeStamp TimeStamp::beginDST(unsigned year, const RWZone& zone) { return transitionMoment(year, zone, true); }

TimeStamp TimeStamp::endDST(unsigned year, const RWZone& zone) { return transitionMoment(year, zone, false); }

int TimeStamp::compareTo(const TimeStamp& other) const {
    return seconds_ < other.seconds_ ? -1 : (seconds_ > other.seconds_ ? 1 : 0);
}

TimeStamp TimeStamp::operator+(long long s) const {
    if (seconds_ == 0) return TimeStamp();
    return fromSeconds(checked(static_cast<long long>(seconds_) + s));
}
