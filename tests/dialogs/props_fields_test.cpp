// Sessions on the properties dialog's fields: what the user types and the texts after it.
#include "dialogs/props_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_test_util.h"
#include "dialogs/theme_fields.h"
#include "dialogs/transfers.h"
#include "settings/memory_store.h"
#include "settings/themes.h"

namespace glintora {
namespace {

using namespace testing;

class PropsSession : public ::testing::Test, public PropsDialog {};

TEST_F(PropsSession, LinkingBringsEmptyFieldsIntoTheirSpinnersRange) {
  ExpectTexts(view, {{Fire(0), "1"}, {Fire(1), "10"}, {Fire(7), "1"}, {Hue(0), "0"}});
  EXPECT_EQ(view.Box(Fire(1)).max_length, 4);
  EXPECT_EQ(view.Box(Fire(5)).max_length, 5);
  EXPECT_EQ(view.Spin({Control::SpnFire, 7}).step, 10);
  EXPECT_FALSE(model.InRuleWrite());
}

TEST_F(PropsSession, ParticleBudget) {
  Put(Fire(0), "12");
  Put(Fire(1), "9999");
  view.Enter(Fire(0), "15");
  EXPECT_EQ(view.Text(Fire(1)), "2000");
  view.Enter(Fire(0), "99");
  EXPECT_EQ(view.Text(Fire(1)), "303");
  Put(Fire(0), "12");
  Put(Fire(1), "1200");
  view.Enter(Fire(1), "9999");
  EXPECT_EQ(view.Text(Fire(0)), "3");
  view.Enter(Fire(1), "10");
  EXPECT_EQ(view.Text(Fire(0)), "3");  // a small budget leaves the shells alone
  // An empty shells field counts as 0: the cap is 30000 and only a sparks value below 1 moves.
  view.FocusElsewhere();
  Put(Fire(1), "0");
  view.Enter(Fire(0), "\b");
  ExpectTexts(view, {{Fire(0), ""}, {Fire(1), "1"}});
  EXPECT_FALSE(model.InRuleWrite());
}

TEST_F(PropsSession, BurstShareGivesWayFromTheEndOfTheOrder) {
  const Strings start = {"5", "20", "10", "10", "10", "10", "10"};
  PutShares(start);
  view.Enter(Fire(13), "60");
  EXPECT_EQ(Shares(), (Strings{"5", "60", "10", "10", "10", "5", "0"}));
  EXPECT_EQ(view.Writes(Fire(13)), 0);  // the partners' writes never come back to it
  PutShares(start);
  view.Enter(Fire(50), "90");  // the twisters have first claim after the decaying stars
  EXPECT_EQ(Shares(), (Strings{"0", "0", "0", "0", "0", "10", "90"}));
  PutShares({"0", "0", "0", "30", "30", "0", "0"});
  view.Enter(Fire(11), "50");  // the sparklers come before the rings when the budget runs out
  EXPECT_EQ(Shares(), (Strings{"50", "0", "0", "30", "20", "0", "0"}));
  PutShares(start);
  view.Enter(Fire(28), "999");
  EXPECT_EQ(Shares(), (Strings{"0", "0", "0", "0", "999", "0", "0"}));
  view.FocusElsewhere();
  EXPECT_EQ(view.Text(Fire(28)), "100");
  EXPECT_FALSE(model.InRuleWrite());
}

TEST_F(PropsSession, DispersionShareAndColourPair) {
  Put(Fire(9), "7");
  Put(Fire(36), "40");
  view.Enter(Fire(9), "100");
  EXPECT_EQ(view.Text(Fire(36)), "0");
  view.Enter(Fire(36), "30");
  EXPECT_EQ(view.Text(Fire(9)), "70");

  Put(Col(1), "100");
  view.Enter(Col(0), "30");
  EXPECT_EQ(view.Text(Col(1)), "70");
  view.Enter(Col(1), "100");
  EXPECT_EQ(view.Text(Col(0)), "0");
  // After a load that left them over budget, focus loss trims to the other's share.
  view.FocusElsewhere();
  Put(Col(0), "90");
  Put(Col(1), "20");
  view.Focus(Col(0));
  view.FocusElsewhere();
  ExpectTexts(view, {{Col(0), "80"}, {Col(1), "20"}});
  EXPECT_EQ(view.SpinnerValue({Control::SpnPixCol, 0}), 80);
  // An empty intensity counts as 0.
  view.Enter(Col(0), "\b");
  EXPECT_EQ(view.Text(Col(1)), "20");
  view.Enter(Col(1), "100");  // the intensity's focus loss wrote "0" first
  ExpectTexts(view, {{Col(1), "100"}, {Col(0), "0"}});
  view.Enter(Col(2), "361");
  view.FocusElsewhere();
  EXPECT_EQ(view.Text(Col(2)), "360");
  view.ClickSpinner({Control::SpnPixCol, 2}, false);
  EXPECT_EQ(view.Text(Col(2)), "355");
  view.PressArrow(Col(2), false);
  EXPECT_EQ(view.Text(Col(2)), "350");
}

TEST_F(PropsSession, SwatchesFollowEveryChange) {
  const ControlId swatch[] = {{Control::PicPixHue, 0}, {Control::PicPixHue, 1}, {Control::PicPixHue, 2}};
  view.Enter(Hue(0), "0");
  EXPECT_EQ(view.Box(swatch[0]).color, 55u);
  view.Enter(Hue(0), "100");
  EXPECT_EQ(view.Box(swatch[0]).color, 255u);
  view.Enter(Hue(0), "\b");
  EXPECT_EQ(view.Box(swatch[0]).color, 55u);
  view.Enter(Hue(1), "150");  // shown as 100 at once, corrected on focus loss
  EXPECT_EQ(view.Box(swatch[1]).color, 0xFF00u);
  view.Enter(Hue(2), "50");
  EXPECT_EQ(view.Text(Hue(1)), "100");
  EXPECT_EQ(view.Box(swatch[2]).color, 155u << 16);
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
  // Field 7: the Up key adds 1, its spinner 10; fields without a step let the key pass.
  view.Enter(Fire(7), "20");
  EXPECT_TRUE(view.PressArrow(Fire(7), true));
  EXPECT_EQ(view.Text(Fire(7)), "21");
  view.ClickSpinner({Control::SpnFire, 7}, true);
  EXPECT_EQ(view.Text(Fire(7)), "31");
  EXPECT_FALSE(view.PressArrow(Fire(3), true));
  view.Enter(Fire(1), "1200");
  view.PressArrow(Fire(1), true);
  EXPECT_EQ(view.Text(Fire(1)), "1210");
  // Focus loss clamps by kind; 52 is a single held as a whole number.
  for (auto [box, text, after] : {std::tuple{5, "0.999", "0.99"}, {52, "12.5", "12"}, {53, "1", "5"},
                                  {35, "", "0"}}) {
    Put(Fire(box), text);
    view.Focus(Fire(box));
    view.FocusElsewhere();
    EXPECT_EQ(view.Text(Fire(box)), after) << box;
  }
}

TEST_F(PropsSession, ThemesRunTheRulesInColumnOrder) {
  ChooseTheme(view, 1);
  EXPECT_EQ(Shares(), (Strings{"5", "20", "10", "10", "10", "10", "10"}));
  // "< NONE >" changes nothing.
  const int writes = view.Writes(Fire(0));
  ChooseTheme(view, 0);
  EXPECT_EQ(view.Writes(Fire(0)), writes);
  // A preset whose burst percentages pass 100 ends as the rules leave it: multi (column 17)
  // is written first, jet (21) next, scintillators (26) last.
  std::string preset;
  for (int col = 0; col < 43; ++col) {
    std::string field = CsvField(ThemePresetText(1), static_cast<std::int16_t>(col));
    if (col == 17) field = "60";
    if (col == 21) field = "30";
    if (col == 26) field = "50";
    if (col == 28 || col == 31 || col == 34 || col == 39) field = "0";
    preset += field + ", ";
  }
  ApplyTheme(view, preset);
  ExpectTexts(view, {{Fire(13), "50"}, {Fire(16), "0"}, {Fire(11), "50"}});
}

// Loads and resets: the order of the writes decides the result.
TEST_F(PropsSession, StoreOverBudgetEndsAsTheIndexOrderLeavesIt) {
  MemoryStore store;
  store.Write("General", "AnimationType", "0");
  store.Write("Fireworks", "FireScintPct", "60");
  store.Write("Fireworks", "FireMultiPct", "60");
  store.Write("Fireworks", "FireWorks", "50");
  store.Write("Fireworks", "FireSparks", "9999");
  EXPECT_FALSE(OpenPropsFromStore(view, store));
  // 13 cuts 11 to 40; 16, 25, 28 and 31 each keep their 10 only while budget remains; the
  // decaying stars come last and give the twisters first claim, so 13 ends at 40.
  EXPECT_EQ(Shares(), (Strings{"40", "40", "0", "0", "0", "10", "10"}));
  // Shells first (50 caps the still-small sparks field at nothing), then sparks 9999 caps shells.
  ExpectTexts(view, {{Fire(0), "3"}, {Fire(1), "9999"}});
  EXPECT_FALSE(model.InRuleWrite());
}

TEST_F(PropsSession, FirstOpeningAndResetShowTheFactoryTexts) {
  MemoryStore store;
  EXPECT_TRUE(OpenPropsFromStore(view, store));
  const Strings factory = {"0", "20", "10", "10", "10", "10", "10"};
  EXPECT_EQ(Shares(), factory);
  EXPECT_EQ(view.Text(Fire(6)), "0.015");
  EXPECT_EQ(view.Box({Control::PicPixHue, 2}).color, 255u << 16);
  view.Enter(Fire(13), "95");
  EXPECT_EQ(view.Text(Fire(50)), "0");
  ResetPropsToFactory(view, store);
  EXPECT_EQ(Shares(), factory);
}

}  // namespace
}  // namespace glintora
