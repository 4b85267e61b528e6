// Tests of the environment, dictionary and environment-block conversions.

#include "config/EnvironmentBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "foundation/RWTHashDictIterator.h"
#include "platform/testing/ScopedEnv.h"

namespace {

using Dict = RWTHashDict<RWCString, RWCString>;

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

std::map<std::string, std::string> contents(Dict& d) {
  std::map<std::string, std::string> out;
  RWTHashDictIterator<RWCString, RWCString> it(d);
  while (it.next()) out[S(it.key())] = S(it.value());
  return out;
}

TEST(EnvironmentBlock, EmptyDictionaryNeedsTwoNuls) {
  Dict d(RWCStringHash);
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(writeEnvironmentBlock(d, buffer, 1), -2);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(writeEnvironmentBlock(d, buffer, 4), 2);
  EXPECT_EQ(std::memcmp(buffer, "\0\0xx", 4), 0);
}

TEST(EnvironmentBlock, WritesWholeOrNothingAndReadsBack) {
  Dict d(RWCStringHash);
  d["PATH"] = "/bin;/usr/bin";
  d["EMPTY"] = "";
  d["EQ"] = "a=b";
  const int needed = 2 + (4 + 13 + 2) + (5 + 0 + 2) + (2 + 3 + 2);
  std::string small(needed - 1, '#');
  EXPECT_EQ(writeEnvironmentBlock(d, small.data(), needed - 1), -needed);
  EXPECT_EQ(small, std::string(needed - 1, '#'));

  std::unique_ptr<char[]> block(makeEnvironmentBlock(d));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block.get() + needed - 3, "\0\0\0", 3), 0);  // last entry's NUL + two
  Dict back(RWCStringHash);
  environmentBlockToDictionary(back, block.get());
  EXPECT_EQ(contents(back), contents(d));
}

TEST(EnvironmentBlock, EntriesWithoutEqualsAreSkipped) {
  const char block[] = "A=1\0junk\0=C:=C:\\\0B=\0\0";
  Dict d(RWCStringHash);
  environmentBlockToDictionary(d, block);
  const std::map<std::string, std::string> expected = {{"A", "1"}, {"", "C:=C:\\"}, {"B", ""}};
  EXPECT_EQ(contents(d), expected);
  environmentBlockToDictionary(d, nullptr);
  EXPECT_EQ(contents(d).size(), 3u);
}

TEST(EnvironmentBlock, ProcessEnvironmentIsRead) {
  platform::ScopedEnv a("KX_BLOCK_TEST", "x=y"), b("KX_BLOCK_EMPTY", "");
  Dict d(RWCStringHash);
  d["KX_BLOCK_TEST"] = "overwritten";
  environmentToDictionary(d);
  ASSERT_NE(d.findValue("KX_BLOCK_TEST"), nullptr);
  EXPECT_EQ(S(*d.findValue("KX_BLOCK_TEST")), "x=y");
  ASSERT_NE(d.findValue("KX_BLOCK_EMPTY"), nullptr);
  EXPECT_EQ(S(*d.findValue("KX_BLOCK_EMPTY")), "");
}

}  // namespace
