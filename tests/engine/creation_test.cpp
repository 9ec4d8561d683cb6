// Creating fireworks: the kind and colour scheme rolls against their percentages, and the
// clamps a show starts with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "engine/colours.h"
#include "engine/creation.h"
#include "display/settings_report.h"
#include "settings/numbers.h"
#include "settings/themes.h"
#include "tests/engine/show_rig.h"
#include "tests/settings/test_util.h"

namespace glintora {
namespace {

// Each count within four standard deviations of its share of the draws; a share of 0 never drawn.
void ExpectShares(const int* counts, const double* shares, int n, int draws) {
  for (int k = 0; k < n; ++k)
    EXPECT_NEAR(counts[k] / double(draws), shares[k], 4 * std::sqrt(shares[k] * (1 - shares[k]) / draws) + 1e-9) << k;
}

// Kind shares over many fresh slots (a ring turns into Standard while it is filled).
TEST(KindRoll, SharesFollowThePercentages) {
  const struct {
    const char* name;
    std::int16_t pct[9];  // by kind: rocket, standard (the rest), scintillator ... decaying star
    double want[9];
  } cases[] = {
      {"mixed", {0, 0, 10, 20, 5, 15, 10, 10, 5}, {0, 0.35, 0.10, 0.20, 0.05, 0.15, 0, 0.10, 0.05}},
      {"none", {}, {0, 1}},
      {"over a hundred", {0, 0, 60, 40, 0, 0, 0, 0, 100}, {0, 0, 0.6, 0.4}},
  };
  const int draws = 20000;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShowRig rig(320, 200, 5);
    rig.OneSlot(kStandard, 200);
    for (int kind = 0; kind < 9; ++kind)
      if (std::int16_t* pct = KindPct(rig.settings, kind)) *pct = c.pct[kind];
    rig.settings.FireLength = 1;  // ln 1 = 0, yet every trail is 1 long
    auto show = rig.Begin();
    ShowState& st = show->State();
    int counts[9] = {};
    for (int n = 0; n < draws; ++n) {
      st.Slots[0].Kind = kStandard;
      CreateFirework(st, 0);
      ASSERT_EQ(st.Slots[0].TrailLength, 1);
      ASSERT_TRUE(st.Slots[0].Kind >= 0 && st.Slots[0].Kind < 9) << st.Slots[0].Kind;
      ++counts[st.Slots[0].Kind];
    }
    ExpectShares(counts, c.want, 9, draws);
  }
}

// Rows: ColorPctInt, ColorPctHue, then the expected shares of dimmed, hue-spread and solid.
TEST(ColourScheme, SharesFollowThePercentages) {
  const struct {
    std::int16_t pctInt, pctHue;
    double share[3];  // dimmed, hue-spread, solid
  } rows[] = {{30, 50, {0.3, 0.5, 0.2}}, {100, 0, {1, 0, 0}}, {0, 0, {0, 0, 1}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.pctInt);
    ShowRig rig(320, 200, 9);
    rig.settings.FireWorks = 1;
    rig.settings.ColorPctInt = row.pctInt;
    rig.settings.ColorPctHue = row.pctHue;
    auto show = rig.Begin();
    int counts[3] = {};
    const int draws = 20000;
    for (int n = 0; n < draws; ++n) {
      const ColourScheme c = ChooseColourScheme(show->State());
      ASSERT_NE(c.Base, 0u);
      ASSERT_TRUE(c.Solid ? c.Hue == 0 : c.Hue >= 0 && c.Hue <= 360) << c.Hue;
      ++counts[c.Solid ? 2 : c.Hue ? 1 : 0];
    }
    ExpectShares(counts, row.share, 3, draws);
  }
}

// Every firework setting is held to its dialog range, a few ends being the engine's own; the session
// then raises the sparks to one spark group and sizes the decaying stars by FireDecayMSize *
// FocalLength / FireDecayMLife * 0.01.
TEST(StartShowClamps, EachSettingHeldToItsRangeAndTheSessionFitsASparkGroup) {
  // Every setting at its lower or upper end (column 5 or 6) plus beyond, as a stored show loads it.
  const auto load = [](int column, double beyond) {
    MemoryStore store;
    for (const char* row : testing::kSettingRows)
      if (CsvField(row, 1) == "Fireworks" && CsvField(row, 4) != "chk")
        store.Write("Fireworks", CsvField(row, 0), NumberText(std::stod(CsvField(row, column)) + beyond));
    SettingsRecord s;
    LoadFireParams(store, s);
    return s;
  };
  // Damping and gravity change units; a twist extent is at least a burst's least radius; the size
  // deviation stops at 99; the pattern share is left as it is. 99 shells share 30000 sparks (100
  // loaded shells share them before the clamp), and the rockets theirs.
  SettingsRecord low = load(5, 0), high = load(6, 0);
  low.FireDamping = 1, low.FireTwistExt = 0.000625f;
  high.FireDamping = 0.5f, high.FireGravity = static_cast<float>(9.9f * 0.005), high.FireSizeDev = 99;
  high.FireTwistExt = 2.49975f;
  SettingsRecord lower = low, higher = high;
  lower.FirePatternPct = -1, higher.FirePatternPct = 101, higher.FireSparks = higher.FireLaunchPixel = 300;
  const std::tuple<int, int, const SettingsRecord*> ends[] = {
      {5, 0, &low}, {5, -1, &lower}, {6, 0, &high}, {6, 1, &higher}};
  for (const auto& [column, beyond, want] : ends) {
    SettingsRecord s = load(column, beyond);
    ClampFireParams(s);
    EXPECT_EQ(SettingsReport(s), SettingsReport(*want)) << column << " " << beyond;
  }
  EXPECT_EQ(high.FireSparks, 303);
  // Set directly, the clamp shares the sparks itself; a star size halves to even.
  SettingsRecord s;
  s.FireWorks = 99, s.FireSparks = 9999, s.FireLaunchPixel = 999, s.FireDecayMSize = 2.5f;
  ClampFireParams(s);
  EXPECT_EQ(std::make_tuple(s.FireSparks, s.FireLaunchPixel, s.FireDecayMSize), std::make_tuple(303, 303, 2.0f));

  ShowRig rig(160, 100, 14);
  rig.settings.FireSparks = 10;
  rig.settings.FireSparkPix = 30;
  rig.settings.FireDecayMSize = 40;
  rig.settings.FireDecayMLife = 80;
  auto show = rig.Begin();
  EXPECT_EQ(show->State().S.FireSparks, 30);
  EXPECT_FLOAT_EQ(static_cast<float>(show->State().DecayStarScale), rig.settings.FocalLength * 0.005f);

  // A record no loader clamped still starts with 99 shells sharing 30000 sparks and a half-turn ring.
  SettingsRecord unclamped = rig.settings;  // a copy: the running show reads rig.settings
  unclamped.FireWorks = 500, unclamped.FireSparks = 9999, unclamped.FireRingDeg = 999;
  ShowState raw;
  PrepareShowState(raw, unclamped);
  EXPECT_EQ(std::make_tuple(raw.S.FireWorks, raw.S.FireSparks, raw.S.FireRingDeg), std::make_tuple(99, 303, 180));
}

}  // namespace
}  // namespace glintora
