#pragma once
// QVConfigItem: one key of a configuration block with its default text and its value. An item made
// from (key, default) holds the default as its value, marked set. Items order and compare by key
// ignoring case (the ordering of a block's sorted item vector).

#include "config/QVConfigValue.h"
#include "foundation/RWCString.h"

class QVConfigItem {
 public:
  QVConfigItem() = default;
  QVConfigItem(const RWCString& key, const RWCString& defaultText);

  const RWCString& key() const { return key_; }
  const RWCString& defaultText() const { return defaultText_; }
  QVConfigValue& value() { return value_; }
  const QVConfigValue& value() const { return value_; }

  void setKey(const RWCString& key) { key_ = key; }
  // A non-empty text becomes the default, and fills the value when the value is empty (marking
  // it set). An empty text changes nothing.
  void setDefault(const RWCString& text);

  bool operator==(const QVConfigItem& other) const;  // keys equal ignoring case
  bool operator<(const QVConfigItem& other) const;   // key less ignoring case

 private:
  RWCString key_;
  RWCString defaultText_;
  QVConfigValue value_;
};
