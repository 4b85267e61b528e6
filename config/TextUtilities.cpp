// Number and text helpers; see TextUtilities.h.

#include "config/TextUtilities.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/PatternRegex.h"
#include "platform/Process.h"

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Moves `p` past leading C white space and one optional sign; true when that sign was '-'.
bool skipSpaceAndSign(const char*& p) {
  while (isCSpace(*p)) ++p;
  if (*p != '+' && *p != '-') return false;
  return *p++ == '-';
}

bool equalsIgnoreCase(const char* a, std::size_t an, const char* b, std::size_t bn) {
  if (an != bn) return false;
  for (std::size_t i = 0; i < an; ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

bool equalsIgnoreCase(const RWCString& a, const char* b) {
  return equalsIgnoreCase(a.data(), a.length(), b, std::strlen(b));
}

// Removes blanks and tabs at both ends.
RWCString stripBlanksAndTabs(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlankOrTab(s[b])) ++b;
  while (e > b && isBlankOrTab(s[e - 1])) --e;
  return RWCString(s.data() + b, e - b);
}

// Finds pattern in text at or after start, ignoring ASCII case; RW_NPOS when absent.
std::size_t findIgnoreCase(const RWCString& text, const RWCString& pattern, std::size_t start) {
  const std::size_t n = text.length(), m = pattern.length();
  if (start > n || m > n - start) return RW_NPOS;
  const char* t = text.data();
  const char* p = pattern.data();
  for (std::size_t i = start; i + m <= n; ++i) {
    std::size_t k = 0;
    while (k < m && asciiLower(t[i + k]) == asciiLower(p[k])) ++k;
    if (k == m) return i;
  }
  return RW_NPOS;
}

// Exact search that also sees embedded NULs in both texts.
std::size_t findExact(const RWCString& text, const RWCString& pattern, std::size_t start) {
  const std::size_t n = text.length(), m = pattern.length();
  if (start > n || m > n - start) return RW_NPOS;
  if (m == 0) return start;
  std::string_view t(text.data(), n);
  const std::size_t at = t.find(std::string_view(pattern.data(), m), start);
  return at == std::string_view::npos ? RW_NPOS : at;
}

// Magnitude of an out-of-range number the way strtod reports it: HUGE_VAL when the number is
// at least 1 (it overflowed), 0 when below (it underflowed). The
// place of the mantissa's first non-zero digit against the point, plus the exponent (saturated
// far beyond any length of text), tells which, however many digits stand on either side.
double outOfRange(const char* begin, const char* end, bool hex) {
  const char mark = hex ? 'p' : 'e';
  // The number is 0.d... times 10 (16) to the power order, times 10 (2) to the exponent.
  long long order = 0;
  bool nonZero = false, fraction = false;
  const char* p = begin;
  for (; p < end && asciiLower(*p) != mark; ++p) {
    if (*p == '.') {
      fraction = true;
    } else if (nonZero || *p != '0') {
      nonZero = true;
      if (!fraction) ++order;
    } else if (fraction) {
      --order;  // a zero between the point and the first non-zero digit
    }
  }
  long long exponent = 0;
  if (p < end) {
    ++p;
    const bool minus = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    constexpr long long kBeyondAnyLength = 100000000000000000LL;  // 1e17
    for (; p < end && isDigit(*p); ++p) {
      exponent = std::min(exponent * 10 + (*p - '0'), kBeyondAnyLength);
    }
    if (minus) exponent = -exponent;
  }
  return nonZero && (hex ? 4 * order : order) + exponent > 0 ? HUGE_VAL : 0.0;
}

}  // namespace

// ---- numbers ------------------------------------------------------------------------------

int compareDoubles(double a, double b) {
  const double tolerance = (a == 0.0) ? 1e-8 : std::fabs(a * 0.00001);
  return compareDoublesWithin(a, b, tolerance);
}

int compareDoublesWithin(double a, double b, double tolerance) {
  if (std::fabs(b - a) > tolerance) return a >= b ? 1 : -1;
  return 0;
}

