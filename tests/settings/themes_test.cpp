#include "settings/themes.h"

#include <gtest/gtest.h>

#include <string>

namespace glintora {
namespace {

TEST(CsvField, FieldsBetweenCommasTrimmed) {
  const std::string text = " 15,  800, ";
  EXPECT_EQ(CsvField(text, 0), "15");
  EXPECT_EQ(CsvField(text, 1), "800");
  EXPECT_EQ(CsvField(text, 2), "");  // the trailing comma's empty field
  EXPECT_EQ(CsvField(text, 3), "");  // past the end
  EXPECT_EQ(CsvField("a,b", 1), "b");
  EXPECT_EQ(CsvField("", 0), "");
  EXPECT_EQ(CsvField("a,b", -1), "");
}

TEST(ThemePresets, ThirteenTextsThenNothing) {
  for (std::int16_t theme : {0, 14, -1}) EXPECT_EQ(ThemePresetText(theme), "") << theme;
  // Every text ends with a comma: its 44th field is empty.
  for (std::int16_t theme = 1; theme <= 13; ++theme)
    EXPECT_EQ(CsvField(ThemePresetText(theme), 43), "") << theme;
  EXPECT_EQ(ThemeName(0), "< NONE >");
  EXPECT_EQ(ThemeName(13), "Grand Finale:  Looks great on a P300-MMX");
  EXPECT_EQ(ThemeName(14), "");
}

}  // namespace
}  // namespace glintora
