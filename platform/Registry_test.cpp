#include "platform/Registry.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Process.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"
#include "platform/testing/Unprivileged.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr RegistryHive HKCU = RegistryHive::CurrentUser;
constexpr RegistryHive HKLM = RegistryHive::LocalMachine;

RegistryValue text(std::string t) {
  RegistryValue v;
  v.text = std::move(t);
  return v;
}

RegistryValue number(std::uint32_t n) {
  RegistryValue v;
  v.type = RegistryType::Number;
  v.number = n;
  return v;
}

class RegistryTest : public ::testing::Test {
protected:
  void SetUp() override { setRegistryRoot(root.path()); }
  void TearDown() override { setRegistryRoot(""); }

  std::string readText(RegistryHive h, std::string_view key, std::string_view name) {
    RegistryValue v;
    if (!registryReadValue(h, key, name, v)) return "<missing>";
    if (v.type != RegistryType::Text) return "<number>";
    return v.text;
  }

  // Points the store at a copy of the files, so everything is read back from disk.
  void reopenFromCopy(TempDir& copy) {
    fs::copy(root.path(), copy.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    setRegistryRoot(copy.path());
  }

  TempDir root;
};

TEST_F(RegistryTest, HiveNamesAreExact) {
  struct Case {
    const char* name;
    bool ok;
    RegistryHive hive;
  } cases[] = {
      {"HKEY_CURRENT_USER", true, HKCU},
      {"HKEY_LOCAL_MACHINE", true, HKLM},
      {"HKEY_CLASSES_ROOT", true, RegistryHive::ClassesRoot},
      {"HKEY_USERS", true, RegistryHive::Users},
      {"HKEY_CURRENT_CONFIG", true, RegistryHive::CurrentConfig},
      {"hkey_current_user", false, HKCU},
      {"HKCU", false, HKCU},
      {"HKEY_CURRENT_USER ", false, HKCU},
      {"", false, HKCU},
  };
  for (const Case& c : cases) {
    RegistryHive h = RegistryHive::Users;
    EXPECT_EQ(registryHiveFromName(c.name, h), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(h, c.hive);
      EXPECT_STREQ(registryHiveName(h), c.name);
    }
  }
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepIt) {
  ASSERT_TRUE(registryCreateKey(HKLM, "SOFTWARE\\Quorvel\\PATH\\MyVar"));
  ASSERT_TRUE(registryWriteValue(HKLM, "software\\QUORVEL\\path\\myvar", "", text("c:/cad")));
  EXPECT_EQ(readText(HKLM, "Software\\quorvel\\Path\\MYVAR", ""), "c:/cad");
  EXPECT_EQ(readText(HKCU, "SOFTWARE\\Quorvel\\PATH\\MyVar", ""), "<missing>");   // other hive

  Names names;
  ASSERT_TRUE(registryListSubkeys(HKLM, "software", names));
  EXPECT_EQ(names, Names{"Quorvel"});
  ASSERT_TRUE(registryCreateKey(HKLM, "SOFTWARE\\alpha"));
  ASSERT_TRUE(registryCreateKey(HKLM, "SOFTWARE\\QUORVEL\\x"));   // existing, other case
  ASSERT_TRUE(registryCreateKey(HKLM, "SOFTWARE\\Zeta"));
  ASSERT_TRUE(registryListSubkeys(HKLM, "SOFTWARE\\", names));
  EXPECT_EQ(names, (Names{"alpha", "Quorvel", "Zeta"}));   // ordered ignoring case

  ASSERT_TRUE(registryWriteValue(HKLM, "SOFTWARE\\Zeta", "Mixed", text("1")));
  ASSERT_TRUE(registryWriteValue(HKLM, "SOFTWARE\\Zeta", "MIXED", text("2")));
  ASSERT_TRUE(registryListValues(HKLM, "SOFTWARE\\Zeta", names));
  EXPECT_EQ(names, Names{"Mixed"});
  EXPECT_EQ(readText(HKLM, "SOFTWARE\\Zeta", "mixed"), "2");

  // Empty components are ignored; '/' is an ordinary character.
  EXPECT_TRUE(registryKeyExists(HKLM, "\\SOFTWARE\\\\Zeta\\"));
  EXPECT_FALSE(registryKeyExists(HKLM, "SOFTWARE/Zeta"));
}

TEST_F(RegistryTest, DefaultAndTypedValues) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\K"));
  RegistryValue v;
  EXPECT_FALSE(registryReadValue(HKCU, "SOFTWARE\\K", "", v));   // not set yet
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "", text("")));
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\K", "", v));    // an empty text is a value
  EXPECT_EQ(v.type, RegistryType::Text);
  EXPECT_EQ(v.text, "");

  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "n", number(0xFFFFFFFFu)));
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\K", "N", v));
  EXPECT_EQ(v.type, RegistryType::Number);
  EXPECT_EQ(v.number, 0xFFFFFFFFu);
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "", number(7)));   // a type change
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\K", "", v));
  EXPECT_EQ(v.type, RegistryType::Number);
  EXPECT_EQ(v.number, 7u);

  TempDir copy;
  reopenFromCopy(copy);
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\K", "n", v));
  EXPECT_EQ(v.number, 0xFFFFFFFFu);
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\K", "", v));
  EXPECT_EQ(v.type, RegistryType::Number);
  EXPECT_EQ(v.number, 7u);
}

