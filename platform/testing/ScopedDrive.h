#pragma once
// Maps one drive letter or share to a folder for one test and unmaps it again in the destructor.
// Header-only, for GoogleTest tests: a mapping the drive table refuses fails the test.

#include <gtest/gtest.h>

#include <string>

#include "platform/Path.h"

namespace platform {

class ScopedDrive {
 public:
  ScopedDrive(const char* drive, const std::string& root) : drive_(drive) {
    EXPECT_TRUE(setDrive(drive_, root)) << drive_ << " -> " << root;
  }
  ~ScopedDrive() { removeDrive(drive_); }
  ScopedDrive(const ScopedDrive&) = delete;
  ScopedDrive& operator=(const ScopedDrive&) = delete;

 private:
  std::string drive_;
};

}  // namespace platform
