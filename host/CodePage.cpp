#include "host/CodePage.h"

namespace kxhost {

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
  for (unsigned b = 0x80; b < 0xA0; ++b) {
    if (cp1252CodePoint(static_cast<unsigned char>(b)) == cp && cp >= 0x100) {
      byte = static_cast<unsigned char>(b);
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
