#include "platform/PrintfFormat.h"

#include <printf.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(PrintfFormatTest, KindsAsTheLibraryReadsThem) {
  const struct {
    const char* format;
    std::vector<int> kinds;
  } cases[] = {
      {"%d Teile in %s", {PA_INT, PA_STRING}},
      {"100%% %s", {PA_STRING}},
      {"%-10.3ld|%c|%f|%p", {PA_INT | PA_FLAG_LONG, PA_CHAR, PA_DOUBLE, PA_POINTER}},
      {"%*.*s", {PA_INT, PA_INT, PA_STRING}},
      // A conversion the library does not know reads nothing; what follows it is plain text.
      {"%5-d Teile in %s", {PA_STRING}},
      {"%.5.3d von %s", {PA_STRING}},
      {"%.5.12x %s", {PA_STRING}},
      {"no conversion", {}},
  };
  for (const auto& c : cases) {
    std::vector<int> kinds{99};
    EXPECT_TRUE(printfArgumentKinds(c.format, kinds)) << c.format;
    EXPECT_EQ(kinds, c.kinds) << c.format;
  }
}

TEST(PrintfFormatTest, NumberedOrUnfinishedConversionsAreNotJudged) {
  for (const char* format : {"%2$s %1$d", "%1$s", "%1$*2$d", "Six %", "%-", "%5.3l", static_cast<const char*>(nullptr)}) {
    std::vector<int> kinds{99};
    EXPECT_FALSE(printfArgumentKinds(format, kinds)) << (format ? format : "null");
    EXPECT_TRUE(kinds.empty());
  }
  std::vector<int> kinds;
  EXPECT_TRUE(printfArgumentKinds("%% 5$ %%1$d", kinds)) << "no conversion numbers anything";
  EXPECT_TRUE(kinds.empty());
}

}  // namespace
}  // namespace platform
