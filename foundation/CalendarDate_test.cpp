// CalendarDate against std::chrono's civil calendar, and its validity and weekday rules.

#include "foundation/CalendarDate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "foundation/RWLocale.h"

namespace {

using namespace std::chrono;

TEST(CalendarDate, EveryDayFrom1901To2037MatchesStdChrono) {
    const sys_days first = year{1901} / January / 1;
    const sys_days last = year{2037} / December / 31;
    for (sys_days d = first; d <= last; d += days{1}) {
        const year_month_day ymd(d);
        const unsigned y = static_cast<unsigned>(static_cast<int>(ymd.year()));
        const unsigned m = static_cast<unsigned>(ymd.month());
        const unsigned dd = static_cast<unsigned>(ymd.day());
        const CalendarDate date(dd, m, y);
        const auto expectedDay = static_cast<CalendarDate::JulianDay>(2415386 + (d - first).count());
        ASSERT_EQ(date.julian(), expectedDay) << y << "-" << m << "-" << dd;

        const CalendarDate back = CalendarDate::fromJulian(expectedDay);
        ASSERT_EQ(back.year(), y);
        ASSERT_EQ(back.month(), m);
        ASSERT_EQ(back.dayOfMonth(), dd);
        // 1 Monday ... 7 Sunday is ISO's encoding.
        ASSERT_EQ(back.weekday(), weekday(d).iso_encoding());
        const auto yearStart = sys_days(ymd.year() / January / 1);
        ASSERT_EQ(back.dayOfYear(), static_cast<unsigned>((d - yearStart).count() + 1));

        std::tm t{};
        back.toTm(t);
        ASSERT_EQ(t.tm_year, static_cast<int>(y) - 1900);
        ASSERT_EQ(t.tm_mon, static_cast<int>(m) - 1);
        ASSERT_EQ(t.tm_mday, static_cast<int>(dd));
        ASSERT_EQ(t.tm_wday, static_cast<int>(weekday(d).c_encoding()));
        ASSERT_EQ(t.tm_yday, (d - yearStart).count());
        ASSERT_EQ(t.tm_isdst, -1);
        ASSERT_EQ(CalendarDate(t), back);
    }
}

TEST(CalendarDate, FirstDayOfTheEpoch) {
    const CalendarDate first(1, 1, 1901);
    EXPECT_EQ(first.julian(), 2415386u);
    EXPECT_EQ(first.weekday(), 2u);  // Tuesday
    EXPECT_EQ(CalendarDate(0, 0).julian(), 2415386u);
    EXPECT_EQ(CalendarDate(365, 0), CalendarDate(1, 1, 1902));
}

struct ValidityCase {
    unsigned day, month, year;
    bool valid;
    unsigned fullYear;  // the year read back when valid
};

TEST(CalendarDate, Validity) {
    const ValidityCase cases[] = {
        {30, 2, 1999, false, 0},   {29, 2, 1999, false, 0},   {28, 2, 1999, true, 1999},
        {29, 2, 1900, false, 0},   {29, 2, 2000, true, 2000}, {29, 2, 1996, true, 1996},
        {29, 2, 2100, false, 0},   {1, 0, 1999, false, 0},    {1, 13, 1999, false, 0},
        {0, 1, 1999, false, 0},    {32, 1, 1999, false, 0},   {31, 4, 1999, false, 0},
        {30, 4, 1999, true, 1999}, {31, 12, 99, true, 1999},  {1, 1, 0, true, 1900},
        {29, 2, 0, false, 0},      {1, 1, 100, true, 100},    // 100 and above are taken as written
        {1, 1, 4000000000u, false, 0},                         // beyond 32-bit day numbers
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.day) + "." + std::to_string(c.month) + "." + std::to_string(c.year));
        const CalendarDate d(c.day, c.month, c.year);
        EXPECT_EQ(d.isValid(), c.valid);
        EXPECT_EQ(CalendarDate::dayWithinMonth(c.month, c.day, c.year < 100 ? c.year + 1900 : c.year),
                  c.valid || c.year == 4000000000u);
        if (c.valid) {
            EXPECT_EQ(d.year(), c.fullYear);
        }
    }
}

TEST(CalendarDate, DayOfYearConstructor) {
    EXPECT_EQ(CalendarDate(1, 1999), CalendarDate(1, 1, 1999));
    EXPECT_EQ(CalendarDate(60, 2000), CalendarDate(29, 2, 2000));
    EXPECT_EQ(CalendarDate(60, 1999), CalendarDate(1, 3, 1999));
    EXPECT_EQ(CalendarDate(0, 1999), CalendarDate(31, 12, 1998));
    EXPECT_EQ(CalendarDate(1, 99), CalendarDate(1, 1, 1999));
}

