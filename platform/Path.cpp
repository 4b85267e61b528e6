// The drive table and the program-to-native path mapping.
#include "platform/Path.h"

#include <cstdlib>
#include <map>
#include <vector>

#include "platform/Lock.h"

namespace platform {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string lowered(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = lower(c);
  return r;
}

std::string slashed(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c == '\\') c = '/';
  return r;
}

// Splits a slashed path that starts with "//" into its share key ("//server/share", lower-cased)
// and the rest ("" or "/..."). False when server or share is missing.
bool splitShare(const std::string& p, std::string& key, std::string& rest) {
  if (p.size() < 3 || p[0] != '/' || p[1] != '/' || p[2] == '/') return false;
  size_t serverEnd = p.find('/', 2);
  if (serverEnd == std::string::npos || serverEnd + 1 >= p.size() || p[serverEnd + 1] == '/')
    return false;
  size_t shareEnd = p.find('/', serverEnd + 1);
  if (shareEnd == std::string::npos) shareEnd = p.size();
  key = lowered(std::string_view(p).substr(0, shareEnd));
  rest = p.substr(shareEnd);
  return true;
}

// Normalises a drive name: "c", "C:" -> "c:"; "//Server/Share/" or "\\Server\Share" ->
// "//server/share". False when it is neither.
bool driveKey(std::string_view drive, std::string& key) {
  if ((drive.size() == 1 || (drive.size() == 2 && drive[1] == ':')) && isLetter(drive[0])) {
    key = std::string(1, lower(drive[0])) + ":";
    return true;
  }
  std::string p = slashed(drive);
  while (p.size() > 2 && p.back() == '/') p.pop_back();
  std::string rest;
  if (!splitShare(p, key, rest) || !rest.empty()) return false;
  return true;
}

struct DriveTable {
  Lock& lock = Lock::create();
  bool loaded = false;
  // key ("c:" or "//server/share") -> native root without trailing '/' ("" for "/").
  std::map<std::string, std::string> roots;
  // The key's spelling as given, for programPath.
  std::map<std::string, std::string> spelling;
};

DriveTable& table() {
  static DriveTable* t = new DriveTable;   // never destroyed: usable during static destruction
  return *t;
}

bool setLocked(DriveTable& t, std::string_view drive, std::string_view nativeRoot) {
  std::string key;
  if (!driveKey(drive, key)) return false;
  std::string root(nativeRoot);
  if (root.empty() || root[0] != '/') return false;
  while (!root.empty() && root.back() == '/') root.pop_back();
  t.roots[key] = root;
  std::string spell = key;
  if (key.size() > 2) {   // a share keeps the case it was given with
    std::string p = slashed(drive);
    while (p.size() > 2 && p.back() == '/') p.pop_back();
    spell = p;
  }
  t.spelling[key] = spell;
  return true;
}

int loadLocked(DriveTable& t, std::string_view text) {
  t.roots.clear();
  t.spelling.clear();
  t.loaded = true;
  int taken = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view entry = text.substr(pos, end - pos);
    size_t eq = entry.find('=');
    if (eq != std::string_view::npos && setLocked(t, entry.substr(0, eq), entry.substr(eq + 1)))
      ++taken;
    pos = end + 1;
  }
  return taken;
}

// Resolves "." and ".." in the part of a path below its drive or share root, lexically and never
// above the root, as Windows does ("c:/a/../../x" is "c:/x"). `rest` is "" or starts with '/'.
std::string resolveBelowRoot(const std::string& rest) {
  std::vector<std::string_view> parts;
  std::string_view r(rest);
  size_t pos = 0;
  while (pos < r.size()) {
    size_t end = r.find('/', pos);
    if (end == std::string_view::npos) end = r.size();
    std::string_view part = r.substr(pos, end - pos);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    pos = end + 1;
  }
  std::string out;
  for (std::string_view part : parts) out.append("/").append(part);
  if (!rest.empty() && rest.back() == '/') out.push_back('/');
  return out;
}

void ensureLoaded(DriveTable& t) {
  if (t.loaded) return;
  const char* env = std::getenv("KESTRIX_DRIVES");
  loadLocked(t, env ? env : "");
}

}  // namespace

