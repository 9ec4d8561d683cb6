#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <locale>
#include <string>

namespace glintora {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndStopsWhereItEnds) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("  -3.5e2x"), -350);
  EXPECT_EQ(LeadingNumber("\t+.5"), 0.5);
  EXPECT_EQ(LeadingNumber("7."), 7);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(LeadingNumber("4e"), 4);    // an exponent needs digits
  EXPECT_EQ(LeadingNumber("4e+x"), 4);
  EXPECT_EQ(LeadingNumber("0.97"), 0.97);
  EXPECT_EQ(LeadingNumber("1,5"), 1);   // ',' is never a decimal point
}

TEST(LeadingNumber, GivesZeroWhenThereIsNoNumberOrNoDoubleHoldsIt) {
  for (const char* text : {"", "   ", "abc", "-", "+.", ".", "e5", "- 5", "1e999", "-1e400",
                           "1e99999999999999999999999"}) {
    EXPECT_EQ(LeadingNumber(text), 0) << text;
  }
  EXPECT_EQ(LeadingNumber("1e-999"), 0);
  EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0);
  EXPECT_EQ(LeadingNumber("1" + std::string(300, '0')), 1e300);
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
  EXPECT_EQ(NumberText(12.0), "12");
  EXPECT_EQ(NumberText(1200.0), "1200");
  EXPECT_EQ(NumberText(0.97), "0.97");
  EXPECT_EQ(NumberText(0.015), "0.015");
  EXPECT_EQ(NumberText(1.0), "1");
  EXPECT_EQ(NumberText(1.5), "1.5");
  EXPECT_EQ(NumberText(-0.25), "-0.25");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(1e20), "100000000000000000000");
  EXPECT_EQ(NumberText(1e21), "1e+21");
  EXPECT_EQ(NumberText(1.5e-9), "1.5e-9");
  EXPECT_EQ(NumberText(0.0000001), "0.0000001");
  EXPECT_EQ(NumberText(12), "12");
  EXPECT_EQ(NumberText(-32768), "-32768");
  EXPECT_EQ(NumberText(std::nan("")), "0");
  EXPECT_EQ(NumberText(HUGE_VAL), "0");
}

TEST(NumberText, FloatsAndDoublesReadBackAsThemselves) {
  EXPECT_EQ(NumberText(0.97f), "0.97");
  EXPECT_EQ(NumberText(0.0025f * 3.0f), "0.0075");
  EXPECT_EQ(NumberText(0.85f), "0.85");
  EXPECT_EQ(NumberText(static_cast<double>(0.97f)), "0.970000028610229");  // 15 digits at most
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
  for (float f : {0.1f, 1.0f / 3.0f, 99.9f, 3.4e38f, 1e-30f, 123456.78f}) {
    EXPECT_EQ(static_cast<float>(LeadingNumber(NumberText(f))), f) << NumberText(f);
  }
  for (double d : {0.1, 1.0 / 7.0, 123.456, 2.5e-300, 9.87654321e100, DBL_MAX, -DBL_MAX,
                   DBL_TRUE_MIN}) {
    const double back = LeadingNumber(NumberText(d));
    EXPECT_NEAR(back, d, std::fabs(d) * 1e-14) << NumberText(d);
    EXPECT_TRUE(IsNumericText(NumberText(d)));
  }
}

TEST(Rounding, HalvesGoToEvenAndValuesThatDoNotFitSaySo) {
  EXPECT_EQ(*RoundToInt16(2.5), 2);
  EXPECT_EQ(*RoundToInt16(3.5), 4);
  EXPECT_EQ(*RoundToInt16(-2.5), -2);
  EXPECT_EQ(*RoundToInt16(32767.4), 32767);
  EXPECT_EQ(*RoundToInt16(-32768.5), -32768);
  EXPECT_FALSE(RoundToInt16(32767.5));
  EXPECT_FALSE(RoundToInt16(40000));
  EXPECT_FALSE(RoundToInt16(std::nan("")));
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
  const bool haveC = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE");
  if (haveC) {
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
