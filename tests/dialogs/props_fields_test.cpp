// Sessions on the properties dialog's fields: what the user types and the texts after it; the
// themes that fill them.
#include "dialogs/props_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <iterator>
#include <tuple>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "dialogs/theme_fields.h"
#include "dialogs/transfers.h"
#include "settings/themes.h"
#include "settings/memory_store.h"

namespace glintora {
namespace {

using namespace testing;

class PropsSession : public ::testing::Test, public PropsDialog {};

TEST_F(PropsSession, SpinnersLinkWithinTheirEndsAndFollowTheField) {
  ExpectTexts(view, {{Fire(0), "1"}, {Fire(1), "10"}, {Fire(7), "1"}, {Hue(0), "0"}});
  // The most characters each field takes: boxes 0..36, 50..53, then the six colour fields.
  std::istringstream lengths("2 4 2 5 5 5 5 3 5 3 2 3 1 3 2 2 3 2 2 5 3 3 5 3 5 3 2 2 3 2 3 3 2 2 5 5 3 "
                             "3 3 4 3  3 3 3 3 3 3");
  int length = 0;
  for (int box = 0; box <= 53 && lengths >> length; box = box == 36 ? 50 : box + 1) {
    EXPECT_EQ(view.Box(Fire(box)).max_length, length) << "box " << box;
  }
  for (const ControlId colour : {Hue(0), Hue(1), Hue(2), Col(0), Col(1), Col(2)}) {
    ASSERT_TRUE(lengths >> length);
    EXPECT_EQ(view.Box(colour).max_length, length) << colour.index;
  }
  // Never below its end; typed values the spinner can show move it, others leave it alone.
  const ControlId spin{Control::SpnFire, 1};
  Play(view, {{'+', spin, "", Fire(1), "20"}, {'-', spin}, {'-', spin, "", Fire(1), "10"},
              {'e', Fire(1), "995"}, {'+', spin, "", Fire(1), "1005"}, {'e', Fire(1), "5"}});
  EXPECT_EQ(view.SpinnerValue(spin), 1005);
  Play(view, {{'e', Fire(1), "9999"}, {'+', spin, "", Fire(1), "9999"}});  // at the top: nothing moves
}

TEST_F(PropsSession, ParticleBudget) {
  Play(view, {{'p', Fire(0), "12"}, {'p', Fire(1), "9999"},
             {'e', Fire(0), "99", Fire(1), "303"},
             {'p', Fire(0), "12"}, {'p', Fire(1), "1200"}, {'e', Fire(1), "9999", Fire(0), "3"},
             {'e', Fire(1), "10", Fire(0), "3"},  // a small budget leaves the shells alone
             // An empty shells field counts as 0: the cap is 30000 and only a sparks value below 1 moves.
             {'b'}, {'p', Fire(1), "0"}, {'e', Fire(0), "\b", Fire(1), "1"}});
}

// The partners' writes never come back to the changed field. (Typing 60 into the multi-burst
// share is run in the Windows dialog.)
TEST_F(PropsSession, BurstShareGivesWayFromTheEndOfTheOrder) {
  const Strings start = {"5", "20", "10", "10", "10", "10", "10"};
  const std::tuple<Strings, int, const char*, Strings> rows[] = {
      // The twisters have first claim after the decaying stars; the sparklers come before the rings.
      {start, 50, "90", {"0", "0", "0", "0", "0", "10", "90"}},
      {{"0", "0", "0", "30", "30", "0", "0"}, 11, "50", {"50", "0", "0", "30", "20", "0", "0"}},
      {start, 28, "999", {"0", "0", "0", "0", "999", "0", "0"}}};
  for (const auto& [before, box, text, after] : rows) {
    PutShares(before);
    const int writes = view.Writes(Fire(box));
    view.Enter(Fire(box), text);
    EXPECT_EQ(Shares(), after) << box;
    EXPECT_EQ(view.Writes(Fire(box)), writes) << box;
  }
  Play(view, {{'b', kSelf, "", Fire(28), "100"}});
  EXPECT_FALSE(model.InRuleWrite());
}

TEST_F(PropsSession, DispersionShareAndColourPair) {
  Play(view, {{'p', Fire(9), "7"}, {'p', Fire(36), "40"}, {'e', Fire(9), "100", Fire(36), "0"},
             {'e', Fire(36), "30", Fire(9), "70"},
             {'p', Col(1), "100"}, {'e', Col(0), "30", Col(1), "70"}, {'e', Col(1), "100", Col(0), "0"},
             // After a load that left them over budget, focus loss trims to the other's share.
             {'b'}, {'p', Col(1), "20"}, {'l', Col(0), "90", kSelf, "80"}});
  EXPECT_EQ(view.Text(Col(1)), "20");
  EXPECT_EQ(view.SpinnerValue({Control::SpnPixCol, 0}), 80);
  Play(view, {{'e', Col(0), "\b", Col(1), "20"},  // an empty intensity counts as 0
             {'e', Col(1), "100", Col(0), "0"},  // the intensity's focus loss wrote "0" first
             {'e', Col(2), "361"}, {'b', kSelf, "", Col(2), "360"},
             {'-', {Control::SpnPixCol, 2}, "", Col(2), "355"}, {'d', Col(2), "", kSelf, "350"},
             {'p', Col(0), "70"}, {'l', Col(1), "50", kSelf, "30"}});  // the hue share trimmed too
}

TEST_F(PropsSession, SwatchesFollowEveryChange) {
  const std::tuple<int, const char*, std::uint32_t> rows[] = {
      {0, "0", 55u}, {0, "100", 255u}, {0, "\b", 55u},
      {1, "150", 0xFF00u},  // shown as 100 at once, corrected on focus loss
      {2, "50", 155u << 16}};
  for (const auto& [i, text, color] : rows) {
    view.Enter(Hue(i), text);
    EXPECT_EQ(view.Box({Control::PicPixHue, i}).color, color) << i << " " << text;
  }
  EXPECT_EQ(view.Text(Hue(1)), "100");
  EXPECT_EQ(SwatchColor(0, "99999"), 255u);
}

TEST_F(PropsSession, KeysStepsAndFocusLossPerField) {
  const std::set<int> decimals = {3, 4, 5, 6, 8, 19, 22, 24, 34, 35};
  for (const FireFieldInfo& f : FireFields()) {
    EXPECT_EQ(model.OnKeyPress(Fire(f.box), '.'), decimals.count(f.box) == 1) << f.box;
    EXPECT_TRUE(model.OnKeyPress(Fire(f.box), '7'));
    EXPECT_FALSE(model.OnKeyPress(Fire(f.box), '-'));
    // Letters whose low byte is a digit or '.': dotless i, dotted capital I, CJK.
    for (char32_t ch : {U'\u0131', U'\u0130', U'\u4E31', U'\u4E2E', U'\uFF11'}) {
      EXPECT_FALSE(model.OnKeyPress(Fire(f.box), ch)) << f.box << " " << static_cast<unsigned>(ch);
    }
  }
  EXPECT_FALSE(model.OnKeyPress(Col(0), '.'));
  EXPECT_FALSE(view.PressArrow(Fire(3), true));  // fields without a step let the key pass
  // Field 7: the Up key adds 1, its spinner 10. Focus loss clamps by kind; 52 is a single held
  // as a whole number.
  Play(view, {{'e', Fire(7), "20"}, {'u', Fire(7), "", kSelf, "21"},
             {'+', {Control::SpnFire, 7}, "", Fire(7), "31"},
             {'e', Fire(1), "1200"}, {'u', Fire(1), "", kSelf, "1210"},
             {'l', Fire(5), "0.999", kSelf, "0.99"}, {'l', Fire(52), "12.5", kSelf, "12"},
             {'l', Fire(53), "1", kSelf, "5"}, {'l', Fire(35), "", kSelf, "0"}});
}

// Loads and resets: the order of the writes decides the result.
TEST_F(PropsSession, StoreOverBudgetEndsAsTheIndexOrderLeavesIt) {
  MemoryStore store;
  WriteAll(store, {{"General", "AnimationType", "0"}, {"Fireworks", "FireScintPct", "60"},
                   {"Fireworks", "FireMultiPct", "60"}, {"Fireworks", "FireWorks", "50"},
                   {"Fireworks", "FireSparks", "9999"}});
  EXPECT_FALSE(OpenPropsFromStore(view, store));
  // 13 cuts 11 to 40; 16, 25, 28 and 31 each keep their 10 only while budget remains; the
  // decaying stars come last and give the twisters first claim, so 13 ends at 40.
  EXPECT_EQ(Shares(), (Strings{"40", "40", "0", "0", "0", "10", "10"}));
  // Shells first (50 caps the still-small sparks field at nothing), then sparks 9999 caps shells.
  ExpectTexts(view, {{Fire(0), "3"}, {Fire(1), "9999"}});
  // A reset with the rules attached still ends at the factory shares. It stores the advanced and
  // sound values at once, the fireworks only when the dialog saves.
  view.Enter(Fire(13), "95");
  ResetPropsToFactory(view, store);
  EXPECT_EQ(Shares(), (Strings{"0", "20", "10", "10", "10", "10", "10"}));
  ExpectStored(store, {{"Fireworks", "FireWorks", "50"}, {"Advanced", "Adv_FontName", "Arial"},
                       {"SoundFX", "SoundFX_ON", "0"}});
}

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
    std::istringstream in(kPresets[theme - 1]);
    const Strings values{std::istream_iterator<std::string>(in), {}};
    ASSERT_EQ(values.size(), 43u);
    for (const char* row : kSettingRows) {
      const std::string key = CsvField(row, 0), box = CsvField(row, 7), column = CsvField(row, 8);
      if (column == "-" || CsvField(row, 1) != "Fireworks") continue;
      const Control check = key == "FireMultiMoment" ? Control::ChkMultiMom : Control::ChkJetBurst;
      EXPECT_EQ(box != "-" ? view.Text(Fire(std::stoi(box))) : std::to_string(view.CheckValue({check, 0})),
                values[std::stoul(column)]) << "theme " << theme << " " << key;
    }
  }
}

