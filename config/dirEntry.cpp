#include "config/dirEntry.h"

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

std::string_view viewOf(const RWCString& s) { return std::string_view(s.data(), s.length()); }

}  // namespace

dirEntryC::dirEntryC(const pathNameC& directory, const pathNameC& name, int kind)
    : directory_(directory), name_(name), kind_(kind) {}

dirEntryC::dirEntryC(const pathNameC& fullPath, int kind) : kind_(kind) {
  RWCString text = fullPath.text();
  std::size_t slash = text.lastByte('/');
  if (slash == RW_NPOS || slash + 1 >= text.length()) {
    name_ = fullPath;
    return;
  }
  // The folder keeps its '/' when it is the root, so '/a' stays absolute.
  directory_ = pathNameC(RWCString(text.data(), slash + 1));
  name_ = pathNameC(RWCString(text.data() + slash + 1, text.length() - slash - 1));
}

pathNameC dirEntryC::fullPath() const {
  if (name_.isAbsolute()) return name_;
  if (!directory_.isAbsolute() && directory_.isEmpty()) return name_;
  return directory_.join(name_);
}

int dirEntryC::exists() const {
  pathNameC full = fullPath();
  if (full.isDriveRoot()) return 1;
  if (kind_ == unknownEntry) return 0;
  platform::FileStatus st;
  if (!platform::status(viewOf(full.text()), st)) return 0;
  if (kind_ == fileEntry) return st.kind == platform::FileKind::File ? 1 : 0;
  if (kind_ == directoryEntry) return st.kind == platform::FileKind::Folder ? 1 : 0;
  return 0;
}

int dirEntryC::create() const {
  pathNameC full = fullPath();
  // An existing file is kept as it is, never truncated.
  if (kind_ == fileEntry) return full.createFile(0);
  if (kind_ == directoryEntry) return platform::makeFolder(viewOf(full.text())) ? 1 : 0;
  return 0;
}

int dirEntryC::remove() const {
  RWCString full = fullPath().text();
  if (kind_ == fileEntry) return platform::removeFile(viewOf(full)) ? 1 : 0;
  if (kind_ == directoryEntry) return platform::removeFolder(viewOf(full)) ? 1 : 0;
  return 0;
}

dirEntryC dirEntryC::currentDirectoryEntry() {
  std::string cwd = platform::programPath(platform::currentFolder());
  return dirEntryC(pathNameC(RWCString(cwd.data(), cwd.size())), directoryEntry);
}
