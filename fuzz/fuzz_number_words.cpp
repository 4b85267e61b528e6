// Number words: word characters are taken as they are and any other byte is mapped onto one, and the reader's conversion
// must agree with strtod under the "C" locale, bit for bit, on whether the word is a number and
// on its value.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "meta/cLocaleGuard.h"
#include "meta/metaNumberWord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char wordChars[] =
      "0123456789.+-eE_xXpPinfaINFAty0123456789abcdzABCDZ";
  std::string word;
  for (std::size_t i = 0; i < size && i < 400; ++i) {
    const int c = data[i];
    const bool isWord = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        c == '.' || c == '+' || c == '-' || c == '_';
    word += isWord ? static_cast<char>(c) : wordChars[c % (sizeof wordChars - 1)];
  }
  cLocaleGuardC guard;
  char* stop = nullptr;
  const double expected = std::strtod(word.c_str(), &stop);
  const bool whole = stop == word.c_str() + word.size();
  double got = 0.0;
  if (metaNumberWordValue(word.c_str(), word.size(), &got) != whole) std::abort();
  if (whole && std::memcmp(&expected, &got, sizeof got) != 0) std::abort();
  return 0;
}
