// TimeStamp in fixed zones, checked against std::chrono, and its 32-bit limits.

#include "foundation/TimeStamp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <random>

#include "foundation/RWLocale.h"
#include "foundation/RWZoneSimple.h"
#include "foundation/testing/GmtMoment.h"

namespace {

using namespace std::chrono;

using foundationtesting::gmtMoment;
using foundationtesting::unixOf;

TEST(TimeStamp, EpochAndInvalid) {
    const RWZone& gmt = RWZone::gmtZone();
    // 00:00:00 GMT on the first day is moment 0, which is also the invalid value.
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(1, 1, 1901), 0, 0, 0, gmt), 0u);
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(1, 1, 1901), 0, 0, 1, gmt), 1u);
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(), 1, 0, 0, gmt), 0u);
    // The day before the first is allowed when the zone's offset brings the moment forward.
    const RWZoneSimple west(3600, RWCString("W1"));
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(31, 12, 1900), 23, 30, 0, west), 1800u);
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(31, 12, 1900), 23, 30, 0, gmt), 0u);
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(30, 12, 1900), 23, 30, 0, west), 0u);

    std::tm t{};
    TimeStamp().extract(t, gmt);
    EXPECT_EQ(t.tm_year, INT_MIN);
    EXPECT_EQ(t.tm_isdst, INT_MIN);
    EXPECT_FALSE(TimeStamp().date(gmt).isValid());
    EXPECT_FALSE(TimeStamp().isDST(gmt));
}

TEST(TimeStamp, ExtractAgreesWithStdChrono) {
    // Random moments over the whole range, in GMT and in a zone east and one west of it.
    const RWZoneSimple east(-2 * 3600 - 1800, RWCString("E"));
    const RWZoneSimple west(9 * 3600, RWCString("W"));
    const RWZone* zones[] = {&RWZone::gmtZone(), &east, &west};
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const TimeStamp::Seconds s = static_cast<TimeStamp::Seconds>(rng() % UINT32_MAX) + 1;
        for (const RWZone* zone : zones) {
            const TimeStamp ts = TimeStamp::fromSeconds(s);
            const sys_seconds local{seconds{static_cast<std::int64_t>(s) - TimeStamp::kUnixEpochOffset -
                                            zone->standardOffset()}};
            const sys_days day = floor<days>(local);
            const year_month_day ymd(day);
            const hh_mm_ss<seconds> tod(local - day);
            std::tm t{};
            ts.extract(t, *zone);
            ASSERT_EQ(t.tm_year + 1900, static_cast<int>(ymd.year())) << s;
            ASSERT_EQ(t.tm_mon + 1, static_cast<int>(static_cast<unsigned>(ymd.month())));
            ASSERT_EQ(t.tm_mday, static_cast<int>(static_cast<unsigned>(ymd.day())));
            ASSERT_EQ(t.tm_hour, tod.hours().count());
            ASSERT_EQ(t.tm_min, tod.minutes().count());
            ASSERT_EQ(t.tm_sec, tod.seconds().count());
            ASSERT_EQ(t.tm_wday, static_cast<int>(weekday(day).c_encoding()));
            ASSERT_EQ(t.tm_isdst, 0);
            // Building the same local time again gives the same moment.
            ASSERT_EQ(TimeStamp(t, *zone).seconds(), s);
        }
    }
}

TEST(TimeStamp, GmtFields) {
    const TimeStamp t = gmtMoment(1998, 10, 25, 6, 7, 8);
    EXPECT_EQ(t.hourGMT(), 6u);
    EXPECT_EQ(t.minuteGMT(), 7u);
    EXPECT_EQ(t.second(), 8u);
    EXPECT_EQ(t.date(RWZone::gmtZone()), CalendarDate(25, 10, 1998));
    EXPECT_EQ(t.hour(RWZone::gmtZone()), 6u);
    const RWZoneSimple est(5 * 3600, RWCString("EST"));
    EXPECT_EQ(t.hour(est), 1u);
    EXPECT_EQ(t.minute(est), 7u);
    EXPECT_EQ(gmtMoment(1998, 10, 25, 3).date(est), CalendarDate(24, 10, 1998));
}

