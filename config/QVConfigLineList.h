#pragma once
// QVConfigLineList: a configuration file kept as its exact list of lines (owned) and edited in
// place, so comments, blank lines and unknown lines survive a save; plus the free functions that
// read and write it. Line indexes are 0-based; -1 means none.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWTPair.h"
#include "foundation/RWTValOrderedVector.h"

// Result of an edit refused because its name or value cannot be written as one line that reads
// back as itself (see QVConfigLineList::isWritableItem and isWritableBlockName).
inline constexpr int kConfigUnwritable = -4;

// Lines are grouped into blocks under header lines ("[name]"); lines before the first header form
// the block "<default>".
class QVConfigLineList {
 public:
  enum LineKind { kHeader = 0, kItem = 1, kComment = 2 };
  using KeyValuePair = RWTPair<RWCString, RWCString>;

  explicit QVConfigLineList(bool ignoreCase = true) : ignoreCase_(ignoreCase) {}

  // ---- the lines
  std::size_t count() const { return lines_.count(); }
  const RWCString& line(std::size_t i) const { return lines_.at(i); }
  void appendLine(const RWCString& text) { lines_.append(text); }
  const RWTValOrderedVector<RWCString>& lines() const { return lines_; }
  void clear();
  bool ignoreCase() const { return ignoreCase_; }
  void setIgnoreCase(bool flag) { ignoreCase_ = flag; }
  // True when the lines were read with CR LF ends; the save then writes CR LF as well.
  bool crlf() const { return crlf_; }
  void setCrlf(bool flag) { crlf_ = flag; }

  // Reads every line of an open stream (the list is cleared first; trailing CR and LF characters
  // are stripped; a stream that ends with a line break yields a last empty line). 1, or -2 when
  // the stream failed before its end.
  int readStream(std::istream& in);
  // Writes lines up to the last non-empty one, at most three empty lines in a row. 1 or -2.
  int writeStream(std::ostream& out) const;
  // The text writeStream would write.
  RWCString text() const;

  // One block's items for setItemsEverywhere.
  struct ItemText {
    RWCString key;
    RWCString value;
  };
  struct BlockItems {
    RWCString name;
    std::vector<ItemText> items;
  };

  // ---- what can be written
  // Whether key + "=" + value is one line that reads back as an item of that key (compared as
  // keys are, so trailing blanks do not matter) with that value (blanks and tabs at its ends are
  // trimmed by every read). Refused: CR or LF anywhere; a key holding '=', starting with a blank
  // or a tab (it would read back without them), or starting with ';', '*', '!' or '#' (a
  // comment); a key starting with '[' when key or value holds ']' (a header). The empty key is
  // fine ("=v").
  static bool isWritableItem(const RWCString& key, const RWCString& value);
  static bool isWritableValue(const RWCString& value);      // no CR or LF
  // "[" + name + "]" reads back as that name: no ']', CR or LF.
  static bool isWritableBlockName(const RWCString& name);

  // ---- line tests
  static bool isBlockHeader(const RWCString& line);
  static bool isComment(const RWCString& line);
  static RWCString headerName(const RWCString& line);
  static RWCString keyPart(const RWCString& line);
  static RWCString valuePart(const RWCString& line);
  // 0 when equal after stripping trailing blanks and tabs (lower case of each byte compared when
  // ignoreCase); otherwise the sign of the first difference.
  static int compareNames(const RWCString& a, const RWCString& b, bool ignoreCase);
  static bool isDefaultBlock(const RWCString& name);   // "<default>", any case
  bool headerMatches(const RWCString& line, const RWCString& name) const;
  // A text that is equal for two names exactly when compareNames finds them equal: trailing
  // blanks and tabs dropped, lower case when ignoring case. blockKey gives every spelling of
  // "<default>" one key of its own, as block names compare.
  static std::string nameKey(const RWCString& name, bool ignoreCase);
  static std::string blockKey(const RWCString& name, bool ignoreCase);
  // Kind of line index: a header gives its block name in name; an item its key and value.
  int classifyLine(std::size_t index, RWCString& name, RWCString& value) const;

  // ---- positions
  int findHeaderLine(const RWCString& name) const;
  int bodyStart(const RWCString& name) const;   // 0 for "<default>", header + 1, -1 if missing
  int lastItemLine(int start) const;            // last item from start up to the next header
  int findItemLine(int start, const RWCString& key, int n) const;

