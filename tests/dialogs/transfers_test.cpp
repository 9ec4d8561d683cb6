#include "dialogs/transfers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "../settings/test_util.h"
#include "dialog_test_util.h"
#include "dialogs/template_dialog.h"
#include "settings/memory_store.h"
#include "settings/settings_table.h"
#include "settings/themes.h"

namespace glintora {
namespace {

using namespace testing;
const char* const kRussian = "\xD0\xA1 \xD0\x9D\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xBC";

// Every firework box holds its factory text; and the store every setting's, when given.
void ExpectFactory(MemoryDialogView& dialog, Store* store) {
  for (const char* row : kSettingRows) {
    const std::string section = CsvField(row, 1), key = CsvField(row, 0), box = CsvField(row, 7);
    const std::string text = CsvField(row, 3);
    if (section == "Fireworks" && box != "-") EXPECT_EQ(dialog.Text(Fire(std::stoi(box))), text) << key;
    std::string stored;
    EXPECT_TRUE(!store || (store->Read(section, key, stored) && stored == text)) << key << " " << stored;
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
  ExpectFactory(dialog, &store);  // reset texts go in as written: FocalLength stays "1.0"
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
  const char* rows[][3] = {
      {"Admin", "Product", "Glintora Fireworks"}, {"Advanced", "FocalLength", "2.50"}, {"Advanced", "Adv_TimeDelay", "40"},
      {"Advanced", "LockMessage", kRussian}, {"Fireworks", "FirePersist", "0.96"}, {"Fireworks", "FireSplineKnot", "0"},
      {"Fireworks", "FireMultiMoment", "0"}, {"Fireworks", "FireBurstShell", "1"}, {"General", "ColorRed", "100"},
      {"SoundFX", "SoundFX_ON", "1"}};
  for (const auto& row : rows) EXPECT_EQ(ProfileReadText(templates, row[0], row[1], "?"), row[2]) << row[1];
  EXPECT_EQ(file.find("AnimationType"), std::string::npos);
  // Six sections, [Admin] first; the Fireworks keys in box order, the two flags last.
  EXPECT_EQ(std::count(file.begin(), file.end(), '['), 6);
  std::size_t at = 0;
  for (const char* mark : {"[Admin]", "[Advanced]", "[SoundFX]", "[General]", "[PixelColor]", "[Fireworks]",
                           "FireDamping=", "FireSplinePct=", "FirePatternPct=", "FireDecayPct=", "FireDecayMLife=",
                           "FireMultiMoment="}) {
    const std::size_t next = file.find(mark);
    EXPECT_TRUE(next != std::string::npos && at <= next) << mark;
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
  ExpectFactory(dialog, nullptr);
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
  LoadPropsFromStore(dialog, store);
  FailingFiles asideForGood(FailingFiles::Step::TargetAside, true);
  TempDir::Write(templates.CurrentTemplatePath, "; mine\r\n");
  templates.Files = &asideForGood;
  std::string reason;
  EXPECT_FALSE(SaveTemplateFile(dialog, store, templates, reason));
  EXPECT_EQ(asideForGood.writes, 1) << "one whole-file write per save";
  EXPECT_EQ(reason.rfind(FailingFiles::kReason, 0), 0u) << reason;
  EXPECT_FALSE(std::filesystem::exists(templates.CurrentTemplatePath));
  const std::string kept = "The file was left as it was.";
  for (const std::string& why : {reason, std::string(FailingFiles::kReason)}) {
    const std::string message = SaveFailedMessage(templates.CurrentTemplatePath, why);
    EXPECT_NE(message.find(why), std::string::npos) << message;
    EXPECT_EQ(message.find(kept) != std::string::npos, why != reason) << message;
  }
}

}  // namespace
}  // namespace glintora