TEST(ApplyTheme, NoneAndBrokenTextsLeaveControlsAlone) {
  MemoryDialogView view;
  view.SetCheckValue({Control::ChkJetBurst, 0}, 1);
  view.SetText(Fire(0), "7");
  for (int theme : {0, 14}) ChooseTheme(view, theme);
  EXPECT_EQ(view.Text(Fire(0)), "7");
  EXPECT_EQ(view.Writes(Fire(1)), 0);
  // A short text fills its columns and empties the rest; a flag that is not a number is skipped.
  ApplyTheme(view, "5, 300");
  ExpectTexts(view, {{Fire(0), "5"}, {Fire(1), "300"}, {Fire(2), ""}});
  EXPECT_EQ(view.CheckValue({Control::ChkJetBurst, 0}), 1);
}

// A preset whose burst percentages pass 100 ends as the rules leave it: multi (column 17) is
// written first, jet (21) next, scintillators (26) last.
TEST_F(PropsSession, ThemesRunTheRulesInColumnOrder) {
  ChooseTheme(view, 1);
  ApplyTheme(view, std::string(17, ',') + "60" + std::string(4, ',') + "30" + std::string(5, ',') + "50,");
  ExpectTexts(view, {{Fire(13), "50"}, {Fire(16), "0"}, {Fire(11), "50"}});
}

}  // namespace
}  // namespace glintora
