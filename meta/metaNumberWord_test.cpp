#include "meta/metaNumberWord.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "meta/cLocaleGuard.h"

namespace {

// What the reader must give for a number word: strtod's value when it consumes the whole word.
bool strtodWhole(const std::string& word, double* value) {
  char* stop = nullptr;
  const double parsed = std::strtod(word.c_str(), &stop);
  if (stop != word.c_str() + word.size()) return false;
  *value = parsed;
  return true;
}

void expectAsStrtod(const std::string& word) {
  double expected = 0.0, got = 0.0;
  const bool whole = strtodWhole(word, &expected);
  ASSERT_EQ(metaNumberWordValue(word.c_str(), word.size(), &got), whole) << word;
  if (!whole) return;
  std::uint64_t a, b;
  std::memcpy(&a, &expected, sizeof a);
  std::memcpy(&b, &got, sizeof b);
  EXPECT_EQ(a, b) << word;  // bit for bit: signed zeros and NaN payloads included
}

TEST(metaNumberWord, EdgesOfTheDirectConversionAgreeWithStrtod) {
  cLocaleGuardC guard;
  const char* words[] = {
      "0", "-0", "+0", "0.0", "-0e99999999", "1", "1.", ".5", "-.5e-1", "1e22", "1e23",
      "9007199254740992", "9007199254740993", "9007199254740992e1", "1e-22", "1.5e-22",
      "4.9e-324", "2.4703282292062327e-324", "1e-400", "1.7976931348623157e308", "1e309",
      "-1e999", "123456789012345678901234567890", "0.1", "0.3", "2.2250738585072014e-308",
      "1e", "1e+", ".", "-", "+", "+-1", "1.2.3", "0x10", "0x1p-3", "-0X.8P1", "inf", "-inf",
      "+Infinity", "nan", "-nan", "1e5x", "1_0", "00000000000000000000000001.5",
      "0.00000000000000000000000000000000000000000000000001", "1E5", "1e0005",
  };
  for (const char* w : words) expectAsStrtod(w);
}

// Random words over the characters that number words are made of, weighted toward digits.
TEST(metaNumberWord, RandomWordsAgreeWithStrtod) {
  cLocaleGuardC guard;
  std::mt19937_64 random(20261210);
  const std::string alphabet = "0123456789012345678901234567890123456789..eE+-xXpPaAfFinINt_";
  for (int i = 0; i < 200000; ++i) {
    std::string word;
    const int length = 1 + static_cast<int>(random() % 30);
    for (int k = 0; k < length; ++k) word += alphabet[random() % alphabet.size()];
    expectAsStrtod(word);
    // And plain decimals of every length, the words files are full of.
    std::string decimal = (random() % 4 == 0) ? "-" : "";
    decimal += std::to_string(random() % 100000000000000000ull);
    if (random() % 2) decimal.insert(decimal.size() - random() % decimal.size(), ".");
    if (random() % 3 == 0) decimal += "e" + std::to_string(static_cast<int>(random() % 700) - 350);
    expectAsStrtod(decimal);
  }
}

}  // namespace