double strtodClassic(const char* text, const char** end) {
  if (end) *end = text;
  if (!text) return 0.0;
  const char* p = text;
  const bool negative = skipSpaceAndSign(p);
  const char* last = p + std::strlen(p);
  // from_chars takes no sign of its own after ours; a second sign is not a number.
  if (*p == '+' || *p == '-') return 0.0;
  bool hex = false;
  std::chars_format format = std::chars_format::general;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    const char* digits = p + 2;
    const bool hasDigit = std::isxdigit(static_cast<unsigned char>(digits[0])) ||
                          (digits[0] == '.' &&
                           std::isxdigit(static_cast<unsigned char>(digits[1])));
    if (!hasDigit) {  // "0x" alone is the number 0, ending before the 'x'
      if (end) *end = p + 1;
      return negative ? -0.0 : 0.0;
    }
    p = digits;
    hex = true;
    format = std::chars_format::hex;
    // An exponent is 'p', one optional sign and a digit; where none follows, the number ends
    // before the 'p' (from_chars of the library here would read "p+-9" as an exponent).
    const char* q = p;
    while (std::isxdigit(static_cast<unsigned char>(*q))) ++q;
    if (*q == '.') {
      ++q;
      while (std::isxdigit(static_cast<unsigned char>(*q))) ++q;
    }
    if (*q == 'p' || *q == 'P') {
      const char* e = q + 1;
      if (*e == '+' || *e == '-') ++e;
      if (!isDigit(*e)) last = q;
    }
  }
  double value = 0.0;
  const auto result = std::from_chars(p, last, value, format);
  if (result.ec == std::errc::result_out_of_range) {
    long double wide = 0.0L;
    const auto again = std::from_chars(p, last, wide, format);
    value = again.ec == std::errc() ? static_cast<double>(wide)
                                    : outOfRange(p, result.ptr, hex);
  } else if (result.ec != std::errc()) {
    return 0.0;
  }
  if (end) *end = result.ptr;
  return negative ? -value : value;
}

double atofClassic(const char* text) { return strtodClassic(text, nullptr); }

