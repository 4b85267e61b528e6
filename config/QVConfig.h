#pragma once
// QVConfig: reads and writes a settings file, kept both as its exact line list (a save keeps
// comments, order and unknown lines) and as a model of blocks, items and values, with settings
// registered by id. It owns its blocks and lines; the input and output streams are borrowed.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <unordered_map>

#include "config/NotifyingObject.h"
#include "config/QVConfigBlock.h"
#include "config/QVConfigItem.h"
#include "config/QVConfigLineList.h"
#include "config/QVConfigValue.h"
#include "foundation/RWCString.h"
#include "foundation/RWTPtrOrderedVector.h"
#include "foundation/RWTValOrderedVector.h"

// A registered setting: its id with the key and block it stands for. Equal when the ids are.
struct QVConfigId {
  std::int32_t id = -1;
  RWCString keyName;
  RWCString blockName;
  bool operator==(const QVConfigId& other) const { return id == other.id; }
};

// One row of a settings table for registerSettings; a null key ends the table.
struct QVConfigSetting {
  const char* key;
  const char* block;
  const char* defaultText;
};

class QVConfig : public NotifyingObject {
 public:
  // ---- construction and files. Loading returns 1 (read), 0 (file missing), -1 (empty name) or
  // -2 (read error); save returns 0 or -1.
  explicit QVConfig(bool ignoreCase = true);
  // Stores the name and, when it is not empty, loads the file.
  QVConfig(const RWCString& fileName, bool ignoreCase);
  QVConfig(const char* fileName, bool ignoreCase) : QVConfig(RWCString(fileName), ignoreCase) {}
  // A bare file name would otherwise convert to the flag of the first constructor.
  explicit QVConfig(const char* fileName) = delete;
  // Keeps both streams (either may be null) and reads the input stream.
  QVConfig(std::istream* in, std::ostream* out, bool ignoreCase);
  QVConfig(const QVConfig&) = delete;
  QVConfig& operator=(const QVConfig&) = delete;
  // Saves when auto-save is set; never otherwise.
  ~QVConfig() override;

  // Stores the name, forgets both streams, reads the lines and adds their blocks and items to
  // the model.
  int loadFile(const RWCString& fileName);
  // Reads from the stream's current position; the file name becomes empty.
  int loadStream(std::istream& in);
  // Rebuilds the model from the file (or the stored input stream). Registered settings stay
  // registered, with their defaults. -1 unless the read gave 1; then the change notification.
  int reload();
  // Reads the lines again without rebuilding the model, then saves as save does, so that lines
  // others changed meanwhile survive. 1 or -2 (nothing is written when the file is there but
  // cannot be read whole).
  int saveMerged();
  // Copies the set items into the lines and writes them all: to the file (atomically), else to
  // the output stream, which is rewritten from its start. 0, or -1 when there is nowhere to
  // write, the write failed (the file keeps its old contents; a file its user may not write is
  // refused), the last read failed or could not open an existing file (so a file not read whole
  // is never written over its original; nothing is written), or some item or new block
  // cannot be written as one line: that one is left out, its old line (if any) kept, and every
  // other change is written all the same.
  int save();
  // Why the last save returned -1 (a short text naming the file where the system gave one);
  // empty after a save that succeeded.
  const RWCString& saveError() const { return saveError_; }
  // What the last load read. A save refuses after kReadUnopened (the file is there, but could
  // not be opened) and kReadPartly (a read error part way): writing what the model holds would
  // lose the rest of the file. Nothing read (no load yet, no file) lets it save.
  enum ReadOutcome { kReadNothing, kReadWhole, kReadUnopened, kReadPartly };
  ReadOutcome lastRead() const { return lastRead_; }
  // Deletes every block and id record; the lines stay.
  void clear();

