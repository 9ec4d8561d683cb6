#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/numbers.h"

namespace glintora {
namespace {

TEST(SettingsTable, BoxesRunZeroToThirtySixThenFiftyToFiftyThree) {
  std::vector<int> boxes, expected;
  for (const SettingDef* def : FireworkBoxOrder()) boxes.push_back(def->boxIndex);
  for (int b = 0; b <= 53; ++b) {
    if (b <= 36 || b >= 50) expected.push_back(b);
  }
  EXPECT_EQ(boxes, expected);
  for (int b : boxes) EXPECT_EQ(FireworkForBox(b)->boxIndex, b);
  EXPECT_EQ(FireworkForBox(36)->key, std::string("FirePatternPct"));
  EXPECT_EQ(FireworkForBox(50)->key, std::string("FireDecayPct"));
  EXPECT_EQ(FireworkForBox(40), nullptr);
}

TEST(SettingsTable, EveryFireworkHasItsOwnThemeColumnAndDefaultsLieInTheirRanges) {
  ASSERT_EQ(FireworkRecordOrder().size(), 43u);
  std::set<int> columns;
  for (const SettingDef* def : FireworkRecordOrder()) columns.insert(def->themeColumn);
  EXPECT_EQ(columns.size(), 43u);
  EXPECT_EQ(*columns.begin(), 0);
  EXPECT_EQ(*columns.rbegin(), 42);
  for (const SettingDef& def : AllSettings()) {
    if (def.dialog != DialogKind::Int && def.dialog != DialogKind::Dec) continue;
    const double value = LeadingNumber(def.defaultText);
    EXPECT_TRUE(value >= def.dialogLo && value <= def.dialogHi) << def.key;
  }
  EXPECT_EQ(FindSetting("firepersist"), FindSetting("FirePersist"));
  EXPECT_EQ(FindSetting("Nothing"), nullptr);
}

}  // namespace
}  // namespace glintora