bool osPath(std::string_view programPath, std::string& nativePath) {
  std::string p = slashed(programPath);   // first: `programPath` may view `nativePath`
  nativePath.clear();
  if (p.empty()) return false;
  std::string key, rest;
  if (p.size() >= 2 && p[0] == '/' && p[1] == '/') {
    if (!splitShare(p, key, rest)) return false;
  } else if (p.size() >= 2 && p[1] == ':' && isLetter(p[0])) {
    key = std::string(1, lower(p[0])) + ":";
    rest = p.substr(2);
    if (!rest.empty() && rest[0] != '/') rest.insert(rest.begin(), '/');   // "c:x": from the root
  } else {
    nativePath = std::move(p);
    return true;
  }
  DriveTable& t = table();
  LockGuard guard(t.lock);
  ensureLoaded(t);
  auto it = t.roots.find(key);
  if (it == t.roots.end()) return false;
  nativePath = it->second + resolveBelowRoot(rest);
  if (nativePath.empty()) nativePath = "/";
  return true;
}

std::string osPath(std::string_view programPath) {
  std::string native;
  osPath(programPath, native);
  return native;
}

std::string programPath(std::string_view nativePath) {
  std::string p(nativePath);
  if (p.empty() || p[0] != '/') return p;
  DriveTable& t = table();
  LockGuard guard(t.lock);
  ensureLoaded(t);
  const std::string* bestKey = nullptr;
  size_t bestLength = 0;
  bool found = false;
  for (const auto& [key, root] : t.roots) {
    bool inside = p.size() >= root.size() && p.compare(0, root.size(), root) == 0 &&
                  (p.size() == root.size() || p[root.size()] == '/');
    if (inside && (!found || root.size() > bestLength)) {
      bestKey = &key;
      bestLength = root.size();
      found = true;
    }
  }
  if (!found) return p;
  std::string rest = p.substr(bestLength);
  if (rest.empty()) rest = "/";
  return t.spelling[*bestKey] + rest;
}

bool universalName(std::string_view programPath, std::string& universal) {
  std::string p = slashed(programPath);   // first: `programPath` may view `universal`
  universal.clear();
  if (p.size() < 2 || p[1] != ':' || !isLetter(p[0])) return false;
  std::string key = std::string(1, lower(p[0])) + ":";
  std::string rest = p.substr(2);
  if (!rest.empty() && rest[0] != '/') rest.insert(rest.begin(), '/');
  rest = resolveBelowRoot(rest);
  DriveTable& t = table();
  LockGuard guard(t.lock);
  ensureLoaded(t);
  auto drive = t.roots.find(key);
  if (drive == t.roots.end()) return false;
  const std::string& root = drive->second;
  const std::string* bestShare = nullptr;
  size_t bestLength = 0;
  for (const auto& [shareKey, shareRoot] : t.roots) {
    if (shareKey.size() <= 2) continue;   // a drive letter, not a share
    bool inside = root.size() >= shareRoot.size() &&
                  root.compare(0, shareRoot.size(), shareRoot) == 0 &&
                  (root.size() == shareRoot.size() || root[shareRoot.size()] == '/' ||
                   shareRoot.empty());
    if (inside && (!bestShare || shareRoot.size() > bestLength)) {
      bestShare = &shareKey;
      bestLength = shareRoot.size();
    }
  }
  if (!bestShare) return false;
  universal = t.spelling[*bestShare] + root.substr(bestLength) + rest;
  return true;
}

bool setDrive(std::string_view drive, std::string_view nativeRoot) {
  DriveTable& t = table();
  LockGuard guard(t.lock);
  ensureLoaded(t);
  return setLocked(t, drive, nativeRoot);
}

bool removeDrive(std::string_view drive) {
  std::string key;
  if (!driveKey(drive, key)) return false;
  DriveTable& t = table();
  LockGuard guard(t.lock);
  ensureLoaded(t);
  t.spelling.erase(key);
  return t.roots.erase(key) > 0;
}

void clearDrives() {
  DriveTable& t = table();
  LockGuard guard(t.lock);
  t.roots.clear();
  t.spelling.clear();
  t.loaded = true;
}

int loadDrives(std::string_view tableText) {
  DriveTable& t = table();
  LockGuard guard(t.lock);
  return loadLocked(t, tableText);
}

int loadDrivesFromEnvironment() {
  const char* env = std::getenv("KESTRIX_DRIVES");
  return loadDrives(env ? env : "");
}

}  // namespace platform