TEST_F(RegistryTest, WritingNeverCreatesKeys) {
  EXPECT_FALSE(registryWriteValue(HKCU, "SOFTWARE\\Missing", "", text("x")));
  EXPECT_FALSE(registryKeyExists(HKCU, "SOFTWARE\\Missing"));
  EXPECT_FALSE(registryWriteValue(HKCU, "SOFTWARE\\Missing\\Deeper", "v", text("x")));
  Names names;
  EXPECT_FALSE(registryListSubkeys(HKCU, "SOFTWARE\\Missing", names));
}

TEST_F(RegistryTest, AFreshStoreHasTheStandardKeys) {
  EXPECT_TRUE(registryKeyExists(HKCU, "Environment"));
  EXPECT_TRUE(registryKeyExists(HKCU, "Software"));
  EXPECT_TRUE(registryKeyExists(HKLM, "SOFTWARE"));
  EXPECT_TRUE(registryWriteValue(HKCU, "Environment", "QUORVEL_USER", text("c:/user")));
  EXPECT_FALSE(registryDeleteKey(HKCU, "Environment"));
  EXPECT_FALSE(fs::exists(root.file("HKEY_LOCAL_MACHINE.reg")));   // reading writes nothing
}

TEST_F(RegistryTest, HostileNamesStayInsideTheStore) {
  const std::string longName(255, 'L');
  std::string highBytes = "\x80\xff\xe4 =%20%";
  const std::string keys[] = {"..", "..\\..", "..\\..\\escaped", "a/b", "/etc/passwd", longName,
                              "%2e%2e", "line\nfeed", "key=with=equals", highBytes, " blank "};
  for (const std::string& k : keys) {
    ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\" + k)) << k;
    ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\" + k, k, text(k + "\r\nkey =x"))) << k;
  }
  EXPECT_FALSE(registryCreateKey(HKCU, "SOFTWARE\\" + longName + "x"));   // 256 bytes
  EXPECT_FALSE(registryCreateKey(HKCU, std::string("SOFTWARE\\nul\0x", 14)));
  EXPECT_FALSE(registryWriteValue(HKCU, "SOFTWARE\\a/b", std::string(16384, 'v'), text("x")));
  EXPECT_FALSE(registryWriteValue(HKCU, "SOFTWARE\\a/b", "v", text(std::string("a\0b", 3))));

  // Only the store's own files exist, all directly in the root.
  Names files;
  for (const auto& e : fs::recursive_directory_iterator(root.path()))
    files.push_back(e.path().lexically_relative(root.path()).string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Names{".lock", "HKEY_CURRENT_USER.reg"}));
  EXPECT_FALSE(fs::exists(fs::path(root.path()).parent_path() / "escaped"));

  TempDir copy;
  reopenFromCopy(copy);
  Names names;
  ASSERT_TRUE(registryListSubkeys(HKCU, "SOFTWARE", names));
  EXPECT_EQ(names.size(), std::size(keys) - 2);   // "..\\.." and "..\\..\\escaped" lie below ".."

  for (const std::string& k : keys) {
    EXPECT_EQ(readText(HKCU, "SOFTWARE\\" + k, k), k + "\r\nkey =x") << k;
  }
  EXPECT_TRUE(registryKeyExists(HKCU, "SOFTWARE\\..\\..\\escaped"));
}

TEST_F(RegistryTest, DeletingValuesAndKeys) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\A\\B"));
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\A", "v", text("1")));
  EXPECT_FALSE(registryDeleteKey(HKCU, "SOFTWARE\\A"));   // has a sub-key
  EXPECT_TRUE(registryDeleteKey(HKCU, "software\\a\\b"));
  EXPECT_FALSE(registryDeleteKey(HKCU, "SOFTWARE\\A\\B"));
  EXPECT_FALSE(registryDeleteKey(HKCU, ""));               // the hive itself
  EXPECT_TRUE(registryDeleteValue(HKCU, "SOFTWARE\\A", "V"));
  EXPECT_FALSE(registryDeleteValue(HKCU, "SOFTWARE\\A", "v"));
  EXPECT_TRUE(registryDeleteKey(HKCU, "SOFTWARE\\A"));
  EXPECT_FALSE(registryKeyExists(HKCU, "SOFTWARE\\A"));
}

