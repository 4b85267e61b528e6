#pragma once
// str: the object model's own byte string. Each str owns its characters (never shared), held with
// their NUL in a memManDataPoolC<char> allocated through the memory manager. An empty str may hold
// no storage at all; every operation accepts that, and null C strings count as empty texts.
// Positions and counts are in bytes; searches return -1 when nothing is found.

#include <cstddef>

#include "foundation/memManDataPool.h"
#include "foundation/memManInterface.h"

class str : public memManInterfaceC {
public:
  // Empty, no storage.
  str() = default;
  // A copy of the C string; null gives an empty str.
  str(const char* text);  // NOLINT: implicit on purpose, keys are written as literals
  // The characters from start up to (not including) end; null or end <= start gives an empty str.
  str(const char* start, const char* end);
  // The decimal text of value, as "%d" writes it.
  explicit str(int value);
  str(const str& other);
  str(str&& other) noexcept;
  str& operator=(const str& other);
  str& operator=(str&& other) noexcept;
  ~str() override;

  // The characters, or "" when there are none (never null).
  const char* text() const;
  // Pool length - 1, or 0 without storage.
  long length() const;
  bool isEmpty() const { return length() == 0; }
  // Holds no storage at all (a str made empty, from a null pointer, or whose edits left nothing).
  // A str holding only its NUL (made from "") is empty but not null.
  bool isNull() const { return pool_.length() == 0; }

  // Copies the other's text (self-assignment keeps it).
  str& assign(const str& other);
  // n bytes from buffer (nothing for n <= 0 or a null buffer); the buffer may lie inside this str.
  str& append(const char* buffer, long n);
  str& append(const char* text);
  str& append(char c);
  // A new str: this text followed by the other's.
  str concat(const str& other) const;

  // In place, toupper / tolower per byte.
  str& toUpper();
  str& toLower();

  // Null and empty texts count as empty on either side; else strcmp == 0.
  bool isEqual(const char* text) const;
  bool isNotEqual(const char* text) const { return !isEqual(text); }
  bool equalsStr(const str& other) const { return isEqual(other.text()); }
  // Ordering by strcmp, with null before everything: a null str is less than every text but a
  // null pointer (even ""), and every str but a null one is greater than a null pointer.
  bool isLess(const char* text) const;
  bool isGreater(const char* text) const;

  // Up to count bytes from position (count clipped to the end; a position outside the text
  // gives an empty str, a negative one starts at 0 and shortens the count by as much). An
  // empty str or count <= 0 gives an empty str.
  str substring(long position, long count) const;
  // The first n bytes.
  str left(long n) const { return substring(0, n); }
  // The last n bytes.
  str right(long n) const { return substring(length() - n, n); }

  // Index of the first c (strchr; c = 0 finds the NUL at length()), or -1; -1 for any empty str.
  long findChar(char c) const;
  // Index of the first occurrence of text (strstr), or -1; -1 also for a null text.
  long findText(const char* text) const;
  // Index of the last c (strrchr), or -1.
  long findLastChar(char c) const;
  // The byte at index, 0 for an index outside the text.
  char charAt(long index) const;

  // Removes count bytes at position (clipped to the end); count <= 0 changes nothing.
  str& erase(long position, long count);
  // Inserts text before position (clipped to 0 .. length()).
  str& insert(long position, const char* text);

  // The pool becomes exactly n bytes for n > 0: contents kept up to n, new bytes zeroed, and the
  // last byte is always the NUL (so length() is n - 1). Returns the buffer to write into; for
  // n <= 0 nothing changes and the result is null.
  char* setBufferSize(long n);

private:
  void setText(const char* text, std::size_t n);

  memManDataPoolC<char> pool_;
};

// TAB, LF, CR, '"' and '\' written as \t, \n, \r, \" and \\; every other byte unchanged.
str escapeText(const char* text);
// escapeText(text) between two double quotes.
str quoteText(const char* text);
// \n, \r, \t become LF, CR, TAB; a backslash before any other byte stands for that byte; a
// backslash that ends the text is kept.
str unescapeText(const char* text);
// Every occurrence of pattern, searched left to right in what follows the previous replacement,
// replaced by replacement (null counts as empty). A null or empty pattern changes nothing.
str replaceAll(const char* text, const char* pattern, const char* replacement);
