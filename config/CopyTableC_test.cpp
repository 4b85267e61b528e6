#include "config/CopyTableC.h"

#include <gtest/gtest.h>

namespace {

TEST(CopyTableC, MapsOriginalsToCopies) {
  int a = 0, b = 0, copyOfA = 0;
  CopyTableC table;
  EXPECT_FALSE(table.isCopied(&a));
  EXPECT_EQ(table.mapped(&a), &a);        // never copied: itself
  EXPECT_EQ(table.copyOf(&b), nullptr);   // makes an entry with a null copy
  EXPECT_TRUE(table.isCopied(&b));
  table.setCopy(&a, &copyOfA);
  EXPECT_EQ(table.copyOf(&a), &copyOfA);
  EXPECT_EQ(table.mapped(&a), &copyOfA);
}

}  // namespace
