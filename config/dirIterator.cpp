#include "config/dirIterator.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string_view viewOf(const RWCString& s) { return std::string_view(s.data(), s.length()); }

// Any one byte of a file name (names hold no NUL). Unlike '.', this also stands for a newline.
constexpr const char* kAnyNameChar = "[\\x01-\\xff]";

bool passes(const PatternRegex& filter, const RWCString& name) {
  std::size_t length = 0;
  std::size_t at = name.indexOfMatch(filter, length, 0);
  return at == 0 && length == name.length();
}

}  // namespace

RWCString dirIteratorC::wildcardPattern(const RWCString& wildcard) {
  // Anchored at both ends, so the match that is found is one that spans the whole name.
  RWCString pattern("^");
  for (std::size_t i = 0; i < wildcard.length(); ++i) {
    char c = wildcard[i];
    switch (c) {
      case '*':
        pattern += kAnyNameChar;
        pattern += '*';
        break;
      case '?':
        pattern += kAnyNameChar;
        break;
      case '.': case '[': case ']': case '\\': case '^': case '$': case '+':
        // A three-digit octal escape is a literal for every character; "\^" would not be.
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(c));
        pattern += escape;
        break;
      default:
        pattern += c;
    }
  }
  pattern += '$';
  return pattern;
}

PatternRegex dirIteratorC::everything() { return PatternRegex(wildcardPattern("*")); }

dirIteratorC::dirIteratorC(const pathNameC& directory, const PatternRegex& fileFilter,
                           const PatternRegex& directoryFilter)
    : directory_(directory), directoryFilter_(directoryFilter), fileFilter_(fileFilter) {
  open();
}

dirIteratorC::dirIteratorC(const dirEntryC& entry)
    : directory_(entry.fullPath()), directoryFilter_(everything()), fileFilter_(everything()) {
  open();
}

dirIteratorC::~dirIteratorC() { close(); }

void dirIteratorC::setFileFilter(const RWCString& wildcard) {
  fileFilter_ = PatternRegex(wildcardPattern(wildcard));
}

void dirIteratorC::setDirectoryFilter(const RWCString& wildcard) {
  directoryFilter_ = PatternRegex(wildcardPattern(wildcard));
}

void dirIteratorC::setFileFilter(const PatternRegex& pattern) { fileFilter_ = pattern; }

void dirIteratorC::setDirectoryFilter(const PatternRegex& pattern) { directoryFilter_ = pattern; }

void dirIteratorC::open() {
  std::string_view folder = directory_.isEmpty() ? std::string_view(".") : viewOf(directory_.text());
  open_ = platform::listFolder(folder, entries_);
  index_ = 0;
  first_ = true;
}

void dirIteratorC::close() {
  entries_.clear();
  index_ = 0;
  open_ = false;
}

void dirIteratorC::rewind() {
  if (!open_) return;
  close();
  open();
}

int dirIteratorC::next() {
  if (!open_) return 0;
  for (;;) {
    if (first_)
      first_ = false;
    else if (index_ < entries_.size())
      ++index_;
    if (index_ >= entries_.size()) return 0;
    const platform::FolderEntry& e = entries_[index_];
    if (e.name == "." || e.name == "..") continue;
    // A '\' would read as a separator in a program path, so such a name would address another
    // file (perhaps a folder above this one); it cannot be named and is not listed.
    if (e.name.find('\\') != std::string::npos) continue;
    RWCString name(e.name.data(), e.name.size());
    // The entry's path is the folder's text and the name, never a join: a name such as "c:"
    // must not turn into a drive.
    RWCString text;
    if (directory_.isEmpty())
      text = (name.length() >= 2 && name[1] == ':') ? RWCString("./") + name : name;
    else if (directory_.text() == "/")
      text = RWCString("/") + name;
    else
      text = directory_.text() + "/" + name;
    current_ = pathNameC(text);
    bool isFolder = e.kind == platform::FileKind::Folder;
    current_.markListedType(isFolder);
    if (!passes(isFolder ? directoryFilter_ : fileFilter_, name)) continue;
    return 1;
  }
}

int dirIteratorC::nextFile() {
  while (next())
    if (current_.isFile()) return 1;
  return 0;
}

int dirIteratorC::nextDirectory() {
  while (next())
    if (current_.isDirectory()) return 1;
  return 0;
}

dirEntryC dirIteratorC::currentEntry() const {
  int kind = current_.isFile() ? dirEntryC::fileEntry : dirEntryC::directoryEntry;
  return dirEntryC(current_, kind);
}

bool dirIteratorC::currentIsLink() const {
  return open_ && !first_ && index_ < entries_.size() && entries_[index_].isLink;
}
