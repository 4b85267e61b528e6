#include "platform/Module.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/Path.h"
#include "platform/testing/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

template <typename F>
F symbol(ModuleHandle m, const char* name) {
  return reinterpret_cast<F>(findSymbol(m, name));
}

ModuleHandle gDetachHandle = nullptr;
unsigned long gDetachReason = 99;
void detachSink(ModuleHandle h, unsigned long reason) {
  gDetachHandle = h;
  gDetachReason = reason;
}

TEST(ModuleTest, AttachHookRunsAtLoadWithTheLoadersHandle) {
  std::string error;
  ModuleHandle m = loadModule(KXPLATFORM_TEST_MODULE, error);
  ASSERT_NE(m, nullptr) << error;
  EXPECT_TRUE(error.empty());

  auto handle = symbol<ModuleHandle (*)()>(m, "testModuleAttachHandle");
  auto reason = symbol<unsigned long (*)()>(m, "testModuleAttachReason");
  auto calls = symbol<int (*)()>(m, "testModuleAttachCalls");
  auto self = symbol<ModuleHandle (*)()>(m, "testModuleSelf");
  auto setSink = symbol<void (*)(void (*)(ModuleHandle, unsigned long))>(m, "testModuleSetDetachSink");
  ASSERT_TRUE(handle && reason && calls && self && setSink);
  EXPECT_EQ(handle(), m);
  EXPECT_EQ(reason(), kProcessAttach);
  EXPECT_EQ(calls(), 1);
  EXPECT_EQ(self(), m);
  EXPECT_EQ(moduleOfAddress(reinterpret_cast<const void*>(handle)), m);
  EXPECT_EQ(fs::path(moduleFileName(m)), fs::canonical(KXPLATFORM_TEST_MODULE));
  EXPECT_EQ(findSymbol(m, "noSuchSymbol"), nullptr);

  // A second load is the same module: no second attach.
  ModuleHandle again = loadModule(KXPLATFORM_TEST_MODULE, error);
  EXPECT_EQ(again, m);
  EXPECT_EQ(calls(), 1);
  EXPECT_TRUE(unloadModule(again));

  setSink(&detachSink);
  EXPECT_TRUE(unloadModule(m));   // the last load: the module goes, detaching
  EXPECT_EQ(gDetachHandle, m);
  EXPECT_EQ(gDetachReason, kProcessDetach);
  EXPECT_FALSE(unloadModule(m));
}

TEST(ModuleTest, LoadFailuresSayWhy) {
  TempDir dir;
  struct Case {
    std::string path;
    const char* mention;
  } cases[] = {
      {dir.file("missing.so"), "missing.so"},
      {dir.path(), dir.path().c_str()},
      {"q:\\cad\\x.dll", "q:\\cad\\x.dll"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(loadModule(c.path, error), nullptr) << c.path;
    EXPECT_NE(error.find(c.mention), std::string::npos) << error;
  }
}

TEST(ModuleTest, FileNamesOfTheProgramAndOverrides) {
  ModuleHandle self = moduleOfAddress(reinterpret_cast<const void*>(&detachSink));
  ASSERT_NE(self, nullptr);
  std::string exe = fs::canonical("/proc/self/exe").string();
  EXPECT_EQ(moduleFileName(self), exe);
  EXPECT_EQ(moduleFileName(nullptr), exe);
  EXPECT_EQ(moduleFileName(reinterpret_cast<ModuleHandle>(0x10)), "");   // not a module
  EXPECT_EQ(moduleOfAddress(nullptr), nullptr);

  // The library this test links is its own module.
  ModuleHandle lib = moduleOfAddress(reinterpret_cast<const void*>(&loadModule));
  EXPECT_NE(lib, self);
  EXPECT_EQ(fs::path(moduleFileName(lib)).filename(), "libkxplatform.so");
  // Symbols of a module that loadModule did not load (the C library).
  ModuleHandle libc = moduleOfAddress(reinterpret_cast<const void*>(&std::strlen));
  ASSERT_NE(libc, nullptr);
  EXPECT_EQ(findSymbol(libc, "strlen"), reinterpret_cast<void*>(&std::strlen));
  EXPECT_EQ(findSymbol(reinterpret_cast<ModuleHandle>(0x10), "strlen"), nullptr);

  ModuleHandle fake = reinterpret_cast<ModuleHandle>(0x1234);
  setModuleFileNameOverride(fake, "//srv/share/bin/x.dll");
  setModuleFileNameOverride(self, "c:/cad/bin/x.dll");
  EXPECT_EQ(moduleFileName(fake), "//srv/share/bin/x.dll");
  EXPECT_EQ(moduleFileName(self), "c:/cad/bin/x.dll");
  clearModuleFileNameOverride(self);
  clearModuleFileNameOverride(fake);
  EXPECT_EQ(moduleFileName(self), exe);
  EXPECT_EQ(moduleFileName(fake), "");
}

TEST(ModuleTest, FileNameUsesTheDriveTable) {
  ModuleHandle self = moduleOfAddress(reinterpret_cast<const void*>(&detachSink));
  fs::path exe = fs::canonical("/proc/self/exe");
  ASSERT_TRUE(setDrive("m", exe.parent_path().string()));
  EXPECT_EQ(moduleFileName(self), "m:/" + exe.filename().string());
  removeDrive("m");
}

}  // namespace
}  // namespace platform
