#pragma once
// Shared pieces of the fuzz targets: a failed check that names itself, one temporary folder per
// process (removed at exit) with a private registry root, writing a whole file, and splitting an
// input into its parts.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "platform/Registry.h"

namespace fuzzing {

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

inline void check(bool condition, const char* what) {
  if (!condition) fail(what);
}

// The process's scratch folder, in memory (/dev/shm) where there is one, so that the many small
// writes of a run never wait for a disk; removed at exit. The registry store is pointed below it
// on first use, so that no target ever reads or writes the user's own store.
class ScratchFolder {
public:
  ScratchFolder() {
    std::string base = "/dev/shm";
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/kestrix-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("cannot make the scratch folder");
    path_ = pattern;
    platform::setRegistryRoot(path_ + "/registry");
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

private:
  std::string path_;
};

inline const std::string& scratch() {
  static ScratchFolder folder;
  return folder.path();
}

// A folder below the scratch folder (made with its parents on first use).
inline std::string scratchFolder(const std::string& relative) {
  const std::string folder = scratch() + "/" + relative;
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

inline void writeFile(const std::string& path, std::string_view data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!out) fail("cannot write a scratch file");
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The input cut at the first `count - 1` occurrences of `separator`; the last part keeps the rest.
inline std::vector<std::string> splitParts(const std::uint8_t* data, std::size_t size, char separator,
                                           std::size_t count) {
  std::vector<std::string> parts;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (parts.size() + 1 < count) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) break;
    parts.emplace_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  parts.emplace_back(text);
  parts.resize(count);
  return parts;
}

// The lines of a text, split at '\n' (a last line without one counts too).
inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

// The number N of a message "line N: ...", or -1 when the message is not of that form.
inline long lineOfMessage(const std::string& message) {
  if (message.rfind("line ", 0) != 0) return -1;
  std::size_t i = 5;
  long n = 0;
  if (i >= message.size() || message[i] < '0' || message[i] > '9') return -1;
  while (i < message.size() && message[i] >= '0' && message[i] <= '9' && n < 100000000)
    n = n * 10 + (message[i++] - '0');
  if (i >= message.size() || message[i] != ':') return -1;
  return n;
}

}  // namespace fuzzing
