#include "foundation/RWCString.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <locale>
#include <new>
#include <ostream>

#include "foundation/RWThrow.h"

// ---------------------------------------------------------------- bodies

namespace {

std::atomic<std::size_t> gInitialCapacity{15};
std::atomic<std::size_t> gResizeIncrement{16};
std::atomic<std::size_t> gMaxWaste{15};

// True when [p, p + n) overlaps [base, base + size).
bool overlaps(const char* p, std::size_t n, const char* base, std::size_t size) {
  const auto a = reinterpret_cast<std::uintptr_t>(p);
  const auto b = reinterpret_cast<std::uintptr_t>(base);
  return n && a < b + size && b < a + n;
}

// a + b; the allocation error when the sum does not fit in a size, so that no body is ever made
// (or written) for a size that wrapped.
std::size_t checkedSum(std::size_t a, std::size_t b) {
  if (b > SIZE_MAX - a) RWThrowAlloc(SIZE_MAX);
  return a + b;
}

inline std::uint32_t rotl5(std::uint32_t h) { return (h << 5) | (h >> 27); }
inline unsigned char lowerByte(char c) {
  return static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

constinit RWCStringEmptyStorage gRWCStringEmptyStorage{RWCStringBody(0, 0, 0), {0}};

RWCStringBody* RWCStringBody::create(std::size_t capacity) {
  void* mem = ::operator new(checkedSum(sizeof(RWCStringBody), checkedSum(capacity, 1)));
  RWCStringBody* b = new (mem) RWCStringBody(0, capacity, 0);
  b->data()[0] = '\0';
  return b;
}

void RWCStringBody::destroy() {
  this->~RWCStringBody();
  ::operator delete(this);
}

std::size_t RWCStringBody::findAnyChar(const char* set) const {
  if (!set) return RW_NPOS;
  const char* p = std::strpbrk(data(), set);
  return p ? static_cast<std::size_t>(p - data()) : RW_NPOS;
}

// ---------------------------------------------------------------- settings

std::size_t RWCString::initialCapacity(std::size_t n) { return gInitialCapacity.exchange(n); }
std::size_t RWCString::resizeIncrement(std::size_t n) {
  return gResizeIncrement.exchange(n ? n : 1);
}
std::size_t RWCString::maxWaste(std::size_t n) { return gMaxWaste.exchange(n); }
std::size_t RWCString::initialCapacity() { return gInitialCapacity.load(); }
std::size_t RWCString::resizeIncrement() { return gResizeIncrement.load(); }
std::size_t RWCString::maxWaste() { return gMaxWaste.load(); }

std::size_t RWCString::roundedCapacity(std::size_t n) {
  const std::size_t initial = initialCapacity(), inc = resizeIncrement();
  if (n <= initial) return initial;
  const std::size_t over = n - initial;
  const std::size_t steps = over / inc + (over % inc != 0);
  if (steps > (SIZE_MAX - initial) / inc) RWThrowAlloc(SIZE_MAX);
  return initial + inc * steps;
}

std::size_t RWCString::streamGrowth(std::size_t size) {
  constexpr std::uint64_t two31 = 1ull << 31;
  constexpr std::uint64_t limit = (1ull << 32) - 3;
  if (size < 16) return 16;
  if (2 * static_cast<std::uint64_t>(size) < two31) return 2 * size;
  if (size <= limit) {
    const std::size_t next = size / 2 + static_cast<std::size_t>(two31) - 1;
    if (next > size) return next;  // the rule converges on the limit; never return no growth
  }
  RWThrowResizeLimit();
}

// ---------------------------------------------------------------- construction

RWCString::RWCString(const char* text) : RWCString(text, text ? std::strlen(text) : 0) {}

RWCString::RWCString(const char* chars, std::size_t n) : RWCString() {
  if (!chars || n == 0) return;
  RWCStringBody* b = RWCStringBody::create(n);
  std::memcpy(b->data(), chars, n);
  b->setLength(n);
  data_ = b->data();
}

RWCString::RWCString(char c) {
  RWCStringBody* b = RWCStringBody::create(std::max<std::size_t>(initialCapacity(), 1));
  b->data()[0] = c;
  b->setLength(1);
  data_ = b->data();
}

RWCString::RWCString(char c, std::size_t count) : RWCString() {
  if (count == 0) return;
  RWCStringBody* b = RWCStringBody::create(roundedCapacity(count));
  std::memset(b->data(), static_cast<unsigned char>(c), count);
  b->setLength(count);
  data_ = b->data();
}

RWCString::RWCString(RWCapacity reserve) : RWCString() {
  if (reserve.n) data_ = RWCStringBody::create(reserve.n)->data();
}

RWCString::RWCString(const RWCStringSpan& span) : RWCString() {
  if (span.length() == 0) return;
  RWCStringBody* b = RWCStringBody::create(roundedCapacity(span.length()));
  std::memcpy(b->data(), span.data(), span.length());
  b->setLength(span.length());
  data_ = b->data();
}

void RWCString::setBody(RWCStringBody* b) {
  RWCStringBody* old = mutableBody();
  data_ = b->data();
  old->release();
}

RWCString& RWCString::operator=(const char* text) {
  if (!text || !*text) {
    RWCStringBody* b = mutableBody();
    if (!b->isEmptyBody() && b->extraReferences() == 0)
      b->setLength(0);
    else
      setBody(RWCStringBody::empty());
    return *this;
  }
  return replace(0, length(), text, std::strlen(text));
}

RWCString& RWCString::operator=(const RWCString& other) {
  if (data_ == other.data_) return *this;
  RWCStringBody* b = const_cast<RWCString&>(other).mutableBody();
  b->addReference();
  setBody(b);
  return *this;
}

RWCString& RWCString::operator=(RWCString&& other) noexcept {
  if (this != &other) {
    RWCStringBody* old = mutableBody();
    data_ = other.data_;
    other.data_ = RWCStringBody::empty()->data();
    old->release();
  }
  return *this;
}

// ---------------------------------------------------------------- the general edit

RWCString& RWCString::replace(std::size_t pos, std::size_t count, const char* src,
                              std::size_t n) {
  const std::size_t len = length();
  if (pos > len) RWThrowSubstring(pos, count, len);
  if (!src) n = 0;
  if (count > len - pos) count = len - pos;
  const std::size_t newLen = checkedSum(len - count, n);
  RWCStringBody* b = mutableBody();
  const bool fresh = b->isEmptyBody() || b->extraReferences() > 0 || newLen > b->capacity() ||
                     (newLen < len && b->capacity() - newLen > maxWaste()) ||
                     overlaps(src, n, data_, b->capacity() + 1);
  if (!fresh) {
    if (n != count) std::memmove(data_ + pos + n, data_ + pos + count, len - pos - count);
    if (n) std::memcpy(data_ + pos, src, n);
    b->setLength(newLen);
    return *this;
  }
  if (newLen == 0) {
    setBody(RWCStringBody::empty());
    return *this;
  }
  RWCStringBody* nb = RWCStringBody::create(roundedCapacity(newLen));
  char* d = nb->data();
  std::memcpy(d, data_, pos);
  if (n) std::memcpy(d + pos, src, n);
  std::memcpy(d + pos + n, data_ + pos + count, len - pos - count);
  nb->setLength(newLen);
  setBody(nb);
  return *this;
}

RWCString& RWCString::replace(std::size_t pos, std::size_t count, const char* text) {
  return replace(pos, count, text, text ? std::strlen(text) : 0);
}
RWCString& RWCString::replace(std::size_t pos, std::size_t count, const RWCString& text) {
  return replace(pos, count, text.data_, text.length());
}

RWCString& RWCString::append(const char* text) {
  return replace(length(), 0, text, text ? std::strlen(text) : 0);
}
RWCString& RWCString::append(const char* chars, std::size_t n) {
  return replace(length(), 0, chars, n);
}
RWCString& RWCString::append(const RWCString& text) {
  return replace(length(), 0, text.data_, text.length());
}
RWCString& RWCString::append(char c, std::size_t count) {
  if (count == 1) return replace(length(), 0, &c, 1);
  if (count == 0) return *this;
  const RWCString run(c, count);
  return append(run);
}

RWCString& RWCString::insert(std::size_t pos, const char* text) {
  return replace(pos, 0, text, text ? std::strlen(text) : 0);
}
RWCString& RWCString::insert(std::size_t pos, const RWCString& text) {
  return replace(pos, 0, text.data_, text.length());
}

RWCString& RWCString::remove(std::size_t pos) { return replace(pos, RW_NPOS, nullptr, 0); }
RWCString& RWCString::remove(std::size_t pos, std::size_t count) {
  return replace(pos, count, nullptr, 0);
}

void RWCString::unshare() {
  RWCStringBody* b = mutableBody();
  if (b->isEmptyBody() || b->extraReferences() == 0) return;
  RWCStringBody* nb = RWCStringBody::create(b->capacity());
  std::memcpy(nb->data(), data_, b->length());
  nb->setLength(b->length());
  setBody(nb);
}

void RWCString::toLower() {
  if (isEmpty()) return;
  unshare();
  const std::size_t n = length();
  for (std::size_t i = 0; i < n; ++i) data_[i] = static_cast<char>(lowerByte(data_[i]));
}

void RWCString::toUpper() {
  if (isEmpty()) return;
  unshare();
  const std::size_t n = length();
  for (std::size_t i = 0; i < n; ++i)
    data_[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(data_[i])));
}

void RWCString::resize(std::size_t n) {
  const std::size_t len = length();
  if (n < len)
    remove(n);
  else if (n > len)
    append(' ', n - len);
}

RWCString RWCString::lowerCopy() const {
  RWCString copy(*this);
  copy.toLower();
  return copy;
}

RWCString RWCString::upperCopy() const {
  RWCString copy(*this);
  copy.toUpper();
  return copy;
}

RWCStringSpan RWCString::strip(stripType mode, char c) {
  std::size_t start = 0, end = length();
  if (mode & leading)
    while (start < end && data_[start] == c) ++start;
  if (mode & trailing)
    while (end > start && data_[end - 1] == c) --end;
  if (start == end) return RWCStringSpan(this, RW_NPOS, 0);
  return RWCStringSpan(this, start, end - start);
}

const RWCStringSpan RWCString::strip(stripType mode, char c) const {
  return const_cast<RWCString*>(this)->strip(mode, c);
}

std::size_t RWCString::reserve(std::size_t n) {
  RWCStringBody* b = mutableBody();
  if (n > b->capacity()) {
    RWCStringBody* nb = RWCStringBody::create(n);
    std::memcpy(nb->data(), data_, b->length());
    nb->setLength(b->length());
    setBody(nb);
  }
  return capacity();
}

// ---------------------------------------------------------------- characters

char& RWCString::at(std::size_t i) {
  RWCheckIndex(i, length());
  unshare();
  return data_[i];
}

char RWCString::at(std::size_t i) const {
  RWCheckIndex(i, length());
  return data_[i];
}

char& RWCString::operator[](std::size_t i) { return at(i); }

char RWCString::operator[](std::size_t i) const {
  if (i != length()) RWCheckIndex(i, length());
  return data_[i];
}

// ---------------------------------------------------------------- queries

std::size_t RWCString::findChar(char c) const {
  const char* p = std::strchr(data_, c);
  return p ? static_cast<std::size_t>(p - data_) : RW_NPOS;
}

std::size_t RWCString::findLastChar(char c) const {
  const char* p = std::strrchr(data_, c);
  return p ? static_cast<std::size_t>(p - data_) : RW_NPOS;
}

std::size_t RWCString::firstByte(char c) const {
  const void* p = std::memchr(data_, static_cast<unsigned char>(c), length());
  return p ? static_cast<std::size_t>(static_cast<const char*>(p) - data_) : RW_NPOS;
}

std::size_t RWCString::lastByte(char c) const {
  for (std::size_t i = length(); i > 0; --i)
    if (data_[i - 1] == c) return i - 1;
  return RW_NPOS;
}

std::size_t RWCString::firstOf(const char* set) const {
  if (!set || !*set) return RW_NPOS;
  const std::size_t n = length();
  for (std::size_t i = 0; i < n; ++i)
    if (data_[i] != '\0' && std::strchr(set, data_[i])) return i;
  return RW_NPOS;
}

namespace {

std::size_t findIn(const char* text, std::size_t len, const char* pat, std::size_t plen,
                   std::size_t start, RWCString::caseCompare cmp) {
  if (start > len || plen > len - start) return RW_NPOS;
  if (plen == 0) return start;
  const std::size_t lastStart = len - plen;
  if (cmp == RWCString::exact) {
    for (std::size_t i = start; i <= lastStart; ++i) {
      const void* p = std::memchr(text + i, static_cast<unsigned char>(pat[0]), lastStart - i + 1);
      if (!p) return RW_NPOS;
      i = static_cast<std::size_t>(static_cast<const char*>(p) - text);
      if (std::memcmp(text + i + 1, pat + 1, plen - 1) == 0) return i;
    }
    return RW_NPOS;
  }
  const unsigned char first = lowerByte(pat[0]);
  for (std::size_t i = start; i <= lastStart; ++i) {
    if (lowerByte(text[i]) != first) continue;
    std::size_t k = 1;
    while (k < plen && lowerByte(text[i + k]) == lowerByte(pat[k])) ++k;
    if (k == plen) return i;
  }
  return RW_NPOS;
}

}  // namespace

std::size_t RWCString::findText(const char* pattern, std::size_t start, caseCompare cmp) const {
  if (!pattern) pattern = "";
  return findIn(data_, length(), pattern, std::strlen(pattern), start, cmp);
}

std::size_t RWCString::findText(const RWCString& pattern, std::size_t start,
                                caseCompare cmp) const {
  return findIn(data_, length(), pattern.data_, pattern.length(), start, cmp);
}

bool RWCString::isAscii() const {
  const std::size_t n = length();
  for (std::size_t i = 0; i < n; ++i)
    if (static_cast<unsigned char>(data_[i]) >= 0x80) return false;
  return true;
}

long RWCString::mbLength() const {
  const std::size_t n = length();
  const std::size_t maxLen = MB_CUR_MAX;
  std::mblen(nullptr, 0);  // reset the shift state
  long count = 0;
  std::size_t i = 0;
  while (i < n && data_[i] != '\0') {
    const int r = std::mblen(data_ + i, std::min(maxLen, n - i));
    if (r < 0) return -1;
    if (r == 0) break;
    i += static_cast<std::size_t>(r);
    ++count;
  }
  return count;
}

int RWCString::collate(const char* text) const { return std::strcoll(data_, text ? text : ""); }

RWCString RWCString::sortKey() const {
  const std::size_t n = std::strxfrm(nullptr, data_, 0);
  if (n == 0) return RWCString();
  RWCString key{RWCapacity{n}};
  std::strxfrm(key.data_, data_, n + 1);
  key.mutableBody()->setLength(n);
  return key;
}

// ---------------------------------------------------------------- comparison and hash

int RWCString::compare(const char* text, caseCompare cmp) const {
  if (!text) text = "";
  const std::size_t len = length();
  for (std::size_t i = 0;; ++i) {
    if (text[i] == '\0') return i == len ? 0 : 1;
    if (i == len) return -1;
    const unsigned char a = cmp == exact ? static_cast<unsigned char>(data_[i]) : lowerByte(data_[i]);
    const unsigned char b = cmp == exact ? static_cast<unsigned char>(text[i]) : lowerByte(text[i]);
    if (a != b) return a > b ? 1 : -1;
  }
}

int RWCString::compare(const RWCString& other, caseCompare cmp) const {
  const std::size_t la = length(), lb = other.length(), n = std::min(la, lb);
  if (cmp == exact) {
    if (n) {
      const int r = std::memcmp(data_, other.data_, n);
      if (r) return r;
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned char a = lowerByte(data_[i]), b = lowerByte(other.data_[i]);
      if (a != b) return a > b ? 1 : -1;
    }
  }
  if (la == lb) return 0;
  return la > lb ? 1 : -1;
}

std::uint32_t RWCString::hash(caseCompare cmp) const {
  const std::size_t len = length();
  std::uint32_t h = static_cast<std::uint32_t>(len);
  if (cmp != exact) {
    for (std::size_t i = 0; i < len; ++i)
      h = static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(data_[i]))) ^ rotl5(h);
    return h;
  }
  const std::size_t words = len / 4;
  for (std::size_t i = 0; i < words; ++i) {
    std::uint32_t w;
    std::memcpy(&w, data_ + 4 * i, 4);
    h = w ^ rotl5(h);
  }
  if (const std::size_t rest = len % 4) {
    std::uint32_t w = 0;
    for (std::size_t i = 0; i < rest; ++i) {
      // Each byte is sign-extended before it is ORed in, so a high byte sets all bits above it.
      const auto byte = static_cast<std::int32_t>(static_cast<signed char>(data_[4 * words + i]));
      w = (w << 8) | static_cast<std::uint32_t>(byte);
    }
    h = w ^ rotl5(h);
  }
  return h;
}

