#include "dialogs/transfers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "dialogs/template_dialog.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"

namespace glintora {
namespace {

using namespace testing;
const char* const kRussian = "\xD0\xA1 \xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xBC";

// The factory text of every txtFire box, boxes 0..36 then 50..53.
constexpr const char* kFactoryByBox =
    "12 1200 5 1 6 0.97 0.015 3 0.15 7 8 0 9 20 25 16 10 20 12 3 50 125 1 60 0.85 10 25 5 10 3 5 "
    "10 12 15 2 25 40 10 80 300 80";

// Every firework box holds its factory text; and so does the store, when given.
void ExpectFactoryFireworks(MemoryDialogView& dialog, Store* store) {
  std::istringstream factory(kFactoryByBox);
  std::string text;
  for (int box = 0; factory >> text; box = box == 36 ? 50 : box + 1) {
    EXPECT_EQ(dialog.Text(Fire(box)), text) << "box " << box;
    if (!store) continue;
    const SettingDef* def = FireworkForBox(box);
    std::string stored;
    EXPECT_TRUE(def && store->Read(def->section, def->key, stored) && stored == text) << box;
  }
}

class Transfers : public ::testing::Test {
 protected:
  TempDir dir;
  Templates templates{dir.File("look.glx")};
  MemoryStore store;
  MemoryDialogView dialog;
};

TEST_F(Transfers, FirstUseWritesEveryFactoryValueOnce) {
  EXPECT_TRUE(OpenPropsFromStore(dialog, store));
  ExpectFactoryFireworks(dialog, &store);
  ExpectStored(store, {{"General", "AnimationType", "0"}, {"Fireworks", "FireMultiMoment", "1"},
                       {"PixelColor", "ColorHueWheel", "60"},
                       {"Advanced", "FocalLength", "1.0"},  // reset texts go in as written
                       {"Advanced", "LockMessage", ""}, {"SoundFX", "SoundFX_ON", "0"}});
  // A marker that is not a number counts as never initialised. (With a number the opening only
  // loads: the properties session and the Windows dialog open stored values.)
  WriteAll(store, {{"Fireworks", "FireWorks", "40"}, {"General", "AnimationType", "x"}});
  MemoryDialogView again;
  EXPECT_TRUE(OpenPropsFromStore(again, store));
  EXPECT_EQ(again.Text(Fire(0)), "12");
}

TEST_F(Transfers, LoadReadsEachKeyWithItsReaderAndSaveStoresLeadingNumbers) {
  // DecayMSize reads as a whole number (half to even), DecayMLife as a single; "abc" and a
  // value that does not fit give the default; only 1 turns a check box on.
  WriteAll(store, {{"Fireworks", "FireTwistRad", "2.5"}, {"Fireworks", "FireDecayMSize", "300.5"},
                   {"Fireworks", "FireDecayMLife", "80.25"}, {"Fireworks", "FirePersist", "abc"},
                   {"Fireworks", "FireMultiMoment", "2"}, {"Fireworks", "FireBurstShell", "0"},
                   {"General", "ColorRed", "40000"}});
  LoadPropsFromStore(dialog, store);
  ExpectTexts(dialog, {{Fire(34), "2.5"}, {Fire(52), "300"}, {Fire(53), "80.25"}, {Fire(5), "0.97"},
                       {Fire(6), "0.015"}, {Hue(0), "100"}, {Col(0), "0"}});
  EXPECT_EQ(dialog.CheckValue({Control::ChkMultiMom, 0}) + dialog.CheckValue({Control::ChkJetBurst, 0}), 0);

  for (auto [id, text] : {std::pair{Fire(3), ""}, {Fire(4), "1.50"}, {Fire(6), "0.0"}, {Fire(7), "7x"}, {Col(2), "abc"}})
    dialog.SetText(id, text);
  for (Control check : {Control::ChkMultiMom, Control::ChkJetBurst}) dialog.SetCheckValue({check, 0}, 1);
  SavePropsToStore(dialog, store);
  ExpectStored(store, {{"Fireworks", "FireSymmetry", "0"}, {"Fireworks", "FireSpeed", "1.5"},
                       {"Fireworks", "FireGravity", "0"}, {"Fireworks", "FireSizeDev", "7"},
                       {"PixelColor", "ColorHueWheel", "0"}, {"Fireworks", "FireBurstShell", "1"},
                       {"Fireworks", "FireMultiMoment", "1"}, {"General", "AnimationType", "0"}});
}

TEST_F(Transfers, SavedTemplateHasAdminFirstAndTheDialogsValues) {
  // The stored texts are copied as they stand.
  WriteAll(store, {{"Advanced", "FocalLength", "2.50"}, {"Advanced", "LockMessage", kRussian},
                   {"SoundFX", "SoundFX_ON", "1"}});
  LoadPropsFromStore(dialog, store);
  dialog.SetText(Fire(5), "0.960"), dialog.SetText(Fire(10), "");  // edits not yet accepted
  dialog.SetCheckValue({Control::ChkMultiMom, 0}, 0);
  std::string reason;
  EXPECT_TRUE(SaveTemplateFile(dialog, store, templates, reason));

  const std::string file = TempDir::Read(templates.CurrentTemplatePath);
  std::string sections;
  for (auto at = file.find('['); at != std::string::npos; at = file.find('[', at + 1)) {
    sections += file.substr(at, file.find(']', at) - at + 1);
  }
  EXPECT_EQ(sections, "[Admin][Advanced][SoundFX][General][PixelColor][Fireworks]");
  const char* rows[][3] = {
      {"Admin", "Product", "Glintora Fireworks"}, {"Advanced", "FocalLength", "2.50"}, {"Advanced", "Adv_TimeDelay", "40"},
      {"Advanced", "LockMessage", kRussian}, {"Fireworks", "FirePersist", "0.96"}, {"Fireworks", "FireSplineKnot", "0"},
      {"Fireworks", "FireMultiMoment", "0"}, {"Fireworks", "FireBurstShell", "1"}, {"General", "ColorRed", "100"},
      {"SoundFX", "SoundFX_ON", "1"}};
  for (const auto& row : rows) EXPECT_EQ(ProfileReadText(templates, row[0], row[1], "?"), row[2]) << row[1];
  EXPECT_EQ(file.find("AnimationType"), std::string::npos);
  // The Fireworks keys in box order, the two flags last.
  std::size_t at = 0;
  for (const char* key : {"FireDamping=", "FireSplinePct=", "FirePatternPct=", "FireDecayPct=", "FireDecayMLife=",
                          "FireMultiMoment="}) {
    const std::size_t next = file.find(key);
    EXPECT_LT(at, next) << key;
    at = next;
  }
}

TEST_F(Transfers, TemplateLoadTakesTextsAsTheyStand) {
  TempDir::Write(templates.CurrentTemplatePath,
                 "[General]\r\nColorRed=55\r\n[PixelColor]\r\nColorPctInt=30 \r\n"
                 "[Advanced]\r\nFocalLength=  2.0\r\nLockMessage=  hi there  \r\n"
                 "[SoundFX]\r\nSoundFX_ON=1\r\n");
  store.Write("Fireworks", "FireWorks", "40");
  LoadTemplateFile(dialog, store, templates);
  ExpectTexts(dialog, {{Hue(0), "55"}, {Hue(1), "100"}, {Col(0), "30"}, {Col(2), "60"}});
  // No Fireworks section: every firework box gets its default text, the check boxes are checked.
  ExpectFactoryFireworks(dialog, nullptr);
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 1);
  // Advanced and sound values reach the store at once; fireworks only when the dialog saves.
  ExpectStored(store, {{"Advanced", "FocalLength", "2.0"}, {"Advanced", "LockMessage", "hi there"},
                       {"Advanced", "Adv_FontName", "Arial"}, {"SoundFX", "SoundFX_ON", "1"},
                       {"Fireworks", "FireWorks", "40"}});

