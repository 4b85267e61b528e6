#include "meta/metaNumberWord.h"

#include <cstdint>
#include <cstdlib>

namespace {

// 10^0 .. 10^22: every one is exact in a double.
constexpr double exactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t exactMantissa = std::uint64_t{1} << 53;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// [+-]digits[.digits][(e|E)[+-]digits] whose significant digits make an integer m <= 2^53 and
// whose decimal exponent e lies within [-22, 22]: m and 10^|e| are exact, so the one product or
// quotient is the correctly rounded value, as strtod's is. False for everything else.
bool directValue(const char* p, const char* end, double* value) {
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;
  int digits = 0;     // significant digits taken into the mantissa
  int exponent = 0;   // decimal exponent of the mantissa's last digit
  bool anyDigit = false;
  for (; p < end && isDigit(*p); ++p) {
    anyDigit = true;
    if (mantissa == 0 && *p == '0') continue;
    if (++digits > 19) return false;
    mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
  }
  if (p < end && *p == '.') {
    for (++p; p < end && isDigit(*p); ++p) {
      anyDigit = true;
      --exponent;
      if (mantissa == 0 && *p == '0') continue;
      if (++digits > 19) return false;
      mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    }
  }
  if (!anyDigit) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p < end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
    if (p == end || !isDigit(*p)) return false;
    int written = 0;
    for (; p < end && isDigit(*p); ++p) {
      written = written * 10 + (*p - '0');
      if (written > 100000) return false;
    }
    exponent += negativeExponent ? -written : written;
  }
  if (p != end) return false;
  double magnitude;
  if (mantissa == 0) {
    magnitude = 0.0;
  } else {
    if (mantissa > exactMantissa || exponent < -22 || exponent > 22) return false;
    magnitude = static_cast<double>(mantissa);
    magnitude = exponent < 0 ? magnitude / exactPowers[-exponent] : magnitude * exactPowers[exponent];
  }
  *value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool metaNumberWordValue(const char* word, std::size_t length, double* value) {
  if (directValue(word, word + length, value)) return true;
  char* stop = nullptr;
  const double parsed = std::strtod(word, &stop);
  if (stop != word + length) return false;
  *value = parsed;
  return true;
}
