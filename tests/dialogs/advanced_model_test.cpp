#include "dialogs/advanced_model.h"

#include <gtest/gtest.h>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "settings/memory_store.h"

namespace glintora {
namespace {

using namespace testing;

ControlId Box(int i) { return {Control::TxtAdv, i}; }
const ControlId kMessage{Control::TxtMessage, 0};

class AdvancedSession : public ::testing::Test {
 protected:
  AdvancedSession() : model(view, store, {"Courier", "Arial", "Tahoma"}) { view.SetListener(&model); }
  MemoryDialogView view;
  MemoryStore store;
  AdvancedModel model;
};

TEST_F(AdvancedSession, OpensWithStoredTextsAsTheyStand) {
  // Font names match with case: "arial" is not found, so the first font is chosen.
  WriteAll(store, {{"Advanced", "Adv_TimeDelay", "1500"}, {"Advanced", "Adv_FontName", "arial"},
                   {"Advanced", "Adv_WinResize", "1"}, {"Advanced", "Adv_MouseMove", "yes"}});
  model.Open();
  ExpectTexts(view, {{Box(0), "1500"}, {Box(4), "24"}, {Box(5), "180"}, {Box(6), "1.0"}});
  EXPECT_EQ(model.FontName(), "Courier");
  EXPECT_EQ(view.CheckValue({Control::ChkResize, 0}), 1);
  EXPECT_EQ(view.CheckValue({Control::ChkMouseM, 0}), 0);
  EXPECT_EQ(view.Box(kMessage).color, 0xFFFF37u);  // hue 180: cyan
  EXPECT_EQ(view.Spin({Control::SpnAdv, 0}).step, 10);
  EXPECT_EQ(view.Spin({Control::SpnAdv, 5}).step, 5);
  // The delay beyond its range becomes 999 on OK; everything is written in its form.
  view.Enter(kMessage, "  Hello  ");
  view.Enter(Box(6), ".5");
  model.ChooseFont(2);
  view.FocusElsewhere();
  model.Ok();
  ExpectStored(store, {{"Advanced", "Adv_TimeDelay", "999"}, {"Advanced", "FocalLength", "0.5"},
                       {"Advanced", "LockMessage", "Hello"}, {"Advanced", "Adv_FontName", "Tahoma"},
                       {"Advanced", "Adv_FontSize", "24"}, {"Advanced", "Adv_WinResize", "1"},
                       {"Advanced", "Adv_MouseMove", "0"}});
}

TEST_F(AdvancedSession, FocusLossClampsAndSteps) {
  model.Open();
  Play(view, {{'e', Box(0), "\b"}, {'e', Box(6), "0", Box(0), "0"}, {'e', Box(4), "12", Box(6), "0.01"},
             {'e', Box(6), "12.5"}, {'b', kSelf, "", Box(6), "10"},
             {'e', Box(0), "995"}, {'u', Box(0), "", kSelf, "999"},
             {'e', Box(4), "10"}, {'d', Box(4), "", kSelf, "10"},
             {'+', {Control::SpnAdv, 5}, "", Box(5), "185"}, {'e', Box(6), "1.5"}});
  EXPECT_FALSE(view.PressArrow(Box(6), true));  // focal length has no arrow handling
  // A second '.' beeps unless the first is selected.
  const int beeps = view.Beeps();
  view.Type(Box(6), ".");
  EXPECT_EQ(view.Text(Box(6)), "1.5");
  EXPECT_EQ(view.Beeps(), beeps + 1);
  EXPECT_FALSE(model.OnKeyPress(Box(0), '.'));
  EXPECT_TRUE(model.OnKeyPress(kMessage, ' '));
}

// The shared field rules as this dialog wires them: digit and decimal keys, select-all on focus.
TEST_F(AdvancedSession, KeysAndSelection) {
  view.Type(Box(0), "1a-2 .3\b");
  EXPECT_EQ(view.Text(Box(0)), "12");
  EXPECT_EQ(view.Beeps(), 4);  // a, -, blank, '.'
  view.MutableBox(Box(6)).text = "0.5";
  view.Type(Box(6), ".");  // the focus selected the whole text, so '.' replaced it
  EXPECT_EQ(view.Text(Box(6)), ".");
  // A selection that holds the '.' lets a new one replace it.
  view.MutableBox(Box(6)) = {"0.5", {1, 1}};
  view.Type(Box(6), ".");
  EXPECT_EQ(view.Text(Box(6)), "0.5");
  EXPECT_EQ(view.Beeps(), 4);
  EXPECT_FALSE(DecimalKeyAllowed("1.2", "2", '.'));
  EXPECT_TRUE(DecimalKeyAllowed("1.2", "", kBackspace));
  view.MutableBox(Box(4)).text = "42";
  view.Focus(Box(4));
  EXPECT_EQ(view.Selection(Box(4)).length, 2);
  view.MutableBox(Box(5)) = {"180", {1, 0}, 0, true};  // a read-only box keeps its caret
  view.Focus(Box(5));
  EXPECT_EQ(view.Selection(Box(5)).length, 0);
}

TEST_F(AdvancedSession, DefaultsShowButDoNotStore) {
  WriteAll(store, {{"Advanced", "Adv_FontSize", "60"}, {"Advanced", "Adv_WinResize", "1"}});
  model.Open();
  model.Defaults();
  ExpectTexts(view, {{Box(4), "24"}, {Box(6), "1.0"}});
  EXPECT_EQ(model.FontName(), "Arial");
  EXPECT_EQ(view.CheckValue({Control::ChkResize, 0}), 0);
  ExpectStored(store, {{"Advanced", "Adv_FontSize", "60"}});  // Cancel now would leave the store alone
  model.Ok();
  // OK normalises "1.0".
  ExpectStored(store, {{"Advanced", "Adv_FontSize", "24"}, {"Advanced", "FocalLength", "1"}});

  MemoryDialogView bare;
  MemoryStore empty;
  AdvancedModel noFonts(bare, empty, {});
  noFonts.Open();
  EXPECT_EQ(noFonts.FontIndex(), -1);
  noFonts.Ok();
  ExpectStored(empty, {{"Advanced", "Adv_FontName", ""}});
}

// The sound effects box shows exactly "1" as checked and stores "1" or "0" in [SoundFX] on OK;
// Defaults clears it.
TEST_F(AdvancedSession, SoundBoxShowsOnlyOneAsChecked) {
  const ControlId sound{Control::ChkSound, 0};
  const std::pair<const char*, int> rows[] = {{"1", 1}, {"yes", 0}, {" 1", 0}, {"-1", 0}, {nullptr, 0}};
  for (const auto& [stored, shown] : rows) {
    MemoryDialogView v;
    MemoryStore s;
    AdvancedModel m(v, s, {"Arial"});
    if (stored) s.Write("SoundFX", "SoundFX_ON", stored);
    m.Open();
    EXPECT_EQ(v.CheckValue(sound), shown) << (stored ? stored : "absent");
    m.Ok();
    ExpectStored(s, {{"SoundFX", "SoundFX_ON", shown ? "1" : "0"}});
  }
  store.Write("SoundFX", "SoundFX_ON", "1");
  model.Open();
  model.Defaults();
  EXPECT_EQ(view.CheckValue(sound), 0);
}

}  // namespace
}  // namespace glintora