TEST(CalendarDate, NextAndPrevious) {
    const CalendarDate thu(10, 12, 2026);  // a Thursday
    ASSERT_EQ(thu.weekday(), 4u);
    EXPECT_EQ(thu.next(4), thu + 7);       // the same weekday moves a full week
    EXPECT_EQ(thu.previous(4), thu - 7);
    EXPECT_EQ(thu.next(5), thu + 1);
    EXPECT_EQ(thu.next(3), thu + 6);
    EXPECT_EQ(thu.previous(3), thu - 1);
    EXPECT_EQ(thu.previous(5), thu - 6);
    EXPECT_EQ(thu.next(7), CalendarDate(13, 12, 2026));
    EXPECT_FALSE(thu.next(0).isValid());
    EXPECT_FALSE(thu.next(8).isValid());
    EXPECT_FALSE(CalendarDate().next(1).isValid());
    EXPECT_EQ(thu.next("sunday", RWLocale::defaultLocale()), CalendarDate(13, 12, 2026));
    EXPECT_EQ(thu.previous("Mon", RWLocale::defaultLocale()), CalendarDate(7, 12, 2026));
}

TEST(CalendarDate, ArithmeticNeverWraps) {
    const CalendarDate d(31, 12, 1999);
    EXPECT_EQ(d + 1, CalendarDate(1, 1, 2000));
    EXPECT_EQ(CalendarDate(1, 3, 2000) - CalendarDate(1, 2, 2000), 29);
    CalendarDate e = d;
    ++e;
    --e;
    EXPECT_EQ(e, d);
    EXPECT_FALSE((CalendarDate::fromJulian(UINT32_MAX) + 1).isValid());
    EXPECT_FALSE((CalendarDate::fromJulian(5) - 5).isValid());
    EXPECT_FALSE((CalendarDate() + 10).isValid());
    EXPECT_EQ(d.compareTo(d + 1), -1);
    EXPECT_EQ((d + 1).compareTo(d), 1);
    EXPECT_EQ(d.compareTo(d), 0);
    EXPECT_EQ(d.max(d + 3), d + 3);
    EXPECT_EQ(d.min(d + 3), d);
}

TEST(CalendarDate, InvalidDateBreaksDownToIntMin) {
    std::tm t{};
    CalendarDate().toTm(t);
    for (int field : {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday,
                      t.tm_yday, t.tm_isdst})
        EXPECT_EQ(field, INT_MIN);
    EXPECT_EQ(CalendarDate().year(), 0u);
    EXPECT_EQ(CalendarDate().weekday(), 0u);
}

TEST(CalendarDate, MonthTables) {
    EXPECT_EQ(CalendarDate::daysInMonth(2, 2000), 29u);
    EXPECT_EQ(CalendarDate::daysInMonth(2, 1900), 28u);
    EXPECT_EQ(CalendarDate::daysInMonth(13, 2000), 0u);
    EXPECT_EQ(CalendarDate::daysInYear(2000), 366u);
    EXPECT_EQ(CalendarDate::daysInYear(1900), 365u);
    EXPECT_EQ(CalendarDate(1, 1, 2000).firstDayOfMonth(3), 61u);
    EXPECT_EQ(CalendarDate(1, 1, 1999).firstDayOfMonth(3), 60u);
    EXPECT_EQ(CalendarDate(1, 1, 1999).firstDayOfMonth(1), 1u);
    EXPECT_EQ(CalendarDate(1, 1, 1999).firstDayOfMonth(0), 0u);
}

TEST(CalendarDate, LocaleNamesAndText) {
    const RWLocale& en = RWLocale::defaultLocale();
    EXPECT_EQ(CalendarDate(5, "march", 1998, en), CalendarDate(5, 3, 1998));
    EXPECT_EQ(CalendarDate(5, "Mar", 1998, en), CalendarDate(5, 3, 1998));
    EXPECT_FALSE(CalendarDate(5, "Marzo", 1998, en).isValid());
    EXPECT_FALSE(CalendarDate(5, nullptr, 1998, en).isValid());
    EXPECT_EQ(CalendarDate(5, 3, 1998).monthName(en), "March");
    EXPECT_EQ(CalendarDate(1, 1, 1901).weekdayName(en), "Tuesday");
    EXPECT_EQ(CalendarDate::nameOfMonth(13, en), "");

    struct TextCase {
        const char* text;
        CalendarDate expected;
    };
    const TextCase cases[] = {
        {"1998-03-05", CalendarDate(5, 3, 1998)}, {" 05.03.1998 ", CalendarDate(5, 3, 1998)},
        {"03/05/1998", CalendarDate(5, 3, 1998)}, {"5 March 1998", CalendarDate(5, 3, 1998)},
        {"31.02.1998", CalendarDate()},           {"1998-3", CalendarDate()},
        {"", CalendarDate()},                     {"5 Foo 1998", CalendarDate()},
    };
    for (const auto& c : cases) EXPECT_EQ(CalendarDate(RWCString(c.text), en), c.expected) << c.text;
}

}  // namespace