TEST_F(RegistryTest, SeesChangesMadeThroughTheFiles) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\K"));
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "", text("one")));
  // Another writer (another process with the same root) replaces the file.
  TempDir other;
  setRegistryRoot(other.path());
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\K"));
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "", text("two")));
  fs::copy_file(other.file("HKEY_CURRENT_USER.reg"), root.file("HKEY_CURRENT_USER.reg"),
                fs::copy_options::overwrite_existing);
  setRegistryRoot(root.path());
  EXPECT_EQ(readText(HKCU, "SOFTWARE\\K", ""), "two");
}

TEST_F(RegistryTest, ADamagedFileIsNeverOverwritten) {
  const std::string junk = "this is not a registry\nkey =x\n";
  std::ofstream(root.file("HKEY_CURRENT_USER.reg")) << junk;
  EXPECT_FALSE(registryCreateKey(HKCU, "SOFTWARE\\New"));
  EXPECT_FALSE(registryWriteValue(HKCU, "Environment", "x", text("y")));
  std::ifstream in(root.file("HKEY_CURRENT_USER.reg"));
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, junk);
  EXPECT_TRUE(registryCreateKey(HKLM, "SOFTWARE\\Other"));   // other hives still work
}

// A named pipe or a device as the hive file is neither waited on nor read: the hive reads as an
// empty one (the standard keys, no values) and takes no writes; the thing at its name stays.
TEST_F(RegistryTest, APipeOrDeviceAsHiveFileReadsAsAnEmptyHive) {
  for (const bool pipe : {true, false}) {
    TempDir store;
    setRegistryRoot(store.path());
    const std::string hive = store.file("HKEY_CURRENT_USER.reg");
    if (pipe)
      ASSERT_EQ(::mkfifo(hive.c_str(), 0644), 0);
    else
      fs::create_symlink("/dev/zero", hive);
    EXPECT_EQ(readText(HKCU, "SOFTWARE\\QUORVEL\\PATH", "QUORVEL_LANGUAGE"), "<missing>");
    EXPECT_TRUE(registryKeyExists(HKCU, "Environment")) << "the standard keys are there";
    EXPECT_FALSE(registryWriteValue(HKCU, "Environment", "x", text("y")));
    EXPECT_EQ(pipe, fs::is_fifo(hive));
    EXPECT_EQ(!pipe, fs::is_symlink(hive));
  }
}

// A hive file its user may not write, or not read, is left as it is, bytes and mode, though the
// store's folder is writable. Run as a user the modes apply to.
TEST_F(RegistryTest, AProtectedOrUnreadableFileIsNeverReplaced) {
  for (const fs::perms mode : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                               fs::perms::none}) {
    TempDir store;
    setRegistryRoot(store.path());
    ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\K"));
    ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\K", "", text("old")));
    const std::string hive = store.file("HKEY_CURRENT_USER.reg");
    std::ifstream in(hive, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::permissions(store.path(), fs::perms::all);
    fs::permissions(store.file(".lock"), fs::perms::all);   // the lock is not what refuses
    fs::permissions(hive, mode);
    const UnprivilegedRun run = runUnprivileged(store.path(), [] {
      return std::to_string(registryWriteValue(HKCU, "SOFTWARE\\K", "", text("new"))) +
             std::to_string(registryCreateKey(HKCU, "SOFTWARE\\L"));
    });
    if (!run.ran) GTEST_SKIP() << run.skipped;
    EXPECT_EQ(run.result, "00");
    EXPECT_EQ(fs::status(hive).permissions() & fs::perms::all, mode);
    fs::permissions(hive, fs::perms::owner_read, fs::perm_options::add);
    std::ifstream after(hive, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()),
              before);
  }
}

TEST_F(RegistryTest, AFileCutShortIsNotBelieved) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\A b\\%C"));
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\A b", "t", text("x\ny %41")));
  ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\A b\\%C", "", number(42)));
  std::ifstream in(root.file("HKEY_CURRENT_USER.reg"), std::ios::binary);
  std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TempDir cut;
  setRegistryRoot(cut.path());
  for (size_t length = 0; length < whole.size(); ++length) {
    std::ofstream(cut.file("HKEY_CURRENT_USER.reg"), std::ios::binary | std::ios::trunc)
        << whole.substr(0, length);
    RegistryValue v;
    Names names;
    EXPECT_FALSE(registryReadValue(HKCU, "SOFTWARE\\A b", "t", v)) << length;
    registryListSubkeys(HKCU, "SOFTWARE", names);
    EXPECT_TRUE(names.empty()) << length;
    bool readable = registryKeyExists(HKCU, "SOFTWARE\\A b\\%C") &&
                    registryReadValue(HKCU, "SOFTWARE\\A b\\%C", "", v);
    EXPECT_FALSE(readable) << length;   // a file cut short is not believed at all
  }
  std::ofstream(cut.file("HKEY_CURRENT_USER.reg"), std::ios::binary | std::ios::trunc) << whole;
  RegistryValue v;
  ASSERT_TRUE(registryReadValue(HKCU, "SOFTWARE\\A b\\%C", "", v));
  EXPECT_EQ(v.number, 42u);
}

