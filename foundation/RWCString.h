#pragma once
// RWCString: the library's byte string, one pointer wide. Copies share one body (copy on write);
// every edit unshares first. The characters are NUL-terminated and may hold embedded NULs (the
// length counts them). Reference counts are atomic; the characters are not guarded, so one string
// is used by one thread at a time. Edits whose argument lies in the string itself are safe.

#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "foundation/RWCStringBody.h"
#include "foundation/RWCStringSpan.h"
#include "foundation/RWDefs.h"

class PatternRegex;

// Asks for an empty string with room for n characters: RWCString(RWCapacity{n}).
struct RWCapacity {
  std::size_t n;
};

class RWCString {
 public:
  enum caseCompare { exact = 0, ignoreCase = 1 };
  enum stripType { leading = 1, trailing = 2, both = 3 };

  RWCString() : data_(RWCStringBody::empty()->data()) {}  // the shared empty body
  RWCString(const char* text);                 // capacity exactly its length; null reads as empty
  RWCString(const char* chars, std::size_t n); // n characters, NULs kept; null reads as empty
  explicit RWCString(char c);                  // capacity = initial capacity, length 1
  RWCString(char c, std::size_t count);        // count copies of c
  explicit RWCString(RWCapacity reserve);      // empty, capacity exactly reserve.n
  RWCString(const RWCStringSpan& span);        // the span's characters (empty view: empty)
  RWCString(const RWCString& other) : data_(other.data_) {  // shares the body
    mutableBody()->addReference();
  }
  RWCString(RWCString&& other) noexcept : data_(other.data_) {  // other becomes empty
    other.data_ = RWCStringBody::empty()->data();
  }
  ~RWCString() { mutableBody()->release(); }

  RWCString& operator=(const char* text);
  RWCString& operator=(const RWCString& other);
  RWCString& operator=(RWCString&& other) noexcept;

  // ---- queries
  std::size_t length() const { return body()->length(); }
  bool isEmpty() const { return length() == 0; }
  std::size_t capacity() const { return body()->capacity(); }
  const char* data() const { return data_; }   // NUL-terminated; valid until the next edit
  const RWCStringBody* body() const { return reinterpret_cast<const RWCStringBody*>(data_) - 1; }

  std::size_t findChar(char c) const;          // strchr: stops at the first NUL; RW_NPOS if absent
  std::size_t findLastChar(char c) const;      // strrchr
  std::size_t firstByte(char c) const;         // within the length, embedded NULs searched
  std::size_t lastByte(char c) const;
  std::size_t findAnyChar(const char* set) const { return body()->findAnyChar(set); }  // strpbrk
  std::size_t firstOf(const char* set) const;  // first byte (over the length) that is in set
  std::size_t findText(const char* pattern, std::size_t start = 0, caseCompare cmp = exact) const;
  std::size_t findText(const RWCString& pattern, std::size_t start = 0,
                       caseCompare cmp = exact) const;
  bool contains(const char* pattern, caseCompare cmp = exact) const {
    return findText(pattern, 0, cmp) != RW_NPOS;
  }
  bool isAscii() const;                        // every byte below 0x80
  // Multibyte characters under the current locale; -1 for an invalid or truncated sequence.
  // Counting stops at a NUL.
  long mbLength() const;
  int collate(const char* text) const;         // strcoll
  RWCString sortKey() const;                   // strxfrm

  // ---- edits (each unshares first)
  RWCString& append(const char* text);
  RWCString& append(const char* chars, std::size_t n);
  RWCString& append(const RWCString& text);
  RWCString& append(char c, std::size_t count = 1);
  RWCString& operator+=(const char* text) { return append(text); }
  RWCString& operator+=(const RWCString& text) { return append(text); }
  RWCString& operator+=(char c) { return append(c, 1); }
  RWCString& prepend(const char* text) { return insert(0, text); }
  RWCString& prepend(const RWCString& text) { return insert(0, text); }
  // pos may equal the length; pos beyond it raises RWBoundsErr ("[SUBSTRING]").
  RWCString& insert(std::size_t pos, const char* text);
  RWCString& insert(std::size_t pos, const RWCString& text);
  // The general edit: count characters at pos (clipped to the end) become the source.
  RWCString& replace(std::size_t pos, std::size_t count, const char* text);
  RWCString& replace(std::size_t pos, std::size_t count, const RWCString& text);
  RWCString& replace(std::size_t pos, std::size_t count, const char* chars, std::size_t n);
  RWCString& remove(std::size_t pos);                       // to the end
  RWCString& remove(std::size_t pos, std::size_t count);
  void toLower();                                           // tolower per byte, in place
  void toUpper();
  void resize(std::size_t n);                               // pads with blanks or truncates
  RWCString lowerCopy() const;
  RWCString upperCopy() const;
  // Span without leading (bit 1) and/or trailing (bit 2) runs of c; a fully stripped string
  // gives the empty span.
  RWCStringSpan strip(stripType mode = trailing, char c = ' ');
  const RWCStringSpan strip(stripType mode = trailing, char c = ' ') const;
  std::size_t reserve(std::size_t n);                       // grows only; returns the capacity

