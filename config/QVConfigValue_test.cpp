#include "config/QVConfigValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>


namespace {

TEST(QVConfigValue, SettersWriteTextAndMarkSet) {
  struct Case {
    const char* name;
    void (*set)(QVConfigValue&);
    const char* text;
  };
  static const double doubles[] = {1.5, -0.25, 3};
  static const float floats[] = {0.5f, 2.0f};
  static const int ints[] = {1, -2, 30};
  const Case cases[] = {
      {"text", [](QVConfigValue& v) { v.setText("abc"); }, "abc"},
      {"null", [](QVConfigValue& v) { v.setText(static_cast<const char*>(nullptr)); }, ""},
      {"int", [](QVConfigValue& v) { v.setInt(-42); }, "-42"},
      {"double default", [](QVConfigValue& v) { v.setDouble(2.5); }, "2.50"},
      {"double 0", [](QVConfigValue& v) { v.setDouble(2.4, 0); }, "2"},
      {"double 4", [](QVConfigValue& v) { v.setDouble(-1.0 / 3, 4); }, "-0.3333"},
      // printf takes a negative precision as none given: six decimals.
      {"double -1", [](QVConfigValue& v) { v.setDouble(2.5, -1); }, "2.500000"},
      {"doubles -1", [](QVConfigValue& v) { v.setDoubleArray(doubles, 2, -3); }, "1.500000,-0.250000"},
      {"floats -1", [](QVConfigValue& v) { v.setFloatArray(floats, 1, -1); }, "0.500000"},
      {"vector -1",
       [](QVConfigValue& v) {
         RWTValOrderedVector<double> d;
         d.append(2.5);
         d.append(-1);
         v.setDoubleVector(d, -1);
       },
       "2.500000,-1.000000"},
      {"bool yes", [](QVConfigValue& v) { v.setBool(true); }, "YES"},
      {"bool no", [](QVConfigValue& v) { v.setBool(false); }, "NO"},
      {"doubles", [](QVConfigValue& v) { v.setDoubleArray(doubles, 3, 1); }, "1.5,-0.2,3.0"},
      {"floats", [](QVConfigValue& v) { v.setFloatArray(floats, 2, 2); }, "0.50,2.00"},
      {"ints", [](QVConfigValue& v) { v.setIntArray(ints, 3); }, "1,-2,30"},
      {"no ints", [](QVConfigValue& v) { v.setIntArray(ints, 0); }, ""},
      {"strings quoted",
       [](QVConfigValue& v) {
         RWTValOrderedVector<RWCString> s;
         s.append("a");
         s.append("b c");
         v.setStringVector(s, ';', '"');
       },
       "\"a\";\"b c\""},
      {"append",
       [](QVConfigValue& v) {
         v.setText("x");
         v.append("yz");
       },
       "xyz"},
  };
  for (const Case& c : cases) {
    QVConfigValue v;
    EXPECT_FALSE(v.isSet());
    c.set(v);
    EXPECT_EQ(v.asText(), c.text) << c.name;
    EXPECT_TRUE(v.isSet()) << c.name;
  }
}

TEST(QVConfigValue, ClearTextKeepsTheFlag) {
  QVConfigValue v;
  v.setText("x");
  v.setIsSet(false);
  v.clearText();
  EXPECT_TRUE(v.isEmpty());
  EXPECT_FALSE(v.isSet());
}

TEST(QVConfigValue, HugeDoublesNeedNoFixedBuffer) {
  QVConfigValue v;
  v.setDouble(1e300, 2);
  EXPECT_EQ(v.asText().length(), 301u + 3u);
  EXPECT_EQ(std::string(v.text()).substr(0, 4), "1000");
  EXPECT_DOUBLE_EQ(v.asDouble(), 1e300);
}

TEST(QVConfigValue, ReadsBooleans) {
  const std::pair<const char*, bool> cases[] = {
      {"yes", true}, {"YeS", true}, {"JA", true},  {"tRuE", true}, {"1", true},
      {"01", true},  {" 1", true},  {"NO", false}, {"", false},    {"2", false},
      {"yes ", false}, {"true1", false}, {"0", false},
  };
  for (const auto& c : cases) {
    QVConfigValue v;
    v.setText(c.first);
    EXPECT_EQ(v.asBool(), c.second) << '"' << c.first << '"';
  }
}

TEST(QVConfigValue, ReadsNumbersLikeTheCLibrary) {
  QVConfigValue v;
  v.setText(" 12.5abc");
  EXPECT_DOUBLE_EQ(v.asDouble(), 12.5);
  EXPECT_EQ(v.asInt(), 12);
  v.setText("x");
  EXPECT_EQ(v.asDouble(), 0.0);
  EXPECT_EQ(v.asInt(), 0);
  v.setText("99999999999");
  EXPECT_EQ(v.asInt(), 2147483647);  // clamped, never undefined
  // Out of range through the digits alone: underflow to 0, overflow to +inf.
  v.setText(("0." + std::string(5000, '0') + "1").c_str());
  EXPECT_EQ(v.asDouble(), 0.0);
  v.setText(("1" + std::string(6000, '0') + "e-10").c_str());
  EXPECT_EQ(v.asDouble(), HUGE_VAL);
}

TEST(QVConfigValue, SplitsListsIntoArraysAndVectors) {
  QVConfigValue v;
  v.setText("1.5, 2,x");
  double d[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(v.asDoubleArray(d, 5), 3u);
  EXPECT_DOUBLE_EQ(d[0], 1.5);
  EXPECT_DOUBLE_EQ(d[1], 2);
  EXPECT_DOUBLE_EQ(d[2], 0);
  EXPECT_DOUBLE_EQ(d[3], 9);  // beyond the list: untouched

  v.setText("4,5");
  int i[5] = {0};
  EXPECT_EQ(v.asIntArray(i, 5), 2u);
  EXPECT_EQ(i[1], 5);
  EXPECT_EQ(v.asIntArray(i, 1), 1u);
  float f[2];
  EXPECT_EQ(v.asFloatArray(f, 2), 2u);
  EXPECT_FLOAT_EQ(f[0], 4.0f);

  v.setText("\"1,5\";2");
  RWTValOrderedVector<RWCString> strings;
  v.asStringList(strings, ';', '"');
  ASSERT_EQ(strings.count(), 2u);
  EXPECT_EQ(strings[0], "1,5");
  RWTValOrderedVector<int> ints;
  ints.append(77);  // replaced, not appended to
  v.asIntVector(ints, ';');
  ASSERT_EQ(ints.count(), 2u);
  EXPECT_EQ(ints[1], 2);
  RWTValOrderedVector<double> doubles;
  v.setText("0.5|0.25");
  v.asDoubleVector(doubles, '|');
  ASSERT_EQ(doubles.count(), 2u);
  EXPECT_DOUBLE_EQ(doubles[1], 0.25);

  RWTValOrderedVector<double> out;
  out.append(1.25);
  out.append(-2);
  v.setDoubleVector(out, 3);
  EXPECT_EQ(v.asText(), "1.250,-2.000");
  RWTValOrderedVector<int> iv;
  iv.append(7);
  v.setIntVector(iv);
  EXPECT_EQ(v.asText(), "7");
}

TEST(QVConfigValue, ParsesOneNumberOrNone) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1.5", true, 1.5}, {"  -2e3x", true, -2000}, {"+4", true, 4},
      {"", false, 0},     {"abc", false, 0},         {"+-1", false, 0},
      {"1e999", true, HUGE_VAL}, {"0x1A", true, 26},  {" 0x1.8p1", true, 3},
      {"-0x10z", true, -16},     {"0x", true, 0},     {"infinity", true, HUGE_VAL},
  };
  for (const Case& c : cases) {
    double d = 123;
    EXPECT_EQ(QVConfigValue::parseDouble(c.text, d), c.ok) << c.text;
    EXPECT_EQ(d, c.ok ? c.value : 123) << c.text;
  }
  int i = 5;
  EXPECT_FALSE(QVConfigValue::parseInt("-", i));
  EXPECT_EQ(i, 5);
  EXPECT_TRUE(QVConfigValue::parseInt(" -12.7", i));
  EXPECT_EQ(i, -12);
  EXPECT_TRUE(QVConfigValue::parseInt("-99999999999", i));
  EXPECT_EQ(i, -2147483647 - 1);
}

// A locale with a decimal comma, when the machine has one.
bool selectCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"})
    if (std::setlocale(LC_NUMERIC, name)) return true;
  return false;
}

TEST(QVConfigValue, NumbersIgnoreTheLocale) {
  if (!selectCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
  QVConfigValue v;
  v.setDouble(2.5);
  const RWCString written = v.asText();
  v.setText("0.75");
  const double read = v.asDouble();
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(written, "2.50");
  EXPECT_DOUBLE_EQ(read, 0.75);
}

}  // namespace
