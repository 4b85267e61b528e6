#pragma once
// The daylight-saving rule records of the simple time zone: a TransitionRule names the day and
// minute of one change, a DaylightRule pairs a start and an end rule from a first year on, and the
// rules of one chain are linked from the newest to the oldest. The chains are static data.

#include <cstdint>
#include <ctime>

struct TransitionRule {
    std::int8_t month;     // 0-11
    std::int8_t week;      // 0 first, 1 second, 2 third, 3 fourth, 4 or more last;
                           // negative: `weekday` is a fixed day of the month
    std::int8_t weekday;   // 0 Sunday - 6 Saturday
    std::int16_t minute;   // minute of the day, local time, at which the change happens

    // Day of the month (1-31) of this change in a full year.
    int dayOfMonth(long year) const;
    // True when the broken-down time t (tm_year, tm_mon, tm_mday, tm_hour, tm_min) lies before
    // this change in t's own year.
    bool isAfter(const std::tm& t) const;
};

struct DaylightRule {
    const DaylightRule* next;  // rule for earlier years, or null
    std::int16_t firstYear;    // full year from which the rule applies
    std::uint8_t observes;     // 1 when daylight saving is kept under this rule
    TransitionRule start;
    TransitionRule end;

    // The rule of this chain for a full year: the first one, from this head on, whose first year is
    // not after `year`; null when the chain has none, which means no daylight saving that year.
    const DaylightRule* forYear(long year) const;

    // Chain 1 (North American rules of 1987 and before), chain 2 (European rules from 1998); null
    // for chain 0 and any other number.
    static const DaylightRule* chain(int number);
};