std::uint32_t RWCStringHash(const RWCString& s) { return s.hash(); }

bool operator==(const RWCString& a, const char* b) {
  if (!b) b = "";
  const std::size_t n = a.length();
  const char* d = a.data();
  for (std::size_t i = 0; i < n; ++i)
    if (d[i] != b[i] || b[i] == '\0') return false;
  return b[n] == '\0';
}

bool operator==(const RWCString& a, const RWCString& b) {
  return a.length() == b.length() && std::memcmp(a.data(), b.data(), a.length()) == 0;
}

namespace {
RWCString concat(const char* a, std::size_t la, const char* b, std::size_t lb) {
  RWCString r{RWCapacity{RWCString::roundedCapacity(checkedSum(la, lb))}};
  r.append(a, la).append(b, lb);
  return r;
}
}  // namespace

RWCString operator+(const RWCString& a, const char* b) {
  return concat(a.data(), a.length(), b ? b : "", b ? std::strlen(b) : 0);
}
RWCString operator+(const char* a, const RWCString& b) {
  return concat(a ? a : "", a ? std::strlen(a) : 0, b.data(), b.length());
}
RWCString operator+(const RWCString& a, const RWCString& b) {
  return concat(a.data(), a.length(), b.data(), b.length());
}

// ---------------------------------------------------------------- spans

