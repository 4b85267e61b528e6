#include "config/QVConfigItem.h"

#include <gtest/gtest.h>

namespace {

TEST(QVConfigItem, DefaultsAndOrdering) {
  QVConfigItem item("Key", "d");
  EXPECT_EQ(item.value().asText(), "d");
  EXPECT_TRUE(item.value().isSet());
  item.value().setText("v");
  item.setDefault("e");                 // a value is kept
  EXPECT_EQ(item.defaultText(), "e");
  EXPECT_EQ(item.value().asText(), "v");
  item.value().clearText();
  item.value().setIsSet(false);
  item.setDefault("");                  // an empty default changes nothing
  EXPECT_EQ(item.defaultText(), "e");
  EXPECT_FALSE(item.value().isSet());
  item.setDefault("f");                 // fills the empty value, marked set
  EXPECT_EQ(item.value().asText(), "f");
  EXPECT_TRUE(item.value().isSet());

  EXPECT_TRUE(QVConfigItem("abc", "") == QVConfigItem("ABC", ""));
  EXPECT_TRUE(QVConfigItem("A", "") < QVConfigItem("b", ""));
  EXPECT_FALSE(QVConfigItem("b", "") < QVConfigItem("A", ""));
}

}  // namespace
