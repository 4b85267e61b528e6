#include "platform/Time.h"

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/testing/ScopedEnv.h"

namespace platform {
namespace {

TEST(TimeTest, LocalTimeFollowsTheZoneRules) {
  ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  struct Case {
    std::int64_t t;
    int hour;
    long offset;
    bool daylight;
    const char* zone;
  } cases[] = {
      {1719835200, 14, 7200, true, "CEST"},   // 2024-07-01 12:00 UTC
      {1704110400, 13, 3600, false, "CET"},   // 2024-01-01 12:00 UTC
      {1711846799, 1, 3600, false, "CET"},    // 2024-03-31 00:59:59 UTC: 01:59:59, the last CET second
      {1711846800, 3, 7200, true, "CEST"},    // 01:00 UTC: 02:00 local is skipped
  };
  for (const Case& c : cases) {
    LocalTime lt;
    ASSERT_TRUE(localTime(c.t, lt));
    EXPECT_EQ(lt.fields.tm_hour, c.hour) << c.t;
    EXPECT_EQ(lt.offsetSeconds, c.offset) << c.t;
    EXPECT_EQ(lt.daylight, c.daylight) << c.t;
    EXPECT_EQ(lt.zoneName, c.zone) << c.t;
    std::int64_t back = 0;
    ASSERT_TRUE(fromLocalTime(lt.fields, back));
    EXPECT_EQ(back, c.t);
  }
  ZoneInfo z = localZoneInfo();
  EXPECT_EQ(z.standardName, "CET");
  EXPECT_EQ(z.daylightName, "CEST");
  EXPECT_EQ(z.standardOffsetWest, -3600);
  EXPECT_TRUE(z.hasDaylight);
}

TEST(TimeTest, ZoneChangesTakeEffectAtOnce) {
  LocalTime lt;
  {
    ScopedEnv tz("TZ", "UTC0");
    ASSERT_TRUE(localTime(0, lt));
    EXPECT_EQ(lt.offsetSeconds, 0);
    EXPECT_FALSE(localZoneInfo().hasDaylight);
  }
  {
    ScopedEnv tz("TZ", "EST5");
    ASSERT_TRUE(localTime(0, lt));
    EXPECT_EQ(lt.offsetSeconds, -5 * 3600);
    EXPECT_EQ(lt.fields.tm_year, 69);
    EXPECT_EQ(localZoneInfo().standardOffsetWest, 5 * 3600);
  }
}

TEST(TimeTest, UtcAndTheClocks) {
  std::tm tm{};
  ASSERT_TRUE(utcTime(951782400, tm));   // 2000-02-29 00:00 UTC
  EXPECT_EQ(tm.tm_year, 100);
  EXPECT_EQ(tm.tm_mon, 1);
  EXPECT_EQ(tm.tm_mday, 29);
  ASSERT_TRUE(utcTime(4102444800, tm));  // 2100-01-01: past 32-bit seconds
  EXPECT_EQ(tm.tm_year, 200);

  std::int64_t now = currentTime();
  std::int64_t chrono = std::chrono::duration_cast<std::chrono::seconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  EXPECT_LE(std::abs(now - chrono), 2);
  std::uint64_t a = monotonicNanoseconds();
  std::uint64_t b = monotonicNanoseconds();
  EXPECT_LE(a, b);
}

}  // namespace
}  // namespace platform