RWCStringSpan RWCString::span(std::size_t start, std::size_t len) {
  if (start == RW_NPOS) return RWCStringSpan(this, RW_NPOS, 0);
  const std::size_t n = length();
  if (start > n) RWThrowSubstring(start, len, n);
  return RWCStringSpan(this, start, std::min(len, n - start));
}

const RWCStringSpan RWCString::span(std::size_t start, std::size_t len) const {
  return const_cast<RWCString*>(this)->span(start, len);
}

RWCStringSpan RWCString::span(const char* pattern, caseCompare cmp) {
  const std::size_t i = findText(pattern, 0, cmp);
  if (i == RW_NPOS) return RWCStringSpan(this, RW_NPOS, 0);
  return RWCStringSpan(this, i, pattern ? std::strlen(pattern) : 0);
}

const RWCStringSpan RWCString::span(const char* pattern, caseCompare cmp) const {
  return const_cast<RWCString*>(this)->span(pattern, cmp);
}

const char* RWCStringSpan::data() const {
  if (isEmptyView() || start_ > str_->length()) return "";
  return str_->data() + start_;
}

RWCStringSpan& RWCStringSpan::operator=(const char* text) {
  if (isEmptyView()) return *this;
  const std::size_t n = text ? std::strlen(text) : 0;
  str_->replace(start_, length_, text, n);
  length_ = n;
  return *this;
}

