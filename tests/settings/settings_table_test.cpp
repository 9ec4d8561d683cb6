#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/numbers.h"
#include "settings/themes.h"
#include "test_util.h"

namespace glintora {
namespace {

using testing::kSettingRows;


TEST(SettingsTable, EveryKeyWithItsSectionTypeDefaultDialogRangeBoxAndThemeColumn) {
  const char* kTypes[] = {"i16", "i32", "f32", "flag", "text", "tflag"};
  const char* kRules[] = {"-", "int", "dec", "chk"};
  ASSERT_EQ(AllSettings().size(), std::size(kSettingRows));
  ASSERT_EQ(FireworkRecordOrder().size(), 43u);
  const auto column = [](int n) { return n < 0 ? std::string("-") : std::to_string(n); };
  for (std::size_t i = 0; i < std::size(kSettingRows); ++i) {
    const SettingDef* def = FindSetting(CsvField(kSettingRows[i], 0));
    ASSERT_NE(def, nullptr) << kSettingRows[i];
    EXPECT_EQ(i < 43 ? FireworkRecordOrder()[i] : def, def) << kSettingRows[i];
    const std::string rule = kRules[static_cast<int>(def->dialog)];
    const std::string range = rule == "-" ? "," : NumberText(def->dialogLo) + "," + NumberText(def->dialogHi);
    EXPECT_EQ(std::string(def->key) + "," + def->section + "," + kTypes[static_cast<int>(def->type)] + "," +
                  def->defaultText + "," + rule + "," + range + "," + column(def->boxIndex) + "," +
                  column(def->themeColumn),
              kSettingRows[i]);
  }
  // The two shares of the colour model give way to each other.
  EXPECT_STREQ(FindSetting("ColorPctInt")->hiLessKey, "ColorPctHue");
  EXPECT_STREQ(FindSetting("ColorPctHue")->hiLessKey, "ColorPctInt");
  EXPECT_EQ(FindSetting("firepersist"), FindSetting("FirePersist"));
  EXPECT_EQ(FindSetting("Nothing"), nullptr);
  // What a dialog would not take as it stands, as a template or link may bring it.
  const SettingDef &delay = *FindSetting("Adv_TimeDelay"), &message = *FindSetting("LockMessage");
  std::string text;
  for (int k = 0; k < 100; ++k) text += "\xC3\xA9";  // 100 characters, 200 bytes
  EXPECT_EQ(DialogRangeProblem(delay, "999") + DialogRangeProblem(delay, "0") + DialogRangeProblem(message, text), "");
  EXPECT_EQ(DialogRangeProblem(delay, "1000") + "; " + DialogRangeProblem(delay, "2.5") + "; " +
                DialogRangeProblem(message, text + "e"),
            "Adv_TimeDelay: 1000 is outside 0..999; Adv_TimeDelay: 2.5 is outside 0..999; LockMessage: longer than 100 characters");
}

TEST(Themes, FieldsNamesAndThirteenPresetTexts) {
  for (auto [text, n, field] : {std::tuple{" 15,  800, ", 0, "15"}, {" 15,  800, ", 1, "800"},
                                {" 15,  800, ", 2, ""}, {" 15,  800, ", 3, ""}, {"a,b", 1, "b"},
                                {"", 0, ""}, {"a,b", -1, ""}})
    EXPECT_EQ(CsvField(text, static_cast<std::int16_t>(n)), field) << text << " " << n;
  for (std::int16_t theme : {0, 14, -1}) EXPECT_EQ(ThemePresetText(theme), "") << theme;
  // The dialog tests pin each preset's 43 values; none has a 44th.
  for (std::int16_t theme = 1; theme <= 13; ++theme)
    EXPECT_EQ(CsvField(ThemePresetText(theme), 43), "") << theme;
  EXPECT_EQ(ThemeName(0), "< NONE >");
  EXPECT_EQ(ThemeName(13), "Grand Finale:  Looks great on a P300-MMX");
  EXPECT_EQ(ThemeName(14), "");
}

}  // namespace
}  // namespace glintora