TEST(TimeStamp, ThirtyTwoBitLimitIsRefusedNotWrapped) {
    // 2^32 - 1 seconds after 1901 is 2037-02-06 06:28:15 GMT; one more second would read as 1901.
    const std::int64_t lastUnix = unixOf(2037, 2, 6, 6, 28, 15);
    ASSERT_EQ(lastUnix + TimeStamp::kUnixEpochOffset, static_cast<std::int64_t>(UINT32_MAX));
    EXPECT_EQ(TimeStamp::fromUnixTime(lastUnix).seconds(), UINT32_MAX);
    EXPECT_EQ(TimeStamp::fromUnixTime(lastUnix).date(RWZone::gmtZone()), CalendarDate(6, 2, 2037));
    EXPECT_FALSE(TimeStamp::fromUnixTime(lastUnix + 1).isValid());
    EXPECT_FALSE(TimeStamp::fromUnixTime(unixOf(2100, 1, 1)).isValid());
    EXPECT_FALSE(TimeStamp::fromUnixTime(-TimeStamp::kUnixEpochOffset).isValid());
    EXPECT_EQ(TimeStamp::fromUnixTime(0).date(RWZone::gmtZone()), CalendarDate(1, 1, 1970));

    const RWZone& gmt = RWZone::gmtZone();
    const CalendarDate lastWholeDay = CalendarDate::fromJulian(TimeStamp::kLastDay);
    EXPECT_EQ(lastWholeDay, CalendarDate(5, 2, 2037));
    EXPECT_TRUE(TimeStamp::isInRange(lastWholeDay));
    EXPECT_FALSE(TimeStamp::isInRange(lastWholeDay + 1));
    EXPECT_NE(TimeStamp::buildSeconds(lastWholeDay, 23, 59, 59, gmt), 0u);
    EXPECT_EQ(TimeStamp::buildSeconds(lastWholeDay + 1, 6, 28, 15, gmt), UINT32_MAX);
    EXPECT_EQ(TimeStamp::buildSeconds(lastWholeDay + 1, 6, 28, 16, gmt), 0u);
    EXPECT_EQ(TimeStamp::buildSeconds(CalendarDate(1, 1, 2100), 0, 0, 0, gmt), 0u);

    // Arithmetic saturates to invalid at both ends.
    EXPECT_FALSE((TimeStamp::fromSeconds(UINT32_MAX) + 1).isValid());
    EXPECT_FALSE((TimeStamp::fromSeconds(10) - 10).isValid());
    EXPECT_EQ((TimeStamp::fromSeconds(10) + 5).seconds(), 15u);
    TimeStamp t = TimeStamp::fromSeconds(100);
    t -= 40;
    EXPECT_EQ(t.seconds(), 60u);

    // The clock now is either a right moment or refused, never a wrapped one.
    const TimeStamp now = TimeStamp::now();
    if (now.isValid()) {
        EXPECT_GE(now.date(gmt).year(), 2026u);
    }
}

TEST(TimeStamp, ComparisonAndLocaleText) {
    const TimeStamp a = TimeStamp::fromSeconds(5), b = TimeStamp::fromSeconds(UINT32_MAX);
    EXPECT_EQ(a.compareTo(b), -1);  // unsigned: the large moment is later
    EXPECT_EQ(b.compareTo(a), 1);
    EXPECT_EQ(a.compareTo(a), 0);
    EXPECT_EQ(a.max(b), b);
    EXPECT_EQ(a.min(b), a);

    const RWZone& gmt = RWZone::gmtZone();
    const CalendarDate d(25, 10, 1998);
    EXPECT_EQ(TimeStamp(d, RWCString("06:07:08"), gmt, RWLocale::defaultLocale()), gmtMoment(1998, 10, 25, 6, 7, 8));
    EXPECT_EQ(TimeStamp(d, RWCString("06:07"), gmt, RWLocale::defaultLocale()), gmtMoment(1998, 10, 25, 6, 7));
    EXPECT_FALSE(TimeStamp(d, RWCString("24:00"), gmt, RWLocale::defaultLocale()).isValid());
    EXPECT_FALSE(TimeStamp(d, RWCString("6h"), gmt, RWLocale::defaultLocale()).isValid());
    EXPECT_FALSE(TimeStamp(CalendarDate(), RWCString("06:07"), gmt, RWLocale::defaultLocale()).isValid());
}

}  // namespace
