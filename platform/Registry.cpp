// The registry store: one text file per hive under the root, read into a tree on demand and
// cached until the file changes (every write renames a new file in, so the file's identity tells).
// Writes are read-modify-write under the process lock and an flock on "<root>/.lock", then an
// atomic replacement of the hive file.
#include "platform/Registry.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/Lock.h"

namespace platform {

namespace {

constexpr size_t kMaxKeyName = 255;
constexpr size_t kMaxValueName = 16383;
const char kHeader[] = "kestrix-registry 1";
const char kTrailer[] = "\nend\n";

const char* const kHiveNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

std::string folded(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

struct Value {
  std::string name;   // as first written
  RegistryValue data;
};

struct Key {
  std::string name;                                   // as created
  std::map<std::string, Value> values;                // folded name -> value
  std::map<std::string, std::unique_ptr<Key>> subkeys;   // folded name -> key

  Key* child(std::string_view n) const {
    auto it = subkeys.find(folded(n));
    return it == subkeys.end() ? nullptr : it->second.get();
  }
  Key& makeChild(std::string_view n) {
    std::unique_ptr<Key>& slot = subkeys[folded(n)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = std::string(n);
    }
    return *slot;
  }
};

// Splits a key path at '\', dropping empty components. False for an invalid component.
bool splitKeyPath(std::string_view path, std::vector<std::string_view>& parts) {
  parts.clear();
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('\\', pos);
    if (end == std::string_view::npos) end = path.size();
    std::string_view part = path.substr(pos, end - pos);
    if (!part.empty()) {
      if (part.size() > kMaxKeyName || part.find('\0') != std::string_view::npos) return false;
      parts.push_back(part);
    }
    pos = end + 1;
  }
  return true;
}

bool validValueName(std::string_view name) {
  return name.size() <= kMaxValueName && name.find('\0') == std::string_view::npos;
}

// ---- file format --------------------------------------------------------------------------
// Line 1: the header; the last line: "end". Between them, for every key, parents first:  "key =<p1>/<p2>/..."  followed by its
// values:  "text =<name> =<text>"  or  "number =<name> <decimal>". Tokens are '=' followed by the
// bytes, every byte outside [A-Za-z0-9._-] written as %XX, so no name or text can break a line.

std::string encode(std::string_view s) {
  static const char hex[] = "0123456789ABCDEF";
  std::string r = "=";
  for (unsigned char c : s) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
        c == '_' || c == '-') {
      r.push_back(static_cast<char>(c));
    } else {
      r.push_back('%');
      r.push_back(hex[c >> 4]);
      r.push_back(hex[c & 15]);
    }
  }
  return r;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool decode(std::string_view token, std::string& out) {
  out.clear();
  if (token.empty() || token[0] != '=') return false;
  for (size_t i = 1; i < token.size(); ++i) {
    if (token[i] != '%') {
      out.push_back(token[i]);
      continue;
    }
    if (i + 2 >= token.size()) return false;
    int hi = hexDigit(token[i + 1]), lo = hexDigit(token[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<char>(hi * 16 + lo));
    i += 2;
  }
  return true;
}

void splitTokens(std::string_view line, std::vector<std::string_view>& tokens) {
  tokens.clear();
  size_t pos = 0;
  while (pos < line.size()) {
    size_t end = line.find(' ', pos);
    if (end == std::string_view::npos) end = line.size();
    tokens.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
}

void writeKey(const Key& key, const std::string& encodedPath, std::string& out) {
  out += "key " + (encodedPath.empty() ? std::string("=") : encodedPath) + "\n";
  for (const auto& [folded, v] : key.values) {
    if (v.data.type == RegistryType::Number)
      out += "number " + encode(v.name) + " " + std::to_string(v.data.number) + "\n";
    else
      out += "text " + encode(v.name) + " " + encode(v.data.text) + "\n";
  }
  for (const auto& [folded, child] : key.subkeys) {
    std::string childPath = encodedPath.empty() ? encode(child->name)
                                                : encodedPath + "/" + encode(child->name).substr(1);
    writeKey(*child, childPath, out);
  }
}

// Parses a hive file into `root`. False for anything that is not a well-formed store, names and
// texts the setters would refuse (a NUL byte, a name past its limit) included, so that a damaged
// file never lists what cannot be read.
bool parseHive(std::string_view text, Key& root) {
  size_t pos = 0;
  auto nextLine = [&](std::string_view& line) {
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    pos = end + 1;
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || line != kHeader) return false;
  // The last line is the end mark: a file cut short anywhere (even at a line end) is refused.
  if (text.size() < sizeof kTrailer || text.substr(text.size() - (sizeof kTrailer - 1)) != kTrailer)
    return false;
  text.remove_suffix(sizeof kTrailer - 1);
  Key* current = nullptr;
  std::vector<std::string_view> tokens;
  std::string name, data;
  while (nextLine(line)) {
    if (line.empty()) continue;
    splitTokens(line, tokens);
    if (tokens[0] == "key" && tokens.size() == 2) {
      std::string_view path = tokens[1];
      if (path.empty() || path[0] != '=') return false;
      current = &root;
      path.remove_prefix(1);
      size_t p = 0;
      while (!path.empty() && p <= path.size()) {
        size_t end = path.find('/', p);
        if (end == std::string_view::npos) end = path.size();
        std::string component = "=" + std::string(path.substr(p, end - p));
        if (!decode(component, name) || name.empty() || name.size() > kMaxKeyName ||
            name.find('\0') != std::string::npos)
          return false;
        current = &current->makeChild(name);
        p = end + 1;
      }
    } else if (tokens[0] == "text" && tokens.size() == 3 && current) {
      if (!decode(tokens[1], name) || !validValueName(name) || !decode(tokens[2], data) ||
          data.find('\0') != std::string::npos)
        return false;
      Value& v = current->values[folded(name)];
      v.name = name;
      v.data.type = RegistryType::Text;
      v.data.text = data;
    } else if (tokens[0] == "number" && tokens.size() == 3 && current) {
      if (!decode(tokens[1], name) || !validValueName(name)) return false;
      std::string digits(tokens[2]);
      char* end = nullptr;
      errno = 0;
      unsigned long long n = std::strtoull(digits.c_str(), &end, 10);
      if (digits.empty() || *end || errno || n > 0xFFFFFFFFull || digits[0] == '-') return false;
      Value& v = current->values[folded(name)];
      v.name = name;
      v.data.type = RegistryType::Number;
      v.data.number = static_cast<std::uint32_t>(n);
    } else {
      return false;
    }
  }
  return true;
}

// Keys a fresh profile has.
void addStandardKeys(RegistryHive hive, Key& root) {
  if (hive == RegistryHive::CurrentUser) {
    root.makeChild("Environment");
    root.makeChild("SOFTWARE");
  } else if (hive == RegistryHive::LocalMachine) {
    root.makeChild("SOFTWARE");
  }
}

bool isStandardKey(RegistryHive hive, const std::vector<std::string_view>& parts) {
  if (parts.size() != 1) return false;
  std::string f = folded(parts[0]);
  if (hive == RegistryHive::CurrentUser) return f == "environment" || f == "software";
  if (hive == RegistryHive::LocalMachine) return f == "software";
  return false;
}

// ---- the cache ----------------------------------------------------------------------------

struct Signature {
  bool present = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  long long mtimeNs = 0;
  bool operator==(const Signature& o) const {
    return present == o.present && dev == o.dev && ino == o.ino && size == o.size &&
           mtimeNs == o.mtimeNs;
  }
};

Signature signatureOf(const std::string& file) {
  Signature s;
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return s;
  s.present = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.size = st.st_size;
  s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return s;
}

long long wallClockNs() {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// File times are coarse on some file systems: another writer's replacement made in the same tick,
// of the same size, on a reused inode, would look unchanged. A file modified less than this long
// before it was read is therefore read again on every use, until it has aged.
constexpr long long kRacyWindowNs = 2000000000LL;

struct Hive {
  bool loaded = false;
  long long readAtNs = 0;   // wall-clock time of the read that filled `root`
  bool damaged = false;   // the file could not be read: reads see an empty hive, writes refuse
  Signature signature;
  Key root;
};

struct Store {
  Lock& lock = Lock::create();
  std::string root;                    // set by setRegistryRoot; empty: from the environment
  std::map<std::string, Hive> hives;   // by hive file path
};

Store& store() {
  static Store* s = new Store;
  return *s;
}

std::string chooseRoot(const Store& s) {
  if (!s.root.empty()) return s.root;
  if (const char* r = std::getenv("KESTRIX_REGISTRY"); r && *r) return r;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/kestrix/registry";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.config/kestrix/registry";
}

// The root as a native folder that the file functions (which take program paths) leave as it
// is: a leading "//" (the same folder as "/" here) would read as a network share.
std::string rootLocked(const Store& s) {
  std::string r = chooseRoot(s);
  while (r.size() > 1 && r[0] == '/' && r[1] == '/') r.erase(0, 1);
  return r;
}

std::string hiveFile(const std::string& root, RegistryHive hive) {
  return root + "/" + kHiveNames[static_cast<int>(hive)] + ".reg";
}

// Largest hive file read, in bytes: every path variable and persistent setting of many
// installations takes a few kilobytes. A larger file is not a store this program wrote.
constexpr std::uint64_t kMaxHiveBytes = 64ull * 1024 * 1024;

// The whole hive file; false for anything but a regular file of at most kMaxHiveBytes (a named
// pipe is never waited on, a device never read) and when a read fails.
bool readWhole(const std::string& file, std::string& text) {
  return readRegularFile(file, text, kMaxHiveBytes) == FileRead::Whole;
}

// The hive, read again when its file changed. Called under the store lock.
Hive& hiveLocked(Store& s, RegistryHive which) {
  std::string file = hiveFile(rootLocked(s), which);
  Hive& h = s.hives[file];
  Signature now = signatureOf(file);
  if (h.loaded && now == h.signature &&
      (!now.present || now.mtimeNs + kRacyWindowNs < h.readAtNs))
    return h;
  h.root = Key{};
  h.damaged = false;
  h.readAtNs = wallClockNs();
  h.signature = now;
  h.loaded = true;
  if (now.present) {
    std::string text;
    if (!readWhole(file, text) || !parseHive(text, h.root)) {
      h.damaged = true;
      h.root = Key{};   // nothing of a torn or foreign file is believed
    }
  }
  addStandardKeys(which, h.root);
  return h;
}

const Key* findKey(const Key& root, const std::vector<std::string_view>& parts) {
  const Key* k = &root;
  for (std::string_view p : parts) {
    k = k->child(p);
    if (!k) return nullptr;
  }
  return k;
}

// Holds the cross-process lock on "<root>/.lock" for one write.
class FileLock {
public:
  explicit FileLock(const std::string& root) {
    makeFolders(root);
    std::string file = root + "/.lock";
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      int r;
      do {
        r = ::flock(fd_, LOCK_EX);
      } while (r != 0 && errno == EINTR);
      if (r != 0) {
        ::close(fd_);
        fd_ = -1;
      }
    }
  }
  ~FileLock() {
    if (fd_ >= 0) ::close(fd_);   // closing releases the lock
  }
  bool held() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

// Runs `edit` on the current tree and saves the result; `edit` returns false to change nothing.
template <typename Edit>
bool modify(RegistryHive which, Edit edit) {
  Store& s = store();
  LockGuard guard(s.lock);
  std::string root = rootLocked(s);
  FileLock fileLock(root);
  if (!fileLock.held()) return false;
  Hive& h = hiveLocked(s, which);   // after taking the file lock: sees every earlier write
  if (h.damaged) return false;
  if (!edit(h.root)) return false;
  std::string text = std::string(kHeader) + "\n";
  writeKey(h.root, "", text);
  text += "end\n";
  std::string file = hiveFile(root, which);
  if (!replaceFileContents(file, text)) {
    h.loaded = false;   // the tree was edited but the file was not: read it again next time
    return false;
  }
  h.signature = signatureOf(file);
  return true;
}

// Calls `read` on the key at `keyPath` under the store lock; false (and no call) when the path
// is malformed or the key does not exist.
template <class Read>
bool readKey(RegistryHive hive, std::string_view keyPath, Read&& read) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts)) return false;
  Store& s = store();
  LockGuard guard(s.lock);
  const Key* k = findKey(hiveLocked(s, hive).root, parts);
  if (!k) return false;
  read(*k);
  return true;
}

}  // namespace

