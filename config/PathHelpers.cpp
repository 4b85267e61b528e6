// Path and file helpers; see PathHelpers.h.

#include "config/PathHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "config/VariableExpansion.h"
#include "platform/FileSystem.h"
#include "platform/Module.h"
#include "platform/Path.h"
#include "platform/Time.h"

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }
bool isPartSeparator(char c) { return c == '/' || c == '\\' || c == ':'; }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string toStd(const RWCString& s) { return std::string(s.data(), s.length()); }
RWCString toRW(const std::string& s) { return RWCString(s.data(), s.size()); }

std::string lowerCopy(std::string s) {
  for (char& c : s) c = asciiLower(c);
  return s;
}

bool equalsIgnoreCase(const RWCString& a, const RWCString& b) {
  if (a.length() != b.length()) return false;
  for (std::size_t i = 0; i < a.length(); ++i)
    if (asciiLower(a.data()[i]) != asciiLower(b.data()[i])) return false;
  return true;
}

// Every separator becomes `to`, then the trailing LF, CR, tab, blank and separators go.
RWCString convertSeparators(const RWCString& text, char to) {
  std::string s = toStd(text);
  for (char& c : s)
    if (isSeparator(c)) c = to;
  return stripChars(toRW(s), kStripTrailing, "\n\r\t /\\");
}

// The module whose file name moduleFolder and moduleFileName report: the one this code is
// linked into.
const char moduleMarker = 0;

std::string moduleFile() {
  return platform::moduleFileName(platform::moduleOfAddress(&moduleMarker));
}

// True when `longer` starts with `prefix` and the character right after it is '/', '\' or ':':
// `longer` lies inside `prefix`. A root kept with its separator ("/", "c:/") counts as the path
// without it ("c:/x" lies inside "c:/"); a drive without one does not ("c:a" is not inside "c:").
bool liesInside(const std::string& longer, const std::string& prefix) {
  if (longer.size() <= prefix.size() || longer.compare(0, prefix.size(), prefix) != 0) return false;
  if (!prefix.empty() && isSeparator(prefix.back())) return true;
  return isPartSeparator(longer[prefix.size()]);
}

}  // namespace

RWCString stripChars(const RWCString& text, int mode, const char* chars) {
  if (!chars || !*chars) return text;
  const char* s = text.data();
  std::size_t b = 0, e = text.length();
  auto listed = [&](char c) { return c != '\0' && std::strchr(chars, c) != nullptr; };
  if (mode & kStripTrailing)
    while (e > b && listed(s[e - 1])) --e;
  if (mode & kStripLeading)
    while (b < e && listed(s[b])) ++b;
  if (b == 0 && e == text.length()) return text;
  return RWCString(s + b, e - b);
}

RWCString toNativeSeparators(const RWCString& text) { return convertSeparators(text, '\\'); }
RWCString toSlashSeparators(const RWCString& text) { return convertSeparators(text, '/'); }

RWTValOrderedVector<RWCString> splitPath(const RWCString& text) {
  RWTValOrderedVector<RWCString> parts(64);
  const char* s = text.data();
  const std::size_t n = text.length();
  if (n == 0) return parts;
  std::size_t i = 0;
  if (isSeparator(s[0])) {
    i = 1;
    if (n > 1 && isSeparator(s[1])) i = 2;
  }
  while (i < n && !isSeparator(s[i])) ++i;
  parts.append(RWCString(s, i));
  while (i < n) {
    ++i;  // one separator
    if (i >= n) break;
    const std::size_t begin = i;
    while (i < n && !isSeparator(s[i])) ++i;
    parts.append(RWCString(s + begin, i - begin));
  }
  return parts;
}

