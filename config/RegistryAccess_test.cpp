// Tests of registry access by key text, on a registry store in a temporary folder.

#include "config/RegistryAccess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

namespace {

std::string S(const RWCString& s) { return std::string(s.data(), s.length()); }

class RegistryAccess : public ::testing::Test {
 protected:
  RegistryAccess()
      : root_(dir_.file("registry")),
        registryEnv_("KESTRIX_REGISTRY", root_),
        home_("HOME", dir_.file("home")) {
    platform::setRegistryRoot(root_);
  }
  ~RegistryAccess() override { platform::setRegistryRoot(""); }

  static void makeKey(platform::RegistryHive hive, const std::string& key) {
    ASSERT_TRUE(platform::registryCreateKey(hive, key)) << key;
  }
  static void setText(platform::RegistryHive hive, const std::string& key, const std::string& name,
                      const std::string& text) {
    platform::RegistryValue v;
    v.text = text;
    ASSERT_TRUE(platform::registryWriteValue(hive, key, name, v));
  }

  platform::TempDir dir_;
  std::string root_;
  platform::ScopedEnv registryEnv_;
  platform::ScopedEnv home_;
};

TEST_F(RegistryAccess, ReadsTheDefaultValueWithEitherFirstSeparator) {
  makeKey(platform::RegistryHive::CurrentUser, "SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER");
  setText(platform::RegistryHive::CurrentUser, "SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER", "", "c:/u");
  struct Case { const char* key; const char* value; bool found; };
  const Case cases[] = {
      {"HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER", "c:/u", true},
      {"HKEY_CURRENT_USER/SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER", "c:/u", true},
      {"HKEY_CURRENT_USER\\software\\quorvel\\path\\quorvel_user", "c:/u", true},
      {"hkey_current_user\\SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER", "", false},  // hive: exact
      {"HKEY_CURRENT_CONFIG\\SOFTWARE", "", false},       // not one of the four roots
      {"HKEY_CURRENT_USER", "", false},                   // no separator
      {"", "", false},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER", "", false},
      {"HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL", "", false},  // key without a default value
  };
  for (const Case& c : cases) {
    bool found = !c.found;
    EXPECT_EQ(S(readRegistryValue(c.key, &found)), c.value) << c.key;
    EXPECT_EQ(found, c.found) << c.key;
  }
  EXPECT_EQ(S(readRegistryValue("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\QUORVEL_USER")),
            "c:/u");
}

TEST_F(RegistryAccess, OnlyTextValuesThatFitTheBufferAreRead) {
  makeKey(platform::RegistryHive::LocalMachine, "SOFTWARE\\K");
  platform::RegistryValue number;
  number.type = platform::RegistryType::Number;
  number.number = 42;
  ASSERT_TRUE(platform::registryWriteValue(platform::RegistryHive::LocalMachine, "SOFTWARE\\K", "",
                                           number));
  bool found = true;
  EXPECT_EQ(S(readRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\K", &found)), "");
  EXPECT_FALSE(found);

  setText(platform::RegistryHive::LocalMachine, "SOFTWARE\\K", "", "");
  EXPECT_EQ(S(readRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\K", &found)), "");
  EXPECT_TRUE(found);  // an empty text value counts

  setText(platform::RegistryHive::LocalMachine, "SOFTWARE\\K", "", std::string(1023, 'v'));
  EXPECT_EQ(readRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\K", &found).length(), 1023u);
  EXPECT_TRUE(found);
  setText(platform::RegistryHive::LocalMachine, "SOFTWARE\\K", "", std::string(1024, 'v'));
  EXPECT_EQ(S(readRegistryValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\K", &found)), "");
  EXPECT_FALSE(found);
}

TEST_F(RegistryAccess, WritesOnlyToExistingKeys) {
  makeKey(platform::RegistryHive::CurrentUser, "SOFTWARE\\QUORVEL\\PATH\\A");
  EXPECT_EQ(writeRegistryValue("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\A", "", "va"), 1);
  EXPECT_EQ(writeRegistryValue("HKEY_CURRENT_USER/SOFTWARE\\QUORVEL\\PATH\\A", "named", "vn"), 1);
  EXPECT_EQ(S(readRegistryValue("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\A")), "va");
  platform::RegistryValue v;
  ASSERT_TRUE(platform::registryReadValue(platform::RegistryHive::CurrentUser,
                                          "SOFTWARE\\QUORVEL\\PATH\\A", "named", v));
  EXPECT_EQ(v.text, "vn");

  EXPECT_EQ(writeRegistryValue("HKEY_CURRENT_USER\\SOFTWARE\\QUORVEL\\PATH\\NEW", "", "x"), -1);
  EXPECT_FALSE(platform::registryKeyExists(platform::RegistryHive::CurrentUser,
                                           "SOFTWARE\\QUORVEL\\PATH\\NEW"));
  EXPECT_EQ(writeRegistryValue("HKEY_CURRENT_USER", "", "x"), -1);
  EXPECT_EQ(writeRegistryValue("HKEY_NOWHERE\\SOFTWARE", "", "x"), -1);
  EXPECT_EQ(writeRegistryValue("hkey_current_user\\SOFTWARE\\QUORVEL\\PATH\\A", "", "x"), -1);
}

TEST_F(RegistryAccess, ListsSubkeysIgnoringOneTrailingSeparator) {
  for (const char* name : {"B", "a", "C"})
    makeKey(platform::RegistryHive::LocalMachine, std::string("SOFTWARE\\QUORVEL\\PATH\\") + name);
  const std::vector<std::string> expected = {"a", "B", "C"};
  for (const char* key : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH\\",
                          "HKEY_LOCAL_MACHINE\\SOFTWARE\\QUORVEL\\PATH/",
                          "HKEY_LOCAL_MACHINE/SOFTWARE\\QUORVEL\\PATH"}) {
    const RWTValOrderedVector<RWCString> names = listRegistrySubkeys(key);
    std::vector<std::string> got;
    for (std::size_t i = 0; i < names.count(); ++i) got.push_back(S(names[i]));
    EXPECT_EQ(got, expected) << key;
  }
  EXPECT_EQ(listRegistrySubkeys("HKEY_LOCAL_MACHINE\\SOFTWARE\\MISSING").count(), 0u);
  EXPECT_EQ(listRegistrySubkeys("HKEY_NOWHERE\\SOFTWARE").count(), 0u);
  EXPECT_EQ(listRegistrySubkeys("HKEY_LOCAL_MACHINE").count(), 0u);
}

TEST_F(RegistryAccess, HostileKeyNamesNeverBecomeFilePaths) {
  const char* names[] = {"..\\..\\..\\escape", "../../escape", "a/b", "..", "x:\\escape"};
  for (const char* n : names) {
    const std::string key = std::string("SOFTWARE\\") + n;
    platform::registryCreateKey(platform::RegistryHive::CurrentUser, key);
    const RWCString text = RWCString("HKEY_CURRENT_USER\\") + key.c_str();
    writeRegistryValue(text, "", "v");
    readRegistryValue(text);
    listRegistrySubkeys(text);
  }
  // Everything the store wrote lies below its root; nothing appeared beside it or above it.
  std::vector<std::string> top;
  for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
    top.push_back(e.path().filename().string());
  EXPECT_EQ(top, std::vector<std::string>{"registry"});
  const std::filesystem::path parent = std::filesystem::path(dir_.path()).parent_path();
  EXPECT_FALSE(std::filesystem::exists(parent / "escape"));
  for (const auto& e : std::filesystem::recursive_directory_iterator(root_))
    EXPECT_EQ(e.path().filename().string().find("escape"), std::string::npos) << e.path();
}

}  // namespace
