#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <locale>
#include <string>

namespace glintora {
namespace {

// Each text with the number at its start and whether the whole text is a number.
TEST(NumberReading, LeadingNumberAndNumericText) {
  const struct { std::string text; double leading; bool numeric; } rows[] = {
      {"12", 12, true}, {" 12 ", 12, true}, {"\t+.5", 0.5, true}, {"7.", 7, true},
      {"-0.5", -0.5, true}, {"1E-5", 1e-5, true}, {"2.5e+3", 2500, true}, {"0.97", 0.97, true},
      {"  -3.5e2x", -350, false}, {"12abc", 12, false}, {"1.2.3", 1.2, false}, {"4e", 4, false},
      {"4e+x", 4, false}, {"1,5", 1, false},  // ',' is never a decimal point
      {"1 2", 1, false}, {"0x10", 0, false}, {"--1", 0, false}, {"", 0, false}, {"   ", 0, false},
      {"abc", 0, false}, {"-", 0, false}, {"+.", 0, false}, {".", 0, false}, {"e5", 0, false},
      {"- 5", 0, false},
      // No double holds these: 0, never infinity or a denormal surprise; the text is a number.
      {"1e999", 0, true}, {"-1e400", 0, true}, {"1e99999999999999999999999", 0, true},
      {"1e-999", 0, true}, {"0." + std::string(400, '0') + "1", 0, true},
      {"1" + std::string(300, '0'), 1e300, true}};
  for (const auto& row : rows) {
    EXPECT_EQ(LeadingNumber(row.text), row.leading) << row.text.substr(0, 30);
    EXPECT_EQ(IsNumericText(row.text), row.numeric) << row.text.substr(0, 30);
  }
  EXPECT_FALSE(ParseNumericText("1e999"));
  EXPECT_EQ(ParseNumericText("1e-999"), 0.0);  // too small is 0, too large no number
  EXPECT_EQ(*ParseNumericText(" -2.25 "), -2.25);
}

TEST(NumberText, WholeNumbersShortestFractionsAndTextsThatReadBack) {
  const std::pair<double, const char*> rows[] = {
      {12.0, "12"}, {1200.0, "1200"}, {0.97, "0.97"}, {0.015, "0.015"}, {1.5, "1.5"},
      {-0.25, "-0.25"}, {-0.0, "0"}, {1e20, "100000000000000000000"}, {1e21, "1e+21"},
      {1.5e-9, "1.5e-9"}, {0.0000001, "0.0000001"}, {0.1 + 0.2, "0.3"}, {std::nan(""), "0"},
      {HUGE_VAL, "0"}, {static_cast<double>(0.97f), "0.970000028610229"},  // 15 digits at most
      {1.0 / 7.0, "0.142857142857143"}, {DBL_TRUE_MIN, "5e-324"}};
  for (const auto& [value, text] : rows) EXPECT_EQ(NumberText(value), text) << text;
  // A single gets the shortest text that reads back as the same single; the fuzzer pins read-back.
  const std::pair<float, const char*> singles[] = {
      {0.97f, "0.97"}, {0.0025f * 3.0f, "0.0075"}, {123456.7f, "123456.7"}, {3.4e38f, "3.4e+38"}};
  for (const auto& [value, text] : singles) EXPECT_EQ(NumberText(value), text) << text;
  EXPECT_EQ(NumberText(-32768), "-32768");
}

// A numpunct that writes ',' for the decimal point, as many desktop locales do.
struct CommaPunct : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

TEST(NumberText, IgnoresTheProcessLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
  // Also switch the C locale when a comma locale is installed on this machine.
  const std::string previousC = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE")) {
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  }
  EXPECT_EQ(NumberText(0.97f), "0.97");
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(LeadingNumber("2.75"), 2.75);
  EXPECT_EQ(LeadingNumber("2,75"), 2);
  std::setlocale(LC_ALL, previousC.c_str());
  std::locale::global(previous);
}

}  // namespace
}  // namespace glintora
