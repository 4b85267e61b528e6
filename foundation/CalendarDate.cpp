// Julian day arithmetic of CalendarDate.

#include "foundation/CalendarDate.h"

#include <climits>

#include "foundation/RWLocale.h"
#include "platform/Time.h"

namespace {

constexpr unsigned kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr unsigned kDaysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

// The class library's day formula without the 19yy rule; 0 when the date does not exist, when the
// result does not fit 32 bits, or when converting back gives another year.
CalendarDate::JulianDay julianOf(unsigned m, unsigned d, long long y) {
    if (!CalendarDate::dayWithinMonth(m, d, y)) return 0;
    const long long fullYear = y;
    long long monthTerm = 153LL * m - 457;
    if (m < 3) {
        y -= 1;
        monthTerm += 1836;
    }
    const long long c = y / 100;
    const long long ya = y % 100;
    const long long j = d + monthTerm / 5 + (1461 * ya) / 4 + (146097 * c) / 4 + 1721119;
    if (j <= 0 || j > static_cast<long long>(UINT32_MAX)) return 0;
    unsigned bm = 0, bd = 0, by = 0;
    if (!CalendarDate::calendarOf(static_cast<CalendarDate::JulianDay>(j), bm, bd, by) ||
        by != fullYear)
        return 0;
    return static_cast<CalendarDate::JulianDay>(j);
}

}  // namespace

CalendarDate::CalendarDate(unsigned day, unsigned month, unsigned year)
    : day_(julianDay(month, day, year)) {}

CalendarDate::CalendarDate(unsigned dayOfYear, unsigned year) {
    long long j;
    if (year == 0) {
        j = static_cast<long long>(kFirstDay) + dayOfYear;
    } else {
        const JulianDay december = julianDay(12, 31, year - 1);
        j = december == 0 ? 0 : static_cast<long long>(december) + dayOfYear;
    }
    day_ = j > static_cast<long long>(UINT32_MAX) ? 0 : static_cast<JulianDay>(j);
}

CalendarDate::CalendarDate(unsigned day, const char* monthName, unsigned year, const RWLocale& locale)
    : day_(0) {
    const unsigned month = locale.monthIndex(monthName);
    if (month != 0) day_ = julianDay(month, day, year);
}

CalendarDate::CalendarDate(const std::tm& t) : day_(0) {
    if (t.tm_mday < 1 || t.tm_mon < 0 || t.tm_mon > 11) return;
    const long long year = static_cast<long long>(t.tm_year) + 1900;
    if (year < 0 || year > UINT_MAX) return;
    day_ = julianDay(static_cast<unsigned>(t.tm_mon) + 1, static_cast<unsigned>(t.tm_mday),
                     static_cast<unsigned>(year));
}

CalendarDate::CalendarDate(const RWCString& value, const RWLocale& locale) : day_(0) {
    std::tm t{};
    if (locale.stringToDate(value, t)) *this = CalendarDate(t);
}

CalendarDate CalendarDate::fromJulian(JulianDay day) {
    CalendarDate d;
    d.day_ = day;
    return d;
}

CalendarDate CalendarDate::today() {
    platform::LocalTime now;
    if (!platform::localTime(platform::currentTime(), now)) return CalendarDate();
    return CalendarDate(now.fields);
}

CalendarDate::JulianDay CalendarDate::julianDay(unsigned month, unsigned day, unsigned year) {
    long long y = year;
    if (y < 100) y += 1900;
    return julianOf(month, day, y);
}

bool CalendarDate::calendarOf(JulianDay j, unsigned& month, unsigned& dayOfMonth, unsigned& year) {
    month = dayOfMonth = year = 0;
    if (j == 0) return false;
    long long a = 4LL * j - 6884477;
    // Days before the formula's epoch (1 March 1600 less a little) would need floor division;
    // no valid date of the class library lies there.
    if (a < 0) return false;
    const long long n = a / 146097;
    a = (a % 146097) / 4 * 4 + 3;
    const long long b = ((a % 1461 + 4) / 4) * 5 - 3;
    long long m = b / 153;
    const long long d = (b % 153 + 5) / 5;
    long long y = 100 * n + a / 1461;
    if (m > 9) {
        m -= 9;
        y += 1;
    } else {
        m += 3;
    }
    month = static_cast<unsigned>(m);
    dayOfMonth = static_cast<unsigned>(d);
    year = static_cast<unsigned>(y);
    return true;
}