  TempDir::Write(templates.CurrentTemplatePath,
                 "[Fireworks]\r\nFirePersist=abc\r\nFireWorks=1.50\r\nFireBurstShell=0\r\n");
  LoadTemplateFile(dialog, store, templates);
  ExpectTexts(dialog, {{Fire(5), "abc"}, {Fire(0), "1.50"}});
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 0);
}

// A save is one replacement of the whole file: when it fails the old file is left as it was and
// the reason comes back; the message says the file was left as it was only when it was.
TEST_F(Transfers, ASaveThatFailsLeavesTheOldFileWholeAndSaysWhy) {
  const std::string old = "; mine\r\n[Fireworks]\r\nFireWorks=7\r\n";
  LoadPropsFromStore(dialog, store);
  FailingFiles unwritten(FailingFiles::Step::Write);
  FailingFiles asideForGood(FailingFiles::Step::TargetAside, true);
  const struct { FailingFiles& files; bool kept; } rows[] = {{unwritten, true}, {asideForGood, false}};
  for (const auto& row : rows) {
    TempDir::Write(templates.CurrentTemplatePath, old);
    templates.Files = &row.files;
    std::string reason;
    EXPECT_FALSE(SaveTemplateFile(dialog, store, templates, reason));
    EXPECT_EQ(row.files.writes, 1) << "one whole-file write per save";
    EXPECT_EQ(reason.rfind(FailingFiles::kReason, 0), 0u) << reason;
    const bool there = std::filesystem::exists(templates.CurrentTemplatePath);
    EXPECT_EQ(there ? TempDir::Read(templates.CurrentTemplatePath) : "", row.kept ? old : "");
    const std::string message = SaveFailedMessage(templates.CurrentTemplatePath, reason);
    EXPECT_NE(message.find(reason), std::string::npos) << message;
    EXPECT_EQ(message.find("The file was left as it was.") != std::string::npos, row.kept) << message;
  }
}

}  // namespace
}  // namespace glintora