  void setIgnoreCase(bool flag);
  void setSortedLookupOnly(bool flag) { sortedLookupOnly_ = flag ? 1 : 0; }
  void setAutoSave(bool flag) { autoSave_ = flag ? 1 : 0; }
  void setFileName(const RWCString& name) { fileName_ = name; }
  void setOutputStream(std::ostream* out) { outputStream_ = out; }
  bool ignoreCase() const { return ignoreCase_ != 0; }
  const RWCString& fileName() const { return fileName_; }
  const QVConfigLineList& lines() const { return lines_; }

  // ---- blocks and items by name (key first, then block)
  QVConfigBlock* findBlock(const RWCString& name);
  QVConfigBlock* findOrCreateBlock(const RWCString& name);  // header added on save
  bool hasBlock(const RWCString& name);
  RWTValOrderedVector<RWCString> blockNames() const;        // model order, "<default>" included
  RWTValOrderedVector<RWCString> blockKeys(const RWCString& block);  // file order
  // When missing: adds the header to the lines (appended, or after the block `after`) and the
  // block to the model. 1 added, 0 existed, kConfigUnwritable for a bad name.
  int addBlock(const RWCString& name, const RWCString& after = RWCString());
  // Every block of that name leaves lines and model; the change notification. 1 removed, 0 none.
  int removeBlock(const RWCString& name);
  // 1 renamed; 0 no such block; -1 newName names another block already; kConfigUnwritable.
  int renameBlock(const RWCString& oldName, const RWCString& newName);

  bool hasItem(const RWCString& key, const RWCString& block);
  QVConfigItem* findItem(const RWCString& key, const RWCString& block);   // creates nothing
  // Finds or creates block and item; a non-empty default becomes the default text and fills an
  // empty value. The item is marked set.
  QVConfigItem* findOrCreateItem(const RWCString& key, const RWCString& block,
                                 const char* defaultText);
  QVConfigValue& valueOrDefault(const RWCString& key, const RWCString& block,
                                const char* defaultText = "");
  QVConfigValue& value(const RWCString& key, const RWCString& block,
                       const char* defaultText = "") {
    return valueOrDefault(key, block, defaultText);
  }
  // Every line of the key in the block leaves the lines; the item leaves the model. 1 when the
  // item existed, else 0.
  int removeItem(const RWCString& key, const RWCString& block);

  // ---- settings by id
  int registerSetting(int id, const RWCString& key, const RWCString& block,
                      const char* defaultText);
  int registerSettings(const QVConfigSetting* table);        // ids 0, 1, 2 ...
  // The value registered under id. An id never registered yields a scratch value owned by this
  // configuration (empty, not set, reset on every such call).
  QVConfigValue& valueById(int id);
  bool isRegistered(int id) const;
  RWTValOrderedVector<RWCString> valuesById(int first, int last);
  // 1, or kConfigUnwritable when a value holding CR or LF was refused (the others are set).
  int setValuesById(int first, const RWTValOrderedVector<RWCString>& values);
  // Keys name + "1" .. name + count.
  void numberedValues(const RWCString& name, const RWCString& block, int count,
                      RWTValOrderedVector<RWCString>& out);
  void setNumberedValues(const RWCString& name, const RWCString& block, int count,
                         const RWTValOrderedVector<RWCString>& values);

  // ---- cursor interface: typed access to the current block and key
  bool selectBlock(const RWCString& name);                   // whether it existed (else made)
  bool firstBlock(RWCString& name);
  bool nextBlock(RWCString& name);
  bool firstKey(RWCString& key);
  bool nextKey(RWCString& key);
  bool hasKey(const RWCString& key);                         // in the current block
  // 0: the key exists and reset is 0 (its text is loaded); 1: the item was made empty (set).
  int selectKey(const RWCString& key, int reset);
  int elementCount() const;                                  // ',' count + 1
  bool nextElement(RWCString& text);                         // false when none is left
  const RWCString& currentBlock() const { return currentBlock_; }
  const RWCString& currentKey() const { return currentKey_; }

