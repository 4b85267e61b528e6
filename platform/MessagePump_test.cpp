#include "platform/MessagePump.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

void countDrains(void* context) { ++*static_cast<int*>(context); }

TEST(MessagePumpTest, RunsTheHostsDrainAndCounts) {
  resetPumpCount();
  pumpMessages();   // no hook yet: counted, nothing else
  EXPECT_EQ(pumpCount(), 1u);
  int drains = 0;
  EXPECT_EQ(setMessageDrainHook(&countDrains, &drains), nullptr);
  for (int i = 0; i < 3; ++i) pumpMessages();
  EXPECT_EQ(drains, 3);
  EXPECT_EQ(pumpCount(), 4u);
  EXPECT_EQ(setMessageDrainHook(nullptr, nullptr), &countDrains);
  pumpMessages();
  EXPECT_EQ(drains, 3);
}

}  // namespace
}  // namespace platform
