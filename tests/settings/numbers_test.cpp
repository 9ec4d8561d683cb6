#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <locale>
#include <string>

namespace glintora {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOrGivesZero) {
  const std::pair<std::string, double> rows[] = {
      {"12abc", 12}, {"  -3.5e2x", -350}, {"\t+.5", 0.5}, {"7.", 7}, {"1.2.3", 1.2},
      {"4e", 4}, {"4e+x", 4}, {"0.97", 0.97}, {"1,5", 1},  // ',' is never a decimal point
      {"", 0}, {"   ", 0}, {"abc", 0}, {"-", 0}, {"+.", 0}, {".", 0}, {"e5", 0}, {"- 5", 0},
      // No double holds these: 0, never infinity or a denormal surprise.
      {"1e999", 0}, {"-1e400", 0}, {"1e99999999999999999999999", 0}, {"1e-999", 0},
      {"0." + std::string(400, '0') + "1", 0}, {"1" + std::string(300, '0'), 1e300}};
  for (const auto& [text, expected] : rows) EXPECT_EQ(LeadingNumber(text), expected) << text.substr(0, 30);
}

TEST(IsNumericText, AcceptsOnlyAWholeNumberWithOptionalBlanks) {
  for (const char* text : {"12", " 12 ", "-0.5", "+3", ".5", "5.", "1e5", "1E-5", "2.5e+3",
                           "1e999", "\t7\t"}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
  for (const char* text : {"", " ", "abc", "12a", "1 2", "1e", "1e+", "--1", ".", "0x10",
                           "1,000", "+", "1.2.3"}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
  EXPECT_FALSE(ParseNumericText("1e999"));
  EXPECT_EQ(*ParseNumericText(" -2.25 "), -2.25);
}

TEST(NumberText, WritesWholeNumbersAndShortestFractions) {
  const std::pair<double, const char*> rows[] = {
      {12.0, "12"}, {1200.0, "1200"}, {0.97, "0.97"}, {0.015, "0.015"}, {1.5, "1.5"},
      {-0.25, "-0.25"}, {-0.0, "0"}, {1e20, "100000000000000000000"}, {1e21, "1e+21"},
      {1.5e-9, "1.5e-9"}, {0.0000001, "0.0000001"}, {0.1 + 0.2, "0.3"}, {std::nan(""), "0"},
      {HUGE_VAL, "0"}, {static_cast<double>(0.97f), "0.970000028610229"}};  // 15 digits at most
  for (const auto& [value, text] : rows) EXPECT_EQ(NumberText(value), text) << text;
  EXPECT_EQ(NumberText(-32768), "-32768");
  EXPECT_EQ(NumberText(0.97f), "0.97");
  EXPECT_EQ(NumberText(0.0025f * 3.0f), "0.0075");
}

TEST(NumberText, FloatsAndDoublesReadBackAsThemselves) {
  for (float f : {0.1f, 1.0f / 3.0f, 99.9f, 3.4e38f, 1e-30f, 123456.78f}) {
    EXPECT_EQ(static_cast<float>(LeadingNumber(NumberText(f))), f) << NumberText(f);
  }
  for (double d : {0.1, 1.0 / 7.0, 123.456, 2.5e-300, 9.87654321e100, DBL_MAX, -DBL_MAX,
                   DBL_TRUE_MIN}) {
    EXPECT_NEAR(LeadingNumber(NumberText(d)), d, std::fabs(d) * 1e-14) << NumberText(d);
    EXPECT_TRUE(IsNumericText(NumberText(d)));
  }
}

TEST(Rounding, HalvesGoToEvenAndValuesThatDoNotFitSaySo) {
  for (auto [value, expected] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {32767.4, 32767},
                                 {-32768.5, -32768}}) {
    EXPECT_EQ(RoundToInt16(value), expected) << value;
  }
  for (double value : {32767.5, 40000.0, std::nan("")}) EXPECT_FALSE(RoundToInt16(value)) << value;
  EXPECT_EQ(*RoundToInt32(2147483647.0), 2147483647);
  EXPECT_FALSE(RoundToInt32(2147483647.5));
  EXPECT_FALSE(RoundToInt32(-HUGE_VAL));
  EXPECT_FALSE(ToSingle(1e39));
  EXPECT_EQ(*ToSingle(0.97), 0.97f);
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
  EXPECT_TRUE(IsNumericText("0.015"));
  std::setlocale(LC_ALL, previousC.c_str());
  std::locale::global(previous);
}

}  // namespace
}  // namespace glintora
