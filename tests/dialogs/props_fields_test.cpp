// Sessions on the properties dialog's fields: what the user types and the texts after it.
#include "dialogs/props_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "dialogs/theme_fields.h"
#include "dialogs/transfers.h"
#include "settings/memory_store.h"

namespace glintora {
namespace {

using namespace testing;

class PropsSession : public ::testing::Test, public PropsDialog {};

TEST_F(PropsSession, SpinnersLinkWithinTheirEndsAndFollowTheField) {
  ExpectTexts(view, {{Fire(0), "1"}, {Fire(1), "10"}, {Fire(7), "1"}, {Hue(0), "0"}});
  EXPECT_EQ(view.Box(Fire(1)).max_length, 4);
  EXPECT_EQ(view.Box(Fire(5)).max_length, 5);
  // Never below its end; typed values the spinner can show move it, others leave it alone.
  const ControlId spin{Control::SpnFire, 1};
  Play(view, {{'+', spin, "", Fire(1), "20"}, {'-', spin}, {'-', spin, "", Fire(1), "10"},
              {'e', Fire(1), "995"}, {'+', spin, "", Fire(1), "1005"}, {'e', Fire(1), "5"}});
  EXPECT_EQ(view.SpinnerValue(spin), 1005);
  view.Enter(Fire(1), "9999");
  const int writes = view.Writes(Fire(1));
  view.ClickSpinner(spin, true);  // at the top: nothing happens
  EXPECT_EQ(view.Writes(Fire(1)), writes);
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
  view.FocusElsewhere();
  EXPECT_EQ(view.Text(Fire(28)), "100");
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
             {'-', {Control::SpnPixCol, 2}, "", Col(2), "355"}, {'d', Col(2), "", kSelf, "350"}});
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
  const std::vector<int> decimals = {3, 4, 5, 6, 8, 19, 22, 24, 34, 35};
  for (const FireFieldInfo& f : FireFields()) {
    const bool isDecimal = std::find(decimals.begin(), decimals.end(), f.box) != decimals.end();
    EXPECT_EQ(model.OnKeyPress(Fire(f.box), '.'), isDecimal) << f.box;
    EXPECT_TRUE(model.OnKeyPress(Fire(f.box), '7'));
    EXPECT_FALSE(model.OnKeyPress(Fire(f.box), '-'));
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

// A preset whose burst percentages pass 100 ends as the rules leave it: multi (column 17) is
// written first, jet (21) next, scintillators (26) last.
TEST_F(PropsSession, ThemesRunTheRulesInColumnOrder) {
  ChooseTheme(view, 1);
  std::string preset;
  for (int col = 0; col < 43; ++col) {
    preset += std::string(col == 17 ? "60" : col == 21 ? "30" : col == 26 ? "50" : "") + ",";
  }
  ApplyTheme(view, preset);
  ExpectTexts(view, {{Fire(13), "50"}, {Fire(16), "0"}, {Fire(11), "50"}});
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

}  // namespace
}  // namespace glintora
