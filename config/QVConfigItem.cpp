#include "config/QVConfigItem.h"

#include <cctype>
#include <cstring>

namespace {
// Sign of the comparison of two keys, lower case of each byte as unsigned.
int compareIgnoringCase(const RWCString& a, const RWCString& b) {
  const std::size_t n = a.length() < b.length() ? a.length() : b.length();
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(a.data());
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(b.data());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(pa[i]), cb = std::tolower(pb[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.length() == b.length()) return 0;
  return a.length() < b.length() ? -1 : 1;
}
}  // namespace

QVConfigItem::QVConfigItem(const RWCString& key, const RWCString& defaultText)
    : key_(key), defaultText_(defaultText) {
  value_.setText(defaultText);
}

void QVConfigItem::setDefault(const RWCString& text) {
  if (text.isEmpty()) return;
  defaultText_ = text;
  if (value_.isEmpty()) value_.setText(text);
}

bool QVConfigItem::operator==(const QVConfigItem& other) const {
  return compareIgnoringCase(key_, other.key_) == 0;
}

bool QVConfigItem::operator<(const QVConfigItem& other) const {
  return compareIgnoringCase(key_, other.key_) < 0;
}
