#pragma once
// QVConfigValue: the value of one configuration item, its text and an "is set" flag that tells
// whether the program changed it since the file was read (set values are written back on save).
// Only the text is stored; typed access converts when reading or writing. Numbers are written and
// read with '.' as the decimal point whatever the C locale says.

#include <cstddef>

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"

class QVConfigValue {
 public:
  QVConfigValue() = default;

  // ---- setters: each replaces the whole text and marks the value set, unless stated. A text
  // holding CR or LF cannot be written into a settings file as one line: the setters that take
  // text refuse it (false, nothing changed).
  bool setText(const char* text);           // null gives the empty text (still set)
  bool setText(const RWCString& text);
  bool append(const char* text);            // appends; marks set
  void setInt(int value);                   // "%d"
  // Fixed point with `precision` decimals ("%.*f"; a negative precision means 6, as printf
  // takes it); the array and vector setters write each element so.
  void setDouble(double value, int precision = 2);
  void setBool(bool flag);                  // "YES" or "NO"
  void setDoubleArray(const double* values, std::size_t count, int precision = 2);
  void setFloatArray(const float* values, std::size_t count, int precision = 2);
  void setIntArray(const int* values, std::size_t count);
  void setIntVector(const RWTValOrderedVector<int>& values);
  void setDoubleVector(const RWTValOrderedVector<double>& values, int precision = 2);
  // Joined by separator; when quote is not 0 each string is enclosed in it.
  bool setStringVector(const RWTValOrderedVector<RWCString>& values, char separator = ',',
                       char quote = 0);
  void clearText();                         // empty text; the flag is unchanged
  // The text as a file holds it, taken as it is; the flag is unchanged (used by the reader).
  void loadText(const RWCString& text);

  // ---- getters
  const char* text() const { return text_.data(); }
  const RWCString& asText() const { return text_; }
  RWCString asExpandedText() const;         // variables expanded; the text itself when that fails
  double asDouble() const;                  // as atof: the leading number, 0 when none
  int asInt() const;                        // as atoi (clamped to the int range)
  // True for "yes", "ja", "true" in any case, and for a text whose integer value is 1.
  bool asBool() const;
  // The text split at ','; entries 0..count-1 of the caller's array are written as far as the
  // list reaches. Returns the number written.
  std::size_t asDoubleArray(double* out, std::size_t count) const;
  std::size_t asFloatArray(float* out, std::size_t count) const;
  std::size_t asIntArray(int* out, std::size_t count) const;
  // The receiving vector is replaced by the elements split at separator ('"' quotes).
  void asDoubleVector(RWTValOrderedVector<double>& out, char separator = ',') const;
  void asIntVector(RWTValOrderedVector<int>& out, char separator = ',') const;
  void asStringList(RWTValOrderedVector<RWCString>& out, char separator = ',',
                    char quote = '"') const;

  bool isEmpty() const { return text_.isEmpty(); }
  bool isSet() const { return isSet_ != 0; }
  void setIsSet(bool flag) { isSet_ = flag ? 1 : 0; }

  // ---- locale-free number reading, shared with the configuration's typed access.
  // Reads the leading number of text after white space, as strtod does in the "C" locale
  // (decimal or hexadecimal, "inf" and "nan"; out of range as +-HUGE_VAL or +-0).
  // False, with value untouched, when there is none.
  static bool parseDouble(const char* text, double& value);
  // Reads the leading decimal integer after white space; out-of-range values are clamped.
  // False, with value untouched, when there is none.
  static bool parseInt(const char* text, int& value);
  static bool holdsLineBreak(const char* text, std::size_t n);   // CR or LF among n bytes

 private:
  RWCString text_;
  unsigned char isSet_ = 0;
};
