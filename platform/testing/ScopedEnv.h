#pragma once
// Sets or unsets one environment variable for a scope and restores its earlier state (value, or
// absence) in the destructor. Header-only, for tests. Not thread-safe: the environment is
// process-wide, so tests that use it must not run it concurrently.

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class ScopedEnv {
public:
  // Sets `name` to `value`.
  ScopedEnv(std::string_view name, std::string_view value) : name_(name) {
    remember();
    ::setenv(name_.c_str(), std::string(value).c_str(), 1);
  }

  // Removes `name` from the environment.
  explicit ScopedEnv(std::string_view name) : name_(name) {
    remember();
    ::unsetenv(name_.c_str());
  }

  ~ScopedEnv() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }

  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  void remember() {
    if (const char* v = std::getenv(name_.c_str())) old_ = std::string(v);
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace platform
