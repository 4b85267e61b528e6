#include "platform/CodePage.h"

namespace platform {

namespace {

// Code points of the bytes 0x80..0x9F in code page 1252; 0 where the code page has none.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::uint32_t cp1252CodePoint(unsigned char c) {
  return c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : c;
}

std::uint32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c >= 0xC2 && c <= 0xF4) {
    const std::size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    bool ok = i + need <= s.size();
    std::uint32_t v = c & (need == 2 ? 0x1Fu : need == 3 ? 0x0Fu : 0x07u);
    for (std::size_t k = 1; ok && k < need; ++k) {
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) ok = false;
      v = (v << 6) | (d & 0x3Fu);
    }
    const std::uint32_t least = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
    if (ok && v >= least && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
      i += need;
      return v;
    }
  }
  ++i;
  return cp1252CodePoint(c);
}

void appendUtf8(std::uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string utf8Text(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t from = i;
    const std::uint32_t cp = nextCodePoint(s, i);
    if (i - from > 1 || cp < 0x80)
      out.append(s.data() + from, i - from);   // a UTF-8 sequence or ASCII, as it stands
    else
      appendUtf8(cp, out);
  }
  return out;
}

}  // namespace platform