  // ---- characters
  char& at(std::size_t i);            // bounds-checked (RWBoundsErr); unshares
  char at(std::size_t i) const;       // bounds-checked
  char& operator[](std::size_t i);    // bounds-checked like at(); unshares
  char operator[](std::size_t i) const;  // i may equal the length (reads the NUL)

  // ---- comparison and hash
  // Exact: the sign tells the order (bytes unsigned); ignoreCase compares tolower of each byte.
  int compare(const char* text, caseCompare cmp = exact) const;
  int compare(const RWCString& other, caseCompare cmp = exact) const;
  std::uint32_t hash(caseCompare cmp = exact) const;

  // ---- spans (see RWCStringSpan.h). start may be at most the length; the length is clipped to
  // the end (start beyond the length raises "[SUBSTRING]"); start RW_NPOS gives the empty view.
  RWCStringSpan span(std::size_t start, std::size_t length);
  const RWCStringSpan span(std::size_t start, std::size_t length) const;
  RWCStringSpan span(const char* pattern, caseCompare cmp = exact);  // first occurrence
  const RWCStringSpan span(const char* pattern, caseCompare cmp = exact) const;

  // ---- regular expressions (implemented with PatternRegex)
  std::size_t indexOfMatch(const PatternRegex& pattern, std::size_t& length,
                           std::size_t start) const;
  std::size_t indexOfMatch(const PatternRegex& pattern, std::size_t start = 0) const;
  RWCString matchedText(const PatternRegex& pattern, std::size_t start = 0) const;
  RWCString matchedText(const PatternRegex& pattern, std::size_t start = 0);

  // ---- stream input. Each empties the string first and keeps what was read.
  std::istream& readLine(std::istream& in, bool skipWhite = true);  // to the next LF
  std::istream& readToDelim(std::istream& in, char delim = '\n');
  std::istream& readString(std::istream& in);                       // to a NUL
  std::istream& readFile(std::istream& in);                         // the whole stream
  std::istream& readToken(std::istream& in);                        // operator>>

  // ---- process-wide sizing settings; each setter returns the old value.
  static std::size_t initialCapacity(std::size_t n);   // default 15
  static std::size_t resizeIncrement(std::size_t n);   // default 16 (0 is taken as 1)
  static std::size_t maxWaste(std::size_t n);          // default 15
  static std::size_t initialCapacity();
  static std::size_t resizeIncrement();
  static std::size_t maxWaste();
  // The initial capacity when n is not above it, else rounded up in resize increments; RWxalloc
  // when the rounded value does not fit in a size.
  static std::size_t roundedCapacity(std::size_t n);
  // Next buffer size for stream input; raises RWBoundsErr past the limit.
  static std::size_t streamGrowth(std::size_t size);

 private:
  friend class RWCStringSpan;
  explicit RWCString(RWCStringBody* body) : data_(body->data()) {}
  RWCStringBody* mutableBody() { return reinterpret_cast<RWCStringBody*>(data_) - 1; }
  void unshare();
  void setBody(RWCStringBody* b);  // releases the old body
  std::istream& readWhole(std::istream& in, int delim);  // delim -1: to the end

  char* data_;
};

RWCString operator+(const RWCString& a, const char* b);
RWCString operator+(const char* a, const RWCString& b);
RWCString operator+(const RWCString& a, const RWCString& b);

bool operator==(const RWCString& a, const char* b);       // every character matches, same length
bool operator==(const RWCString& a, const RWCString& b);  // same length and same bytes
inline bool operator==(const char* a, const RWCString& b) { return b == a; }
inline bool operator!=(const RWCString& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const RWCString& b) { return !(b == a); }
inline bool operator!=(const RWCString& a, const RWCString& b) { return !(a == b); }
inline bool operator<(const RWCString& a, const RWCString& b) { return a.compare(b) < 0; }

// The exact hash, for the hashed dictionaries.
std::uint32_t RWCStringHash(const RWCString& s);

std::ostream& operator<<(std::ostream& out, const RWCString& s);
std::istream& operator>>(std::istream& in, RWCString& s);  // a white-space-delimited token
