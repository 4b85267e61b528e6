#pragma once
// pathNameC: a file path kept with '/' separators, its arithmetic (parent, last component, join,
// relative part, extension, drive, //server/share parts) and a cached set of status flags read
// from the file system on demand. Every file-system call goes through the platform layer, which
// maps drive letters and shares to this machine's folders. A path owns only its text.

#include <cstdint>

#include "foundation/RWCString.h"

class TimeStamp;

class pathNameC {
 public:
  // The status word's flags, in this bit order.
  enum : unsigned {
    absoluteFlag = 1u << 0,       // set from the text on construction
    fileFlag = 1u << 1,           // regular file
    directoryFlag = 1u << 2,
    readableFlag = 1u << 3,
    writableFlag = 1u << 4,
    existsFlag = 1u << 5,
    statusCurrentFlag = 1u << 6,  // bits 1-5 hold the file system's answer for this text
    typeCurrentFlag = 1u << 7     // bits 1-2 hold it (a listing sets this one alone)
  };

  // Every '\' becomes '/'; trailing '/' are dropped while the text is longer than one character.
  pathNameC();
  pathNameC(const char* text);
  pathNameC(const RWCString& text);
  pathNameC(const pathNameC& other) = default;             // text and whole status word
  pathNameC& operator=(const pathNameC& other) = default;

  bool isAbsolute() const { return (status_ & absoluteFlag) != 0; }
  bool operator==(const pathNameC& other) const { return text_ == other.text_; }
  bool operator!=(const pathNameC& other) const { return !(*this == other); }
  bool equalsIgnoreCase(const pathNameC& other) const;

  RWCString text() const { return text_; }
  bool isEmpty() const { return text_.isEmpty(); }
  // The text with every '/' turned into '\'.
  RWCString nativePath() const;

  // The path up to its last '/' ('a/b' -> 'a', '/a' -> '/', 'c:/a' -> 'c:'); empty when there is
  // no '/' followed by a character.
  pathNameC parent() const;
  // The text after the last '/'; the whole text when there is none or nothing follows it.
  RWCString fileName() const;
  // The text after the last '.' when that '.' lies in the last component; else empty.
  RWCString extension() const;
  // Replaces the extension ('x.cfg' + "txt" -> 'x.txt'); an empty text removes it. The status
  // is no longer current afterwards.
  void setExtension(const RWCString& extension);
  // other when it is absolute; otherwise this + "/" + other ("/" + other when this is '/', other
  // when this is empty).
  pathNameC join(const pathNameC& other) const;
  // The part of this path below `base` ('a/b/c' to 'a' -> 'b/c', equal paths -> empty), matched
  // by whole components; never absolute. A copy of this path when it does not lie below base,
  // when exactly one of the two is absolute, or when the rest would read as absolute ('/D:' to
  // '/', 'a//b' to 'a').
  pathNameC relativeTo(const pathNameC& base) const;

  bool hasDrive() const;          // second character is ':'
  RWCString driveLetter() const;  // the first character when hasDrive, else empty
  // Prefixes the letter and ':' to a path that starts with '/', or replaces an existing drive
  // letter; 1 when done, 0 for any other path or an empty letter. The status is no longer
  // current afterwards.
  int setDrive(const RWCString& letter);
  bool isDriveRoot() const;       // exactly 'X:'

  bool isUncPath() const;         // longer than two characters and starting with "//"
  RWCString serverName() const;   // //SERVER/share..., else empty
  bool hasShareName() const;      // a '/' follows the server name and is not the last character
  RWCString shareName() const;    // //server/SHARE/..., else empty
  bool isServerOnly() const;      // //server
  bool isShareRoot() const;       // //server/share

  void toLower();

  // Reads the status flags afresh. A drive root ('X:') is an existing, readable, writable folder
  // and is not looked at.
  void refreshStatus() const;
  // Status queries; refresh 1 forces a fresh look. isFile and isDirectory look again only when
  // the type is not current, the others when the status is not current.
  bool isFile(int refresh = 0) const;
  bool isDirectory(int refresh = 0) const;
  bool exists(int refresh = 0) const;
  bool isReadable(int refresh = 0) const;
  bool isWritable(int refresh = 0) const;
  unsigned statusWord() const { return status_; }

  // File times in the local zone, to the second. 1 and `out` filled, or 0.
  int accessTime(TimeStamp& out) const;
  int modificationTime(TimeStamp& out) const;
  // 1 when the time was set, 0 otherwise.
  int setAccessTime(const TimeStamp& time) const;
  int setModificationTime(const TimeStamp& time) const;

  // Byte count of a regular file; -1 for anything else or when it cannot be read.
  std::int64_t size() const;

  // Each returns 1 for success and 0 for failure. A path whose parent is empty (a relative
  // path of one component) needs no parent to be made.
  // An existing folder, drive root or share root counts as made.
  int makeDirectory(int withParents = 0);
  // An existing regular file counts as created and is never truncated.
  int createFile(int withParents = 0);
  // Removes a file or an empty folder; with recursive, a folder and everything below it. A
  // symbolic link is removed itself: recursion never follows one out of the tree.
  int remove(int recursive = 0);
  // Removes the files of a folder (with recursive, of every folder below it too, symbolic links
  // to folders excepted); the folders stay. A regular file is removed itself.
  int removeFiles(int recursive = 0);
  // Fails when `to` exists.
  int renameTo(const pathNameC& to);

 private:
  friend class dirIteratorC;

  void setText(const RWCString& text);  // normalises and sets the absolute flag
  void forgetStatus() const { status_ &= ~(statusCurrentFlag | typeCurrentFlag); }
  // What a listing learned of an entry: the type is current, the rest is not.
  void markListedType(bool isDirectory) const;
  void refreshTypeIfStale(int refresh) const;
  void refreshStatusIfStale(int refresh) const;
  int fileTime(bool modification, TimeStamp& out) const;
  int setFileTime(bool modification, const TimeStamp& time) const;

  RWCString text_;
  mutable unsigned status_ = 0;
};
