#pragma once
// A unique temporary folder for one test: created under the temporary folder (TMPDIR, else /tmp)
// by the constructor, removed with everything inside it by the destructor. Symbolic links inside
// are removed, never followed. Header-only, standard library only, so every folder's tests can
// use it.

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

class TempDir {
public:
  explicit TempDir(std::string_view prefix = "kestrix-test") {
    namespace fs = std::filesystem;
    fs::path base = baseFolder();
    static std::atomic<unsigned> counter{0};
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      unsigned long long tag =
          (static_cast<unsigned long long>(device()) << 20) ^
          static_cast<unsigned long long>(
              std::chrono::steady_clock::now().time_since_epoch().count()) ^
          counter.fetch_add(1);
      fs::path candidate = base / (std::string(prefix) + "-" + std::to_string(tag % 1000000000000ULL));
      std::error_code ec;
      if (fs::create_directory(candidate, ec) && !ec) {
        path_ = candidate.string();
        return;
      }
    }
    throw std::runtime_error("TempDir: cannot create a temporary folder in " + base.string());
  }

  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, native and absolute, without a trailing '/'.
  const std::string& path() const { return path_; }

  // path() + "/" + name.
  std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
  static std::filesystem::path baseFolder() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp) return std::filesystem::path(tmp);
    return std::filesystem::path("/tmp");
  }

  std::string path_;
};

}  // namespace platform
