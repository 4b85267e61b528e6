#include "config/QVConfigValue.h"

#include <cctype>
#include <climits>
#include <cstring>

#include "config/TextUtilities.h"
#include "config/VariableExpansion.h"

namespace {

const char* skipWhite(const char* p) {
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p;
}

bool equalsIgnoreCase(const RWCString& text, const char* word) {
  return text.length() == std::strlen(word) && text.compare(word, RWCString::ignoreCase) == 0;
}

template <class T>
RWCString joinNumbers(const T* values, std::size_t count, int precision) {
  RWCString out;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out.append(",");
    out.append(formatDouble(static_cast<double>(values[i]), precision, '.'));
  }
  return out;
}

}  // namespace

bool QVConfigValue::holdsLineBreak(const char* text, std::size_t n) {
  return std::memchr(text, '\n', n) != nullptr || std::memchr(text, '\r', n) != nullptr;
}

bool QVConfigValue::setText(const char* text) {
  return setText(RWCString(text ? text : ""));
}

bool QVConfigValue::setText(const RWCString& text) {
  if (holdsLineBreak(text.data(), text.length())) return false;
  text_ = text;
  isSet_ = 1;
  return true;
}

bool QVConfigValue::append(const char* text) {
  if (text && holdsLineBreak(text, std::strlen(text))) return false;
  if (text) text_.append(text);
  isSet_ = 1;
  return true;
}

void QVConfigValue::loadText(const RWCString& text) { text_ = text; }

void QVConfigValue::setInt(int value) { setText(intToText(value)); }

void QVConfigValue::setDouble(double value, int precision) {
  setText(formatDouble(value, precision, '.'));
}

void QVConfigValue::setBool(bool flag) { setText(flag ? "YES" : "NO"); }

void QVConfigValue::setDoubleArray(const double* values, std::size_t count, int precision) {
  setText(values ? joinNumbers(values, count, precision) : RWCString());
}

void QVConfigValue::setFloatArray(const float* values, std::size_t count, int precision) {
  setText(values ? joinNumbers(values, count, precision) : RWCString());
}

void QVConfigValue::setIntArray(const int* values, std::size_t count) {
  RWCString out;
  for (std::size_t i = 0; values && i < count; ++i) {
    if (i) out.append(",");
    out.append(intToText(values[i]));
  }
  setText(out);
}

void QVConfigValue::setIntVector(const RWTValOrderedVector<int>& values) {
  RWCString out;
  for (std::size_t i = 0; i < values.count(); ++i) {
    if (i) out.append(",");
    out.append(intToText(values[i]));
  }
  setText(out);
}

void QVConfigValue::setDoubleVector(const RWTValOrderedVector<double>& values, int precision) {
  RWCString out;
  for (std::size_t i = 0; i < values.count(); ++i) {
    if (i) out.append(",");
    out.append(formatDouble(values[i], precision, '.'));
  }
  setText(out);
}

bool QVConfigValue::setStringVector(const RWTValOrderedVector<RWCString>& values, char separator,
                                    char quote) {
  RWCString out;
  for (std::size_t i = 0; i < values.count(); ++i) {
    if (i) out.append(separator, 1);
    if (quote) out.append(quote, 1);
    out.append(values[i]);
    if (quote) out.append(quote, 1);
  }
  return setText(out);
}

void QVConfigValue::clearText() { text_ = RWCString(); }

RWCString QVConfigValue::asExpandedText() const { return expandVariables(text_); }

double QVConfigValue::asDouble() const { return atofClassic(text_.data()); }

int QVConfigValue::asInt() const { return atoiClassic(text_.data()); }

bool QVConfigValue::asBool() const {
  if (equalsIgnoreCase(text_, "yes") || equalsIgnoreCase(text_, "ja") ||
      equalsIgnoreCase(text_, "true"))
    return true;
  return asInt() == 1;
}

std::size_t QVConfigValue::asDoubleArray(double* out, std::size_t count) const {
  if (!out) return 0;
  RWTValOrderedVector<RWCString> fields = splitFields(text_, ',', '\0');
  std::size_t n = 0;
  for (; n < count && n < fields.count(); ++n) out[n] = atofClassic(fields[n].data());
  return n;
}

std::size_t QVConfigValue::asFloatArray(float* out, std::size_t count) const {
  if (!out) return 0;
  RWTValOrderedVector<RWCString> fields = splitFields(text_, ',', '\0');
  std::size_t n = 0;
  for (; n < count && n < fields.count(); ++n)
    out[n] = static_cast<float>(atofClassic(fields[n].data()));
  return n;
}

std::size_t QVConfigValue::asIntArray(int* out, std::size_t count) const {
  if (!out) return 0;
  RWTValOrderedVector<RWCString> fields = splitFields(text_, ',', '\0');
  std::size_t n = 0;
  for (; n < count && n < fields.count(); ++n) out[n] = atoiClassic(fields[n].data());
  return n;
}

void QVConfigValue::asDoubleVector(RWTValOrderedVector<double>& out, char separator) const {
  out = splitDoubles(text_, separator, '"');
}

void QVConfigValue::asIntVector(RWTValOrderedVector<int>& out, char separator) const {
  out = splitInts(text_, separator, '"');
}

void QVConfigValue::asStringList(RWTValOrderedVector<RWCString>& out, char separator,
                                 char quote) const {
  out = splitFields(text_, separator, quote);
}

bool QVConfigValue::parseDouble(const char* text, double& value) {
  const char* end = nullptr;
  const double parsed = strtodClassic(text, &end);
  if (text == nullptr || end == text) return false;
  value = parsed;
  return true;
}

bool QVConfigValue::parseInt(const char* text, int& value) {
  if (!text) return false;
  const char* p = skipWhite(text);
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
  long long v = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    if (v < static_cast<long long>(INT_MAX) + 1) v = v * 10 + (*p - '0');
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  value = static_cast<int>(v);
  return true;
}
