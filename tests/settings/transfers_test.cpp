#include "settings/transfers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/memory_store.h"
#include "settings/settings_table.h"

namespace glintora {
namespace {

namespace fs = std::filesystem;

ControlId Fire(int i) { return {Control::TxtFire, i}; }

std::string Stored(MemoryStore& store, const std::string& section, const std::string& key) {
  std::string text;
  return store.Read(section, key, text) ? text : "<absent>";
}

class Transfers : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("glintora_transfers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    templates.CurrentTemplatePath = (dir / "look.glx").string();
  }
  void TearDown() override { fs::remove_all(dir); }
  void WriteFile(const std::string& text) {
    std::ofstream(templates.CurrentTemplatePath, std::ios::binary) << text;
  }
  std::string ReadFile() {
    std::ifstream in(templates.CurrentTemplatePath, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir;
  Templates templates;
  MemoryStore store;
  MemoryDialogView dialog;
};

TEST_F(Transfers, FirstUseWritesEveryFactoryValueOnce) {
  EXPECT_TRUE(OpenPropsFromStore(dialog, store));
  EXPECT_EQ(Stored(store, "General", "AnimationType"), "0");
  for (const SettingDef* def : FireworkBoxOrder()) {
    std::string expected = def->defaultText;
    EXPECT_EQ(Stored(store, def->section, def->key), expected) << def->key;
    EXPECT_EQ(dialog.Text(Fire(def->boxIndex)), expected) << def->key;
  }
  EXPECT_EQ(Stored(store, "Fireworks", "FireMultiMoment"), "1");
  EXPECT_EQ(Stored(store, "PixelColor", "ColorHueWheel"), "60");
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "1.0");  // reset texts go in as written
  EXPECT_EQ(Stored(store, "Advanced", "LockMessage"), "");
  EXPECT_EQ(Stored(store, "SoundFX", "SoundFX_ON"), "0");
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 1);

  // The next opening only loads.
  store.Write("Fireworks", "FireWorks", "40");
  MemoryDialogView again;
  EXPECT_FALSE(OpenPropsFromStore(again, store));
  EXPECT_EQ(again.Text(Fire(0)), "40");
  // A marker that is not a number counts as never initialised.
  store.Write("General", "AnimationType", "x");
  EXPECT_TRUE(OpenPropsFromStore(again, store));
  EXPECT_EQ(again.Text(Fire(0)), "12");
}

TEST_F(Transfers, LoadReadsEachKeyWithItsReader) {
  store.Write("Fireworks", "FireTwistRad", "2.5");
  store.Write("Fireworks", "FireDecayMSize", "300.5");  // read as a whole number, half to even
  store.Write("Fireworks", "FireDecayMLife", "80.25");  // read as a single
  store.Write("Fireworks", "FirePersist", "abc");       // not a number: the default
  store.Write("Fireworks", "FireMultiMoment", "2");     // only 1 is on
  store.Write("Fireworks", "FireBurstShell", "0");
  store.Write("General", "ColorRed", "40000");  // does not fit: the default
  LoadPropsFromStore(dialog, store);
  EXPECT_EQ(dialog.Text(Fire(34)), "2.5");
  EXPECT_EQ(dialog.Text(Fire(52)), "300");
  EXPECT_EQ(dialog.Text(Fire(53)), "80.25");
  EXPECT_EQ(dialog.Text(Fire(5)), "0.97");
  EXPECT_EQ(dialog.Text(Fire(6)), "0.015");
  EXPECT_EQ(dialog.Text({Control::TxtPixHue, 0}), "100");
  EXPECT_EQ(dialog.Text({Control::TxtPixCol, 0}), "0");
  EXPECT_EQ(dialog.CheckValue({Control::ChkMultiMom, 0}), 0);
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 0);
}

