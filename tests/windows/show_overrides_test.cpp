#include "windows/show_overrides.h"

#include <gtest/gtest.h>

#include "settings/loaders.h"
#include "settings/memory_store.h"
#include "settings/store_ops.h"
#include "windows/override_store.h"
#include "windows/settings_report.h"

namespace glintora {
namespace {

std::string Read(Store& s, const char* section, const char* key) {
  return RegReadText(s, section, key, "<none>");
}

TEST(ShowOverrides, OverridesAreReadFirstAndNeverReachTheUserStore) {
  MemoryStore user;
  RegWriteText(user, "Fireworks", "FireWorks", 30);
  RegWriteText(user, "Fireworks", "FireLength", 9);
  OverrideStore run(user);
  ShowOptions options;
  options.theme = 6;  // ring world: 7 shells, rings only
  options.delayMs = 0;
  options.settings = {{"firesparks", "777"}, {"LockMessage", "  hello  "}};
  std::string error;
  ASSERT_TRUE(ApplyShowOverrides(run, options, error)) << error;
  const char* rows[][3] = {{"Fireworks", "FireWorks", "7"}, {"Fireworks", "FireRingPct", "100"},
                           {"Fireworks", "FireSparks", "777"}, {"Advanced", "Adv_TimeDelay", "0"},
                           {"Advanced", "LockMessage", "hello"}};
  for (const auto& row : rows) EXPECT_EQ(Read(run, row[0], row[1]), row[2]) << row[1];
  EXPECT_EQ(Read(user, "Fireworks", "FireWorks"), "30");
  EXPECT_EQ(user.Size(), 2u);

  SettingsRecord record;
  LoadFireParams(run, record);
  const std::string report = SettingsReport(record);
  EXPECT_NE(report.find(" FireWorks=7 FireSparks=777 "), std::string::npos) << report;
  EXPECT_NE(report.find(" FireRingDeg=0 "), std::string::npos) << report;
}

TEST(ShowOverrides, SettingsAreCheckedAgainstTheirDialogRanges) {
  MemoryStore user;
  OverrideStore run(user);
  std::string error;
  const std::pair<const char*, const char*> good[] = {
      {"FireWorks", "99"}, {"FireSymmetry", "0.5"}, {"FireMultiMoment", "0"},
      {"FocalLength", "0.01"}, {"Adv_MouseMove", "1"}, {"FireDecayMSize", "9999"},
      {"SoundFX_ON", "1"}};
  for (const auto& [key, value] : good) EXPECT_TRUE(ApplySettingOption(run, key, value, error)) << key;
  EXPECT_EQ(Read(run, "Fireworks", "FireSymmetry"), "0.5");

  const std::pair<const char*, const char*> bad[] = {
      {"FireWorks", "0"},    {"FireWorks", "100"},      {"FireWorks", "2.5"},
      {"FireSpeed", "0.05"}, {"FireSymmetry", "abc"},   {"FireMultiMoment", "2"},
      {"ColorHueWheel", "361"}, {"AnimationType", "0"}, {"SoundFX_ON", "2"},
      {"NoSuchKey", "1"},    {"FireSparks", ""}};
  for (const auto& [key, value] : bad) {
    error.clear();
    EXPECT_FALSE(ApplySettingOption(run, key, value, error)) << key << "=" << value;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(user.Size(), 0u);
}

}  // namespace
}  // namespace glintora
