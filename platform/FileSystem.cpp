// Files and folders on POSIX calls. Each public function maps its program path through osPath
// first; an unmapped drive gives the empty native path, which is refused before any system call.
#include "platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/Lock.h"
#include "platform/Path.h"

namespace platform {

namespace {

bool native(std::string_view path, std::string& out) { return osPath(path, out) && !out.empty(); }

FileKind kindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::File;
  if (S_ISDIR(mode)) return FileKind::Folder;
  return FileKind::Other;
}

std::string folderOf(const std::string& nativePath) {
  size_t slash = nativePath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return nativePath.substr(0, slash);
}

std::string baseOf(const std::string& nativePath) {
  size_t slash = nativePath.rfind('/');
  return slash == std::string::npos ? nativePath : nativePath.substr(slash + 1);
}

std::string errorText(const char* what, const std::string& path, int err) {
  return std::string(what) + " " + path + ": " + std::strerror(err);
}

// Opens the regular file at a native path with open(2) flags, or gives -1: for anything else
// there, which is never opened when it is seen first (a device) and never waited on when it
// takes the name between the look and the open (a named pipe without a peer). The descriptor is
// blocking, as a plain open leaves it.
int openRegular(const std::string& nativePath, int flags) {
  struct stat st {};
  if (::stat(nativePath.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return -1;
  } else if (!(flags & O_CREAT)) {
    return -1;
  }
  const int fd = ::open(nativePath.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
  if (fd < 0) return -1;
  const int status = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
      ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::atomic<ReplaceFaultHook> gFaultHook{nullptr};

bool injected(ReplaceStep step) {
  ReplaceFaultHook hook = gFaultHook.load();
  return hook && hook(step);
}

bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// ---- temporaries of replacements ------------------------------------------------------------
// A replacement of "<folder>/<name>" writes "<folder>/.<name>.tmp-<pid>-<8 hex digits>" (the name
// cut to 180 bytes), created exclusively and flock-ed by its writer until it is closed. A save
// killed before its rename leaves that file behind; the next replacement of the same file (and
// removeStaleReplacements, which loads call) removes such leftovers, but only stale ones: the
// writer's process no longer exists (kill(pid, 0) gives ESRCH) and nobody holds the lock. A
// concurrent saver is alive, so its temporary stays, in every step (between its open and its
// flock, and between its close and its rename, the live pid protects it). A pid reused by
// another process keeps a stale file a while longer, which is harmless.

std::string replacementPrefix(const std::string& nativeTarget) {
  return "." + baseOf(nativeTarget).substr(0, 180) + ".tmp-";
}

// The pid of a temporary's name "<prefix><pid>-<8 hex>", or 0 when the name is not of that form.
long replacementPid(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const std::string rest = name.substr(prefix.size());
  const size_t dash = rest.find('-');
  if (dash == std::string::npos || dash == 0 || dash > 10 || rest.size() != dash + 9) return 0;
  long pid = 0;
  for (size_t i = 0; i < dash; ++i) {
    if (rest[i] < '0' || rest[i] > '9') return 0;
    pid = pid * 10 + (rest[i] - '0');
  }
  for (size_t i = dash + 1; i < rest.size(); ++i)
    if (!std::isxdigit(static_cast<unsigned char>(rest[i]))) return 0;
  return pid;
}

bool processGone(long pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

void removeStaleTemporaries(const std::string& nativeTarget) {
  const std::string folder = folderOf(nativeTarget);
  const std::string prefix = replacementPrefix(nativeTarget);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> stale;
  while (struct dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    const long pid = replacementPid(name, prefix);
    if (pid > 0 && processGone(pid)) stale.push_back(name);
  }
  ::closedir(dir);
  for (const std::string& name : stale) {
    const std::string path = folder + "/" + name;
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    // Only a regular file whose lock nobody holds.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(path.c_str());
    ::close(fd);
  }
}

// One replacement in progress: a temporary file beside the target, written, flushed, closed and
// renamed over the target. Anything not committed is removed by the destructor.
class Replacement {
public:
  explicit Replacement(std::string* error) : error_(error) {}
  ~Replacement() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }

  bool open(const std::string& target) {
    target_ = target;
    // A symbolic link stays a link: the file it names is the one replaced.
    struct stat link {};
    if (::lstat(target_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
      char* real = ::realpath(target_.c_str(), nullptr);
      if (real) {
        target_ = real;
        std::free(real);
      }
    }
    struct stat old {};
    bool hadOld = ::stat(target_.c_str(), &old) == 0;
    // What cannot even be looked at (a loop of links) may be a file: it is not replaced.
    if (!hadOld && errno != ENOENT && errno != ENOTDIR) return fail("replace", target_, errno);
    if (hadOld && !S_ISREG(old.st_mode)) return fail("replace", target_, EISDIR);
    // The rename needs leave to write the folder only; a file its user may not write is refused
    // as opening it for writing would refuse it, so a protected file is never replaced.
    if (hadOld && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
      return fail("replace", target_, errno);
    if (injected(ReplaceStep::CreateTemp)) return fail("create temporary file for", target_, EIO);
    removeStaleTemporaries(target_);
    const std::string stem =
        folderOf(target_) + "/" + replacementPrefix(target_) + std::to_string(::getpid()) + "-";
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
      char tag[16];
      std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(device()));
      std::string candidate = stem + tag;
      int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) {
        fd_ = fd;
        temp_ = candidate;
        ::flock(fd_, LOCK_EX | LOCK_NB);  // released when the file is closed or the writer dies
        if (hadOld) ::fchmod(fd_, old.st_mode & 07777);
        return true;
      }
      if (errno != EEXIST) return fail("create temporary file for", target_, errno);
    }
    return fail("create temporary file for", target_, EEXIST);
  }

  bool write(const char* data, size_t size) {
    if (injected(ReplaceStep::Write)) return fail("write", temp_, EIO);
    if (!writeAll(fd_, data, size)) return fail("write", temp_, errno);
    return true;
  }

  bool commit() {
    if (injected(ReplaceStep::Flush) || ::fsync(fd_) != 0)
      return fail("flush", temp_, errno ? errno : EIO);
    int fd = fd_;
    fd_ = -1;
    if (injected(ReplaceStep::Close)) {
      ::close(fd);
      return fail("close", temp_, EIO);
    }
    if (::close(fd) != 0) return fail("close", temp_, errno);
    if (injected(ReplaceStep::Rename)) return fail("rename over", target_, EIO);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail("rename over", target_, errno);
    temp_.clear();
    // Make the new name durable too; a failure here cannot undo the replacement.
    int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }

private:
  bool fail(const char* what, const std::string& path, int err) {
    if (error_) *error_ = errorText(what, path, err);
    return false;
  }

  std::string* error_;
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

struct WindowsFolder {
  Lock& lock = Lock::create();
  std::string path;   // empty: the default
};

WindowsFolder& windowsFolderState() {
  static WindowsFolder* w = new WindowsFolder;
  return *w;
}

}  // namespace

bool exists(std::string_view path) { return isAccessible(path, kAccessExists); }

bool isAccessible(std::string_view path, int mode) {
  std::string p;
  if (!native(path, p)) return false;
  int how = F_OK;
  if (mode & kAccessWrite) how |= W_OK;
  if (mode & kAccessRead) how |= R_OK;
  return ::access(p.c_str(), how) == 0;
}

bool status(std::string_view path, FileStatus& out) {
  out = FileStatus{};
  std::string p;
  if (!native(path, p)) return false;
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0) return false;
  struct stat lst {};
  out.isLink = ::lstat(p.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode);
  out.kind = kindOf(st.st_mode);
  out.size = static_cast<std::uint64_t>(st.st_size);
  out.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  out.accessed = static_cast<std::int64_t>(st.st_atim.tv_sec);
  return true;
}

bool openFileStatus(std::FILE* file, FileStatus& out) {
  out = FileStatus{};
  if (!file) return false;
  const int fd = ::fileno(file);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0) return false;
  out.kind = kindOf(st.st_mode);
  out.size = static_cast<std::uint64_t>(st.st_size);
  out.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  out.accessed = static_cast<std::int64_t>(st.st_atim.tv_sec);
  return true;
}

std::FILE* openRegularFile(std::string_view path, const char* mode) {
  std::string p;
  if (!mode || !native(path, p)) return nullptr;
  int flags = 0;
  bool empty = false;
  const bool update = std::strchr(mode, '+') != nullptr;
  switch (mode[0]) {
    case 'r': flags = update ? O_RDWR : O_RDONLY; break;
    case 'w': flags = (update ? O_RDWR : O_WRONLY) | O_CREAT; empty = true; break;
    case 'a': flags = (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
    default: return nullptr;
  }
  const int fd = openRegular(p, flags);
  if (fd < 0) return nullptr;
  if (empty && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, mode);
  if (!file) ::close(fd);
  return file;
}

FileRead readRegularFile(std::string_view path, std::string& out, std::uint64_t limit) {
  out.clear();
  std::FILE* file = openRegularFile(path);
  if (!file) return FileRead::NotOpened;
  FileRead result = FileRead::Whole;
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (got == 0) {
      if (std::ferror(file)) result = FileRead::Failed;
      break;
    }
    if (got > limit - out.size()) {
      out.append(buffer, static_cast<std::size_t>(limit - out.size()));
      result = FileRead::TooLarge;
      break;
    }
    out.append(buffer, got);
  }
  std::fclose(file);
  return result;
}

bool isMissing(std::string_view path) {
  std::string p;
  if (!native(path, p)) return true;
  struct stat st {};
  if (::stat(p.c_str(), &st) == 0) return false;
  return errno == ENOENT || errno == ENOTDIR;
}

bool isFile(std::string_view path) {
  FileStatus st;
  return status(path, st) && st.kind == FileKind::File;
}

bool isFolder(std::string_view path) {
  FileStatus st;
  return status(path, st) && st.kind == FileKind::Folder;
}

bool removeFile(std::string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(p.c_str()) == 0;
}

bool removeFolder(std::string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  return ::rmdir(p.c_str()) == 0;
}

bool renamePath(std::string_view from, std::string_view to) {
  std::string f, t;
  if (!native(from, f) || !native(to, t)) return false;
  if (::renameat2(AT_FDCWD, f.c_str(), AT_FDCWD, t.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system cannot refuse an existing target itself.
  struct stat st {};
  if (::lstat(t.c_str(), &st) == 0) return false;
  return ::rename(f.c_str(), t.c_str()) == 0;
}

bool makeFolder(std::string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  return ::mkdir(p.c_str(), 0777) == 0;
}

bool makeFolders(std::string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  for (size_t pos = 1; pos <= p.size(); ++pos) {
    if (pos == p.size() || p[pos] == '/') {
      std::string prefix = p.substr(0, pos);
      ::mkdir(prefix.c_str(), 0777);   // an existing prefix is fine
    }
  }
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool listFolder(std::string_view path, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::string p;
  if (!native(path, p)) return false;
  DIR* dir = ::opendir(p.c_str());
  if (!dir) return false;
  int dfd = ::dirfd(dir);
  while (struct dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    FolderEntry entry;
    entry.name = e->d_name;
    struct stat lst {};
    if (::fstatat(dfd, e->d_name, &lst, AT_SYMLINK_NOFOLLOW) == 0) {
      entry.isLink = S_ISLNK(lst.st_mode);
      struct stat st {};
      if (!entry.isLink)
        entry.kind = kindOf(lst.st_mode);
      else if (::fstatat(dfd, e->d_name, &st, 0) == 0)
        entry.kind = kindOf(st.st_mode);
      else
        entry.kind = FileKind::Other;   // a dangling link
    } else {
      entry.kind = FileKind::Other;
    }
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

bool sameFile(std::string_view a, std::string_view b) {
  std::string na, nb;
  if (!native(a, na) || !native(b, nb)) return false;
  struct stat sa {};
  struct stat sb {};
  return ::stat(na.c_str(), &sa) == 0 && ::stat(nb.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool copyFile(std::string_view from, std::string_view to) {
  std::string f, t;
  if (!native(from, f) || !native(to, t)) return false;
  int in = openRegular(f, O_RDONLY);
  if (in < 0) return false;
  struct stat src {};
  struct stat dst {};
  bool ok = ::fstat(in, &src) == 0;
  if (ok && ::stat(t.c_str(), &dst) == 0 && dst.st_dev == src.st_dev && dst.st_ino == src.st_ino)
    ok = false;   // the same file under another name: copying would destroy it
  if (ok) {
    Replacement r(nullptr);
    ok = r.open(t);
    char buffer[65536];
    while (ok) {
      ssize_t n = ::read(in, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      ok = r.write(buffer, static_cast<size_t>(n));
    }
    ok = ok && r.commit();
  }
  ::close(in);
  return ok;
}

bool setFileTimes(std::string_view path, std::optional<std::int64_t> modified,
                  std::optional<std::int64_t> accessed) {
  std::string p;
  if (!native(path, p)) return false;
  struct timespec times[2];
  times[0].tv_sec = accessed ? static_cast<time_t>(*accessed) : 0;
  times[0].tv_nsec = accessed ? 0 : UTIME_OMIT;
  times[1].tv_sec = modified ? static_cast<time_t>(*modified) : 0;
  times[1].tv_nsec = modified ? 0 : UTIME_OMIT;
  return ::utimensat(AT_FDCWD, p.c_str(), times, 0) == 0;
}

std::string currentFolder() {
  std::string buffer(256, '\0');
  for (;;) {
    if (::getcwd(buffer.data(), buffer.size())) {
      buffer.resize(std::strlen(buffer.c_str()));
      return buffer;
    }
    if (errno != ERANGE || buffer.size() > (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

bool changeFolder(std::string_view path) {
  std::string p;
  if (!native(path, p)) return false;
  return ::chdir(p.c_str()) == 0;
}

std::string tempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string t = (tmp && *tmp) ? tmp : "/tmp";
  while (t.size() > 1 && t.back() == '/') t.pop_back();
  return t;
}

std::string windowsFolder() {
  WindowsFolder& w = windowsFolderState();
  {
    LockGuard guard(w.lock);
    if (!w.path.empty()) return w.path;
  }
  // "windows" beside this library, i.e. in the installation's program folder.
  Dl_info info{};
  std::string folder = ".";
  if (::dladdr(reinterpret_cast<void*>(&windowsFolder), &info) && info.dli_fname &&
      *info.dli_fname) {
    char* real = ::realpath(info.dli_fname, nullptr);
    if (real) {
      folder = folderOf(real);
      std::free(real);
    } else {
      folder = folderOf(info.dli_fname);
    }
  }
  return programPath(folder + "/windows");
}

void setWindowsFolder(std::string_view path) {
  WindowsFolder& w = windowsFolderState();
  LockGuard guard(w.lock);
  w.path = std::string(path);
  while (w.path.size() > 1 && (w.path.back() == '/' || w.path.back() == '\\')) w.path.pop_back();
}

bool replaceFileContents(std::string_view path, std::string_view data, std::string* error) {
  std::string p;
  if (!native(path, p)) {
    if (error) *error = "no such drive: " + std::string(path);
    return false;
  }
  Replacement r(error);
  return r.open(p) && r.write(data.data(), data.size()) && r.commit();
}

void removeStaleReplacements(std::string_view path) {
  std::string p;
  if (native(path, p)) removeStaleTemporaries(p);
}

ReplaceFaultHook setReplaceFaultHook(ReplaceFaultHook hook) { return gFaultHook.exchange(hook); }

}  // namespace platform
