#pragma once
// Program paths to native paths: the drive table that maps drive letters ("c:") and network
// shares ("//server/share") onto folders of this machine, and osPath, which every file-system
// call of the system goes through. The table is process-wide; it is filled from KESTRIX_DRIVES
// on first use and may be changed by the program.

#include <string>
#include <string_view>

namespace platform {

// Maps a program path to the path handed to the operating system.
//   "c:/x", "c:\x", "c:x"        -> root of drive c + "/x" (drive letters ignore case)
//   "//server/share/x", "\\server\share\x" -> root of that share + "/x" (names ignore case)
//   "/x"                          -> "/x" (a POSIX absolute path passes through)
//   "x\y"                         -> "x/y" (relative to the working folder)
// Every '\' becomes '/'. Below a drive or share root, "." and ".." are resolved and never lead
// above the root ("c:/a/../../x" is "c:/x"), as on Windows.
// Returns false, with `nativePath` cleared, when the path names a drive or share that has no
// entry in the table: such a path never reaches the operating system, so
// nothing named "c:\x" is ever created in the working folder.
bool osPath(std::string_view programPath, std::string& nativePath);

// The same; an unmapped drive gives the empty text (which every file-system call refuses).
std::string osPath(std::string_view programPath);

// The reverse: a native absolute path that lies in a mapped folder is written with its drive
// ("c:/x"); the longest matching root wins. Anything else comes back unchanged.
std::string programPath(std::string_view nativePath);

// The network name of a path on a drive letter that stands for a network share, as Windows gives
// it for a mapped network drive: when the drive's folder is a share's folder or lies inside it,
// "n:/a/b" becomes "//server/share/<rest of the folder>/a/b" (the share as it was entered) and
// the result is true. False, with `universal` cleared, for any other path.
bool universalName(std::string_view programPath, std::string& universal);

// Enters or replaces one mapping. `drive` is a letter with or without its colon ("c", "C:") or a
// share ("//server/share", "\\server\share"); `nativeRoot` is a folder of this machine (a trailing
// '/' is dropped). False, with the table unchanged, for a malformed drive or an empty root.
bool setDrive(std::string_view drive, std::string_view nativeRoot);

// Removes one mapping; false when there was none.
bool removeDrive(std::string_view drive);

// Empties the table (KESTRIX_DRIVES is not read again until loadDrivesFromEnvironment).
void clearDrives();

// Replaces the table by the entries of KESTRIX_DRIVES ("c=/srv/cad;d=/mnt/d;//server/share=/mnt/s").
// Entries that are malformed are skipped; returns the number of entries taken.
int loadDrivesFromEnvironment();

// Replaces the table by the entries of a drive-table text in the form above; later entries for
// the same drive win. Returns the number of entries taken.
int loadDrives(std::string_view tableText);

}  // namespace platform
