// The drive table and osPath. The first part of the input (up to a NUL) is a KESTRIX_DRIVES text,
// the rest program paths, one a line. Checks: no more entries are taken than the text has; a
// mapped path's native form holds no '\', lies inside its drive's root and never climbs above it
// ("." and ".." resolved); a path on a drive without an entry never maps; and a native path under
// a mapped folder goes back to a program path that maps to the same native path.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "platform/Path.h"

namespace {

using fuzzing::check;


bool hasDotComponent(std::string_view rest) {
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t end = rest.find('/', pos);
    if (end == std::string_view::npos) end = rest.size();
    const std::string_view part = rest.substr(pos, end - pos);
    if (part == "." || part == "..") return true;
    pos = end + 1;
  }
  return false;
}

// A native path with runs of '/' made one and no trailing '/': the same file to this system.
std::string plain(const std::string& path) {
  std::string out;
  for (char c : path)
    if (c != '/' || out.empty() || out.back() != '/') out += c;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 14) return 0;
  const std::vector<std::string> parts = fuzzing::splitParts(data, size, '\0', 2);
  const std::string& table = parts[0];
  const std::size_t entries = [&] {
    std::size_t n = 1;
    for (char c : table) n += c == ';';
    return n;
  }();
  platform::clearDrives();
  const int taken = platform::loadDrives(table);
  check(taken >= 0 && static_cast<std::size_t>(taken) <= entries, "more drives taken than entries given");

  // A drive letter mapped here, to know its root.
  platform::setDrive("q", "/kx-fuzz/q-root");

  for (const std::string& path : fuzzing::linesOf(parts[1])) {
    std::string native;
    const bool mapped = platform::osPath(path, native);
    check(mapped || native.empty(), "an unmapped path leaves a native path behind");
    check(platform::osPath(path) == native, "the two forms of osPath differ");
    if (!mapped) continue;
    // Roots are native folders and may hold a '\' of their own; the program path's never stay.
    if (table.find('\\') == std::string::npos)
      check(native.find('\\') == std::string::npos, "a native path holds a backslash");

    if (path.size() >= 2 && (path[0] == 'q' || path[0] == 'Q') && path[1] == ':') {
      const std::string root = "/kx-fuzz/q-root";
      check(native.rfind(root, 0) == 0 && (native.size() == root.size() || native[root.size()] == '/'),
            "a path on a drive maps outside the drive's root");
      check(!hasDotComponent(std::string_view(native).substr(root.size())),
            "'.' or '..' left below a drive root");
    }
    // A native path goes through as it is ('..' is the file system's to resolve), so only one
    // without '.' and '..' must come back to itself through a drive.
    if (!native.empty() && native[0] == '/' && !hasDotComponent(native)) {
      const std::string back = platform::programPath(native);
      std::string again;
      check(platform::osPath(back, again) && plain(again) == plain(native),
            "a native path, written as a program path, maps elsewhere");
    }
  }

  // A drive letter with no entry never maps.
  platform::removeDrive("q");
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string probe = std::string(1, letter) + ":/x";
    std::string native;
    if (!platform::osPath(probe, native)) check(native.empty(), "an unmapped drive leaves a path");
  }
  std::string native;
  check(!platform::osPath("q:/x", native) && native.empty(), "a removed drive still maps");
  return 0;
}