RWCString resolveDots(const RWCString& text) {
  std::string converted = toStd(text);
  for (char& c : converted)
    if (c == '\\') c = '/';
  const std::string stripped = toStd(toSlashSeparators(text));

  // The root the path starts from. A rooted path never goes above it; for a network path the
  // server and share are part of the root. Only exactly two leading separators start a network
  // path: three or more are one root of three ('////a' is '///a'), with no server or share.
  std::string prefix;
  bool rooted = false;
  std::size_t locked = 0;
  if (converted.rfind("///", 0) == 0) {
    prefix = "///";
    rooted = true;
  } else if (converted.rfind("//", 0) == 0) {
    prefix = "//";
    rooted = true;
    locked = 2;
  } else if (!converted.empty() && converted[0] == '/') {
    prefix = "/";
    rooted = true;
  } else if (converted.size() >= 2 && converted[1] == ':') {
    const bool driveRoot = converted.size() >= 3 && converted[2] == '/';
    prefix = converted.substr(0, driveRoot ? 3 : 2);
    rooted = driveRoot;
  }
  const std::string rest = stripped.size() > prefix.size() ? stripped.substr(prefix.size()) : "";

  std::vector<std::string> kept;
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t end = rest.find('/', i);
    if (end == std::string::npos) end = rest.size();
    const std::string part = rest.substr(i, end - i);
    i = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (kept.size() > locked && kept.back() != "..") {
        kept.pop_back();
        continue;
      }
      if (rooted) continue;  // nothing lies above the root
    }
    kept.push_back(part);
  }
  std::string out = prefix;
  for (std::size_t k = 0; k < kept.size(); ++k) {
    if (k > 0) out += '/';
    out += kept[k];
  }
  return toRW(out);
}

RWCString absolutePath(const RWCString& base, const RWCString& name, bool expand) {
  const RWCString b = toSlashSeparators(base);
  const RWCString e = expandVariables(name);
  const bool absolute = (!e.isEmpty() && isSeparator(e.data()[0])) ||
                        (e.length() >= 2 && e.data()[1] == ':');
  RWCString result = absolute ? name : (b.isEmpty() ? name : b + "/" + name);
  result = resolveDots(result);
  if (expand) result = expandVariables(result);
  return result;
}

RWCString absoluteDirectory(const RWCString& path, int* status) {
  int localStatus = 1;
  int& st = status ? *status : localStatus;
  st = 1;
  int expansion = 1;
  const RWCString expanded = expandVariablesWithStatus(path, &expansion, 1);
  if (expansion == kExpandFailed) {
    st = kExpandFailed;
    return expanded;
  }
  RWCString p = toSlashSeparators(path);
  // The trailing strip takes a root folder down to nothing; it is still the root.
  if (p.isEmpty() && !path.isEmpty() && isSeparator(path.data()[0])) p = "/";
  const std::string remembered = platform::currentFolder();
  if (changeDirectory(p) != 1) {
    st = -3;
    return RWCString();
  }
  const std::string entered = platform::currentFolder();
  platform::changeFolder(remembered);
  if (entered.empty()) {
    st = -3;
    return RWCString();
  }
  return toRW(entered);
}

int changeDirectory(const RWCString& path) {
  int status = 1;
  RWCString p = expandVariablesWithStatus(path, &status, 1);
  if (status != kExpandDone) return -1;
  // There is no current drive here: the drive letter stays part of the path that osPath maps.
  if (p.length() >= 2) {
    const RWCString stripped = stripChars(p, kStripTrailing, "/\\");
    if (!stripped.isEmpty()) p = stripped;
  }
  return platform::changeFolder(toStd(p)) ? 1 : -1;
}

RWCString currentDirectory() { return toRW(platform::currentFolder()); }

RWCString directoryPart(const RWCString& path, bool useWorkingDirectory) {
  const char* s = path.data();
  std::size_t k = path.length();
  while (k > 0 && !isPartSeparator(s[k - 1])) --k;
  if (k <= 1) return useWorkingDirectory ? currentDirectory() : RWCString();
  const std::size_t sep = k - 1;
  // A drive's colon belongs to the folder: "c:x" lies in "c:".
  RWCString result(s, s[sep] == ':' ? sep + 1 : sep);
  if (result.length() == 2 && result.data()[1] == ':') result += "/";
  return result;
}