int atoiClassic(const char* text) {
  if (!text) return 0;
  const char* p = text;
  const bool negative = skipSpaceAndSign(p);
  long long v = 0;
  while (isDigit(*p)) {
    v = v * 10 + (*p - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
    ++p;
  }
  if (negative) v = -v;
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

double lenientAtof(const char* text, const char* decimalChars, bool* ok) {
  if (ok) *ok = false;
  if (!decimalChars) decimalChars = ".,";
  std::string copy;
  for (const char* p = text ? text : ""; *p; ++p) {
    const char c = *p;
    if (isDigit(c) || c == '-' || c == ' ' || c == '\t' || c == 'E' || c == 'e') {
      copy += c;
    } else if (std::strchr(decimalChars, c)) {
      copy += '.';
    } else {
      break;
    }
  }
  // Something counts as parsed only when the copy holds a digit that a number begins with:
  // after white space, an optional '-', then a digit or '.' and a digit.
  std::size_t i = 0;
  while (i < copy.size() && isBlankOrTab(copy[i])) ++i;
  if (i < copy.size() && copy[i] == '-') ++i;
  const bool number = (i < copy.size() && isDigit(copy[i])) ||
                      (i + 1 < copy.size() && copy[i] == '.' && isDigit(copy[i + 1]));
  if (ok) *ok = number;
  return number ? atofClassic(copy.c_str()) : 0.0;
}

RWCString formatDouble(double value, int decimals, char decimalChar) {
  if (decimals < 0) decimals = 6;
  if (decimals > 1100) return RWCString();
  // The integer part of a double has at most 309 digits; sign, point and decimals on top.
  std::vector<char> buffer(static_cast<std::size_t>(decimals) + 330);
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return RWCString();
  for (char* p = buffer.data(); p < result.ptr; ++p)
    if (*p == '.') *p = decimalChar;
  return RWCString(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

RWCString intToText(int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return RWCString(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

bool isNumber(const RWCString& text) {
  std::size_t b = 0, e = text.length();
  const char* s = text.data();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  if (b == e) return false;
  bool point = false;
  for (std::size_t i = b; i < e; ++i) {
    const char c = s[i];
    if (isDigit(c)) continue;
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if ((c == '-' || c == '+') && i == b) continue;
    return false;
  }
  return true;
}

bool isYes(const RWCString& text) {
  return equalsIgnoreCase(text, "YES") || equalsIgnoreCase(text, "JA") ||
         equalsIgnoreCase(text, "1");
}

// ---- texts --------------------------------------------------------------------------------

RWCString replaceAll(const RWCString& text, const RWCString& pattern, const RWCString& replacement,
                     int ignoreCase, std::size_t start) {
  const std::size_t n = text.length();
  if (start >= n) return text;
  // Searching the edited text right after each inserted replacement sees exactly the rest of the
  // original text, so the result is built in one pass over the original.
  const char* s = text.data();
  std::string out(s, start);
  std::size_t pos = start;
  while (pos < n) {
    const std::size_t at = ignoreCase == 1 ? findIgnoreCase(text, pattern, pos)
                                           : findExact(text, pattern, pos);
    if (at == RW_NPOS) break;
    out.append(s + pos, at - pos);
    out.append(replacement.data(), replacement.length());
    pos = at + pattern.length();
    // An empty match would be found again at the same place: step over one character.
    if (pattern.isEmpty() && pos < n) out += s[pos++];
  }
  out.append(s + pos, n - pos);
  return RWCString(out.data(), out.size());
}

RWCString replaceAllMatches(const RWCString& text, const PatternRegex& pattern,
                            const RWCString& replacement, std::size_t start) {
  RWCString result(text);
  if (!pattern.isValid()) return result;
  std::size_t pos = start;
  while (pos < result.length()) {
    std::size_t length = 0;
    const std::size_t at = result.indexOfMatch(pattern, length, pos);
    if (at == RW_NPOS) break;
    result.replace(at, length, replacement.data(), replacement.length());
    pos = at + replacement.length();
    if (length == 0) ++pos;
  }
  return result;
}

RWTValOrderedVector<RWCString> splitFields(const RWCString& text, char separator, char quote,
                                           bool skipEmpty) {
  RWTValOrderedVector<RWCString> fields(64);
  const bool quoting = quote != '\0';
  bool inQuotes = false, atStart = true, quoted = false;
  std::string field;
  const char* s = text.data();
  const std::size_t n = text.length();
  auto endField = [&]() {
    fields.append(quoted ? RWCString(field.data(), field.size()) : stripBlanksAndTabs(field));
    inQuotes = false;
    atStart = true;
    quoted = false;
    field.clear();
  };
  for (std::size_t i = 0; i < n; ++i) {
    const char c = s[i];
    if (quoting && atStart && c == quote) {
      inQuotes = true;
      atStart = false;
      quoted = true;
    } else if (quoting && inQuotes && c == quote) {
      if (i + 1 < n && s[i + 1] == quote) {
        field += quote;
        ++i;
      } else {
        inQuotes = false;
      }
    } else if (c == separator && !inQuotes) {
      if (skipEmpty && field.empty()) continue;
      endField();
    } else {
      if (isBlankOrTab(c) && !inQuotes && (atStart || quoted)) continue;
      field += c;
      atStart = false;
    }
  }
  if (!quoted) {
    const RWCString last = stripBlanksAndTabs(field);
    if (!last.isEmpty()) fields.append(last);
  } else {
    fields.append(RWCString(field.data(), field.size()));
  }
  return fields;
}

RWTValOrderedVector<int> splitInts(const RWCString& text, char separator, char quote) {
  const RWTValOrderedVector<RWCString> fields = splitFields(text, separator, quote, false);
  RWTValOrderedVector<int> values(64);
  for (std::size_t i = 0; i < fields.count(); ++i) values.append(atoiClassic(fields[i].data()));
  return values;
}

RWTValOrderedVector<double> splitDoubles(const RWCString& text, char separator, char quote) {
  const RWTValOrderedVector<RWCString> fields = splitFields(text, separator, quote, false);
  RWTValOrderedVector<double> values(64);
  for (std::size_t i = 0; i < fields.count(); ++i) values.append(atofClassic(fields[i].data()));
  return values;
}

RWCString joinFields(const RWTValOrderedVector<RWCString>& fields, char separator, char quote) {
  std::string out;
  for (std::size_t i = 0; i < fields.count(); ++i) {
    if (i > 0) out += separator;
    const RWCString& f = fields[i];
    if (quote == '\0') {
      out.append(f.data(), f.length());
      continue;
    }
    out += quote;
    for (std::size_t k = 0; k < f.length(); ++k) {
      if (f.data()[k] == quote) out += quote;
      out += f.data()[k];
    }
    out += quote;
  }
  return RWCString(out.data(), out.size());
}

char* copyCString(const char* text) {
  if (!text) return nullptr;
  const std::size_t n = std::strlen(text);
  char* copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

namespace {

// Walks the words of a command line: calls word(begin, length) for each, without the quote
// characters of a quoted word.
template <class F>
void forEachArgument(const RWCString& text, F word) {
  const char* s = text.data();
  const std::size_t n = text.length();
  std::size_t i = 0;
  while (i < n) {
    while (i < n && isBlankOrTab(s[i])) ++i;
    if (i >= n) break;
    if (s[i] == '"') {
      const std::size_t begin = ++i;
      while (i < n && s[i] != '"') ++i;
      word(s + begin, i - begin);
      if (i < n) ++i;  // the closing quote
    } else {
      const std::size_t begin = i;
      while (i < n && !isBlankOrTab(s[i])) ++i;
      word(s + begin, i - begin);
    }
  }
}

}  // namespace

int countArguments(const RWCString& text) {
  int count = 1;
  forEachArgument(text, [&](const char*, std::size_t) { ++count; });
  return count;
}

RWTValOrderedVector<RWCString> splitArguments(const RWCString& text) {
  RWTValOrderedVector<RWCString> arguments(64);
  arguments.append(RWCString());
  forEachArgument(text, [&](const char* p, std::size_t n) { arguments.append(RWCString(p, n)); });
  return arguments;
}

bool isInList(const RWCString& text, const RWCString& list, bool ignoreCase) {
  const char* s = list.data();
  const std::size_t n = list.length();
  std::size_t begin = 0;
  while (begin <= n) {
    std::size_t end = begin;
    while (end < n && s[end] != ';') ++end;
    std::size_t e = end;
    while (e > begin && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' ||
                         s[e - 1] == '\n'))
      --e;
    const bool equal =
        ignoreCase ? equalsIgnoreCase(s + begin, e - begin, text.data(), text.length())
                   : (e - begin == text.length() &&
                      std::memcmp(s + begin, text.data(), e - begin) == 0);
    if (equal) return true;
    begin = end + 1;
  }
  return false;
}

int wildcardDistance(const RWCString& text, const RWCString& pattern, int limit) {
  constexpr int kNoMatch = 1024;
  constexpr std::size_t kMaxChars = 1023;
  std::string t(text.data(), std::min(text.length(), kMaxChars));
  std::string p(pattern.data(), std::min(pattern.length(), kMaxChars));
  for (char& c : t) c = asciiUpper(c);
  for (char& c : p) c = asciiUpper(c);
  const std::size_t n = t.size();

  std::vector<int> row(n + 1), next(n + 1);
  const char first = p.empty() ? '\0' : p[0];
  if (first == '*') {
    std::fill(row.begin(), row.end(), 0);
  } else {
    row[0] = p.empty() ? 0 : 1;
    bool seen = (first == '?');
    for (std::size_t j = 1; j <= n; ++j) {
      if (!p.empty() && t[j - 1] == first) seen = true;
      row[j] = static_cast<int>(j - 1) + (seen ? 0 : 1);
    }
  }
  const int firstBest = (row[0] == 0 || n == 0) ? row[0] : row[1];
  if (firstBest > limit) return kNoMatch;

  for (std::size_t i = 1; i < p.size(); ++i) {
    const char c = p[i];
    const int step = (c == '*') ? 0 : 1;
    next[0] = row[0] + step;
    int best = next[0];
    for (std::size_t j = 1; j <= n; ++j) {
      const int substitution = (c == t[j - 1] || c == '*' || c == '?') ? 0 : 1;
      next[j] = std::min({row[j - 1] + substitution, row[j] + step, next[j - 1] + step});
      best = std::min(best, next[j]);
    }
    if (best > limit) return kNoMatch;
    row.swap(next);
  }
  return row[n] > limit ? kNoMatch : row[n];
}

void sleepMilliseconds(unsigned ms) { platform::sleepMilliseconds(ms); }
