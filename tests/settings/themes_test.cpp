#include "settings/themes.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/numbers.h"

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

TEST(ThemePresets, ThirteenTextsOfFortyThreeNumbers) {
  for (std::int16_t theme : {0, 14, -1}) EXPECT_EQ(ThemePresetText(theme), "") << theme;
  for (std::int16_t theme = 1; theme <= 13; ++theme) {
    const std::string text = ThemePresetText(theme);
    for (std::int16_t col = 0; col < 43; ++col) {
      EXPECT_TRUE(IsNumericText(CsvField(text, col))) << "theme " << theme << " column " << col;
    }
    EXPECT_EQ(CsvField(text, 43), "") << theme;
  }
  EXPECT_EQ(ThemeName(0), "< NONE >");
  EXPECT_EQ(ThemeName(14), "");
}

// Where each column lands in the properties dialog (-1 and -2: the two check boxes).
constexpr int kTarget[43] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  20, 21, 22, 23, 24, 9,
                             10, 36, 13, 14, 15, -1, 16, 17, 18, 19, -2, 11, 12, 25, 26,
                             27, 28, 29, 30, 31, 32, 33, 34, 35, 50, 51, 52, 53};

TEST(ApplyTheme, EveryColumnReachesItsControlUnchanged) {
  for (std::int16_t theme = 1; theme <= 13; ++theme) {
    MemoryDialogView view;  // no rules attached: the raw column map
    const std::string text = ThemePresetText(theme);
    ChooseTheme(view, theme);
    for (int col = 0; col < 43; ++col) {
      SCOPED_TRACE("theme " + std::to_string(theme) + " column " + std::to_string(col));
      const std::string field = CsvField(text, static_cast<std::int16_t>(col));
      if (kTarget[col] >= 0) {
        EXPECT_EQ(view.Text({Control::TxtFire, kTarget[col]}), field);
      } else {
        const Control box = kTarget[col] == -1 ? Control::ChkMultiMom : Control::ChkJetBurst;
        EXPECT_EQ(view.CheckValue({box, 0}), std::stoi(field));
      }
    }
  }
}

TEST(ApplyTheme, NoneAndBrokenTextsLeaveControlsAlone) {
  MemoryDialogView view;
  view.SetCheckValue({Control::ChkJetBurst, 0}, 1);
  view.SetText({Control::TxtFire, 0}, "7");
  ChooseTheme(view, 0);
  ChooseTheme(view, 14);
  EXPECT_EQ(view.Text({Control::TxtFire, 0}), "7");
  EXPECT_EQ(view.Writes({Control::TxtFire, 1}), 0);
  // A short text fills its columns and empties the rest; a flag that is not a number is skipped.
  ApplyTheme(view, "5, 300");
  EXPECT_EQ(view.Text({Control::TxtFire, 0}), "5");
  EXPECT_EQ(view.Text({Control::TxtFire, 1}), "300");
  EXPECT_EQ(view.CheckValue({Control::ChkJetBurst, 0}), 1);
}

}  // namespace
}  // namespace glintora
