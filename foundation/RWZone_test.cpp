// Zones built from rule chains (the changes of a year, the skipped and the repeated hour), the
// zone-name table, and the local zone against the C library.

#include "foundation/RWZone.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "foundation/RWThrow.h"
#include "foundation/RWZoneLocal.h"
#include "foundation/RWZoneSimple.h"
#include "foundation/TimeStamp.h"
#include "foundation/testing/GmtMoment.h"
#include "platform/Time.h"
#include "platform/testing/ScopedEnv.h"

namespace {

using namespace std::chrono;

using foundationtesting::gmtMoment;
using foundationtesting::unixOf;

struct Local {
    int y;
    unsigned m, d;
    int hh, mm, isdst;
};

Local localOf(const TimeStamp& t, const RWZone& zone) {
    std::tm tm{};
    t.extract(tm, zone);
    return {tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1), static_cast<unsigned>(tm.tm_mday),
            tm.tm_hour, tm.tm_min, tm.tm_isdst};
}

bool operator==(const Local& a, const Local& b) {
    return a.y == b.y && a.m == b.m && a.d == b.d && a.hh == b.hh && a.mm == b.mm && a.isdst == b.isdst;
}

std::ostream& operator<<(std::ostream& os, const Local& l) {
    return os << l.y << "-" << l.m << "-" << l.d << " " << l.hh << ":" << l.mm << " dst " << l.isdst;
}

