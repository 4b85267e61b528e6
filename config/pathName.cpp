#include "config/pathName.h"

#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/dirIterator.h"
#include "foundation/CalendarDate.h"
#include "foundation/RWZone.h"
#include "foundation/TimeStamp.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Time.h"

namespace {

std::string_view viewOf(const RWCString& s) { return std::string_view(s.data(), s.length()); }

RWCString fromView(std::string_view v) { return RWCString(v.data(), v.size()); }

// Creates the file when it is missing; an existing file is opened for appending and so keeps its
// contents. True when the file could be opened.
bool openCreatingFile(const RWCString& programPath) {
  std::FILE* f = platform::openRegularFile(viewOf(programPath), "ab");
  if (!f) return false;
  std::fclose(f);
  return true;
}

}  // namespace

pathNameC::pathNameC() = default;

pathNameC::pathNameC(const char* text) { setText(RWCString(text)); }

pathNameC::pathNameC(const RWCString& text) { setText(text); }

void pathNameC::setText(const RWCString& text) {
  std::string t(viewOf(text));
  for (char& c : t)
    if (c == '\\') c = '/';
  while (t.size() > 1 && t.back() == '/') t.pop_back();
  text_ = fromView(t);
  bool absolute = (!t.empty() && t[0] == '/') ||
                  (t.size() >= 2 && t[1] == ':' && (t.size() == 2 || t[2] == '/'));
  status_ = (status_ & ~absoluteFlag) | (absolute ? absoluteFlag : 0u);
}

bool pathNameC::equalsIgnoreCase(const pathNameC& other) const {
  return text_.length() == other.text_.length() &&
         text_.compare(other.text_, RWCString::ignoreCase) == 0;
}

RWCString pathNameC::nativePath() const {
  std::string t(viewOf(text_));
  for (char& c : t)
    if (c == '/') c = '\\';
  return fromView(t);
}

pathNameC pathNameC::parent() const {
  std::string_view t = viewOf(text_);
  std::size_t slash = t.rfind('/');
  if (slash == std::string_view::npos || slash + 1 >= t.size()) return pathNameC();
  return pathNameC(fromView(t.substr(0, slash + 1)));
}

RWCString pathNameC::fileName() const {
  std::string_view t = viewOf(text_);
  std::size_t slash = t.rfind('/');
  if (slash == std::string_view::npos || slash + 1 >= t.size()) return text_;
  return fromView(t.substr(slash + 1));
}

RWCString pathNameC::extension() const {
  std::string_view t = viewOf(text_);
  std::size_t dot = t.rfind('.');
  std::size_t slash = t.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return RWCString();
  return fromView(t.substr(dot + 1));
}

