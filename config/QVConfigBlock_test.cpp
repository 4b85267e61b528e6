#include "config/QVConfigBlock.h"

#include <gtest/gtest.h>

namespace {

TEST(QVConfigBlock, FindsAndRemovesItemsByIdentity) {
  QVConfigBlock block("B");
  auto* upper = new QVConfigItem("Key", "1");
  auto* lower = new QVConfigItem("key", "2");
  auto* other = new QVConfigItem("a", "3");
  block.addItem(upper);
  block.addItem(lower);
  block.addItem(other);
  EXPECT_EQ(block.findItem("key", false), lower);  // the equal range is searched, not one entry
  EXPECT_EQ(block.findItem("KEY", true), upper);
  EXPECT_EQ(block.findItem("KEY", false), nullptr);
  EXPECT_EQ(block.findItem("a \t", false), other);   // linear fallback strips trailing blanks
  EXPECT_EQ(block.findItem("a \t", false, true), nullptr);

  // Removing "key" must not take "Key", which sorts equal to it.
  EXPECT_EQ(block.removeItem(lower), 1u);
  EXPECT_EQ(block.findItem("Key", false), upper);
  EXPECT_EQ(block.findItem("key", false), nullptr);
  EXPECT_EQ(block.itemCount(), 2u);
  EXPECT_EQ(block.itemAt(1), other);
  QVConfigItem stranger("x", "");
  EXPECT_EQ(block.removeItem(&stranger), RW_NPOS);
}

}  // namespace
