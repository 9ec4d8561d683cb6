#include "dialogs/theme_fields.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace glintora {
namespace {

constexpr int kMultiMom = -1, kJetBurst = -2;

// The txtFire box each of the 43 preset columns fills, or one of the two check boxes.
constexpr int kColumnBox[43] = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  20, 21, 22, 23, 24, 9,  10, 36, 13, 14, 15, kMultiMom, 16,
    17, 18, 19, kJetBurst, 11, 12, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 50, 51, 52, 53};

// Themes 1 to 13, column by column: FireWorks, FireSparks, FireLength, FireSymmetry, FireSpeed,
// FirePersist, FireGravity, FireSizeDev, FireDamping, FireLaunchPct, FireLaunchPixel,
// FireLaunchRadius, FireLaunchSteps, FireLaunchPersist, FireSplinePct, FireSplineKnot,
// FirePatternPct, FireMultiPct, FireMultiAge, FireMultiBurst, FireMultiMoment, FireBurstPct,
// FireBurstAge, FireBurstCount, FireBurstRadius, FireBurstShell, FireScintPct, FireScintStyle,
// FireSparkPct, FireSparkAge, FireSparkPix, FireRingPct, FireRingEmb, FireRingDeg, FireTwistPct,
// FireTwistCnt, FireTwistDeg, FireTwistRad, FireTwistExt, FireDecayPct, FireDecayCnt,
// FireDecayMSize, FireDecayMLife.
constexpr const char* kPresets[13] = {
    "15 800 5 1 6 0.96 0.03 3 0.2 100 50 1 50 0.86 5 7 25 20 25 10 1 10 40 6 3 1 5 9 10 30 9 10 2 5 10 10 15 3 20 10 18 800 40",
    "14 1400 10 1 6 0.96 0.05 3 0.125 75 50 1 40 0.75 0 10 25 0 25 10 1 0 30 6 2 0 100 9 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "8 1000 10 1 8 0.96 0.04 3 0.3 100 99 1 40 0.9 0 10 0 0 25 10 1 100 40 6 4 0 0 9 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "12 1200 10 1 7 0.96 0.05 3 0.2 100 75 1 40 0.85 0 10 25 0 25 10 1 34 30 6 3 0 33 9 0 30 9 0 3 5 0 20 20 1 10 33 35 800 60",
    "12 1000 5 1 5 0.96 0.02 4 0.15 100 50 1 50 0.85 0 10 25 100 25 10 1 0 30 6 2 0 0 9 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "7 1400 5 1 6 0.98 0.02 3 0.1 100 50 1 40 0.9 0 10 0 0 30 12 1 0 30 6 2 0 0 9 0 30 9 100 3 0 0 20 20 1 10 0 16 600 40",
    "5 1800 10 0.5 10 0.98 0.01 4 0.02 100 100 1 60 0.92 0 10 0 0 30 12 1 0 30 6 2 0 0 9 0 30 9 100 1 10 0 20 20 1 10 0 16 600 40",
    "10 900 8 1 8 0.97 0.02 2 0.1 100 50 1 40 0.85 0 10 0 0 30 12 1 0 30 6 2 0 0 9 0 30 9 0 3 5 100 10 20 4 25 0 16 600 40",
    "10 1200 4 1 7 0.96 0.0 3 0.12 0 75 1 40 0.85 10 13 35 15 25 12 1 10 30 6 6 1 5 9 10 30 9 10 3 5 10 10 15 4 25 5 25 750 80",
    "4 2500 7 1 4 0.985 0 12 0.02 0 75 2 50 0.85 0 10 0 0 25 10 1 0 30 6 2 0 0 9 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "8 1000 5 1 3 0.985 0 4 0.01 0 50 2 40 0.75 100 10 0 0 25 10 1 0 30 6 2 0 0 9 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "12 800 5 1 7 0.96 0.02 3 0.2 100 400 20 1 0.92 0 10 20 0 40 10 1 0 30 5 2 0 0 5 0 30 9 0 3 5 0 20 20 1 10 0 16 600 40",
    "14 1000 4 1 7 0.96 0.02 3 0.175 50 75 1 50 0.9 10 10 25 20 30 14 1 15 20 8 4 1 5 5 10 30 9 10 3 5 10 10 15 3 30 5 25 500 50",
};

TEST(ApplyTheme, EveryThemePutsItsPresetTextsInTheirBoxes) {
  for (int theme = 1; theme <= 13; ++theme) {
    MemoryDialogView view;  // no rules attached: the texts as the theme gives them
    ChooseTheme(view, theme);
    std::istringstream values(kPresets[theme - 1]);
    std::string value;
    for (int col = 0; col < 43 && values >> value; ++col) {
      SCOPED_TRACE("theme " + std::to_string(theme) + " column " + std::to_string(col));
      const int box = kColumnBox[col];
      const Control check = box == kMultiMom ? Control::ChkMultiMom : Control::ChkJetBurst;
      const std::string flag = std::to_string(view.CheckValue({check, 0}));
      EXPECT_EQ(box >= 0 ? view.Text({Control::TxtFire, box}) : flag, value);
    }
    EXPECT_FALSE(values >> value) << "theme " << theme << " has more than 43 columns";
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
