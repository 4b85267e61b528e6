#include "config/pathComponentIterator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string str(const pathNameC& p) {
  RWCString t = p.text();
  return std::string(t.data(), t.length());
}

}  // namespace

TEST(pathComponentIteratorC, WalksForwardAndBackward) {
  struct Case {
    const char* path;
    std::vector<std::string> components;
  } cases[] = {
      {"/a/b/c", {"a", "b", "c"}},
      {"a//b", {"a", "b"}},
      {"c:/x/y.txt", {"c:", "x", "y.txt"}},
      {"//server/share/f", {"server", "share", "f"}},
      {"single", {"single"}},
      {"/", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    pathComponentIteratorC it{pathNameC(c.path)};
    ASSERT_EQ(it.count(), c.components.size());
    std::vector<std::string> forward, backward;
    if (it.first())
      do forward.push_back(str(it.current()));
      while (it.next());
    if (it.last())
      do backward.insert(backward.begin(), str(it.current()));
      while (it.previous());
    EXPECT_EQ(forward, c.components);
    EXPECT_EQ(backward, c.components);
    if (c.components.empty()) {
      EXPECT_EQ(it.first(), 0);
      EXPECT_EQ(it.last(), 0);
      EXPECT_TRUE(it.current().isEmpty());
    }
  }
}

TEST(pathComponentIteratorC, HeadTailAndSeek) {
  pathComponentIteratorC it{pathNameC("/a/b//c")};
  ASSERT_EQ(it.count(), 3u);
  EXPECT_EQ(str(it.current()), "a");  // stands on the first after construction
  EXPECT_EQ(str(it.head()), "");
  EXPECT_EQ(str(it.tail()), "b//c");
  EXPECT_EQ(it.previous(), 0);
  EXPECT_EQ(str(it.current()), "a");

  EXPECT_EQ(it.seek(2), 1);  // the last index
  EXPECT_EQ(str(it.current()), "c");
  EXPECT_EQ(str(it.head()), "/a/b");
  EXPECT_EQ(str(it.tail()), "");
  EXPECT_EQ(it.next(), 0);
  EXPECT_EQ(str(it.current()), "c");

  EXPECT_EQ(it.seek(3), 0);  // equal to the count
  EXPECT_EQ(str(it.current()), "c");
  EXPECT_EQ(it.seek(1), 1);
  EXPECT_EQ(str(it.current()), "b");
  EXPECT_EQ(str(it.head()), "/a");
  EXPECT_EQ(str(it.tail()), "c");
}