TEST_F(Transfers, SaveStoresLeadingNumbers) {
  LoadPropsFromStore(dialog, store);
  dialog.SetText(Fire(3), "");
  dialog.SetText(Fire(4), "1.50");
  dialog.SetText(Fire(6), "0.0");
  dialog.SetText(Fire(7), "7x");
  dialog.SetText({Control::TxtPixCol, 2}, "abc");
  dialog.SetCheckValue({Control::ChkJetBurst, 0}, 0);
  SavePropsToStore(dialog, store);
  EXPECT_EQ(Stored(store, "Fireworks", "FireSymmetry"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireSpeed"), "1.5");
  EXPECT_EQ(Stored(store, "Fireworks", "FireGravity"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireSizeDev"), "7");
  EXPECT_EQ(Stored(store, "PixelColor", "ColorHueWheel"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireBurstShell"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireMultiMoment"), "1");
  EXPECT_EQ(Stored(store, "General", "AnimationType"), "0");
}

TEST_F(Transfers, ResetStoresOnlyTheAdvancedAndSoundValues) {
  store.Write("Advanced", "FocalLength", "3");
  store.Write("SoundFX", "SoundFX_ON", "1");
  store.Write("Fireworks", "FireWorks", "40");
  dialog.SetText(Fire(0), "40");
  ResetPropsToFactory(dialog, store);
  EXPECT_EQ(dialog.Text(Fire(0)), "12");
  EXPECT_EQ(dialog.Text(Fire(5)), "0.97");
  EXPECT_EQ(dialog.Text({Control::TxtPixCol, 1}), "100");
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "1.0");
  EXPECT_EQ(Stored(store, "Advanced", "Adv_FontName"), "Arial");
  EXPECT_EQ(Stored(store, "SoundFX", "SoundFX_ON"), "0");
  EXPECT_EQ(Stored(store, "Fireworks", "FireWorks"), "40");  // until the dialog is saved
}

TEST_F(Transfers, SavedTemplateHasAdminFirstAndTheDialogsValues) {
  store.Write("Advanced", "FocalLength", "2.50");  // copied as it stands
  store.Write("Advanced", "LockMessage", "Happy New Year");
  LoadPropsFromStore(dialog, store);
  dialog.SetText(Fire(5), "0.960");  // an edit not yet accepted
  dialog.SetText(Fire(10), "");
  dialog.SetCheckValue({Control::ChkMultiMom, 0}, 0);
  SaveTemplateFile(dialog, store, templates);

  std::string file = ReadFile();
  std::vector<std::string> sections;
  std::istringstream lines(file);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') sections.push_back(line);
  }
  EXPECT_EQ(sections, (std::vector<std::string>{"[Admin]", "[Advanced]", "[SoundFX]", "[General]",
                                                "[PixelColor]", "[Fireworks]"}));
  EXPECT_EQ(ProfileReadText(templates, "Admin", "Product", ""), "Glintora Fireworks");
  EXPECT_EQ(ProfileReadText(templates, "Advanced", "FocalLength", ""), "2.50");
  EXPECT_EQ(ProfileReadText(templates, "Advanced", "Adv_TimeDelay", ""), "40");
  EXPECT_EQ(ProfileReadText(templates, "Advanced", "LockMessage", "?"), "Happy New Year");
  EXPECT_EQ(ProfileReadText(templates, "Fireworks", "FirePersist", ""), "0.96");
  EXPECT_EQ(ProfileReadText(templates, "Fireworks", "FireSplineKnot", ""), "0");
  EXPECT_EQ(ProfileReadText(templates, "Fireworks", "FireMultiMoment", ""), "0");
  EXPECT_EQ(ProfileReadText(templates, "Fireworks", "FireBurstShell", ""), "1");
  EXPECT_EQ(ProfileReadText(templates, "General", "ColorRed", ""), "100");
  EXPECT_EQ(file.find("AnimationType"), std::string::npos);
  // The Fireworks keys in box order, the two flags last.
  EXPECT_LT(file.find("FireDamping="), file.find("FireSplinePct="));
  EXPECT_LT(file.find("FirePatternPct="), file.find("FireDecayPct="));
  EXPECT_LT(file.find("FireDecayMLife="), file.find("FireMultiMoment="));
}

TEST_F(Transfers, TemplateLoadTakesTextsAsTheyStand) {
  WriteFile(
      "[General]\r\nColorRed=55\r\n[PixelColor]\r\nColorPctInt=30 \r\n"
      "[Advanced]\r\nFocalLength=  2.0\r\nLockMessage=  hi there  \r\n"
      "[SoundFX]\r\nSoundFX_ON=1\r\n");
  store.Write("Fireworks", "FireWorks", "40");
  LoadTemplateFile(dialog, store, templates);
  EXPECT_EQ(dialog.Text({Control::TxtPixHue, 0}), "55");
  EXPECT_EQ(dialog.Text({Control::TxtPixHue, 1}), "100");
  EXPECT_EQ(dialog.Text({Control::TxtPixCol, 2}), "60");
  // No Fireworks section: every firework box gets its default text, both boxes are checked.
  for (const SettingDef* def : FireworkBoxOrder()) {
    EXPECT_EQ(dialog.Text(Fire(def->boxIndex)), def->defaultText) << def->key;
  }
  EXPECT_EQ(dialog.CheckValue({Control::ChkMultiMom, 0}), 1);
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 1);
  // Advanced and sound values reach the store at once; fireworks only when the dialog saves.
  EXPECT_EQ(Stored(store, "Advanced", "FocalLength"), "2.0");
  EXPECT_EQ(Stored(store, "Advanced", "LockMessage"), "hi there");
  EXPECT_EQ(Stored(store, "Advanced", "Adv_FontName"), "Arial");
  EXPECT_EQ(Stored(store, "SoundFX", "SoundFX_ON"), "1");
  EXPECT_EQ(Stored(store, "Fireworks", "FireWorks"), "40");

  WriteFile("[Fireworks]\r\nFirePersist=abc\r\nFireWorks=1.50\r\nFireBurstShell=0\r\n");
  LoadTemplateFile(dialog, store, templates);
  EXPECT_EQ(dialog.Text(Fire(5)), "abc");
  EXPECT_EQ(dialog.Text(Fire(0)), "1.50");
  EXPECT_EQ(dialog.CheckValue({Control::ChkJetBurst, 0}), 0);
}

TEST_F(Transfers, TemplateRoundTripAndMissingFile) {
  LoadPropsFromStore(dialog, store);
  dialog.SetText(Fire(13), "35");
  dialog.SetText(Fire(22), "2.25");
  SaveTemplateFile(dialog, store, templates);
  MemoryDialogView other;
  LoadTemplateFile(other, store, templates);
  for (const SettingDef* def : FireworkBoxOrder()) {
    EXPECT_EQ(other.Text(Fire(def->boxIndex)), dialog.Text(Fire(def->boxIndex))) << def->key;
  }

  templates.CurrentTemplatePath = (dir / "missing" / "none.glx").string();
  MemoryDialogView fresh;
  LoadTemplateFile(fresh, store, templates);
  EXPECT_EQ(fresh.Text(Fire(1)), "1200");
  SaveTemplateFile(fresh, store, templates);  // a missing folder: silently nothing
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
}  // namespace glintora