bool registryHiveFromName(std::string_view name, RegistryHive& hive) {
  for (int i = 0; i < 5; ++i) {
    if (name == kHiveNames[i]) {
      hive = static_cast<RegistryHive>(i);
      return true;
    }
  }
  return false;
}

const char* registryHiveName(RegistryHive hive) {
  int i = static_cast<int>(hive);
  return (i >= 0 && i < 5) ? kHiveNames[i] : "";
}

bool registryKeyExists(RegistryHive hive, std::string_view keyPath) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts)) return false;
  Store& s = store();
  LockGuard guard(s.lock);
  return findKey(hiveLocked(s, hive).root, parts) != nullptr;
}

bool registryCreateKey(RegistryHive hive, std::string_view keyPath) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts)) return false;
  {
    Store& s = store();
    LockGuard guard(s.lock);
    if (findKey(hiveLocked(s, hive).root, parts)) return true;
  }
  return modify(hive, [&](Key& root) {
    Key* k = &root;
    for (std::string_view p : parts) k = &k->makeChild(p);
    return true;
  }) || registryKeyExists(hive, keyPath);
}

bool registryReadValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                       RegistryValue& value) {
  value = RegistryValue{};
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts) || !validValueName(valueName)) return false;
  Store& s = store();
  LockGuard guard(s.lock);
  const Key* k = findKey(hiveLocked(s, hive).root, parts);
  if (!k) return false;
  auto it = k->values.find(folded(valueName));
  if (it == k->values.end()) return false;
  value = it->second.data;
  return true;
}