TEST_F(RegistryTest, AFileHoldingWhatTheSettersRefuseIsDamaged) {
  // Names and texts with a NUL byte, and a value name past 16383 bytes, can never be read back
  // through the calls; a file holding them is damaged, not listed half.
  const std::string longName(16384, 'n');
  const std::string bodies[] = {"key =a%00b\n", "key =A\ntext =x%00y =v\n",
                                "key =A\ntext =x =v%00w\n", "key =A\nnumber =x%00 1\n",
                                "key =A\ntext =" + longName + " =v\n"};
  for (const std::string& body : bodies) {
    std::ofstream(root.file("HKEY_CURRENT_USER.reg"), std::ios::binary | std::ios::trunc)
        << "kestrix-registry 1\n" << body << "end\n";
    Names names;
    registryListSubkeys(HKCU, "", names);
    for (const std::string& name : names) {
      EXPECT_EQ(name.find('\0'), std::string::npos) << body.substr(0, 30);
      EXPECT_NE(name, "A") << body.substr(0, 30);
    }
    EXPECT_FALSE(registryKeyExists(HKCU, "A")) << body.substr(0, 30);
  }
  // The same file without the refused byte is read.
  std::ofstream(root.file("HKEY_CURRENT_USER.reg"), std::ios::binary | std::ios::trunc)
      << "kestrix-registry 1\nkey =A\ntext =x =v\nend\n";
  RegistryValue v;
  ASSERT_TRUE(registryReadValue(HKCU, "A", "x", v));
  EXPECT_EQ(v.text, "v");
}

TEST_F(RegistryTest, ConcurrentWritersLoseNothing) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\T"));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 25; ++i)
        registryWriteValue(HKCU, "SOFTWARE\\T", "v" + std::to_string(t * 100 + i), number(i));
    });
  for (auto& th : threads) th.join();
  Names names;
  ASSERT_TRUE(registryListValues(HKCU, "SOFTWARE\\T", names));
  EXPECT_EQ(names.size(), 100u);
}

TEST_F(RegistryTest, WritersInOtherProcessesLoseNothing) {
  ASSERT_TRUE(registryCreateKey(HKCU, "SOFTWARE\\T"));
  std::vector<ProcessHandle> writers;
  for (const char* prefix : {"a", "b", "c"}) {
    bool started = false;
    writers.push_back(startProcess(std::string("\"") + KXPLATFORM_REGISTRY_WRITER + "\" \"" +
                                       root.path() + "\" " + prefix + " 40",
                                   started));
    ASSERT_TRUE(started);
  }
  // This process writes meanwhile, through its cache.
  for (int i = 0; i < 40; ++i)
    ASSERT_TRUE(registryWriteValue(HKCU, "SOFTWARE\\T", "d" + std::to_string(i), number(i)));
  for (ProcessHandle p : writers) {
    std::uint32_t code = kStillActive;
    while (processExitCode(p, code) && code == kStillActive) sleepMilliseconds(5);
    EXPECT_EQ(code, 0u);
    closeProcess(p);
  }
  Names names;
  ASSERT_TRUE(registryListValues(HKCU, "SOFTWARE\\T", names));
  EXPECT_EQ(names.size(), 160u);
}

TEST(RegistryRootTest, ChosenFromTheEnvironment) {
  setRegistryRoot("");
  struct Case {
    const char* registry;
    const char* xdg;
    const char* home;
    const char* root;
  } cases[] = {
      {"/r/reg", "/x", "/h", "/r/reg"},
      {"", "/x", "/h", "/x/kestrix/registry"},
      {nullptr, "/x", "/h", "/x/kestrix/registry"},
      {nullptr, nullptr, "/h", "/h/.config/kestrix/registry"},
      {nullptr, "", "/h", "/h/.config/kestrix/registry"},
  };
  for (const Case& c : cases) {
    auto scoped = [](const char* name, const char* value) {
      return value ? std::make_unique<ScopedEnv>(name, value) : std::make_unique<ScopedEnv>(name);
    };
    auto a = scoped("KESTRIX_REGISTRY", c.registry);
    auto b = scoped("XDG_CONFIG_HOME", c.xdg);
    auto d = scoped("HOME", c.home);
    EXPECT_EQ(registryRoot(), c.root);
  }
  setRegistryRoot("/set/by/test/");
  EXPECT_EQ(registryRoot(), "/set/by/test");
  setRegistryRoot("");
}

}  // namespace
}  // namespace platform
