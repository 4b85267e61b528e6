// str keeps its characters and their NUL in one pool; the pool is empty (no storage) only for an
// empty str that never held text, or after an edit left nothing.

#include "foundation/str.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

str::str(const char* text) {
  if (text != nullptr) setText(text, std::strlen(text));
}

str::str(const char* start, const char* end) {
  if (start != nullptr && end != nullptr && end > start)
    setText(start, static_cast<std::size_t>(end - start));
}

str::str(int value) {
  char buffer[16];
  const int n = std::snprintf(buffer, sizeof buffer, "%d", value);
  setText(buffer, static_cast<std::size_t>(n));
}

str::str(const str& other) : memManInterfaceC(other), pool_(other.pool_) {}

str::str(str&& other) noexcept : memManInterfaceC(other), pool_(std::move(other.pool_)) {}

str& str::operator=(const str& other) { return assign(other); }

str& str::operator=(str&& other) noexcept {
  pool_ = std::move(other.pool_);
  return *this;
}

str::~str() = default;

// A new pool of n characters and a NUL; text may lie inside this str's own pool.
void str::setText(const char* text, std::size_t n) {
  memManDataPoolC<char> fresh;
  char* d = fresh.allocate(n + 1);
  std::memcpy(d, text, n);
  d[n] = '\0';
  pool_ = std::move(fresh);
}

const char* str::text() const { return pool_.length() != 0 ? pool_.data() : ""; }

long str::length() const {
  const std::size_t n = pool_.length();
  return n != 0 ? static_cast<long>(n - 1) : 0;
}

str& str::assign(const str& other) {
  if (this != &other) pool_.setData(other.pool_.data(), other.pool_.length());
  return *this;
}

str& str::append(const char* buffer, long n) {
  if (buffer == nullptr || n <= 0) return *this;
  const std::size_t old = static_cast<std::size_t>(length());
  const char* base = pool_.data();
  const bool inside = base != nullptr && buffer >= base && buffer < base + pool_.length();
  std::size_t count = static_cast<std::size_t>(n);
  std::size_t offset = 0;
  if (inside) {
    // Only the characters of this str can be read there (the NUL and beyond are not text).
    offset = static_cast<std::size_t>(buffer - base);
    if (offset >= old) return *this;
    if (count > old - offset) count = old - offset;
  }
  char* d = pool_.resize(old + count + 1);
  const char* src = inside ? d + offset : buffer;
  std::memmove(d + old, src, count);
  d[old + count] = '\0';
  return *this;
}

str& str::append(const char* text) {
  if (text != nullptr) append(text, static_cast<long>(std::strlen(text)));
  return *this;
}

str& str::append(char c) { return append(&c, 1); }

str str::concat(const str& other) const {
  str result(*this);
  result.append(other.text(), other.length());
  return result;
}

str& str::toUpper() {
  char* d = pool_.data();
  for (long i = 0, n = length(); i < n; ++i)
    d[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(d[i])));
  return *this;
}

str& str::toLower() {
  char* d = pool_.data();
  for (long i = 0, n = length(); i < n; ++i)
    d[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(d[i])));
  return *this;
}

bool str::isEqual(const char* text) const {
  return std::strcmp(this->text(), text != nullptr ? text : "") == 0;
}

bool str::isLess(const char* text) const {
  if (isNull()) return text != nullptr;
  if (text == nullptr) return false;
  return std::strcmp(this->text(), text) < 0;
}

bool str::isGreater(const char* text) const {
  if (isNull()) return false;
  if (text == nullptr) return true;
  return std::strcmp(this->text(), text) > 0;
}

str str::substring(long position, long count) const {
  const long len = length();
  if (len == 0 || count <= 0) return str();
  if (position < 0) {
    count += position;
    position = 0;
    if (count <= 0) return str();
  }
  if (position >= len) return str();
  if (count > len - position) count = len - position;
  str result;
  char* d = result.pool_.allocate(static_cast<std::size_t>(count) + 1);
  std::strncpy(d, text() + position, static_cast<std::size_t>(count));
  d[count] = '\0';
  return result;
}