  // Setters select the key with reset 1 and write the result into the item (marking it set).
  // They return 1, or kConfigUnwritable when key and text cannot be written as one line that
  // reads back as themselves (QVConfigLineList::isWritableItem): nothing is changed then.
  int setFormatted(const RWCString& key, const char* format, ...)
      __attribute__((format(printf, 3, 4)));
  int setFormattedV(const RWCString& key, const char* format, va_list args);
  int setKeyText(const RWCString& key, const RWCString& text);
  int setDouble(const RWCString& key, double value);         // six decimals
  int setInt(const RWCString& key, int value);
  int setBool(const RWCString& key, bool flag);              // "true" or "false"
  // Appends "," (unless the current text is empty) and the text to the current key's value; 1,
  // or kConfigUnwritable (nothing changed).
  int appendFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int appendText(const RWCString& text);
  int appendDouble(double value);
  int appendInt(int value);
  bool nextDouble(double& value);                            // next element as one number
  bool nextInt(int& value);
  // Getters select the key with reset 0 (a missing key is created empty) and read its first
  // element; false, output unchanged, when it is no number.
  bool getDouble(const RWCString& key, double& value);
  bool getInt(const RWCString& key, int& value);
  int getBool(const RWCString& key, bool& flag);             // "true", "yes", "ja", "1"; 1
  void getText(const RWCString& key, RWCString& text);
  void getElement(const RWCString& key, RWCString& text);
  // Guarded getters: false, creating nothing and leaving the output alone, unless hasKey.
  bool getDoubleIfPresent(const RWCString& key, double& value);
  bool getIntIfPresent(const RWCString& key, int& value);
  bool getBoolIfPresent(const RWCString& key, bool& flag);
  bool getTextIfPresent(const RWCString& key, RWCString& text);
  bool getElementIfPresent(const RWCString& key, RWCString& text);

  // Most-recently-used list in keys name + "1" .. name + count: text first, then the earlier
  // values that differ from it.
  void pushRecentValue(const RWCString& name, const RWCString& block, const RWCString& text,
                       int count);
  // Removes the key from the current block (or from block, selected first when it exists);
  // the change notification. 1 when it existed.
  int removeKey(const RWCString& key);
  int removeKey(const RWCString& block, const RWCString& key);
  void notifyChanged();

  // A table of seven words kept for the whole program. Index outside 0..6: 0 (setter) or the
  // empty text (getter).
  static int setTableWord(int index, const RWCString& word);
  static RWCString tableWord(int index);

 private:
  int readLines();                // from the file name or the input stream; -3 mapped to 0
  void parseLines();
  // The set items into the lines; returns how many could not be written (left out).
  std::size_t copyItemsInto(QVConfigLineList& target) const;
  int writeLines();               // 0 or -1
  int writeToStream(std::ostream& out);
  void appendBlock(QVConfigBlock* block);   // to blocks_ and the index; becomes lastBlock_
  void indexBlocks();                       // the index again from blocks_
  QVConfigItem* findItemIn(QVConfigBlock* block, const RWCString& key) const;
  QVConfigItem* currentItem();    // of currentKey_ in currentBlock_, created when missing
  void storeCurrentText();

  QVConfigLineList lines_;
  RWCString fileName_;
  std::istream* inputStream_ = nullptr;
  std::ostream* outputStream_ = nullptr;
  unsigned char ignoreCase_ = 1;
  unsigned char sortedLookupOnly_ = 0;
  unsigned char autoSave_ = 0;
  RWTPtrOrderedVector<QVConfigBlock> blocks_;
  RWTValOrderedVector<QVConfigId> ids_;
  QVConfigBlock* lastBlock_ = nullptr;
  // The blocks by QVConfigLineList::blockKey, the first of each key; kept with blocks_.
  std::unordered_map<std::string, QVConfigBlock*> blockByName_;
  RWCString currentBlock_;
  RWCString currentKey_;
  std::int32_t keyIndex_ = 0;
  std::int32_t blockIndex_ = 0;
  RWCString currentText_;
  RWCString currentElement_;
  std::int32_t elementPos_ = 0;
  ReadOutcome lastRead_ = kReadNothing;
  QVConfigValue unregisteredValue_;
  RWCString saveError_;
};
