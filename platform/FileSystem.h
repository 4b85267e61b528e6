#pragma once
// The file system as the system sees it: existence and access tests, status, removing, renaming,
// folders and their listings, copying, file times, the working, temporary and Windows folders, and
// the atomic replacement of a file's contents. Every path is a program path and goes through
// osPath (Path.h); a path on an unmapped drive fails like a missing file. Results are flags.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class FileKind { None, File, Folder, Other };

// Times are seconds since 1970-01-01 00:00 UTC; sizes are bytes.
struct FileStatus {
  FileKind kind = FileKind::None;   // of the target when the path is a symbolic link
  bool isLink = false;              // the path itself is a symbolic link
  std::uint64_t size = 0;
  std::int64_t modified = 0;
  std::int64_t accessed = 0;
};

struct FolderEntry {
  std::string name;                 // no folder part; "." and ".." are never listed
  FileKind kind = FileKind::None;   // of the target for a symbolic link
  bool isLink = false;
};

// Access modes as the C run-time's _access takes them; they may be combined.
enum AccessMode { kAccessExists = 0, kAccessWrite = 2, kAccessRead = 4 };

bool exists(std::string_view path);                    // file, folder or anything else
bool isAccessible(std::string_view path, int mode);    // mode: AccessMode bits
bool status(std::string_view path, FileStatus& out);   // false (out reset) when it does not exist
// True only when nothing is at the path: it, or a folder on the way to it, does not exist (a
// link to nothing counts as missing; so does a path on an unmapped drive). False when something
// is there, and when the system cannot tell (a folder on the way that may not be searched, a
// loop of links): such a path may name a file this program cannot read.
bool isMissing(std::string_view path);
bool isFile(std::string_view path);
bool isFolder(std::string_view path);
// The status of the file an open stream reads or writes, whatever its name is now (moved,
// removed, or named relative to a folder left since): fstat of its descriptor. isLink is false.
// Data still buffered in the stream is not counted. False (out reset) for a null stream.
bool openFileStatus(std::FILE* file, FileStatus& out);
// Opens a regular file (a link to one counts) with an fopen mode ("rb", "rb+", "wb+", "ab", ...);
// the caller closes the stream with fclose. Null for anything else at the path (a folder, a named
// pipe, a device, a socket), as for a missing file, and such a thing is never waited on: a pipe
// with no writer or reader cannot block the caller, and a device is not opened at all. A mode that
// writes creates a missing file as fopen does; "w" empties the file only once it is known to be a
// regular one.
std::FILE* openRegularFile(std::string_view path, const char* mode = "rb");

// How readRegularFile ended.
enum class FileRead {
  Whole,       // the file held at most the limit, and all of it was read
  NotOpened,   // nothing that openRegularFile opens is at the path (or it may not be read)
  TooLarge,    // the file holds more than the limit: only its first `limit` bytes were read
  Failed,      // a read failed: what came before the failure was read
};
// Reads the regular file at the path, opened as openRegularFile opens it, into `out` (emptied
// first), never more than `limit` bytes. Readers of whole files bound them by what such a file can
// sensibly hold.
FileRead readRegularFile(std::string_view path, std::string& out, std::uint64_t limit);

bool removeFile(std::string_view path);                // a file or link, never a folder
bool removeFolder(std::string_view path);              // an empty folder only
// Renames a file or folder. Fails when `to` exists, as on Windows; nothing is overwritten.
bool renamePath(std::string_view from, std::string_view to);
bool makeFolder(std::string_view path);                // one level; false when it exists
bool makeFolders(std::string_view path);               // with every missing parent; true when the
                                                       // folder exists afterwards
// Sorted by name (byte order). False when the folder cannot be read.
bool listFolder(std::string_view path, std::vector<FolderEntry>& entries);

// Whether both paths name one existing file or folder, under any names (hard or symbolic links,
// two drives mapped onto one folder, "." and ".."). False when either does not exist.
bool sameFile(std::string_view a, std::string_view b);

// Copies a regular file's bytes over `to` (created or replaced atomically). False when the source
// is not a readable file, when `to` is the same file as `from` (under any name: it is left whole),
// or when writing fails (as for replaceFileContents, a `to` that may not be written is refused).
bool copyFile(std::string_view from, std::string_view to);

// Sets the modification and/or access time; a time not given is left as it is.
bool setFileTimes(std::string_view path, std::optional<std::int64_t> modified,
                  std::optional<std::int64_t> accessed);

// The working folder (native form), and entering another one.
std::string currentFolder();
bool changeFolder(std::string_view path);

// TMPDIR when it is set and not empty, else "/tmp"; no trailing '/'.
std::string tempFolder();

// The "Windows folder" (%SystemRoot%). Default: "windows" beside the folder of the running
// program; tests and the host may set it. Setting the empty text restores the default.
std::string windowsFolder();
void setWindowsFolder(std::string_view path);

// ---- atomic replacement -------------------------------------------------------------------
// replaceFileContents writes `data` to a temporary file in the same folder as `path`, flushes it
// to disk and renames it over `path`, so that at every moment `path` holds either its old or its
// new contents, whole. On failure the temporary file is removed and `path` is untouched; `error`
// (when given) receives a short reason. A new file gets mode 0666 less the umask; a replaced one
// keeps its permission bits. An existing file that the caller may not write (its mode, as for
// opening it to write) is refused, even where the folder would allow the rename.
//
// The temporary is "." + the file's name + ".tmp-" + the writer's pid + "-" + 8 hex digits. A
// writer killed before its rename leaves it behind; every replacement of the same file first
// removes those whose writer no longer runs (see removeStaleReplacements), never the temporary of
// a replacement still in progress in a live process.
bool replaceFileContents(std::string_view path, std::string_view data, std::string* error = nullptr);

// Removes the temporaries that replacements of `path` left when their process died before
// finishing: names of the form above whose pid names no running process and whose lock no one
// holds. Loads of files that are saved by replacement call it.
void removeStaleReplacements(std::string_view path);

// The steps of a replacement, for fault injection.
enum class ReplaceStep { CreateTemp, Write, Flush, Close, Rename };

// A test hook: called before each step; returning true makes that step fail as if the operating
// system had refused it. Null (the default) injects nothing. Returns the previous hook.
using ReplaceFaultHook = bool (*)(ReplaceStep step);
ReplaceFaultHook setReplaceFaultHook(ReplaceFaultHook hook);

}  // namespace platform
