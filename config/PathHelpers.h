#pragma once
// Free functions over path texts, apart from the path class: separator conversion, "." and ".."
// resolution, absolute and relative paths, directory / file-name / extension parts, the module's
// own file name, search along a ';'-separated folder list, existence and creatability tests,
// folder creation, copying a file with its times, file sizes, universal names and path
// comparison. Paths keep Windows arithmetic ("c:/x" is absolute and has a drive); both '/' and
// '\' are separators on input and results use '/' unless said otherwise. Every file-system call
// goes through the platform layer (and so through osPath). Many functions expand variables.

#include <cstdint>

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"

// Modes of stripChars.
enum : int { kStripLeading = 1, kStripTrailing = 2, kStripBoth = 3 };

// Removes every run of the characters of `chars` from the start (mode 1), the end (mode 2) or
// both ends (mode 3).
RWCString stripChars(const RWCString& text, int mode, const char* chars);

// Every '/' and '\' becomes '\' (resp. '/'); then trailing LF, CR, tab, blank, '/' and '\' are
// stripped.
RWCString toNativeSeparators(const RWCString& text);
RWCString toSlashSeparators(const RWCString& text);

// Components separated by '/' or '\'. The first keeps one or two leading separators ('/a/b' gives
// '/a', 'b'; '//server/share' gives '//server', 'share'); a doubled separator later gives an
// empty component; a trailing separator gives none.
RWTValOrderedVector<RWCString> splitPath(const RWCString& text);

// '/' form with "." and empty components dropped and each ".." removed together with the
// component before it. A relative path keeps the ".." that lead above its start ('a/../../b' is
// '../b'); a rooted one ('/', 'c:/', '//server/share') never goes above its root ('/a/../..' is
// '/') and stays rooted. Three or more leading separators are no network path but the root
// '///' ('////a/b' is '///a/b', '///x/../y' is '///y').
RWCString resolveDots(const RWCString& text);

// `name` when it is absolute once expanded (starts with '/' or '\', or has ':' second), else
// base + "/" + name (name alone for an empty base); then resolveDots. With expand set the result
// is expanded too, staying unexpanded when that fails.
RWCString absolutePath(const RWCString& base, const RWCString& name, bool expand);

// The absolute folder that `path` names, found by entering it and reading the working folder
// (which is restored). *status: 1; -2 when the expansion failed (the result is then the
// expansion's result); -3 when the folder cannot be entered (the result is empty).
RWCString absoluteDirectory(const RWCString& path, int* status);

// Expands `path` and makes it the working folder. 1 on success, -1 on failure.
int changeDirectory(const RWCString& path);

// The working folder (native form).
RWCString currentDirectory();

// The text before the last '/', '\' or ':' (a ':' is kept: 'c:x' gives 'c:'); a two-character
// result ending in ':' gets '/' appended. When there is no separator, or the only one is the
// first character, the working folder when useWorkingDirectory is set, else empty.
RWCString directoryPart(const RWCString& path, bool useWorkingDirectory);

// The text after the last '/', '\' or ':'; the whole text when there is none.
RWCString fileNamePart(const RWCString& path);

// The text after the last '.' of the whole text, lower-cased; empty when there is none or it is
// the last character.
RWCString fileExtension(const RWCString& path);

// The folder (directoryPart with the working folder) and the file name of the module that holds
// this code.
RWCString moduleFolder();
RWCString moduleFileName();

// 1 when `path` exists and is writable, or does not exist but could be created (tried by creating
// and removing it, in the nearest existing folder above it); 0 otherwise and for the empty path.
int canCreateFile(const RWCString& path);

// The first existing file or folder: `name` itself when it is absolute (once expanded) and exists,
// else item + "/" + name for the items of the ';'-separated list in order. The expanded path when
// returnExpanded is set, else the unexpanded one. Empty when nothing is found.
RWCString findInSearchPath(const RWCString& name, const RWCString& list, bool returnExpanded);

// Makes the folder and every missing folder above it; true when the path exists afterwards.
bool makeDirectories(const RWCString& path);

// `path` relative to `base` (both expanded and in '/' form) when every component of base is the
// same (ignoring case) leading component of path: the rest joined with '/', *status 1. Else the
// empty text and *status -1.
RWCString relativePath(const RWCString& base, const RWCString& path, int* status);

// The network (universal) name of a path on a drive that stands for a network share, in '/' form,
// *status 1 ("n:/a" -> "//server/share/a" when the drive table maps n: inside that share). Any
// other path comes back unchanged with *status -1.
RWCString universalName(const RWCString& path, int* status);

// After expansion, dot resolution and lower-casing: 0 when a and b are equal, 1 when a lies
// inside b, 2 when b lies inside a, -1 otherwise.
int comparePaths(const RWCString& a, const RWCString& b);

// 0 when both files have the same modification time, -1 when a's is earlier, 1 when later.
// *status 1, or -1 when either cannot be read (the result then means nothing).
int compareModificationTimes(const RWCString& a, const RWCString& b, int* status);

// Copies source over destination and gives it the source's modification time (access time now).
// 1 copied; 0 when both name the same file (by name ignoring case and separator form, or the same
// file under another name) and nothing was copied; -1 no buffer; -2 the source cannot be opened;
// -3 the destination cannot be opened; -4 read error; -5 write error.
int copyFileKeepTimes(const RWCString& destination, const RWCString& source);

// The size in bytes of a readable regular file; -1 otherwise.
std::int64_t fileSize(const RWCString& path);
