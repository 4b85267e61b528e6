// Path parsing of pathNameC. Checks, for any text: the kept text holds no '\' and no trailing
// '/' (unless it is one character); the native form reads back as the same path; the parent is a
// leading part of the text, and where the text has no doubled '/' the parent joined with the
// last component gives the path again; the extension is the end of the last component; a new
// extension is what extension() then gives; the drive and //server/share parts agree with the
// predicates; lower-casing twice changes nothing more; the part of a path below another is the
// path itself or relative.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/pathName.h"
#include "fuzz/FuzzSupport.h"

namespace {

using fuzzing::check;

std::string_view view(const RWCString& s) { return std::string_view(s.data(), s.length()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const RWCString input(reinterpret_cast<const char*>(data), size);
  const pathNameC path(input);
  const std::string_view text = view(path.text());

  check(text.find('\\') == std::string_view::npos, "a kept path holds a backslash");
  check(text.size() <= 1 || text.back() != '/', "a kept path ends in '/'");
  check(pathNameC(path.nativePath()) == path, "the native form reads back as another path");
  check(pathNameC(path.text()) == path, "the kept text reads back as another path");

  const pathNameC parent = path.parent();
  const std::string_view up = view(parent.text());
  check(text.substr(0, up.size()) == up, "the parent is not a leading part of the path");
  const RWCString name = path.fileName();
  if (!parent.isEmpty()) {
    check(up.size() < text.size(), "the parent is as long as the path");
    if (text.find("//") == std::string_view::npos && !name.isEmpty() && name.firstByte(':') == RW_NPOS &&
        !path.hasDrive())
      check(parent.join(pathNameC(name)) == path, "parent joined with the file name is another path");
  }
  check(view(name).find('/') == std::string_view::npos || text.size() <= 1 || name == path.text(),
        "a file name holds a '/'");

  const RWCString extension = path.extension();
  if (!extension.isEmpty()) {
    const std::string_view n = view(name), e = view(extension);
    check(n.size() > e.size() && n.substr(n.size() - e.size()) == e && n[n.size() - e.size() - 1] == '.',
          "the extension is not the end of the file name");
    check(e.find('.') == std::string_view::npos, "an extension holds a '.'");
  }

  if (path.hasDrive()) check(path.driveLetter().length() == 1, "a drive that is no letter");
  else check(path.driveLetter().isEmpty(), "a drive letter without a drive");
  check(path.isDriveRoot() == (path.hasDrive() && text.size() == 2), "a drive root that is not 'X:'");
  if (!path.serverName().isEmpty()) check(path.isUncPath(), "a server name outside a //server path");
  if (path.isUncPath()) check(text.size() > 2 && text.substr(0, 2) == "//", "a //server path that is none");
  if (path.hasShareName() && text.find("//", 2) == std::string_view::npos)
    check(!path.shareName().isEmpty(), "a share without a name");
  if (path.isShareRoot() || path.isServerOnly()) check(path.isUncPath(), "a share root outside //server");

  pathNameC lower = path;
  lower.toLower();
  pathNameC twice = lower;
  twice.toLower();
  check(twice == lower, "lower-casing twice changes the path");
  check(lower.text().length() == path.text().length(), "lower-casing changes the length");

  const pathNameC other(RWCString(reinterpret_cast<const char*>(data), size / 2));
  const pathNameC joined = path.join(other);
  if (other.isAbsolute()) check(joined == other, "joining an absolute path does not give it");
  const pathNameC below = joined.relativeTo(path);
  check(below == joined || !below.isAbsolute(), "a part below a base is absolute");
  const pathNameC inside = path.relativeTo(other);
  check(inside == path || !inside.isAbsolute(), "a part below a base is absolute");
  return 0;
}
