#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/numbers.h"
#include "settings/themes.h"

namespace glintora {
namespace {

// Every setting, firework parameters in the record's order:
// key,section,type,default,dialog rule,low,high,box,theme column.
constexpr const char* kSettings[] = {
    "FireWorks,Fireworks,i16,12,int,1,99,0,0",
    "FireSparks,Fireworks,i16,1200,int,10,9999,1,1",
    "FireLength,Fireworks,i16,5,int,1,99,2,2",
    "FireSymmetry,Fireworks,f32,1,dec,0,1,3,3",
    "FireSizeDev,Fireworks,i16,3,int,1,999,7,7",
    "FireDamping,Fireworks,f32,0.15,dec,0,1,8,8",
    "FireSpeed,Fireworks,f32,6,dec,0.1,99.9,4,4",
    "FirePersist,Fireworks,f32,0.97,dec,0.25,0.99,5,5",
    "FireGravity,Fireworks,f32,0.015,dec,0,9.9,6,6",
    "FireSplinePct,Fireworks,i16,7,int,0,100,9,14",
    "FireSplineKnot,Fireworks,i16,8,int,4,99,10,15",
    "FireScintPct,Fireworks,i16,0,int,0,100,11,26",
    "FireScintStyle,Fireworks,i16,9,int,1,9,12,27",
    "FireMultiPct,Fireworks,i16,20,int,0,100,13,17",
    "FireMultiAge,Fireworks,i16,25,int,5,99,14,18",
    "FireMultiBurst,Fireworks,i16,16,int,1,99,15,19",
    "FireMultiMoment,Fireworks,flag,1,chk,0,1,-,20",
    "FireBurstPct,Fireworks,i16,10,int,0,100,16,21",
    "FireBurstAge,Fireworks,i16,20,int,5,99,17,22",
    "FireBurstCount,Fireworks,i16,12,int,1,99,18,23",
    "FireBurstRadius,Fireworks,f32,3,dec,0.25,99.9,19,24",
    "FireBurstShell,Fireworks,flag,1,chk,0,1,-,25",
    "FireSparkPct,Fireworks,i16,10,int,0,100,25,28",
    "FireSparkAge,Fireworks,i16,25,int,5,99,26,29",
    "FireSparkPix,Fireworks,i16,5,int,1,30,27,30",
    "FireRingPct,Fireworks,i16,10,int,0,100,28,31",
    "FireRingEmb,Fireworks,i16,3,int,1,99,29,32",
    "FireRingDeg,Fireworks,i16,5,int,0,180,30,33",
    "FireTwistPct,Fireworks,i16,10,int,0,100,31,34",
    "FireTwistCnt,Fireworks,i16,12,int,1,99,32,35",
    "FireTwistDeg,Fireworks,i16,15,int,0,90,33,36",
    "FireTwistRad,Fireworks,f32,2,dec,0.1,99.9,34,37",
    "FireTwistExt,Fireworks,f32,25,dec,0,999.9,35,38",
    "FireDecayPct,Fireworks,i16,10,int,0,100,50,39",
    "FireDecayCnt,Fireworks,i16,80,int,1,99,51,40",
    "FireDecayMSize,Fireworks,f32,300,int,1,9999,52,41",
    "FireDecayMLife,Fireworks,i16,80,int,5,999,53,42",
    "FirePatternPct,Fireworks,i16,40,int,0,100,36,16",
    "FireLaunchPct,Fireworks,i16,50,int,0,100,20,9",
    "FireLaunchPixel,Fireworks,i16,125,int,10,999,21,10",
    "FireLaunchRadius,Fireworks,f32,1,dec,0.25,99.9,22,11",
    "FireLaunchSteps,Fireworks,i16,60,int,1,999,23,12",
    "FireLaunchPersist,Fireworks,f32,0.85,dec,0.25,0.99,24,13",
    "ColorRed,General,i16,100,int,0,100,0,-",
    "ColorGrn,General,i16,100,int,0,100,1,-",
    "ColorBlu,General,i16,100,int,0,100,2,-",
    "ColorPctInt,PixelColor,i16,0,int,0,100,0,-",
    "ColorPctHue,PixelColor,i16,100,int,0,100,1,-",
    "ColorHueWheel,PixelColor,i16,60,int,0,360,2,-",
    "FocalLength,Advanced,f32,1.0,dec,0.01,10,-,-",
    "Adv_TimeDelay,Advanced,i32,40,int,0,999,-,-",
    "Adv_FontName,Advanced,text,Arial,-,,,-,-",
    "Adv_FontSize,Advanced,i16,24,int,10,80,-,-",
    "Adv_FontHueV,Advanced,i16,180,int,0,359,-,-",
    "LockMessage,Advanced,text,,-,,,-,-",
    "Adv_WinResize,Advanced,tflag,0,chk,0,1,-,-",
    "Adv_MouseMove,Advanced,tflag,0,chk,0,1,-,-",
    "SoundFX_ON,SoundFX,tflag,0,chk,0,1,-,-",
    "AnimationType,General,i16,0,-,,,-,-",
};

TEST(SettingsTable, EveryKeyWithItsSectionTypeDefaultDialogRangeBoxAndThemeColumn) {
  const char* kTypes[] = {"i16", "i32", "f32", "flag", "text", "tflag"};
  const char* kRules[] = {"-", "int", "dec", "chk"};
  ASSERT_EQ(AllSettings().size(), std::size(kSettings));
  ASSERT_EQ(FireworkRecordOrder().size(), 43u);
  const auto column = [](int n) { return n < 0 ? std::string("-") : std::to_string(n); };
  for (std::size_t i = 0; i < std::size(kSettings); ++i) {
    const SettingDef* def = FindSetting(CsvField(kSettings[i], 0));
    ASSERT_NE(def, nullptr) << kSettings[i];
    EXPECT_EQ(i < 43 ? FireworkRecordOrder()[i] : def, def) << kSettings[i];
    const std::string rule = kRules[static_cast<int>(def->dialog)];
    const std::string range = rule == "-" ? "," : NumberText(def->dialogLo) + "," + NumberText(def->dialogHi);
    EXPECT_EQ(std::string(def->key) + "," + def->section + "," + kTypes[static_cast<int>(def->type)] + "," +
                  def->defaultText + "," + rule + "," + range + "," + column(def->boxIndex) + "," +
                  column(def->themeColumn),
              kSettings[i]);
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