  // ---- edits and queries by name
  // Header index; -1 for "<default>" (nothing added); kConfigUnwritable for a bad name.
  int ensureBlockHeader(const RWCString& name);
  // Replaces the n-th line of key in the block, else adds the line after the block's last item
  // (or at its body start); the block header is added when missing. 1, or kConfigUnwritable
  // (nothing changed). setItemLine returns the line index instead of 1.
  int setItem(const RWCString& block, const RWCString& key, const RWCString& value, int n = 0);
  int setItemLine(const RWCString& block, const RWCString& key, const RWCString& value, int n);
  // Writes the value into every line of key in every block of that name (duplicate keys and
  // blocks included); adds one line as setItem does when there is none. 1 or kConfigUnwritable
  // (nothing changed).
  int setItemEverywhere(const RWCString& block, const RWCString& key, const RWCString& value);
  // For each block in order: ensureBlockHeader, then setItemEverywhere of each of its items, with
  // the same result in the lines, in one pass over them (time linear in lines and items). What
  // cannot be written (a new block's name, an item) is left out and counted; everything else is
  // written. Returns the number left out.
  std::size_t setItemsEverywhere(const std::vector<BlockItems>& blocks);
  // Empty when the block or item is missing.
  RWCString itemValue(const RWCString& block, const RWCString& key, int n = 0) const;
  // A new[] copy for the caller to delete[], or null when the block or item is missing.
  char* itemValueCopy(const RWCString& block, const RWCString& key, int n = 0) const;
  // position -1 starts at the block's body, otherwise after the given line; position becomes the
  // line found, or -1.
  RWCString nextItemValue(const RWCString& block, const RWCString& key, int& position) const;
  int removeItem(const RWCString& block, const RWCString& key);        // first line of key; 1
  // Every line of key in every block of that name; 1.
  int removeItemEverywhere(const RWCString& block, const RWCString& key);
  // The body and then the header ("<default>" has none); 1.
  int removeBlock(const RWCString& name);
  int removeBlockEverywhere(const RWCString& name);                    // every block of that name
  // The header line becomes "[" + newName + "]"; 1, or kConfigUnwritable. The Everywhere form
  // renames every header of that name.
  int renameBlock(const RWCString& oldName, const RWCString& newName);
  int renameBlockEverywhere(const RWCString& oldName, const RWCString& newName);
  int commentOutBlock(const RWCString& name);                          // "; " before each line; 1
  // -1 when newName exists, kConfigUnwritable for a bad name, else 1.
  int insertBlockAfter(const RWCString& newName, const RWCString& existing);
  int appendBlock(const RWCString& name);
  bool hasBlock(const RWCString& name) const;                          // its header exists

  // Receiving vectors are appended to.
  void blockNames(RWTValOrderedVector<RWCString>& out) const;          // headers, file order
  void blockNamesWithPrefix(const RWCString& prefix, RWTValOrderedVector<RWCString>& out) const;
  void keys(const RWCString& block, RWTValOrderedVector<RWCString>& out) const;
  void keysWithPrefix(const RWCString& block, const RWCString& prefix,
                      RWTValOrderedVector<RWCString>& out) const;
  void keyValuePairs(const RWCString& block, RWTValOrderedVector<KeyValuePair>& out) const;
  // Null-terminated arrays of new[] strings, null when there are none; free with freeNameArray.
  char** blockNameArray() const;
  char** keyArray(const RWCString& block) const;
  static void freeNameArray(char** array);

  // Body start of every block of that name, in file order ("<default>": 0 first).
  RWTValOrderedVector<int> bodyStarts(const RWCString& name) const;

 private:
  std::string nameKey(const RWCString& name) const { return nameKey(name, ignoreCase_); }
  std::string blockKey(const RWCString& name) const { return blockKey(name, ignoreCase_); }
  int nextHeaderFrom(int start) const;          // first header at or after start, else count
  bool isItemLine(std::size_t i) const;
  void insertLine(std::size_t at, const RWCString& text) { lines_.insertAt(at, text); }

  RWTValOrderedVector<RWCString> lines_;
  bool ignoreCase_ = true;
  bool crlf_ = false;
};

// Expands variables in fileName and reads the file into list: 1, -3 when it cannot be opened
// (the list is then empty), -2 on a read error. missing (when given) tells a -3 for a file that
// is not there from one for a file that is there but could not be opened.
int loadConfigLines(QVConfigLineList& list, const RWCString& fileName, bool* missing = nullptr);
// Expands variables in fileName and replaces the file's contents with the list's text, through a
// temporary file renamed over it: a failed save leaves the old file whole. 1 or -2.
// reason (when given) receives why a save failed.
int saveConfigLines(const QVConfigLineList& list, const RWCString& fileName,
                    std::string* reason = nullptr);
// itemValue of a file read into a temporary list; empty when it could not be read.
RWCString readValueFromFile(const RWCString& fileName, const RWCString& block,
                            const RWCString& key, int n = 0);
