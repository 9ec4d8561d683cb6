#include "dialogs/advanced_model.h"

#include <gtest/gtest.h>

#include <tuple>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "settings/memory_store.h"

namespace glintora {
namespace {

using namespace testing;

ControlId Box(int i) { return {Control::TxtAdv, i}; }
const ControlId kMessage{Control::TxtMessage, 0}, kSound{Control::ChkSound, 0}, kResize{Control::ChkResize, 0},
    kMouse{Control::ChkMouseM, 0};

class AdvancedSession : public ::testing::Test {
 protected:
  AdvancedSession() : model(view, store, {"Courier", "Arial", "Tahoma"}) { view.SetListener(&model); }
  MemoryDialogView view;
  MemoryStore store;
  AdvancedModel model;
};

TEST_F(AdvancedSession, OpensWithStoredTextsAsTheyStand) {
  // Font names match with case: "arial" is not found, so the first font is chosen. Only a stored
  // "1" checks a box.
  WriteAll(store, {{"Advanced", "Adv_TimeDelay", "1500"}, {"Advanced", "Adv_FontName", "arial"},
                   {"Advanced", "Adv_WinResize", "1"}, {"Advanced", "Adv_MouseMove", "yes"},
                   {"SoundFX", "SoundFX_ON", " 1"}});
  model.Open();
  ExpectTexts(view, {{Box(0), "1500"}, {Box(4), "24"}, {Box(5), "180"}, {Box(6), "1.0"}});
  EXPECT_EQ(model.FontName(), "Courier");
  EXPECT_EQ(view.Box(kMessage).color, 0xFFFF37u);  // hue 180: cyan
  EXPECT_EQ(view.Spin({Control::SpnAdv, 5}).step, 5);
  for (auto [box, length] : {std::pair{Box(0), 3}, {Box(4), 2}, {Box(5), 3}, {Box(6), 6}, {kMessage, 100}})
    EXPECT_EQ(view.Box(box).max_length, length) << box.index;
  // The delay beyond its range becomes 999 on OK; everything is written in its form, the three
  // check boxes as they were shown.
  Play(view, {{'e', kMessage, "  Hello  "}, {'e', Box(6), ".5"}, {'b'}});
  model.ChooseFont(2), model.ChooseFont(3);  // there is no fourth font: Tahoma stays
  model.Ok();
  ExpectStored(store, {{"Advanced", "Adv_TimeDelay", "999"}, {"Advanced", "FocalLength", "0.5"},
                       {"Advanced", "LockMessage", "Hello"}, {"Advanced", "Adv_FontName", "Tahoma"},
                       {"Advanced", "Adv_FontSize", "24"}, {"Advanced", "Adv_WinResize", "1"},
                       {"Advanced", "Adv_MouseMove", "0"}, {"SoundFX", "SoundFX_ON", "0"}});
}

// Focus loss clamps; Up/Down apply only the bound on the side of travel and step to whole numbers.
TEST_F(AdvancedSession, FocusLossClampsAndSteps) {
  model.Open();
  Play(view, {{'e', Box(0), "\b"}, {'e', Box(6), "0", Box(0), "0"}, {'e', Box(4), "12", Box(6), "0.01"},
             {'e', Box(6), "12.5"}, {'b', kSelf, "", Box(6), "10"},
             {'p', Box(0), "2.6"}, {'u', Box(0), "", kSelf, "13"},
             {'e', Box(0), "995"}, {'u', Box(0), "", kSelf, "999"},
             {'e', Box(4), "\b"}, {'d', Box(4), "", kSelf, "10"},
             {'p', Box(5), "400"}, {'d', Box(5), "", kSelf, "395"},
             {'+', {Control::SpnAdv, 5}, "", Box(5), "185"}});  // the spinner kept 180
  EXPECT_FALSE(view.PressArrow(Box(6), true));  // focal length has no arrow handling
}

// The shared field rules as this dialog wires them: digit and decimal keys, select-all on focus.
TEST_F(AdvancedSession, KeysAndSelection) {
  // Beeps for a, -, blank and '.'. The focus selects the whole text, so '.' replaces "0.5"; a selection
  // that holds the '.' lets a new one replace it, then a second '.' beeps.
  const std::tuple<ControlId, TextSelection, const char*, const char*, int> rows[] = {
      {Box(0), {}, "1a-2 .3\b", "12", 4}, {Box(6), {}, ".", ".", 4}, {Box(6), {0, 2}, "..", ".5", 5}};
  for (const auto& [box, selection, typed, text, beeps] : rows) {
    view.MutableBox(box) = {box == Box(6) ? "0.5" : "", selection};
    view.Type(box, typed);
    EXPECT_EQ(std::make_pair(view.Text(box), view.Beeps()), std::make_pair(std::string(text), beeps)) << typed;
  }
  EXPECT_FALSE(DecimalKeyAllowed("1.2", "2", '.'));
  view.MutableBox(Box(5)) = {"180", {1, 0}, 0, true};  // a read-only box keeps its caret
  view.Focus(Box(5));
  EXPECT_EQ(view.Selection(Box(5)).length, 0);
}

// Defaults clear the three check boxes; OK stores the factory texts, "1.0" normalised.
TEST_F(AdvancedSession, DefaultsThenOk) {
  WriteAll(store, {{"Advanced", "Adv_FontSize", "60"}, {"Advanced", "Adv_WinResize", "1"},
                   {"Advanced", "Adv_MouseMove", "1"}, {"SoundFX", "SoundFX_ON", "1"}});
  model.Open();
  // The three boxes as stored; the factory font, found by its name.
  EXPECT_EQ(std::make_tuple(view.CheckValue(kResize), view.CheckValue(kMouse), view.CheckValue(kSound)),
            std::make_tuple(1, 1, 1));
  EXPECT_EQ(model.FontName(), "Arial");
  model.Defaults();
  model.Ok();
  ExpectStored(store, {{"Advanced", "Adv_FontSize", "24"}, {"Advanced", "FocalLength", "1"},
                       {"Advanced", "Adv_WinResize", "0"}, {"Advanced", "Adv_MouseMove", "0"},
                       {"SoundFX", "SoundFX_ON", "0"}});

  MemoryDialogView bare;
  MemoryStore empty;
  AdvancedModel noFonts(bare, empty, {});
  noFonts.Open();
  EXPECT_EQ(noFonts.FontIndex(), -1);
  noFonts.Ok();
  ExpectStored(empty, {{"Advanced", "Adv_FontName", ""}, {"Advanced", "Adv_WinResize", "0"}});
}

}  // namespace
}  // namespace glintora