void pathNameC::setExtension(const RWCString& extension) {
  std::string t(viewOf(text_));
  std::size_t dot = t.rfind('.');
  std::size_t slash = t.rfind('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) t.erase(dot);
  if (!extension.isEmpty()) {
    t += '.';
    t += viewOf(extension);
  }
  setText(fromView(t));
  forgetStatus();
}

pathNameC pathNameC::join(const pathNameC& other) const {
  if (other.isAbsolute()) return pathNameC(other.text_);
  if (text_ == "/") return pathNameC(RWCString("/") + other.text_);
  if (!text_.isEmpty()) return pathNameC(text_ + "/" + other.text_);
  return pathNameC(other.text_);
}

pathNameC pathNameC::relativeTo(const pathNameC& base) const {
  if (isAbsolute() != base.isAbsolute()) return *this;
  // Both texts end in '/' for the comparison, so only whole components match. The root '/'
  // already ends in one, except before a path that starts with "//": there the root is matched
  // as "//", so '//srv/share' below '/' is 'srv/share'.
  std::string t(viewOf(text_));
  std::string b(viewOf(base.text_));
  if (t.empty() || t.back() != '/') t += '/';
  if (b.empty() || b.back() != '/' || t.compare(0, 2, "//") == 0) b += '/';
  if (t.compare(0, b.size(), b) != 0) return *this;
  pathNameC below(fromView(std::string_view(t).substr(b.size())));
  // A rest that reads as absolute ('/D:' below '/' would be 'D:', 'a//b' below 'a' '/b') is no
  // part below base.
  if (below.isAbsolute()) return *this;
  return below;
}

bool pathNameC::hasDrive() const { return text_.length() >= 2 && text_[1] == ':'; }

RWCString pathNameC::driveLetter() const {
  return hasDrive() ? RWCString(text_.data(), 1) : RWCString();
}

int pathNameC::setDrive(const RWCString& letter) {
  if (letter.isEmpty()) return 0;
  std::string t(viewOf(text_));
  if (!t.empty() && t[0] == '/') {
    t.insert(0, 1, ':');
    t.insert(0, 1, letter[0]);
  } else if (hasDrive()) {
    t[0] = letter[0];
  } else {
    return 0;
  }
  setText(fromView(t));
  forgetStatus();
  return 1;
}

bool pathNameC::isDriveRoot() const { return text_.length() == 2 && text_[1] == ':'; }

bool pathNameC::isUncPath() const {
  return text_.length() > 2 && text_[0] == '/' && text_[1] == '/';
}

namespace {

// End of the server name of a //server/... text: the index of the '/' after it, or the length.
std::size_t serverEnd(std::string_view t) {
  std::size_t slash = t.find('/', 2);
  return slash == std::string_view::npos ? t.size() : slash;
}

}  // namespace

RWCString pathNameC::serverName() const {
  if (!isUncPath()) return RWCString();
  std::string_view t = viewOf(text_);
  return fromView(t.substr(2, serverEnd(t) - 2));
}

bool pathNameC::hasShareName() const {
  if (!isUncPath()) return false;
  std::string_view t = viewOf(text_);
  std::size_t slash = serverEnd(t);
  return slash < t.size() && slash + 1 < t.size();
}

RWCString pathNameC::shareName() const {
  if (!hasShareName()) return RWCString();
  std::string_view t = viewOf(text_);
  std::size_t start = serverEnd(t) + 1;
  std::size_t end = t.find('/', start);
  if (end == std::string_view::npos) end = t.size();
  return fromView(t.substr(start, end - start));
}

bool pathNameC::isServerOnly() const {
  return isUncPath() && serverEnd(viewOf(text_)) == text_.length();
}

bool pathNameC::isShareRoot() const {
  if (!hasShareName()) return false;
  std::string_view t = viewOf(text_);
  std::size_t start = serverEnd(t) + 1;
  return start < t.size() && t.find('/', start) == std::string_view::npos;
}

void pathNameC::toLower() { text_.toLower(); }

// ---- status

void pathNameC::refreshStatus() const {
  unsigned s = status_ & absoluteFlag;
  if (isDriveRoot()) {
    status_ = s | directoryFlag | readableFlag | writableFlag | existsFlag | statusCurrentFlag |
              typeCurrentFlag;
    return;
  }
  std::string_view t = viewOf(text_);
  platform::FileStatus st;
  bool statOk = !t.empty() && platform::status(t, st);
  bool exists = statOk || (!t.empty() && platform::exists(t));
  if (exists) s |= existsFlag;
  if (statOk) {
    if (st.kind == platform::FileKind::File) s |= fileFlag;
    if (st.kind == platform::FileKind::Folder) s |= directoryFlag;
    if (platform::isAccessible(t, platform::kAccessRead)) s |= readableFlag;
    if (platform::isAccessible(t, platform::kAccessWrite)) s |= writableFlag;
  } else if (isUncPath() && hasShareName()) {
    bool directory = isShareRoot() && exists;
    if (directory) s |= directoryFlag;
    if (exists && !directory) s |= fileFlag;
  }
  status_ = s | statusCurrentFlag | typeCurrentFlag;
}

void pathNameC::markListedType(bool isDirectory) const {
  status_ = (status_ & absoluteFlag) | typeCurrentFlag | (isDirectory ? directoryFlag : fileFlag);
}

void pathNameC::refreshTypeIfStale(int refresh) const {
  if (refresh || !(status_ & typeCurrentFlag)) refreshStatus();
}

void pathNameC::refreshStatusIfStale(int refresh) const {
  if (refresh || !(status_ & statusCurrentFlag)) refreshStatus();
}

bool pathNameC::isFile(int refresh) const {
  refreshTypeIfStale(refresh);
  return (status_ & fileFlag) != 0;
}

bool pathNameC::isDirectory(int refresh) const {
  refreshTypeIfStale(refresh);
  return (status_ & directoryFlag) != 0;
}

bool pathNameC::exists(int refresh) const {
  refreshStatusIfStale(refresh);
  return (status_ & existsFlag) != 0;
}

bool pathNameC::isReadable(int refresh) const {
  refreshStatusIfStale(refresh);
  return (status_ & readableFlag) != 0;
}

bool pathNameC::isWritable(int refresh) const {
  refreshStatusIfStale(refresh);
  return (status_ & writableFlag) != 0;
}

std::int64_t pathNameC::size() const {
  if (!isFile()) return -1;
  platform::FileStatus st;
  if (!platform::status(viewOf(text_), st) || st.kind != platform::FileKind::File) return -1;
  return static_cast<std::int64_t>(st.size);
}

// ---- file times

int pathNameC::fileTime(bool modification, TimeStamp& out) const {
  platform::FileStatus st;
  if (!platform::status(viewOf(text_), st)) return 0;
  platform::LocalTime local;
  if (!platform::localTime(modification ? st.modified : st.accessed, local)) return 0;
  const std::tm& f = local.fields;
  CalendarDate day(static_cast<unsigned>(f.tm_mday), static_cast<unsigned>(f.tm_mon + 1),
                   static_cast<unsigned>(f.tm_year + 1900));
  TimeStamp stamp(day, static_cast<unsigned>(f.tm_hour), static_cast<unsigned>(f.tm_min),
                  static_cast<unsigned>(f.tm_sec), RWZone::localZone());
  // A time that the stamp cannot hold (before 1901, after early 2037) is no answer.
  if (!stamp.isValid()) return 0;
  out = stamp;
  return 1;
}

int pathNameC::setFileTime(bool modification, const TimeStamp& time) const {
  if (!time.isValid()) return 0;
  std::tm fields{};
  time.extract(fields, RWZone::localZone());
  fields.tm_isdst = -1;
  std::int64_t t = 0;
  if (!platform::fromLocalTime(fields, t)) return 0;
  std::optional<std::int64_t> none;
  return platform::setFileTimes(viewOf(text_), modification ? std::optional<std::int64_t>(t) : none,
                                modification ? none : std::optional<std::int64_t>(t))
             ? 1
             : 0;
}

int pathNameC::accessTime(TimeStamp& out) const { return fileTime(false, out); }

int pathNameC::modificationTime(TimeStamp& out) const { return fileTime(true, out); }

int pathNameC::setAccessTime(const TimeStamp& time) const { return setFileTime(false, time); }

int pathNameC::setModificationTime(const TimeStamp& time) const {
  return setFileTime(true, time);
}

// ---- making, removing, renaming

int pathNameC::makeDirectory(int withParents) {
  if (text_.isEmpty()) return 0;
  // The folders still to make, innermost first. Walked without recursion, so a path of many
  // components cannot exhaust the stack.
  std::vector<pathNameC> missing;
  pathNameC folder = *this;
  while (!folder.isEmpty()) {
    folder.refreshStatus();
    if ((folder.exists() && folder.isDirectory()) || folder.isDriveRoot() ||
        folder.isShareRoot())
      break;
    missing.push_back(folder);
    if (!withParents) break;
    folder = folder.parent();
  }
  if (missing.empty()) {
    status_ = folder.status_;
    return 1;
  }
  forgetStatus();
  for (std::size_t i = missing.size(); i-- > 0;)
    if (!platform::makeFolder(viewOf(missing[i].text_))) return 0;
  return 1;
}

int pathNameC::createFile(int withParents) {
  refreshStatusIfStale(0);
  if ((status_ & existsFlag) && (status_ & fileFlag)) return 1;
  if (withParents) {
    pathNameC folder = parent();
    if (!folder.isEmpty() && !folder.makeDirectory(1)) return 0;
  }
  forgetStatus();
  return openCreatingFile(text_) ? 1 : 0;
}

int pathNameC::remove(int recursive) {
  std::string_view t = viewOf(text_);
  if (recursive) {
    // A link is removed itself, whatever it points to.
    platform::FileStatus st;
    if (platform::status(t, st) && st.isLink) {
      forgetStatus();
      return platform::removeFile(t) ? 1 : 0;
    }
    if (isDirectory()) {
      dirIteratorC listing(*this, dirIteratorC::everything(), dirIteratorC::everything());
      while (listing.next()) {
        if (listing.currentIsLink()) {
          if (!platform::removeFile(viewOf(listing.current().text_))) return 0;
          continue;
        }
        pathNameC entry = listing.current();
        if (!entry.remove(1)) return 0;
      }
    }
  }
  bool ok;
  if (isDirectory())
    ok = platform::removeFolder(t);
  else if (isFile())
    ok = platform::removeFile(t);
  else
    ok = false;
  forgetStatus();
  return ok ? 1 : 0;
}

int pathNameC::removeFiles(int recursive) {
  if (isDirectory()) {
    dirIteratorC listing(*this, dirIteratorC::everything(), dirIteratorC::everything());
    while (listing.next()) {
      pathNameC entry = listing.current();
      if (entry.isDirectory()) {
        if (recursive && !listing.currentIsLink() && !entry.removeFiles(1)) return 0;
      } else if (!platform::removeFile(viewOf(entry.text_))) {
        return 0;
      }
    }
    return 1;
  }
  if (isFile()) {
    forgetStatus();
    return platform::removeFile(viewOf(text_)) ? 1 : 0;
  }
  return 0;
}

int pathNameC::renameTo(const pathNameC& to) {
  forgetStatus();
  return platform::renamePath(viewOf(text_), viewOf(to.text_)) ? 1 : 0;
}