unsigned CalendarDate::dayOfMonth() const {
    unsigned m, d, y;
    calendarOf(day_, m, d, y);
    return d;
}

unsigned CalendarDate::month() const {
    unsigned m, d, y;
    calendarOf(day_, m, d, y);
    return m;
}

unsigned CalendarDate::year() const {
    unsigned m, d, y;
    calendarOf(day_, m, d, y);
    return y;
}

unsigned CalendarDate::dayOfYear() const {
    unsigned m, d, y;
    if (!calendarOf(day_, m, d, y)) return 0;
    return kDaysBefore[m - 1] + d + (m > 2 && isLeapYear(y) ? 1 : 0);
}

unsigned CalendarDate::weekday() const { return day_ == 0 ? 0 : day_ % 7 + 1; }

bool CalendarDate::isLeapYear() const { return day_ != 0 && isLeapYear(static_cast<long>(year())); }

unsigned CalendarDate::firstDayOfMonth(unsigned month) const {
    if (month < 1 || month > 12) return 0;
    return kDaysBefore[month - 1] + 1 + (month > 2 && isLeapYear() ? 1 : 0);
}

void CalendarDate::toTm(std::tm& t) const {
    unsigned m, d, y;
    if (!calendarOf(day_, m, d, y)) {
        t.tm_sec = t.tm_min = t.tm_hour = t.tm_mday = t.tm_mon = t.tm_year = INT_MIN;
        t.tm_wday = t.tm_yday = t.tm_isdst = INT_MIN;
        return;
    }
    t.tm_year = static_cast<int>(static_cast<long long>(y) - 1900);
    t.tm_mon = static_cast<int>(m) - 1;
    t.tm_mday = static_cast<int>(d);
    t.tm_wday = static_cast<int>(weekday() % 7);
    t.tm_yday = static_cast<int>(kDaysBefore[m - 1] + d - 1 + (m > 2 && isLeapYear(y) ? 1 : 0));
    t.tm_hour = t.tm_min = t.tm_sec = 0;
    t.tm_isdst = -1;
}

CalendarDate CalendarDate::next(unsigned wd) const {
    if (day_ == 0 || wd < 1 || wd > 7) return CalendarDate();
    return *this + static_cast<long long>((wd + 6 - weekday()) % 7 + 1);
}

CalendarDate CalendarDate::previous(unsigned wd) const {
    if (day_ == 0 || wd < 1 || wd > 7) return CalendarDate();
    return *this - static_cast<long long>((weekday() + 6 - wd) % 7 + 1);
}

CalendarDate CalendarDate::next(const char* weekdayName, const RWLocale& locale) const {
    return next(locale.weekdayIndex(weekdayName));
}

CalendarDate CalendarDate::previous(const char* weekdayName, const RWLocale& locale) const {
    return previous(locale.weekdayIndex(weekdayName));
}

RWCString CalendarDate::monthName(const RWLocale& locale) const {
    return locale.monthName(month());
}

RWCString CalendarDate::weekdayName(const RWLocale& locale) const {
    return locale.weekdayName(weekday());
}

int CalendarDate::compareTo(const CalendarDate& other) const {
    return day_ < other.day_ ? -1 : (day_ > other.day_ ? 1 : 0);
}

CalendarDate CalendarDate::operator+(long long days) const {
    if (day_ == 0) return CalendarDate();
    const long long j = static_cast<long long>(day_) + days;
    if (j <= 0 || j > static_cast<long long>(UINT32_MAX)) return CalendarDate();
    return fromJulian(static_cast<JulianDay>(j));
}

bool CalendarDate::isLeapYear(long year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned CalendarDate::daysInMonth(unsigned month, long year) {
    if (month < 1 || month > 12) return 0;
    return kDaysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

unsigned CalendarDate::daysInYear(long year) { return isLeapYear(year) ? 366 : 365; }

bool CalendarDate::dayWithinMonth(unsigned month, unsigned day, long year) {
    return day >= 1 && day <= daysInMonth(month, year);
}

RWCString CalendarDate::nameOfMonth(unsigned month, const RWLocale& locale) {
    return locale.monthName(month);
}

RWCString CalendarDate::nameOfWeekday(unsigned weekday, const RWLocale& locale) {
    return locale.weekdayName(weekday);
}
