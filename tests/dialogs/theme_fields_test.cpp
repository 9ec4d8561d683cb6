#include "dialogs/theme_fields.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace glintora {
namespace {

constexpr int kMultiMom = -1, kJetBurst = -2;

// Column by column: the txtFire box the column fills (or one of the two check boxes) and the
// column's text in themes 1 to 13.
struct PresetColumn {
  int box;
  const char* themes;
};
constexpr PresetColumn kPresets[43] = {
    {0, "15 14 8 12 12 7 5 10 10 4 8 12 14"},  // FireWorks
    {1, "800 1400 1000 1200 1000 1400 1800 900 1200 2500 1000 800 1000"},  // FireSparks
    {2, "5 10 10 10 5 5 10 8 4 7 5 5 4"},  // FireLength
    {3, "1 1 1 1 1 1 0.5 1 1 1 1 1 1"},  // FireSymmetry
    {4, "6 6 8 7 5 6 10 8 7 4 3 7 7"},  // FireSpeed
    {5, "0.96 0.96 0.96 0.96 0.96 0.98 0.98 0.97 0.96 0.985 0.985 0.96 0.96"},  // FirePersist
    {6, "0.03 0.05 0.04 0.05 0.02 0.02 0.01 0.02 0.0 0 0 0.02 0.02"},  // FireGravity
    {7, "3 3 3 3 4 3 4 2 3 12 4 3 3"},  // FireSizeDev
    {8, "0.2 0.125 0.3 0.2 0.15 0.1 0.02 0.1 0.12 0.02 0.01 0.2 0.175"},  // FireDamping
    {20, "100 75 100 100 100 100 100 100 0 0 0 100 50"},  // FireLaunchPct
    {21, "50 50 99 75 50 50 100 50 75 75 50 400 75"},  // FireLaunchPixel
    {22, "1 1 1 1 1 1 1 1 1 2 2 20 1"},  // FireLaunchRadius
    {23, "50 40 40 40 50 40 60 40 40 50 40 1 50"},  // FireLaunchSteps
    {24, "0.86 0.75 0.9 0.85 0.85 0.9 0.92 0.85 0.85 0.85 0.75 0.92 0.9"},  // FireLaunchPersist
    {9, "5 0 0 0 0 0 0 0 10 0 100 0 10"},  // FireSplinePct
    {10, "7 10 10 10 10 10 10 10 13 10 10 10 10"},  // FireSplineKnot
    {36, "25 25 0 25 25 0 0 0 35 0 0 20 25"},  // FirePatternPct
    {13, "20 0 0 0 100 0 0 0 15 0 0 0 20"},  // FireMultiPct
    {14, "25 25 25 25 25 30 30 30 25 25 25 40 30"},  // FireMultiAge
    {15, "10 10 10 10 10 12 12 12 12 10 10 10 14"},  // FireMultiBurst
    {kMultiMom, "1 1 1 1 1 1 1 1 1 1 1 1 1"},  // FireMultiMoment
    {16, "10 0 100 34 0 0 0 0 10 0 0 0 15"},  // FireBurstPct
    {17, "40 30 40 30 30 30 30 30 30 30 30 30 20"},  // FireBurstAge
    {18, "6 6 6 6 6 6 6 6 6 6 6 5 8"},  // FireBurstCount
    {19, "3 2 4 3 2 2 2 2 6 2 2 2 4"},  // FireBurstRadius
    {kJetBurst, "1 0 0 0 0 0 0 0 1 0 0 0 1"},  // FireBurstShell
    {11, "5 100 0 33 0 0 0 0 5 0 0 0 5"},  // FireScintPct
    {12, "9 9 9 9 9 9 9 9 9 9 9 5 5"},  // FireScintStyle
    {25, "10 0 0 0 0 0 0 0 10 0 0 0 10"},  // FireSparkPct
    {26, "30 30 30 30 30 30 30 30 30 30 30 30 30"},  // FireSparkAge
    {27, "9 9 9 9 9 9 9 9 9 9 9 9 9"},  // FireSparkPix
    {28, "10 0 0 0 0 100 100 0 10 0 0 0 10"},  // FireRingPct
    {29, "2 3 3 3 3 3 1 3 3 3 3 3 3"},  // FireRingEmb
    {30, "5 5 5 5 5 0 10 5 5 5 5 5 5"},  // FireRingDeg
    {31, "10 0 0 0 0 0 0 100 10 0 0 0 10"},  // FireTwistPct
    {32, "10 20 20 20 20 20 20 10 10 20 20 20 10"},  // FireTwistCnt
    {33, "15 20 20 20 20 20 20 20 15 20 20 20 15"},  // FireTwistDeg
    {34, "3 1 1 1 1 1 1 4 4 1 1 1 3"},  // FireTwistRad
    {35, "20 10 10 10 10 10 10 25 25 10 10 10 30"},  // FireTwistExt
    {50, "10 0 0 33 0 0 0 0 5 0 0 0 5"},  // FireDecayPct
    {51, "18 16 16 35 16 16 16 16 25 16 16 16 25"},  // FireDecayCnt
    {52, "800 600 600 800 600 600 600 600 750 600 600 600 500"},  // FireDecayMSize
    {53, "40 40 40 60 40 40 40 40 80 40 40 40 50"},  // FireDecayMLife
};

TEST(ApplyTheme, EveryThemePutsItsPresetTextsInTheirBoxes) {
  for (int theme = 1; theme <= 13; ++theme) {
    MemoryDialogView view;  // no rules attached: the texts as the theme gives them
    ChooseTheme(view, theme);
    for (int col = 0; col < 43; ++col) {
      std::istringstream values(kPresets[col].themes);
      std::string value;
      for (int t = 1; t <= theme; ++t) values >> value;
      SCOPED_TRACE("theme " + std::to_string(theme) + " column " + std::to_string(col));
      const int box = kPresets[col].box;
      const Control check = box == kMultiMom ? Control::ChkMultiMom : Control::ChkJetBurst;
      const std::string flag = std::to_string(view.CheckValue({check, 0}));
      EXPECT_EQ(box >= 0 ? view.Text({Control::TxtFire, box}) : flag, value);
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
