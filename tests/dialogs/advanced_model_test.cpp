#include "dialogs/advanced_model.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "dialog_test_util.h"
#include "settings/memory_store.h"
#include "settings/templates.h"

namespace glintora {
namespace {

using testing::ExpectTexts;

ControlId Box(int i) { return {Control::TxtAdv, i}; }
const ControlId kMessage{Control::TxtMessage, 0};

// Rows of {key in [Advanced], text as stored}.
void ExpectStored(MemoryStore& store, std::initializer_list<std::pair<const char*, const char*>> rows) {
  for (const auto& [key, expected] : rows) {
    std::string text;
    EXPECT_EQ(store.Read("Advanced", key, text) ? text : "<absent>", expected) << key;
  }
}

class AdvancedSession : public ::testing::Test {
 protected:
  AdvancedSession() : model(view, store, {"Courier", "Arial", "Tahoma"}) { view.SetListener(&model); }
  MemoryDialogView view;
  MemoryStore store;
  AdvancedModel model;
};

TEST_F(AdvancedSession, OpensWithStoredTextsAsTheyStand) {
  store.Write("Advanced", "Adv_TimeDelay", "1500");
  store.Write("Advanced", "Adv_FontName", "arial");  // case matters: not found, first font
  store.Write("Advanced", "Adv_WinResize", "1");
  store.Write("Advanced", "Adv_MouseMove", "yes");
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
  ExpectStored(store, {{"Adv_TimeDelay", "999"}, {"FocalLength", "0.5"}, {"LockMessage", "Hello"},
                       {"Adv_FontName", "Tahoma"}, {"Adv_FontSize", "24"}, {"Adv_WinResize", "1"},
                       {"Adv_MouseMove", "0"}});
}

TEST_F(AdvancedSession, FocusLossClampsAndSteps) {
  model.Open();
  view.Enter(Box(0), "\b");
  view.Enter(Box(6), "0");
  EXPECT_EQ(view.Text(Box(0)), "0");
  view.Enter(Box(4), "12");
  EXPECT_EQ(view.Text(Box(6)), "0.01");
  view.Enter(Box(6), "12.5");
  view.FocusElsewhere();
  EXPECT_EQ(view.Text(Box(6)), "10");
  view.Enter(Box(0), "995");
  view.PressArrow(Box(0), true);
  EXPECT_EQ(view.Text(Box(0)), "999");
  view.Enter(Box(4), "10");
  view.PressArrow(Box(4), false);
  EXPECT_EQ(view.Text(Box(4)), "10");
  EXPECT_FALSE(view.PressArrow(Box(6), true));  // focal length has no arrow handling
  view.ClickSpinner({Control::SpnAdv, 5}, true);
  EXPECT_EQ(view.Text(Box(5)), "185");
  // A second '.' beeps unless the first is selected.
  view.Enter(Box(6), "1.5");
  const int beeps = view.Beeps();
  view.Type(Box(6), ".");
  EXPECT_EQ(view.Text(Box(6)), "1.5");
  EXPECT_EQ(view.Beeps(), beeps + 1);
  EXPECT_FALSE(model.OnKeyPress(Box(0), '.'));
  EXPECT_TRUE(model.OnKeyPress(kMessage, ' '));
}

TEST_F(AdvancedSession, DefaultsShowButDoNotStore) {
  store.Write("Advanced", "Adv_FontSize", "60");
  store.Write("Advanced", "Adv_WinResize", "1");
  model.Open();
  model.Defaults();
  ExpectTexts(view, {{Box(4), "24"}, {Box(6), "1.0"}});
  EXPECT_EQ(model.FontName(), "Arial");
  EXPECT_EQ(view.CheckValue({Control::ChkResize, 0}), 0);
  ExpectStored(store, {{"Adv_FontSize", "60"}});  // Cancel now would leave the store alone
  model.Ok();
  ExpectStored(store, {{"Adv_FontSize", "24"}, {"FocalLength", "1"}});  // OK normalises "1.0"

  MemoryDialogView bare;
  MemoryStore empty;
  AdvancedModel noFonts(bare, empty, {});
  noFonts.Open();
  EXPECT_EQ(noFonts.FontIndex(), -1);
  noFonts.Ok();
  ExpectStored(empty, {{"Adv_FontName", ""}});
}

// The sound effects box shows exactly "1" as checked, stores "1" or "0" in [SoundFX] on OK, and
// what it stored travels through a template into another store and back into the box.
TEST_F(AdvancedSession, SoundBoxRoundTripsThroughStoreAndTemplate) {
  const ControlId sound{Control::ChkSound, 0};
  const struct {
    const char* stored;  // null: absent
    int shown;
  } rows[] = {{"1", 1}, {"0", 0}, {"yes", 0}, {" 1", 0}, {"-1", 0}, {nullptr, 0}};
  for (const auto& r : rows) {
    MemoryDialogView v;
    MemoryStore s;
    AdvancedModel m(v, s, {"Arial"});
    if (r.stored) s.Write("SoundFX", "SoundFX_ON", r.stored);
    m.Open();
    EXPECT_EQ(v.CheckValue(sound), r.shown) << (r.stored ? r.stored : "absent");
    m.Ok();
    std::string text;
    EXPECT_TRUE(s.Read("SoundFX", "SoundFX_ON", text));
    EXPECT_EQ(text, r.shown ? "1" : "0");
  }

  store.Write("SoundFX", "SoundFX_ON", "1");
  model.Open();
  model.Defaults();
  EXPECT_EQ(view.CheckValue(sound), 0);
  view.SetCheckValue(sound, 1);
  model.Ok();
  Templates templates{::testing::TempDir() + "glintora_sound.glx"};
  std::remove(templates.CurrentTemplatePath.c_str());
  ProfileEdit edit(templates);
  CopyStoreKeyToProfile(store, edit, "SoundFX", "SoundFX_ON", "0");
  ASSERT_TRUE(edit.Commit()) << edit.Reason();
  MemoryStore other;
  ASSERT_TRUE(CopyProfileKeyToStore(other, templates, "SoundFX", "SoundFX_ON", "0"));
  std::remove(templates.CurrentTemplatePath.c_str());
  MemoryDialogView shown;
  AdvancedModel reopened(shown, other, {"Arial"});
  reopened.Open();
  EXPECT_EQ(shown.CheckValue(sound), 1);
}

}  // namespace
}  // namespace glintora