RWCStringSpan& RWCStringSpan::operator=(const RWCString& text) {
  if (isEmptyView()) return *this;
  const std::size_t n = text.length();
  str_->replace(start_, length_, text.data(), n);
  length_ = n;
  return *this;
}

RWCStringSpan& RWCStringSpan::operator=(const RWCStringSpan& other) {
  if (isEmptyView()) return *this;
  const std::size_t n = other.length();
  str_->replace(start_, length_, other.data(), n);  // replace copies out of its own characters
  length_ = n;
  return *this;
}

bool RWCStringSpan::operator==(const char* text) const {
  if (!text) text = "";
  if (isEmptyView()) return *text == '\0';
  const char* d = data();
  for (std::size_t i = 0; i < length_; ++i)
    if (d[i] != text[i] || text[i] == '\0') return false;
  return text[length_] == '\0';
}

bool RWCStringSpan::operator==(const RWCString& text) const {
  if (isEmptyView()) return text.isEmpty();
  return length_ == text.length() && std::memcmp(data(), text.data(), length_) == 0;
}

void RWCStringSpan::toLower() {
  if (isEmptyView() || length_ == 0 || start_ >= str_->length()) return;
  str_->unshare();
  const std::size_t end = std::min(start_ + length_, str_->length());
  for (std::size_t i = start_; i < end; ++i)
    str_->data_[i] = static_cast<char>(lowerByte(str_->data_[i]));
}