RWCString fileNamePart(const RWCString& path) {
  const char* s = path.data();
  std::size_t k = path.length();
  while (k > 0 && !isPartSeparator(s[k - 1])) --k;
  return RWCString(s + k, path.length() - k);
}

RWCString fileExtension(const RWCString& path) {
  const std::size_t dot = path.lastByte('.');
  if (dot == RW_NPOS || dot + 1 >= path.length()) return RWCString();
  std::string ext(path.data() + dot + 1, path.length() - dot - 1);
  return toRW(lowerCopy(ext));
}

RWCString moduleFolder() { return directoryPart(toRW(moduleFile()), true); }
RWCString moduleFileName() { return fileNamePart(toRW(moduleFile())); }

int canCreateFile(const RWCString& path) {
  RWCString p = path;
  while (!p.isEmpty()) {
    const std::string sp = toStd(p);
    if (platform::exists(sp)) return platform::isAccessible(sp, platform::kAccessWrite) ? 1 : 0;
    const RWCString dir = directoryPart(p, false);
    const RWCString file = fileNamePart(p);
    if (dir.isEmpty() || file.isEmpty() || dir.length() >= p.length()) return 0;
    if (!platform::exists(toStd(dir))) {
      p = dir;  // creatable when the missing folder is
      continue;
    }
    std::FILE* f = platform::openRegularFile(sp, "a");
    if (!f) return 0;
    std::fclose(f);
    platform::removeFile(sp);
    return 1;
  }
  return 0;
}

RWCString findInSearchPath(const RWCString& name, const RWCString& list, bool returnExpanded) {
  const RWCString expandedName = expandVariables(name);
  const bool absolute = expandedName.length() > 1 &&
                        (isSeparator(expandedName.data()[0]) || expandedName.data()[1] == ':');
  if (absolute && platform::exists(toStd(expandedName)))
    return returnExpanded ? expandedName : name;

  const RWCString stem = stripChars(name, kStripTrailing, "/\\ ");
  const std::string items = toStd(list);
  std::size_t i = 0;
  while (i < items.size()) {
    std::size_t end = items.find(';', i);
    if (end == std::string::npos) end = items.size();
    const RWCString item(items.data() + i, end - i);
    i = end + 1;
    if (item.isEmpty()) continue;
    RWCString candidate = stripChars(item, kStripTrailing, "/\\");
    if (!stem.isEmpty()) candidate += "/" + stem;
    int status = 1;
    RWCString expanded = expandVariablesWithStatus(candidate, &status, 1);
    if (status != kExpandDone) expanded = RWCString();
    if (!expanded.isEmpty() && platform::exists(toStd(expanded)))
      return returnExpanded ? expanded : candidate;
  }
  return RWCString();
}

bool makeDirectories(const RWCString& path) {
  const RWTValOrderedVector<RWCString> parts = splitPath(path);
  RWCString prefix;
  for (std::size_t i = 0; i < parts.count(); ++i) {
    prefix = (i == 0) ? parts.at(0) : prefix + "/" + parts.at(i);
    platform::makeFolder(toStd(prefix));
  }
  return platform::exists(toStd(path));
}

RWCString relativePath(const RWCString& base, const RWCString& path, int* status) {
  int localStatus = 1;
  int& st = status ? *status : localStatus;
  st = -1;
  int baseStatus = 1, pathStatus = 1, ignored = 1;
  const RWCString b = expandVariablesWithStatus(base, &baseStatus, 1);
  const RWCString p = expandVariablesWithStatus(path, &pathStatus, 1);
  // A path or base that cannot be expanded has no relation to anything.
  if (baseStatus != kExpandDone || pathStatus != kExpandDone) return RWCString();
  const RWTValOrderedVector<RWCString> bp = splitPath(toSlashSeparators(universalName(b, &ignored)));
  const RWTValOrderedVector<RWCString> pp = splitPath(toSlashSeparators(universalName(p, &ignored)));
  if (pp.count() < bp.count()) return RWCString();
  for (std::size_t i = 0; i < bp.count(); ++i)
    if (!equalsIgnoreCase(bp.at(i), pp.at(i))) return RWCString();
  RWCString result;
  for (std::size_t i = bp.count(); i < pp.count(); ++i) {
    if (i > bp.count()) result += "/";
    result += pp.at(i);
  }
  st = 1;
  return result;
}