bool registryWriteValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                        const RegistryValue& value) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts) || !validValueName(valueName)) return false;
  if (value.type == RegistryType::Text && value.text.find('\0') != std::string::npos) return false;
  return modify(hive, [&](Key& root) {
    Key* k = const_cast<Key*>(findKey(root, parts));
    if (!k) return false;
    Value& v = k->values[folded(valueName)];
    if (v.name.empty()) v.name = std::string(valueName);
    v.data = value;
    if (v.data.type == RegistryType::Number) v.data.text.clear();
    return true;
  });
}

bool registryListSubkeys(RegistryHive hive, std::string_view keyPath, std::vector<std::string>& names) {
  names.clear();
  return readKey(hive, keyPath, [&](const Key& k) {
    for (const auto& [f, child] : k.subkeys) names.push_back(child->name);
  });
}

bool registryListValues(RegistryHive hive, std::string_view keyPath, std::vector<std::string>& names) {
  names.clear();
  return readKey(hive, keyPath, [&](const Key& k) {
    for (const auto& [f, v] : k.values) names.push_back(v.name);
  });
}

bool registryDeleteValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts) || !validValueName(valueName)) return false;
  return modify(hive, [&](Key& root) {
    Key* k = const_cast<Key*>(findKey(root, parts));
    return k && k->values.erase(folded(valueName)) > 0;
  });
}

bool registryDeleteKey(RegistryHive hive, std::string_view keyPath) {
  std::vector<std::string_view> parts;
  if (!splitKeyPath(keyPath, parts) || parts.empty() || isStandardKey(hive, parts)) return false;
  return modify(hive, [&](Key& root) {
    std::vector<std::string_view> parentParts(parts.begin(), parts.end() - 1);
    Key* parent = const_cast<Key*>(findKey(root, parentParts));
    if (!parent) return false;
    auto it = parent->subkeys.find(folded(parts.back()));
    if (it == parent->subkeys.end() || !it->second->subkeys.empty()) return false;
    parent->subkeys.erase(it);
    return true;
  });
}

std::string registryRoot() {
  Store& s = store();
  LockGuard guard(s.lock);
  return rootLocked(s);
}

void setRegistryRoot(std::string_view nativeFolder) {
  Store& s = store();
  LockGuard guard(s.lock);
  s.root = std::string(nativeFolder);
  while (s.root.size() > 1 && s.root.back() == '/') s.root.pop_back();
}

}  // namespace platform
