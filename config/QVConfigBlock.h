#pragma once
// QVConfigBlock: one block of a configuration model: its name and its items, kept twice, in file
// order and sorted by key ignoring case. The block owns its items and deletes them with itself.

#include <cstddef>

#include "config/QVConfigItem.h"
#include "foundation/RWCString.h"
#include "foundation/RWTPtrOrderedVector.h"
#include "foundation/RWTPtrSortedVector.h"

class QVConfigBlock {
 public:
  explicit QVConfigBlock(const RWCString& name);
  QVConfigBlock(const QVConfigBlock&) = delete;
  QVConfigBlock& operator=(const QVConfigBlock&) = delete;
  ~QVConfigBlock();

  const RWCString& name() const { return name_; }
  void setName(const RWCString& name) { name_ = name; }
  std::size_t itemCount() const { return items_.count(); }
  QVConfigItem* itemAt(std::size_t i) const { return items_.at(i); }  // file order

  // The item with that key: binary search of the sorted items (the key must then also equal
  // under the comparison chosen by ignoreCase), then, unless sortedOnly, a linear search with
  // trailing blanks and tabs ignored. Null when none.
  QVConfigItem* findItem(const RWCString& key, bool ignoreCase, bool sortedOnly = false) const;
  // Takes ownership; appended in file order and inserted in key order.
  void addItem(QVConfigItem* item);
  // Removes the item from both vectors and deletes it; returns its file-order position, or
  // RW_NPOS when it is not in this block.
  std::size_t removeItem(QVConfigItem* item);

  bool operator==(const QVConfigBlock& other) const;  // names equal ignoring case

 private:
  RWCString name_;
  RWTPtrOrderedVector<QVConfigItem> items_;
  RWTPtrSortedVector<QVConfigItem> sortedItems_;
  std::size_t trailingBlankKeys_ = 0;   // items whose key ends with a blank or a tab
  static bool endsWithBlank(const RWCString& key);
};
