#include "host/CodePage.h"

namespace kxhost {

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
    // No overlong form, no surrogate, nothing above U+10FFFF.
    const std::uint32_t least = need == 2 ? 0x80 : need == 3 ? 0x800 : 0x10000;
    if (ok && v >= least && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
      i += need;
      return v;
    }
  }
  ++i;
  return cp1252CodePoint(c);
}

std::vector<std::uint32_t> codePoints(std::string_view s) {
  std::vector<std::uint32_t> out;
  for (std::size_t i = 0; i < s.size();) out.push_back(nextCodePoint(s, i));
  return out;
}

bool cp1252Byte(std::uint32_t cp, unsigned char& byte) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
    byte = static_cast<unsigned char>(cp);
    return true;
  }
  for (unsigned k = 0; k < 32; ++k) {
    if (kCp1252High[k] != 0 && kCp1252High[k] == cp) {
      byte = static_cast<unsigned char>(0x80 + k);
      return true;
    }
  }
  return false;
}

std::uint32_t foldedLetter(std::uint32_t cp) {
  if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) return cp + 32;
  switch (cp) {
    case 0x0160: return 0x0161;   // Š
    case 0x0152: return 0x0153;   // Œ
    case 0x017D: return 0x017E;   // Ž
    case 0x0178: return 0x00FF;   // Ÿ
    default: return cp;
  }
}

std::string foldedCp1252(std::string_view bytes) {
  std::string out(bytes);
  for (char& ch : out) {
    unsigned char folded = 0;
    if (cp1252Byte(foldedLetter(cp1252CodePoint(static_cast<unsigned char>(ch))), folded))
      ch = static_cast<char>(folded);
  }
  return out;
}

}  // namespace kxhost
