#include "platform/Fatal.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(FatalTest, WritesCaptionAndTextToStandardError) {
  ::testing::internal::CaptureStderr();
  showFatalMessage("Fatal Error", "[NOMEM] Out of memory");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Fatal Error: [NOMEM] Out of memory\n");
}

}  // namespace
}  // namespace platform
