#pragma once
// dirEntryC: one entry of a folder: the folder, the name and the kind (unknown, file or
// directory) that tells how the entry is tested, created and removed. A plain value.

#include "config/pathName.h"

class dirEntryC {
 public:
  enum Kind { unknownEntry = 0, fileEntry = 1, directoryEntry = 2 };

  dirEntryC() = default;
  dirEntryC(const pathNameC& directory, const pathNameC& name, int kind = unknownEntry);
  // Split at the last '/': 'a/b' gives folder 'a' and name 'b', '/a' folder '/' and name 'a'.
  // A text without '/' (or the root '/') is all name, with an empty folder.
  explicit dirEntryC(const pathNameC& fullPath, int kind = unknownEntry);

  // The name when it is absolute or the folder is empty, else the folder joined with the name.
  pathNameC fullPath() const;
  const pathNameC& directory() const { return directory_; }
  const pathNameC& name() const { return name_; }
  int kind() const { return kind_; }

  // 1 when a drive root ('X:'), or when a file entry names a regular file or a directory entry
  // a folder; 0 otherwise and always for kind unknown.
  int exists() const;
  // A file entry is created empty (an existing file keeps its contents); a directory entry with
  // one folder level. 1 on success, 0 otherwise or for kind unknown.
  int create() const;
  // Removes the file, or the (empty) folder. 1 on success, 0 otherwise.
  int remove() const;

  // A directory entry for the working folder.
  static dirEntryC currentDirectoryEntry();

 private:
  pathNameC directory_;
  pathNameC name_;
  int kind_ = unknownEntry;
};
