#pragma once
// TimeStamp: a moment held as unsigned 32-bit seconds since 1901-01-01 00:00:00 GMT (0 meaning
// invalid), broken down and built in a time zone (RWZone). A plain value; zones are passed by
// reference and stay the caller's.

#include <cstdint>
#include <ctime>

#include "foundation/CalendarDate.h"
#include "foundation/RWZone.h"

class RWLocale;

class TimeStamp {
public:
    using Seconds = std::uint32_t;

    // Seconds from 1901-01-01 to 1970-01-01.
    static constexpr std::int64_t kUnixEpochOffset = 2177452800;
    // The representable days: 1901-01-01 up to 2037-02-05, the last whole day below 2^32 seconds.
    static constexpr CalendarDate::JulianDay kFirstDay = 2415386;
    static constexpr CalendarDate::JulianDay kLastDay = 2465095;

    // The invalid moment.
    TimeStamp() = default;
    // Today (in the local calendar) at that time of day in `zone`.
    TimeStamp(unsigned hour, unsigned minute, unsigned second, const RWZone& zone = RWZone::localZone());
    // The local time t (tm_year, tm_mon, tm_mday, tm_hour, tm_min, tm_sec) in `zone`.
    explicit TimeStamp(const std::tm& t, const RWZone& zone = RWZone::localZone());
    TimeStamp(const CalendarDate& date, unsigned hour, unsigned minute, unsigned second,
              const RWZone& zone = RWZone::localZone());
    // A time of day written as text and read by the locale; invalid when it cannot be read.
    TimeStamp(const CalendarDate& date, const RWCString& value, const RWZone& zone,
              const RWLocale& locale);

    static TimeStamp fromSeconds(Seconds seconds);
    // Seconds since 1970 to a moment; invalid outside 1901-01-01 00:00:01 .. 2^32-1 seconds
    // (2037-02-06 06:28:15 GMT), never a wrapped value.
    static TimeStamp fromUnixTime(std::int64_t unixSeconds);
    // The clock now; invalid once the clock has passed what 32 bits hold.
    static TimeStamp now();

    // The moment of a local date and time in `zone`, or 0: for an invalid date or one before
    // 1900-12-31, for a result outside 32 bits, and for a local time in the hour that a change to
    // daylight saving skips. A repeated local time is read as daylight time.
    static Seconds buildSeconds(const CalendarDate& date, unsigned hour, unsigned minute,
                                unsigned second, const RWZone& zone);

    // True for the days that a moment can hold.
    static bool isInRange(const CalendarDate& date) {
        return date.julian() >= kFirstDay && date.julian() <= kLastDay;
    }

    Seconds seconds() const { return seconds_; }
    bool isValid() const { return seconds_ != 0; }

    // Local calendar day, hour and minute in `zone`; the invalid date and 0 for the invalid moment.
    CalendarDate date(const RWZone& zone = RWZone::localZone()) const;
    unsigned hour(const RWZone& zone = RWZone::localZone()) const;
    unsigned minute(const RWZone& zone = RWZone::localZone()) const;
    unsigned hourGMT() const { return seconds_ % 86400 / 3600; }
    unsigned minuteGMT() const { return seconds_ % 86400 % 3600 / 60; }
    unsigned second() const { return seconds_ % 86400 % 3600 % 60; }

    // The broken-down local time in `zone`, daylight flag 1 in daylight saving, else 0. The invalid
    // moment sets every field to INT_MIN.
    void extract(std::tm& t, const RWZone& zone = RWZone::localZone()) const;
    bool isDST(const RWZone& zone = RWZone::localZone()) const;

    // When daylight saving begins (ends) in a full year in `zone`; invalid when the zone keeps
    // none that year.
    static TimeStamp beginDST(unsigned year, const RWZone& zone = RWZone::localZone());
    static TimeStamp endDST(unsigned year, const RWZone& zone = RWZone::localZone());

    int compareTo(const TimeStamp& other) const;
    friend bool operator==(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ == b.seconds_; }
    friend bool operator!=(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ != b.seconds_; }
    friend bool operator<(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ < b.seconds_; }
    friend bool operator<=(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ <= b.seconds_; }
    friend bool operator>(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ > b.seconds_; }
    friend bool operator>=(const TimeStamp& a, const TimeStamp& b) { return a.seconds_ >= b.seconds_; }
    TimeStamp max(const TimeStamp& other) const { return *this < other ? other : *this; }
    TimeStamp min(const TimeStamp& other) const { return other < *this ? other : *this; }

    // Second arithmetic. A result outside 1..2^32-1 is the invalid moment, never a wrapped one;
    // the invalid moment stays invalid.
    TimeStamp operator+(long long seconds) const;
    TimeStamp operator-(long long seconds) const { return *this + (-seconds); }
    TimeStamp& operator+=(long long seconds) { return *this = *this + seconds; }
    TimeStamp& operator-=(long long seconds) { return *this = *this - seconds; }

private:
    Seconds seconds_ = 0;
};