TEST(RWZoneSimple, ZoneNameTable) {
    struct Case {
        int hours;
        const char* standard;
        const char* daylight;
    };
    const Case cases[] = {{-12, "GMT+12", "GMT+11"}, {-3, "GMT+3", "GMT+2"}, {-2, "EET", "EET DST"},
                          {-1, "MET", "MET DST"},    {0, "GMT", "WET DST"},  {1, "GMT-1", "GMT-2"},
                          {4, "GMT-4", "GMT-5"},     {5, "EST", "EDT"},      {6, "CST", "CDT"},
                          {7, "MST", "MDT"},         {8, "PST", "PDT"},      {9, "YST", "YDT"},
                          {10, "GMT-10", "GMT-11"},  {11, "GMT-11", "GMT-12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hours);
        const RWZoneSimple withRules(c.hours, RWZoneSimple::NorthAmericanRules);
        EXPECT_EQ(withRules.standardZoneName(), c.standard);
        EXPECT_EQ(withRules.daylightZoneName(), c.daylight);
        EXPECT_EQ(withRules.standardOffset(), c.hours * 3600);
        EXPECT_EQ(withRules.daylightOffset(), (c.hours - 1) * 3600);
        EXPECT_TRUE(withRules.observesDaylight());
        const RWZoneSimple plain(c.hours, RWZoneSimple::NoRules);
        EXPECT_EQ(plain.daylightZoneName(), c.standard);
        EXPECT_EQ(plain.daylightOffset(), c.hours * 3600);
        EXPECT_FALSE(plain.observesDaylight());
    }
    // The table covers -12..11 only; other hours are refused rather than read past its end.
    for (int hours : {12, -13, 24, INT_MIN}) {
        EXPECT_THROW(RWZoneSimple(hours, RWZoneSimple::NoRules), RWInternalErr) << hours;
    }
    const RWZoneSimple gmt = static_cast<const RWZoneSimple&>(RWZone::gmtZone());
    EXPECT_EQ(gmt.standardZoneName(), "GMT");
    EXPECT_EQ(gmt.standardOffset(), 0);
    EXPECT_FALSE(gmt.observesDaylight());
}

TEST(RWZoneSimple, ChangeDatesOfChainOne) {
    const RWZoneSimple est(5, RWZoneSimple::NorthAmericanRules);
    struct Case {
        unsigned year;
        TimeStamp begin, end;
    };
    const Case cases[] = {
        {1998, gmtMoment(1998, 4, 5, 7), gmtMoment(1998, 10, 25, 6)},   // first Sunday of April
        {1987, gmtMoment(1987, 4, 5, 7), gmtMoment(1987, 10, 25, 6)},
        {1986, gmtMoment(1986, 4, 27, 7), gmtMoment(1986, 10, 26, 6)},  // last Sunday of April
        {1975, gmtMoment(1975, 2, 23, 7), gmtMoment(1975, 10, 26, 6)},  // last Sunday of February
        {1974, gmtMoment(1974, 1, 6, 7), gmtMoment(1974, 10, 27, 6)},
        {1967, gmtMoment(1967, 4, 2, 7), gmtMoment(1967, 10, 29, 6)},
        {1950, gmtMoment(1950, 4, 30, 7), gmtMoment(1950, 10, 29, 6)},  // the rule of year 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(TimeStamp::beginDST(c.year, est), c.begin);
        EXPECT_EQ(TimeStamp::endDST(c.year, est), c.end);
        EXPECT_FALSE((c.begin - 1).isDST(est));
        EXPECT_TRUE(c.begin.isDST(est));
        EXPECT_TRUE((c.end - 1).isDST(est));
        EXPECT_FALSE(c.end.isDST(est));
    }
    std::tm t{};
    t.tm_year = 98;
    est.daylightStart(t);
    EXPECT_EQ(t.tm_mon, 3);
    EXPECT_EQ(t.tm_mday, 5);
    EXPECT_EQ(t.tm_wday, 0);
    EXPECT_EQ(t.tm_hour, 2);
    EXPECT_EQ(t.tm_min, 0);
    EXPECT_EQ(t.tm_isdst, -1);
}

TEST(RWZoneSimple, SkippedAndRepeatedHour) {
    const RWZoneSimple est(5, RWZoneSimple::NorthAmericanRules);
    const CalendarDate spring(5, 4, 1998), autumn(25, 10, 1998);
    // 02:00-03:00 on the spring day does not exist on the clock.
    EXPECT_EQ(TimeStamp(spring, 1, 59, 0, est), gmtMoment(1998, 4, 5, 6, 59));
    EXPECT_FALSE(TimeStamp(spring, 2, 0, 0, est).isValid());
    EXPECT_FALSE(TimeStamp(spring, 2, 30, 0, est).isValid());
    EXPECT_FALSE(TimeStamp(spring, 2, 59, 59, est).isValid());
    EXPECT_EQ(TimeStamp(spring, 3, 0, 0, est), gmtMoment(1998, 4, 5, 7));
    EXPECT_EQ(TimeStamp(spring, 3, 30, 0, est), gmtMoment(1998, 4, 5, 7, 30));

    // 01:00-02:00 on the autumn day comes twice: first in daylight time, then in standard time.
    EXPECT_EQ(localOf(gmtMoment(1998, 10, 25, 5, 30), est), (Local{1998, 10, 25, 1, 30, 1}));
    EXPECT_EQ(localOf(gmtMoment(1998, 10, 25, 5, 59), est), (Local{1998, 10, 25, 1, 59, 1}));
    EXPECT_EQ(localOf(gmtMoment(1998, 10, 25, 6, 0), est), (Local{1998, 10, 25, 1, 0, 0}));
    EXPECT_EQ(localOf(gmtMoment(1998, 10, 25, 6, 30), est), (Local{1998, 10, 25, 1, 30, 0}));
    EXPECT_EQ(localOf(gmtMoment(1998, 10, 25, 7, 0), est), (Local{1998, 10, 25, 2, 0, 0}));
    // Building a repeated time reads it as daylight time.
    EXPECT_EQ(TimeStamp(autumn, 1, 30, 0, est), gmtMoment(1998, 10, 25, 5, 30));
    EXPECT_EQ(TimeStamp(autumn, 2, 30, 0, est), gmtMoment(1998, 10, 25, 7, 30));
    EXPECT_EQ(localOf(gmtMoment(1998, 7, 1, 16), est), (Local{1998, 7, 1, 12, 0, 1}));
    EXPECT_EQ(localOf(gmtMoment(1998, 1, 1, 17), est), (Local{1998, 1, 1, 12, 0, 0}));
}

TEST(RWZoneSimple, ChainWithoutRuleForTheYearKeepsNoDaylight) {
    // Chain 2 begins in 1998: earlier years have no rule, hence no daylight saving.
    const RWZoneSimple met(-1, RWZoneSimple::EuropeanRules);
    EXPECT_FALSE(gmtMoment(1997, 7, 1, 12).isDST(met));
    EXPECT_EQ(localOf(gmtMoment(1997, 7, 1, 12), met), (Local{1997, 7, 1, 13, 0, 0}));
    EXPECT_FALSE(TimeStamp::beginDST(1997, met).isValid());
    EXPECT_FALSE(TimeStamp::endDST(1997, met).isValid());
    std::tm t{};
    t.tm_year = 97;
    met.daylightEnd(t);
    EXPECT_EQ(t.tm_mday, INT_MIN);
    EXPECT_EQ(t.tm_isdst, INT_MIN);

    EXPECT_TRUE(gmtMoment(1998, 7, 1, 12).isDST(met));
    EXPECT_EQ(localOf(gmtMoment(1998, 7, 1, 12), met), (Local{1998, 7, 1, 14, 0, 1}));
    // Last Sunday of March at 01:00 standard time, last Sunday of October at 01:00 daylight time.
    EXPECT_EQ(TimeStamp::beginDST(1998, met), gmtMoment(1998, 3, 29, 0));
    EXPECT_EQ(TimeStamp::endDST(1998, met), gmtMoment(1998, 10, 24, 23));

    // A chain whose start falls after its end in the year (southern hemisphere).
    static const DaylightRule south{nullptr, 0, 1, {9, 0, 0, 120}, {2, 4, 0, 180}};
    const RWZoneSimple zone(&south, -10 * 3600, RWCString("S"), -11 * 3600, RWCString("SD"));
    EXPECT_TRUE(gmtMoment(1999, 1, 15).isDST(zone));
    EXPECT_FALSE(gmtMoment(1999, 6, 15).isDST(zone));
    EXPECT_TRUE(gmtMoment(1999, 12, 15).isDST(zone));
}

// The local zone follows the C library; TZ is a POSIX rule string, so no zone database is needed.
TEST(RWZoneLocal, FollowsTheCLibraryRatherThanTheOldChain) {
    platform::ScopedEnv tz("TZ", "EST5EDT,M3.2.0,M11.1.0");
    const RWZoneLocal local;
    EXPECT_EQ(local.standardOffset(), 5 * 3600);
    EXPECT_EQ(local.daylightOffset(), 4 * 3600);
    EXPECT_TRUE(local.observesDaylight());
    EXPECT_EQ(local.standardZoneName(), "EST");
    EXPECT_EQ(local.daylightZoneName(), "EDT");

    // In March 2024 the C library is already in daylight time; the 1987 chain would be an hour off.
    const TimeStamp march = gmtMoment(2024, 3, 20, 12);
    EXPECT_EQ(localOf(march, local), (Local{2024, 3, 20, 8, 0, 1}));
    EXPECT_EQ(localOf(march, RWZoneSimple(5, RWZoneSimple::NorthAmericanRules)), (Local{2024, 3, 20, 7, 0, 0}));

    EXPECT_EQ(TimeStamp::beginDST(2024, local), gmtMoment(2024, 3, 10, 7));
    EXPECT_EQ(TimeStamp::endDST(2024, local), gmtMoment(2024, 11, 3, 6));
    // The skipped and the repeated hour behave as in a rule-chain zone.
    EXPECT_FALSE(TimeStamp(CalendarDate(10, 3, 2024), 2, 30, 0, local).isValid());
    EXPECT_EQ(TimeStamp(CalendarDate(10, 3, 2024), 3, 30, 0, local), gmtMoment(2024, 3, 10, 7, 30));
    EXPECT_EQ(TimeStamp(CalendarDate(3, 11, 2024), 1, 30, 0, local), gmtMoment(2024, 11, 3, 5, 30));
    EXPECT_EQ(localOf(gmtMoment(2024, 11, 3, 6, 30), local), (Local{2024, 11, 3, 1, 30, 0}));
}

TEST(RWZoneLocal, ExtractAndBuildMatchLocaltime) {
    // Central Europe; southern hemisphere; half-hour daylight shift; no daylight saving.
    for (const char* rule : {"CET-1CEST,M3.5.0,M10.5.0/3", "AEST-10AEDT,M10.1.0,M4.1.0/3",
                             "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "JST-9"}) {
        SCOPED_TRACE(rule);
        platform::ScopedEnv tz("TZ", rule);
        const RWZoneLocal local;
        for (std::int64_t t = unixOf(2023, 1, 1); t < unixOf(2025, 1, 1); t += 3600 + 60) {
            platform::LocalTime expected;
            ASSERT_TRUE(platform::localTime(t, expected));
            const TimeStamp ts = TimeStamp::fromUnixTime(t);
            std::tm got{};
            ts.extract(got, local);
            ASSERT_EQ(got.tm_year, expected.fields.tm_year) << t;
            ASSERT_EQ(got.tm_yday, expected.fields.tm_yday) << t;
            ASSERT_EQ(got.tm_hour, expected.fields.tm_hour) << t;
            ASSERT_EQ(got.tm_min, expected.fields.tm_min) << t;
            ASSERT_EQ(got.tm_isdst, expected.daylight ? 1 : 0) << t;
            ASSERT_EQ(ts.isDST(local), expected.daylight) << t;
            // Building the clock reading gives the moment back; a reading that comes twice gives
            // its daylight-time moment, earlier by the daylight shift.
            const TimeStamp rebuilt(got, local);
            if (rebuilt != ts) {
                ASSERT_FALSE(expected.daylight) << t;
                ASSERT_EQ(rebuilt, ts - (local.standardOffset() - local.daylightOffset())) << t;
                ASSERT_TRUE(rebuilt.isDST(local)) << t;
                ASSERT_EQ(rebuilt.hour(local), ts.hour(local)) << t;
            }
        }
        EXPECT_EQ(TimeStamp::beginDST(2024, local).isValid(), local.observesDaylight());
    }
}

TEST(RWZone, AccessorsAndSetters) {
    const RWZone& gmt = RWZone::gmtZone();
    EXPECT_EQ(gmt.standardOffset(), 0);
    const RWZoneSimple est(5, RWZoneSimple::NorthAmericanRules);

    const RWZone* before = RWZone::setLocalZone(&est);
    EXPECT_EQ(&RWZone::localZone(), &est);
    EXPECT_EQ(RWZone::setLocalZone(before), &est);
    EXPECT_EQ(&RWZone::localZone(), before);

    const RWZone* systemBefore = RWZone::setSystemZone(&est);
    EXPECT_EQ(&RWZone::systemZone(), &est);
    EXPECT_EQ(&RWZone::localZone(), before);  // each accessor has its own setter
    RWZone::setSystemZone(nullptr);           // null brings the built-in zone back
    EXPECT_EQ(&RWZone::systemZone(), systemBefore);

    const RWZone& standard = RWZone::standardZone();
    EXPECT_FALSE(standard.observesDaylight());
    EXPECT_EQ(standard.standardOffset(), RWZone::localZone().standardOffset());
    EXPECT_EQ(standard.standardZoneName(), RWZone::localZone().standardZoneName());
    const RWZone* standardBefore = RWZone::setStandardZone(&gmt);
    EXPECT_EQ(&RWZone::standardZone(), &gmt);
    RWZone::setStandardZone(standardBefore);
}

}  // namespace
