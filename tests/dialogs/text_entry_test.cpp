#include "dialogs/text_entry.h"

#include <gtest/gtest.h>

#include <tuple>

namespace glintora {
namespace {

TEST(FieldValue, ReadsTheLeadingDecimalAfterAPrefixedZero) {
  const std::pair<std::string, double> rows[] = {{"", 0},  {".5", 0.5},    {"12", 12}, {"7x", 7},  {"-1", 0},
                                                 {" 5", 0}, {"1.2.3", 1.2}, {"3.", 3},  {"1e3", 1}};
  for (const auto& [text, value] : rows) EXPECT_EQ(FieldValue(text), value) << text;
  for (auto [text, value] : {std::pair{"2.5", 2}, {"3.5", 4}}) EXPECT_EQ(FieldInt(text), value) << text;
  EXPECT_GT(FieldValue(std::string(400, '9')), 1e300);  // absurd paste: huge, not a crash
}

TEST(ClampFieldText, WholeAndDecimalForms) {
  using K = FieldKind;
  const std::tuple<const char*, FieldKind, float, float, const char*> rows[] = {
      {"", K::Whole16, 1, 99, "1"}, {"", K::Whole16, 0, 100, "0"}, {"150", K::Whole16, 1, 99, "99"},
      {"007", K::Whole16, 1, 99, "7"}, {"2.5", K::Whole16, 0, 100, "2"}, {"1500", K::Whole32, 0, 999, "999"},
      {"70000", K::Whole32, 0, 100000, "70000"}, {"0.999", K::Decimal, 0.25f, 0.99f, "0.99"},
      {".5", K::Decimal, 0, 1, "0.5"}, {"12", K::Decimal, 0, 1, "1"}, {"0", K::Decimal, 0.01f, 10, "0.01"},
      {"0.96", K::Decimal, 0, 1, "0.96"}, {"99.90", K::Decimal, 0.1f, 99.9f, "99.9"}, {"1.0", K::Decimal, 0, 10, "1"},
      {"0.123456789", K::Decimal, 0, 1, "0.1234568"},
      {"50", K::Whole16, 10, -5, "10"}};  // crossed bounds: the lower one wins
  for (const auto& [text, kind, lo, hi, after] : rows) {
    EXPECT_EQ(ClampedFieldText(text, kind, lo, hi), after) << text;
  }
  // A value the kind cannot hold leaves the text as it is.
  EXPECT_EQ(ClampedFieldText("99999", K::Whole16, 0, 100), std::nullopt);
  EXPECT_EQ(ClampedFieldText(std::string(60, '9'), K::Decimal, 0, 1), std::nullopt);
}

TEST(SpinnerStep, FromTheUpperEndAlone) {
  for (auto [hi, step] : {std::pair{100, 1}, {101, 5}, {998, 5}, {999, 10}, {29999, 10}, {30000, 50}})
    EXPECT_EQ(SpinnerStep(hi), step) << hi;
}

}  // namespace
}  // namespace glintora