void RWCStringSpan::toUpper() {
  if (isEmptyView() || length_ == 0 || start_ >= str_->length()) return;
  str_->unshare();
  const std::size_t end = std::min(start_ + length_, str_->length());
  for (std::size_t i = start_; i < end; ++i)
    str_->data_[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(str_->data_[i])));
}

char& RWCStringSpan::operator()(std::size_t i) {
  RWCheckIndex(i, length_);
  // The string may have been shortened since the span was taken.
  if (start_ + i >= str_->length()) RWThrowIndexError(start_ + i, str_->length());
  str_->unshare();
  return str_->data_[start_ + i];
}

char RWCStringSpan::operator()(std::size_t i) const {
  RWCheckIndex(i, length_);
  if (start_ + i >= str_->length()) RWThrowIndexError(start_ + i, str_->length());
  return str_->data_[start_ + i];
}

// ---------------------------------------------------------------- stream input and output

std::istream& RWCString::readWhole(std::istream& in, int delim) {
  // Start from an unshared body of the initial capacity (or this string's own, when unshared).
  RWCStringBody* b = mutableBody();
  if (b->isEmptyBody() || b->extraReferences() > 0) {
    setBody(RWCStringBody::create(std::max<std::size_t>(initialCapacity(), 1)));
    b = mutableBody();
  } else {
    b->setLength(0);
  }
  if (!in.good()) {
    in.setstate(std::ios::failbit);
    return in;
  }
  std::ios::iostate state = std::ios::goodbit;
  std::streambuf* sb = in.rdbuf();
  std::size_t len = 0;
  bool sawDelim = false;
  auto grow = [&] {
    RWCStringBody* nb = RWCStringBody::create(streamGrowth(b->capacity()));
    std::memcpy(nb->data(), data_, len);
    nb->setLength(len);
    setBody(nb);
    b = nb;
  };
  try {
    if (delim < 0) {
      for (;;) {
        if (len == b->capacity()) grow();
        const std::streamsize got =
            sb->sgetn(data_ + len, static_cast<std::streamsize>(b->capacity() - len));
        if (got <= 0) {
          state |= std::ios::eofbit;
          break;
        }
        len += static_cast<std::size_t>(got);
      }
    } else {
      for (;;) {
        const int c = sb->sbumpc();
        if (c == std::char_traits<char>::eof()) {
          state |= std::ios::eofbit;
          break;
        }
        if (c == delim) {
          sawDelim = true;
          break;
        }
        if (len == b->capacity()) grow();
        data_[len++] = static_cast<char>(c);
      }
      if (!sawDelim && len == 0) state |= std::ios::failbit;
    }
  } catch (...) {
    b->setLength(len);
    in.setstate(std::ios::badbit);  // rethrows when the stream asks for exceptions
    throw;
  }
  b->setLength(len);
  if (b->capacity() - len > maxWaste()) {
    if (len == 0) {
      setBody(RWCStringBody::create(std::max<std::size_t>(initialCapacity(), 1)));
    } else {
      RWCStringBody* nb = RWCStringBody::create(roundedCapacity(len));
      std::memcpy(nb->data(), data_, len);
      nb->setLength(len);
      setBody(nb);
    }
  }
  if (state != std::ios::goodbit) in.setstate(state);
  return in;
}

