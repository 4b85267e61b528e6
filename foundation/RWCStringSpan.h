#pragma once
// A view of part of an RWCString: the string, a start index and a length. The view does not own
// the string and must not outlive it. Assigning to a span replaces that part of the string. The
// empty span (start RW_NPOS) refers to nothing; assigning to it changes nothing.

#include <cstddef>

#include "foundation/RWDefs.h"

class RWCString;

class RWCStringSpan {
 public:
  RWCStringSpan(RWCString* str, std::size_t start, std::size_t length)
      : str_(str), start_(start), length_(start == RW_NPOS ? 0 : length) {}

  bool isEmptyView() const { return start_ == RW_NPOS; }
  bool isEmpty() const { return length_ == 0; }
  std::size_t start() const { return start_; }    // RW_NPOS for the empty view
  std::size_t length() const { return length_; }
  const char* data() const;                        // start of the span's characters ("" if empty)

  // Replace the spanned characters of the string; the span then covers the new text.
  RWCStringSpan& operator=(const char* text);
  RWCStringSpan& operator=(const RWCString& text);
  RWCStringSpan& operator=(const RWCStringSpan& other);

  // The empty view equals only the empty text; otherwise same length and same bytes.
  bool operator==(const char* text) const;
  bool operator==(const RWCString& text) const;
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator!=(const RWCString& text) const { return !(*this == text); }

  // In-place case conversion of the spanned characters (the string is unshared first).
  void toLower();
  void toUpper();

  // Bounds-checked characters; i must be below the span's length.
  char& operator()(std::size_t i);
  char operator()(std::size_t i) const;

 private:
  RWCString* str_;
  std::size_t start_;
  std::size_t length_;
};
