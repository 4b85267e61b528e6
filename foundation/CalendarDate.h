#pragma once
// CalendarDate: a day held as its Julian day number (unsigned 32 bits, 0 meaning invalid), with the
// Gregorian calendar arithmetic of the class library. A plain value; names of months and weekdays
// come from an RWLocale that the caller passes and keeps.

#include <cstdint>
#include <ctime>

#include "foundation/RWCString.h"

class RWLocale;

class CalendarDate {
public:
    using JulianDay = std::uint32_t;

    static constexpr JulianDay kFirstDay = 2415386;  // 1901-01-01

    // The invalid date.
    CalendarDate() = default;
    // day 1-31, month 1-12; a year below 100 means 19yy. Invalid (0) unless the date exists.
    CalendarDate(unsigned day, unsigned month, unsigned year);
    // The dayOfYear-th day after 31 December of the year before (0 when that is invalid); year 0
    // counts from 1901-01-01 (the day 2415386 + dayOfYear).
    CalendarDate(unsigned dayOfYear, unsigned year);
    // A month named in the locale's language; invalid when the locale does not know the name.
    CalendarDate(unsigned day, const char* monthName, unsigned year, const RWLocale& locale);
    // From tm_mday, tm_mon + 1 and tm_year + 1900.
    explicit CalendarDate(const std::tm& t);
    // A date written as text, read by the locale; invalid when it cannot be read.
    CalendarDate(const RWCString& value, const RWLocale& locale);

    static CalendarDate fromJulian(JulianDay day);
    // The local calendar day now; invalid when the clock lies outside what the C library handles.
    static CalendarDate today();

    JulianDay julian() const { return day_; }
    bool isValid() const { return day_ != 0; }

    // Calendar fields; 0 for the invalid date.
    unsigned dayOfMonth() const;
    unsigned month() const;
    unsigned year() const;
    unsigned dayOfYear() const;        // 1-366
    unsigned weekday() const;          // 1 Monday ... 7 Sunday
    bool isLeapYear() const;
    // 1-based day of the year on which `month` (1-12) begins in this date's year; 0 outside 1-12.
    unsigned firstDayOfMonth(unsigned month) const;

    // Year, month, day, weekday, day of year; time 0, daylight flag -1. The invalid date sets every
    // field to INT_MIN.
    void toTm(std::tm& t) const;

    // First date strictly after (before) this one on weekday 1 Monday ... 7 Sunday; invalid for
    // the invalid date or a weekday outside 1-7.
    CalendarDate next(unsigned weekday) const;
    CalendarDate previous(unsigned weekday) const;
    CalendarDate next(const char* weekdayName, const RWLocale& locale) const;
    CalendarDate previous(const char* weekdayName, const RWLocale& locale) const;

    RWCString monthName(const RWLocale& locale) const;
    RWCString weekdayName(const RWLocale& locale) const;

    // Three-way comparison of the day numbers: -1, 0 or 1.
    int compareTo(const CalendarDate& other) const;
    friend bool operator==(const CalendarDate& a, const CalendarDate& b) { return a.day_ == b.day_; }
    friend bool operator!=(const CalendarDate& a, const CalendarDate& b) { return a.day_ != b.day_; }
    friend bool operator<(const CalendarDate& a, const CalendarDate& b) { return a.day_ < b.day_; }
    friend bool operator<=(const CalendarDate& a, const CalendarDate& b) { return a.day_ <= b.day_; }
    friend bool operator>(const CalendarDate& a, const CalendarDate& b) { return a.day_ > b.day_; }
    friend bool operator>=(const CalendarDate& a, const CalendarDate& b) { return a.day_ >= b.day_; }
    CalendarDate max(const CalendarDate& other) const { return *this < other ? other : *this; }
    CalendarDate min(const CalendarDate& other) const { return other < *this ? other : *this; }

    // Day arithmetic. A result outside 1..2^32-1 is the invalid date, never a wrapped day; the
    // invalid date stays invalid.
    friend long long operator-(const CalendarDate& a, const CalendarDate& b) {
        return static_cast<long long>(a.day_) - static_cast<long long>(b.day_);
    }
    CalendarDate operator+(long long days) const;
    CalendarDate operator-(long long days) const { return *this + (-days); }
    CalendarDate& operator+=(long long days) { return *this = *this + days; }
    CalendarDate& operator-=(long long days) { return *this = *this - days; }
    CalendarDate& operator++() { return *this += 1; }
    CalendarDate& operator--() { return *this -= 1; }

    // Calendar tables; months 1-12, full years (no 19yy rule here).
    static bool isLeapYear(long year);
    static unsigned daysInMonth(unsigned month, long year);  // 0 outside 1-12
    static unsigned daysInYear(long year);                   // 365 or 366
    static bool dayWithinMonth(unsigned month, unsigned day, long year);
    static RWCString nameOfMonth(unsigned month, const RWLocale& locale);
    static RWCString nameOfWeekday(unsigned weekday, const RWLocale& locale);  // 1 Monday

    // Day number of (month, day, year) by the class library's formula; a year below 100 means
    // 19yy; 0 for a date that does not exist or lies outside 32 bits.
    static JulianDay julianDay(unsigned month, unsigned day, unsigned year);
    // Back to the calendar; false (fields 0) for day 0.
    static bool calendarOf(JulianDay day, unsigned& month, unsigned& dayOfMonth, unsigned& year);

private:
    JulianDay day_ = 0;
};
