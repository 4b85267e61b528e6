// Tests of the coarse timer.

#include "config/CoarseTimer.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(CoarseTimer, WholeSecondsAgainstTheRequest) {
  coarseTimerC timer;
  const std::time_t before = std::time(nullptr);
  timer.start();
  EXPECT_GE(timer.startTime(), before);
  EXPECT_EQ(timer.lastTime(), 0);
  EXPECT_TRUE(timer.elapsedAtLeast(0));
  EXPECT_TRUE(timer.elapsedAtLeast(999));  // 999 / 1000 is 0 whole seconds
  EXPECT_GE(timer.lastTime(), timer.startTime());
  EXPECT_FALSE(timer.elapsedAtLeast(3600 * 1000));

  coarseTimeStampC stamp;
  const std::time_t now = stamp.reset();
  EXPECT_EQ(stamp.value(), now);
  EXPECT_GE(now, before);
}

}  // namespace