std::istream& RWCString::readToDelim(std::istream& in, char delim) {
  return readWhole(in, static_cast<unsigned char>(delim));
}

std::istream& RWCString::readString(std::istream& in) { return readWhole(in, 0); }

std::istream& RWCString::readFile(std::istream& in) { return readWhole(in, -1); }

std::istream& RWCString::readLine(std::istream& in, bool skipWhite) {
  if (skipWhite && in.good()) in >> std::ws;
  return readWhole(in, '\n');
}

std::istream& RWCString::readToken(std::istream& in) {
  *this = "";
  std::istream::sentry ok(in);  // skips white space
  if (!ok) return in;
  const auto& ctype = std::use_facet<std::ctype<char>>(in.getloc());
  const std::streamsize width = in.width();
  std::streambuf* sb = in.rdbuf();
  std::ios::iostate state = std::ios::goodbit;
  RWCStringBody* b = RWCStringBody::create(std::max<std::size_t>(initialCapacity(), 1));
  setBody(b);
  std::size_t len = 0;
  for (;;) {
    if (width > 0 && len >= static_cast<std::size_t>(width)) break;
    const int c = sb->sgetc();
    if (c == std::char_traits<char>::eof()) {
      state |= std::ios::eofbit;
      if (len == 0) state |= std::ios::failbit;
      break;
    }
    if (ctype.is(std::ctype_base::space, static_cast<char>(c))) break;
    if (len == b->capacity()) {
      RWCStringBody* nb = RWCStringBody::create(checkedSum(b->capacity(), resizeIncrement()));
      std::memcpy(nb->data(), data_, len);
      nb->setLength(len);
      setBody(nb);
      b = nb;
    }
    data_[len++] = static_cast<char>(c);
    sb->sbumpc();
  }
  b->setLength(len);
  in.width(0);
  if (state != std::ios::goodbit) in.setstate(state);
  return in;
}

std::istream& operator>>(std::istream& in, RWCString& s) { return s.readToken(in); }

std::ostream& operator<<(std::ostream& out, const RWCString& s) {
  std::ostream::sentry ok(out);
  if (!ok) return out;
  const std::size_t len = s.length();
  const std::streamsize width = out.width();
  const std::size_t pad = width > 0 && static_cast<std::size_t>(width) > len
                              ? static_cast<std::size_t>(width) - len
                              : 0;
  const bool left = (out.flags() & std::ios::adjustfield) == std::ios::left;
  std::streambuf* sb = out.rdbuf();
  const char fill = out.fill();
  bool failed = false;
  auto padOut = [&] {
    for (std::size_t i = 0; i < pad && !failed; ++i)
      failed = sb->sputc(fill) == std::char_traits<char>::eof();
  };
  if (!left) padOut();
  if (!failed && len)
    failed = sb->sputn(s.data(), static_cast<std::streamsize>(len)) !=
             static_cast<std::streamsize>(len);
  if (left) padOut();
  out.width(0);
  if (failed) out.setstate(std::ios::badbit);
  return out;
}
