// Rule data of the two daylight-saving chains and the day arithmetic of a transition rule.

#include "foundation/DaylightRule.h"

#include "foundation/CalendarDate.h"

namespace {

// Weekday (0 Sunday) of a proleptic Gregorian date, valid for every year the tm fields can hold.
int weekdayOf(long year, int month, int day) {
    const long y = month <= 2 ? year - 1 : year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = era * 146097 + doe - 719468;  // days since 1970-01-01, a Thursday
    const long w = (days + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

constexpr TransitionRule rule(int month, int week, int weekday, int minute) {
    return TransitionRule{static_cast<std::int8_t>(month), static_cast<std::int8_t>(week),
                          static_cast<std::int8_t>(weekday), static_cast<std::int16_t>(minute)};
}

constexpr int kJan = 0, kFeb = 1, kMar = 2, kApr = 3, kOct = 9;
constexpr int kFirst = 0, kLast = 4, kSunday = 0;

// Chain 1, newest first; the rule of year 0 covers every earlier year.
constexpr DaylightRule kUs0{nullptr, 0, 1, rule(kApr, kLast, kSunday, 120), rule(kOct, kLast, kSunday, 120)};
constexpr DaylightRule kUs1967{&kUs0, 1967, 1, rule(kApr, kFirst, kSunday, 120), rule(kOct, kLast, kSunday, 120)};
constexpr DaylightRule kUs1974{&kUs1967, 1974, 1, rule(kJan, kFirst, kSunday, 120), rule(kOct, kLast, kSunday, 120)};
constexpr DaylightRule kUs1975{&kUs1974, 1975, 1, rule(kFeb, kLast, kSunday, 120), rule(kOct, kLast, kSunday, 120)};
constexpr DaylightRule kUs1976{&kUs1975, 1976, 1, rule(kApr, kLast, kSunday, 120), rule(kOct, kLast, kSunday, 120)};
constexpr DaylightRule kUs1987{&kUs1976, 1987, 1, rule(kApr, kFirst, kSunday, 120), rule(kOct, kLast, kSunday, 120)};

// Chain 2: no rule before 1998, so no daylight saving in those years.
constexpr DaylightRule kEu1998{nullptr, 1998, 1, rule(kMar, kLast, kSunday, 60), rule(kOct, kLast, kSunday, 60)};

}  // namespace

int TransitionRule::dayOfMonth(long year) const {
    if (week < 0) return weekday;
    const int firstWeekday = weekdayOf(year, month + 1, 1);
    if (week < 4) return week * 7 + (weekday + 1 - firstWeekday + 6) % 7 + 1;
    const int n = CalendarDate::daysInMonth(month + 1, year);
    return n - (firstWeekday + n - 1 - weekday + 7) % 7;
}

bool TransitionRule::isAfter(const std::tm& t) const {
    if (t.tm_mon != month) return t.tm_mon < month;
    const int day = dayOfMonth(static_cast<long>(t.tm_year) + 1900);
    if (t.tm_mday != day) return t.tm_mday < day;
    return static_cast<long>(t.tm_hour) * 60 + t.tm_min < minute;
}

const DaylightRule* DaylightRule::forYear(long year) const {
    const DaylightRule* r = this;
    while (r != nullptr && r->firstYear > year) r = r->next;
    return r;
}

const DaylightRule* DaylightRule::chain(int number) {
    switch (number) {
        case 1: return &kUs1987;
        case 2: return &kEu1998;
        default: return nullptr;
    }
}
