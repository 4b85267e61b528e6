#include "config/QVConfigBlock.h"

#include "config/QVConfigLineList.h"

QVConfigBlock::QVConfigBlock(const RWCString& name) : name_(name), items_(64), sortedItems_(64) {}

QVConfigBlock::~QVConfigBlock() { items_.deleteAll(); }

QVConfigItem* QVConfigBlock::findItem(const RWCString& key, bool ignoreCase,
                                      bool sortedOnly) const {
  QVConfigItem probe(key, RWCString());
  std::size_t i = sortedItems_.indexOf(&probe);
  if (i != RW_NPOS) {
    // Every entry of the equal range is a candidate (keys equal ignoring case may still differ
    // in case when the configuration compares exactly).
    for (; i < sortedItems_.count() && *sortedItems_.at(i) == probe; ++i) {
      QVConfigItem* item = sortedItems_.at(i);
      if (QVConfigLineList::compareNames(item->key(), key, ignoreCase) == 0) return item;
    }
  }
  // Keys equal under the comparison yet not ignoring case differ in trailing blanks or tabs; with
  // none of those on either side the search in order finds nothing more.
  if (sortedOnly || (trailingBlankKeys_ == 0 && !endsWithBlank(key))) return nullptr;
  for (std::size_t j = 0; j < items_.count(); ++j) {
    QVConfigItem* item = items_.at(j);
    if (QVConfigLineList::compareNames(item->key(), key, ignoreCase) == 0) return item;
  }
  return nullptr;
}

bool QVConfigBlock::endsWithBlank(const RWCString& key) {
  const std::size_t n = key.length();
  return n > 0 && (key.data()[n - 1] == ' ' || key.data()[n - 1] == '\t');
}

void QVConfigBlock::addItem(QVConfigItem* item) {
  if (endsWithBlank(item->key())) ++trailingBlankKeys_;
  items_.append(item);
  sortedItems_.insert(item);
}

std::size_t QVConfigBlock::removeItem(QVConfigItem* item) {
  std::size_t position = RW_NPOS;
  for (std::size_t i = 0; i < items_.count(); ++i) {
    if (items_.at(i) == item) {
      position = i;
      items_.removeAt(i);
      break;
    }
  }
  if (position == RW_NPOS) return RW_NPOS;
  if (endsWithBlank(item->key())) --trailingBlankKeys_;
  // By identity: entries equal ignoring case are not interchangeable.
  for (std::size_t i = 0; i < sortedItems_.count(); ++i) {
    if (sortedItems_.at(i) == item) {
      sortedItems_.removeAt(i);
      break;
    }
  }
  delete item;
  return position;
}

bool QVConfigBlock::operator==(const QVConfigBlock& other) const {
  return name_.length() == other.name_.length() &&
         name_.compare(other.name_, RWCString::ignoreCase) == 0;
}
