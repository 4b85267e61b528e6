#pragma once
// RWStrDup: a heap copy of a NUL-terminated string, for the message classes that own their text
// as a plain char array. The caller owns the copy and releases it with delete[].

#include <cstddef>
#include <cstring>

// A new[]-allocated copy of `s` (which must not be null), terminator included.
inline char* RWStrDup(const char* s) {
  const std::size_t n = std::strlen(s);
  char* copy = new char[n + 1];
  std::memcpy(copy, s, n + 1);
  return copy;
}
