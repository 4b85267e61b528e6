#pragma once
// dirIteratorC: lists one folder, entry by entry, with separate filters for files and for
// sub-folders. A name passes a filter when the filter's first match in it is the whole name.
// The listing is a snapshot taken when it is opened; the iterator owns it and its filters.

#include <cstddef>
#include <vector>

#include "config/dirEntry.h"
#include "config/pathName.h"
#include "foundation/PatternRegex.h"
#include "foundation/RWCString.h"
#include "platform/FileSystem.h"

class dirIteratorC {
 public:
  // Lists `directory` (an empty path lists the working folder) with the given patterns.
  dirIteratorC(const pathNameC& directory, const PatternRegex& fileFilter,
               const PatternRegex& directoryFilter);
  // Lists the entry's full path; every name passes.
  explicit dirIteratorC(const dirEntryC& entry);
  ~dirIteratorC();
  dirIteratorC(const dirIteratorC&) = delete;
  dirIteratorC& operator=(const dirIteratorC&) = delete;

  // Wildcard filters: '*' stands for any run of characters, '?' for any one character, and
  // every other character for itself ("*.cfg" passes "a.cfg", not "a.cfgx" nor "acfg").
  void setFileFilter(const RWCString& wildcard);
  void setDirectoryFilter(const RWCString& wildcard);
  // Filters as compiled patterns. A pattern that did not compile raises RWInternalErr when the
  // listing first tests a name against it.
  void setFileFilter(const PatternRegex& pattern);
  void setDirectoryFilter(const PatternRegex& pattern);

  // Moves to the next entry that passes its filter ("." and ".." never do): 1, or 0 at the end.
  int next();
  int nextFile();       // next until a file, or the end
  int nextDirectory();  // next until a folder, or the end

  // The current entry's path (the folder joined with its name); its type is current.
  pathNameC current() const { return current_; }
  // The current entry: kind file when it is a file, else kind directory.
  dirEntryC currentEntry() const;

  // Takes a fresh snapshot of the folder when the listing is open.
  void rewind();
  void close();
  bool isOpen() const { return open_; }

  // The pattern a wildcard is turned into; always compiles unless the wildcard is too long for
  // a pattern program.
  static RWCString wildcardPattern(const RWCString& wildcard);
  // A pattern that passes every name.
  static PatternRegex everything();

 private:
  friend class pathNameC;

  void open();
  bool currentIsLink() const;  // the current entry is itself a symbolic link

  std::vector<platform::FolderEntry> entries_;  // the snapshot ("find data")
  std::size_t index_ = 0;                       // the current entry in entries_
  pathNameC directory_;
  pathNameC current_;
  PatternRegex directoryFilter_;
  PatternRegex fileFilter_;
  bool first_ = false;
  bool open_ = false;
};
