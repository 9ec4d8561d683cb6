#include "settings/settings_table.h"

#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace glintora {
namespace {

std::string Keys(const std::vector<const SettingDef*>& defs) {
  std::string out;
  for (const SettingDef* def : defs) out += std::string(def->key) + " ";
  return out;
}

TEST(SettingsTable, BoxOrderIsTheTemplateOrder) {
  EXPECT_EQ(Keys(FireworkBoxOrder()),
            "FireWorks FireSparks FireLength FireSymmetry FireSpeed FirePersist FireGravity "
            "FireSizeDev FireDamping FireSplinePct FireSplineKnot FireScintPct FireScintStyle "
            "FireMultiPct FireMultiAge FireMultiBurst FireBurstPct FireBurstAge FireBurstCount "
            "FireBurstRadius FireLaunchPct FireLaunchPixel FireLaunchRadius FireLaunchSteps "
            "FireLaunchPersist FireSparkPct FireSparkAge FireSparkPix FireRingPct FireRingEmb "
            "FireRingDeg FireTwistPct FireTwistCnt FireTwistDeg FireTwistRad FireTwistExt "
            "FirePatternPct FireDecayPct FireDecayCnt FireDecayMSize FireDecayMLife ");
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