RWCString universalName(const RWCString& path, int* status) {
  std::string universal;
  if (!platform::universalName(toStd(path), universal)) {
    if (status) *status = -1;
    return path;
  }
  if (status) *status = 1;
  return toSlashSeparators(RWCString(universal.data(), universal.size()));
}

int comparePaths(const RWCString& a, const RWCString& b) {
  auto prepare = [](const RWCString& x) {
    int ignored = 1;
    return lowerCopy(toStd(universalName(resolveDots(expandVariables(x)), &ignored)));
  };
  const std::string pa = prepare(a);
  const std::string pb = prepare(b);
  if (pa == pb) return 0;
  if (liesInside(pa, pb)) return 1;
  if (liesInside(pb, pa)) return 2;
  return -1;
}

int compareModificationTimes(const RWCString& a, const RWCString& b, int* status) {
  int localStatus = 1;
  int& st = status ? *status : localStatus;
  st = 1;
  platform::FileStatus sa, sb;
  if (!platform::status(toStd(a), sa) || !platform::status(toStd(b), sb)) {
    st = -1;
    return 0;
  }
  if (sa.modified == sb.modified) return 0;
  return sa.modified < sb.modified ? -1 : 1;
}

int copyFileKeepTimes(const RWCString& destination, const RWCString& source) {
  const RWCString d = toSlashSeparators(destination);
  const RWCString s = toSlashSeparators(source);
  if (equalsIgnoreCase(d, s)) return 0;
  const std::string nativeSource = platform::osPath(toStd(s));
  const std::string nativeDestination = platform::osPath(toStd(d));
  // Opening the destination for writing would truncate the source when both are one file under
  // two names (links, another drive mapped onto the same folder, "." and "..").
  if (platform::sameFile(toStd(s), toStd(d))) return 0;

  platform::FileStatus sourceStatus;
  const bool haveStatus = platform::status(toStd(s), sourceStatus);
  const std::uint64_t quarter = haveStatus ? sourceStatus.size / 4 : 0;
  const std::size_t bufferSize =
      static_cast<std::size_t>(std::clamp<std::uint64_t>(quarter, 1000, 50000));
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
  if (!buffer) return -1;

  if (nativeSource.empty()) return -2;
  std::FILE* in = platform::openRegularFile(toStd(s));
  if (!in) return -2;
  std::FILE* out = nativeDestination.empty() ? nullptr : platform::openRegularFile(toStd(d), "wb");
  if (!out) {
    std::fclose(in);
    return -3;
  }
  std::clearerr(in);
  std::clearerr(out);
  int result = 1;
  for (;;) {
    const std::size_t got = std::fread(buffer.get(), 1, bufferSize, in);
    if (std::ferror(in)) {
      result = -4;
      break;
    }
    if (got == 0) break;
    if (std::fwrite(buffer.get(), 1, got, out) != got || std::ferror(out)) {
      result = -5;
      break;
    }
  }
  std::fclose(in);
  if (std::fclose(out) != 0 && result == 1) result = -5;
  if (result == 1 && haveStatus)
    platform::setFileTimes(toStd(d), sourceStatus.modified, platform::currentTime());
  return result;
}

std::int64_t fileSize(const RWCString& path) {
  const std::string p = toStd(path);
  platform::FileStatus st;
  if (!platform::status(p, st) || st.kind != platform::FileKind::File) return -1;
  if (!platform::isAccessible(p, platform::kAccessRead)) return -1;
  return static_cast<std::int64_t>(st.size);
}