long str::findChar(char c) const {
  if (length() == 0) return -1;
  const char* p = std::strchr(text(), c);
  return p != nullptr ? static_cast<long>(p - text()) : -1;
}

long str::findText(const char* text) const {
  if (length() == 0 || text == nullptr) return -1;
  const char* p = std::strstr(this->text(), text);
  return p != nullptr ? static_cast<long>(p - this->text()) : -1;
}

long str::findLastChar(char c) const {
  if (length() == 0) return -1;
  const char* p = std::strrchr(text(), c);
  return p != nullptr ? static_cast<long>(p - text()) : -1;
}

char str::charAt(long index) const {
  return index >= 0 && index < length() ? pool_.data()[index] : '\0';
}

str& str::erase(long position, long count) {
  if (count <= 0) return *this;
  const long len = length();
  if (position < 0) {
    count += position;
    position = 0;
    if (count <= 0) return *this;
  }
  if (position >= len) return *this;
  if (count > len - position) count = len - position;
  const long newLen = len - count;
  if (newLen == 0) {
    pool_.release();
    return *this;
  }
  char* d = pool_.data();
  std::memmove(d + position, d + position + count, static_cast<std::size_t>(len - position - count));
  d[newLen] = '\0';
  pool_.resize(static_cast<std::size_t>(newLen) + 1);
  return *this;
}

str& str::insert(long position, const char* text) {
  if (text == nullptr || *text == '\0') return *this;
  const long len = length();
  if (position < 0) position = 0;
  if (position > len) position = len;
  str result = left(position);
  result.append(text);
  result.append(this->text() + position, len - position);
  *this = std::move(result);
  return *this;
}

char* str::setBufferSize(long n) {
  if (n <= 0) return nullptr;
  const std::size_t old = pool_.length();
  const std::size_t size = static_cast<std::size_t>(n);
  char* d = pool_.resize(size);
  if (size > old) std::memset(d + old, 0, size - old);
  d[size - 1] = '\0';
  return d;
}

namespace {

const char* escapeOf(char c) {
  switch (c) {
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '"': return "\\\"";
    case '\\': return "\\\\";
    default: return nullptr;
  }
}

void appendEscaped(str& out, const char* text) {
  if (text == nullptr) return;
  const char* run = text;
  for (const char* p = text;; ++p) {
    const char* e = *p != '\0' ? escapeOf(*p) : nullptr;
    if (*p == '\0' || e != nullptr) {
      out.append(run, static_cast<long>(p - run));
      if (*p == '\0') break;
      out.append(e, 2);
      run = p + 1;
    }
  }
}

}  // namespace

str escapeText(const char* text) {
  str out;
  appendEscaped(out, text);
  return out;
}

str quoteText(const char* text) {
  str out("\"");
  appendEscaped(out, text);
  out.append('"');
  return out;
}

str unescapeText(const char* text) {
  str out;
  if (text == nullptr) return out;
  const char* run = text;
  const char* p = text;
  while (*p != '\0') {
    if (*p != '\\' || p[1] == '\0') {
      ++p;
      continue;
    }
    out.append(run, static_cast<long>(p - run));
    const char c = p[1];
    out.append(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c);
    p += 2;
    run = p;
  }
  out.append(run, static_cast<long>(p - run));
  return out;
}

str replaceAll(const char* text, const char* pattern, const char* replacement) {
  if (text == nullptr) return str();
  if (pattern == nullptr || *pattern == '\0') return str(text);
  const std::size_t patternLength = std::strlen(pattern);
  str out;
  const char* rest = text;
  for (const char* hit; (hit = std::strstr(rest, pattern)) != nullptr; rest = hit + patternLength) {
    out.append(rest, static_cast<long>(hit - rest));
    out.append(replacement);
  }
  out.append(rest);
  return out;
}
